#include "app/gridmodel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>

#include "app/qtcolor.h"
#include "pdb/text.h"

namespace vekla {

namespace {

// Most cell texts are plain ASCII; they need no code page conversion.
QString cellText(const std::string& t) {
  for (unsigned char c : t)
    if (c >= 0x80) return toQt(t);
  return QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size()));
}

Qt::Alignment alignment(Align a) {
  switch (a) {
    case Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case Align::Left:
    case Align::Default: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// Fixed cells without a colour of their own look like buttons.
QColor fixedFace() { return QApplication::palette().color(QPalette::Button); }

}  // namespace

GridModel::GridModel(VeklaState& s, CellGrid VeklaState::*grid, Fixed mode, QObject* parent)
    : QAbstractTableModel(parent), s_(s), grid_(grid), mode_(mode) {
  rows_ = std::max(0, this->grid().rowCount() - rowOffset());
  cols_ = std::max(0, this->grid().colCount() - offset());
  shown_ = shownNow();
}

QModelIndex GridModel::indexOf(int col, int row) const { return index(row - rowOffset(), col - offset()); }

GridModel::Shown GridModel::shownNow() const {
  const CellGrid& g = grid();
  return {g.mark(), g.selectedCellColor, g.selectedFontColor, g.lineWidth};
}

void GridModel::cellChanged(int col, int row) {
  const int c = col - offset(), r = row - rowOffset();
  if (c >= cols_ || r >= rows_) return;
  if (c >= 0 && r >= 0) {
    const QModelIndex i = index(r, c);
    emit dataChanged(i, i);
  } else if (mode_ == Fixed::AsHeaders && r < 0 && c >= 0) {
    emit headerDataChanged(Qt::Horizontal, c, c);
  } else if (mode_ == Fixed::AsHeaders && c < 0 && r >= 0) {
    emit headerDataChanged(Qt::Vertical, r, r);
  }
}

void GridModel::sync() {
  const int rows = std::max(0, grid().rowCount() - rowOffset());
  const int cols = std::max(0, grid().colCount() - offset());
  const Shown before = shown_;
  shown_ = shownNow();
  if (rows != rows_ || cols != cols_) {
    beginResetModel();
    rows_ = rows;
    cols_ = cols;
    endResetModel();
    return;
  }
  // A command that wrote a few cells repaints those. The selected cell is
  // painted with the grid's colours for it: the main grid's is its current
  // cell, which repaints when they change; the small grids repaint whole.
  constexpr std::size_t kFewCells = 256;
  const auto written = grid().writtenSince(before.mark);
  const bool lines = before.lineWidth != shown_.lineWidth;
  const bool selection = before.selectedCell != shown_.selectedCell || before.selectedFont != shown_.selectedFont;
  if (written && written->size() <= kFewCells && !lines && (!selection || mode_ == Fixed::AsHeaders)) {
    for (const CellPos p : *written) cellChanged(p.col, p.row);
    if (selection) cellChanged(grid().currentCol, grid().currentRow);
    return;
  }
  if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
  if (mode_ == Fixed::AsHeaders) {
    if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
  }
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }
int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QFont GridModel::cellFont(const Cell& c) {
  QFont f = QApplication::font();
  f.setPointSize(c.size > 0 ? c.size : 8);
  f.setBold(c.bold);
  return f;
}

TextWidths::TextWidths() { install(); }

TextWidths::~TextWidths() { CellGrid::setTextWidthMeasure({}); }

void TextWidths::install() {
  CellGrid::setTextWidthMeasure([this](const Cell& c) { return measure(c); });
}

void TextWidths::clear() {
  fonts_.clear();
  install();
}

std::size_t TextWidths::textsKnown() const {
  std::size_t n = 0;
  for (const auto& [key, font] : fonts_) n += font.widths.size();
  return n;
}

int TextWidths::measure(const Cell& c) {
  constexpr std::size_t kMaxTexts = 100000;
  const int key = (c.size > 0 ? c.size : 8) * 2 + (c.bold ? 1 : 0);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) it = fonts_.emplace(key, Font{QFontMetrics(GridModel::cellFont(c)), {}}).first;
  Font& f = it->second;
  if (const auto w = f.widths.find(c.text); w != f.widths.end()) return w->second;
  if (f.widths.size() >= kMaxTexts) f.widths.clear();
  const int w = f.metrics.horizontalAdvance(cellText(c.text)) + 10;
  f.widths.emplace(c.text, w);
  return w;
}

QVariant GridModel::cellData(int col, int row, int role, bool header) const {
  const Cell& c = grid().cell(col, row);
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return cellText(c.text);
    case Qt::BackgroundRole:
      if (!isSystemColor(c.brush)) return QBrush(qColor(c.brush));
      if (header) return {};
      return QBrush(isFixed(col, row) ? fixedFace() : qColor(c.brush));
    case Qt::ForegroundRole:
      if (header && isSystemColor(c.font)) return {};
      return QBrush(qColor(c.font));
    case Qt::FontRole: return cellFont(c);
    case Qt::TextAlignmentRole: return QVariant::fromValue(alignment(c.align));
    case SelectedBackgroundRole:
      return isSystemColor(grid().selectedCellColor) ? QVariant() : QVariant(qColor(grid().selectedCellColor));
    case SelectedForegroundRole:
      return isSystemColor(grid().selectedFontColor) ? QVariant() : QVariant(qColor(grid().selectedFontColor));
    default: return {};
  }
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  return cellData(gridCol(index), gridRow(index), role, false);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (mode_ != Fixed::AsHeaders || role == SelectedBackgroundRole || role == SelectedForegroundRole) return {};
  if (orientation == Qt::Horizontal) return cellData(section + offset(), 0, role, true);
  return cellData(0, section + rowOffset(), role, true);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const int col = gridCol(index), row = gridRow(index);
  if (isFixed(col, row)) return Qt::ItemIsEnabled;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable ? editable(col, row) : true) f |= Qt::ItemIsEditable;
  return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  const int col = gridCol(index), row = gridRow(index);
  bool lossy = false;
  std::string text = fromQt(value.toString(), &lossy);
  // An editor closed without a change is no edit: nothing is checked,
  // weighed or marked as unsaved.
  if (!lossy && text == grid().text(col, row)) return true;
  if (lossy) Log(s_, cp("Znak nelze uložit v kódování Windows-1250, nahrazen znakem \"?\": ") + text);
  grid().setText(col, row, std::move(text));
  emit dataChanged(index, index);
  if (afterEdit) afterEdit(col, row);
  return true;
}

// ---------------------------------------------------------------- delegate

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt(option);
  initStyleOption(&opt, index);
  const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
  const bool selected = (option.state & QStyle::State_Selected) && (index.flags() & Qt::ItemIsSelectable);
  const bool current = selected || (view && view->currentIndex() == index && (index.flags() & Qt::ItemIsSelectable));
  opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
  if (current) {
    const QVariant bg = index.data(GridModel::SelectedBackgroundRole);
    const QVariant fg = index.data(GridModel::SelectedForegroundRole);
    const QColor back = bg.isValid() ? bg.value<QColor>() : opt.palette.color(QPalette::Highlight);
    const QColor text = fg.isValid() ? fg.value<QColor>() : opt.palette.color(QPalette::HighlightedText);
    opt.backgroundBrush = back;
    opt.palette.setColor(QPalette::Text, text);
    opt.palette.setColor(QPalette::HighlightedText, text);
  }
  const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, option.widget);

  // The view draws one pixel of grid line; a wider grid line (the grade
  // book's) takes the rest from the cell's right and bottom edge.
  const auto* grid = qobject_cast<const GridView*>(option.widget);
  const int extra = grid ? grid->gridModel()->grid().lineWidth - 1 : 0;
  if (extra > 0 && grid->showGrid()) {
    const QColor line =
        QColor::fromRgba(static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &opt, grid)));
    const QRect r = option.rect;
    painter->fillRect(QRect(r.right() - extra + 1, r.top(), extra, r.height()), line);
    painter->fillRect(QRect(r.left(), r.bottom() - extra + 1, r.width(), extra), line);
  }
}

bool GridDelegate::eventFilter(QObject* object, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      auto* editor = qobject_cast<QWidget*>(object);
      if (editor) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        emit committedWithEnter();
        return true;
      }
    }
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

// ---------------------------------------------------------------- view

GridView::GridView(GridModel* model, QWidget* parent) : QTableView(parent), model_(model) {
  setModel(model);
  auto* delegate = new GridDelegate(this);
  setItemDelegate(delegate);
  setWordWrap(true);
  // The main grid selects ranges too (Delete clears them); the small grids
  // one cell at a time.
  setSelectionMode(model->mode() == GridModel::Fixed::AsHeaders ? QAbstractItemView::ExtendedSelection
                                                                : QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  // Typing into a cell replaces its text, double-click or F2 edits it. A click
  // on the current cell does not wait to start an edit: while such a wait
  // runs, the view would take the first typed letters as a search.
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(12);
  verticalHeader()->setDefaultSectionSize(
      QFontMetrics(GridModel::cellFont(Cell{"", kBlack, kWhite, true, 10})).height() + 6);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setHighlightSections(false);
  horizontalHeader()->setMinimumSectionSize(8);
  if (model->mode() == GridModel::Fixed::AsCells) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
  } else {
    horizontalHeader()->setSectionsClickable(true);
    // A title click sorts; it does not select the column under it, whose
    // cells the next Delete would empty.
    QObject::disconnect(horizontalHeader(), SIGNAL(sectionPressed(int)), this, nullptr);
    QObject::disconnect(horizontalHeader(), SIGNAL(sectionEntered(int)), this, nullptr);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit fixedColumnClicked(section + model_->grid().fixedCols()); });
  }
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            if (quiet_ || !current.isValid()) return;
            emit currentCellChanged(model_->gridCol(current), model_->gridRow(current));
          });
  connect(delegate, &GridDelegate::committedWithEnter, this, &GridView::moveToNextCell);
  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    if (!index.isValid()) return;
    GridClick click;
    click.at = {model_->gridCol(index), model_->gridRow(index)};
    click.shift = pressKeys_.testFlag(Qt::ShiftModifier);
    click.control = pressKeys_.testFlag(Qt::ControlModifier);
    click.dragged = dragged_ || index != pressed_;
    emit cellClicked(click);
  });
  // A column the user drags wider or narrower keeps its width until the
  // grid sizes its columns again.
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
    if (applyingWidths_ || uniformWidth_ > 0 || section >= model_->columnCount()) return;
    const int offset = model_->mode() == GridModel::Fixed::AsHeaders ? model_->grid().fixedCols() : 0;
    model_->grid().setColWidth(section + offset, size);
  });
  applyColumnWidths();
}

void GridView::refresh() {
  const QModelIndex before = currentIndex();
  const int col = before.isValid() ? model_->gridCol(before) : -1;
  const int row = before.isValid() ? model_->gridRow(before) : -1;
  quiet_ = true;
  applyingWidths_ = true;
  model_->sync();
  applyingWidths_ = false;
  applyColumnWidths();
  quiet_ = false;
  if (col >= 0) setCurrentCell(col, row);
}

void GridView::setCurrentCell(int col, int row) {
  const QModelIndex idx = model_->indexOf(col, row);
  if (!idx.isValid() || idx == currentIndex()) return;
  quiet_ = true;
  selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
  quiet_ = false;
}

void GridView::moveToNextCell() {
  const QModelIndex cur = currentIndex();
  if (!cur.isValid()) return;
  int row = cur.row(), col = cur.column() + 1;
  if (col >= model_->columnCount()) {
    col = 0;
    ++row;
  }
  QModelIndex next = model_->index(row, col);
  // Skip cells that cannot be selected (fixed cells shown as cells).
  while (next.isValid() && !(next.flags() & Qt::ItemIsSelectable)) next = model_->index(row, ++col);
  if (!next.isValid()) return;
  setCurrentIndex(next);
  // A cell that fits beside the row's first columns keeps them in sight:
  // the view does not jump to show one wide column alone.
  const int right = horizontalHeader()->sectionPosition(next.column()) + columnWidth(next.column());
  if (right <= viewport()->width()) horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

void GridView::commitEdit() {
  if (state() != QAbstractItemView::EditingState) return;
  if (QWidget* editor = indexWidget(currentIndex())) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void GridView::keyboardSearch(const QString&) {
  // A letter typed on a cell that cannot be edited does not move the current cell.
}

void GridView::setUniformColumnWidth(int width) {
  uniformWidth_ = width;
  applyColumnWidths();
}

int GridView::shownWidth(int width) const {
  // No column is wider than the visible grid, so a long text never hides
  // every other column; the text shows whole in its tooltip.
  const int visible = viewport()->width();
  return visible > 16 ? std::min(width, visible) : width;
}

void GridView::applyColumnWidths() {
  const CellGrid& g = model_->grid();
  const int offset = model_->mode() == GridModel::Fixed::AsHeaders ? g.fixedCols() : 0;
  applyingWidths_ = true;
  for (int j = 0; j < model_->columnCount(); ++j) {
    const int w = uniformWidth_ > 0 ? uniformWidth_ : shownWidth(g.colWidth(j + offset));
    if (columnWidth(j) != w) setColumnWidth(j, w);
  }
  applyingWidths_ = false;
}

void GridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  applyColumnWidths();
}

bool GridView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
    // A text cut by its column shows whole.
    if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) + 8 > columnWidth(index.column())) {
      // As rich text the tip wraps at a readable width instead of running
      // off the screen in one line.
      QToolTip::showText(help->globalPos(),
                         QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() + "</p>",
                         viewport());
      return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  return QTableView::viewportEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event) {
  pressed_ = indexAt(event->position().toPoint());
  pressKeys_ = event->modifiers();
  dragged_ = false;
  QTableView::mousePressEvent(event);
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
  // A press that went over another cell extends the selection: a drag, even
  // when it comes back to the cell it started on.
  if ((event->buttons() & Qt::LeftButton) && indexAt(event->position().toPoint()) != pressed_) dragged_ = true;
  QTableView::mouseMoveEvent(event);
}

void GridView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
    std::vector<CellPos> cells;
    for (const QModelIndex& i : selectionModel()->selectedIndexes())
      if (i.flags() & Qt::ItemIsEditable) cells.push_back({model_->gridCol(i), model_->gridRow(i)});
    if (cells.empty() && currentIndex().isValid() && (currentIndex().flags() & Qt::ItemIsEditable))
      cells.push_back({model_->gridCol(currentIndex()), model_->gridRow(currentIndex())});
    if (!cells.empty()) emit clearRequested(cells);
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

}  // namespace vekla
