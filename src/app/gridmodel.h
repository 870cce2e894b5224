#pragma once
// The grids of the window: a table model over a CellGrid of the state (the
// cells are the data; the model keeps no copy) and the view that shows it.
#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "commands/commands.h"
#include "workspace/state.h"

namespace vekla {

// The widths of cell texts in the window's fonts, which size the columns.
// A grid holds few distinct texts (20 grade symbols, dates, times), and
// shaping a text costs far more than looking it up: each text is measured
// once per font. While it lives it is CellGrid's measure; the window owns
// it, so its cache goes with the window, and a change of the fonts starts
// it afresh.
class TextWidths {
 public:
  TextWidths();
  ~TextWidths();
  TextWidths(const TextWidths&) = delete;
  TextWidths& operator=(const TextWidths&) = delete;
  // Forgets every width (the fonts changed); every grid measures again.
  void clear();
  std::size_t textsKnown() const;

 private:
  struct Font {
    QFontMetrics metrics;
    std::unordered_map<std::string, int> widths;
  };
  void install();
  int measure(const Cell& c);
  std::map<int, Font> fonts_;
};

class GridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // How the fixed row 0 and column 0 show: as the view's header sections
  // (the main grid, which scrolls and keeps its headers in sight), or as
  // ordinary cells painted like buttons (the small grade grids).
  enum class Fixed { AsHeaders, AsCells };
  // The selected cell's colours, for the delegate.
  enum Role { SelectedBackgroundRole = Qt::UserRole + 1, SelectedForegroundRole };

  GridModel(VeklaState& s, CellGrid VeklaState::*grid, Fixed mode, QObject* parent = nullptr);

  CellGrid& grid() const { return s_.*grid_; }
  Fixed mode() const { return mode_; }
  // Which cells the user may edit (grid coordinates); by default every
  // non-fixed cell.
  std::function<bool(int col, int row)> editable;
  // Called after an edit was written into the cell (grid coordinates).
  std::function<void(int col, int row)> afterEdit;

  // Grid position <-> model index.
  int gridCol(const QModelIndex& index) const { return index.column() + offset(); }
  int gridRow(const QModelIndex& index) const { return index.row() + rowOffset(); }
  QModelIndex indexOf(int col, int row) const;

  // Brings the model in step with the grid: a reset when the shape changed,
  // otherwise a repaint of the cells and headers written to since the last
  // time (of every one when those are not known or many).
  void sync();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The font a cell is painted with (size in points, bold).
  static QFont cellFont(const Cell& c);

 private:
  int offset() const { return mode_ == Fixed::AsHeaders ? grid().fixedCols() : 0; }
  int rowOffset() const { return mode_ == Fixed::AsHeaders ? grid().fixedRows() : 0; }
  bool isFixed(int col, int row) const { return col < grid().fixedCols() || row < grid().fixedRows(); }
  QVariant cellData(int col, int row, int role, bool header) const;
  // Signals the change of one grid cell: a header section or a cell.
  void cellChanged(int col, int row);
  // What the views were last told about: the grid's write mark and the
  // colours every cell is painted with.
  struct Shown {
    CellGrid::Mark mark;
    Color selectedCell = 0, selectedFont = 0;
    int lineWidth = 0;
    bool operator==(const Shown&) const = default;
  };
  Shown shownNow() const;

  VeklaState& s_;
  CellGrid VeklaState::*grid_;
  Fixed mode_;
  int rows_ = 0, cols_ = 0;  // the shape the views were last told about
  Shown shown_;
};

// Paints a cell with its own colours, the current cell with the grid's
// selected-cell colours, and lets Enter commit the edit and move on.
class GridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 signals:
  void committedWithEnter();

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override;
};

class GridView : public QTableView {
  Q_OBJECT
 public:
  explicit GridView(GridModel* model, QWidget* parent = nullptr);
  GridModel* gridModel() const { return model_; }

  // Pushes the grid into the view: shape, texts, column widths, current
  // cell. Emits nothing.
  void refresh();
  // Makes (col, row) the current cell without emitting currentCellChanged.
  void setCurrentCell(int col, int row);
  // Moves to the next cell to the right (the first cell of the next row
  // after the last column), as after an edit.
  void moveToNextCell();
  // Commits and closes a cell editor that is still open.
  void commitEdit();
  // Gives every column the same width instead of the grid's own widths
  // (0: the grid's widths).
  void setUniformColumnWidth(int width);
  void keyboardSearch(const QString& search) override;

 signals:
  void currentCellChanged(int col, int row);  // grid coordinates, user moves only
  // A click of the left mouse button on a cell: pressed and released on it,
  // with the keys held at the press and whether the mouse went over other
  // cells on the way.
  void cellClicked(const vekla::GridClick& click);
  void fixedColumnClicked(int col);           // a header cell of row 0 was clicked
  // Delete pressed on the selected cells (grid coordinates, editable ones).
  void clearRequested(const std::vector<CellPos>& cells);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void applyColumnWidths();
  int shownWidth(int width) const;

  GridModel* model_;
  // The cell the mouse was pressed on, the keys held then, and whether the
  // mouse has left that cell since.
  QPersistentModelIndex pressed_;
  Qt::KeyboardModifiers pressKeys_;
  bool dragged_ = false;
  bool quiet_ = false;
  bool applyingWidths_ = false;  // widths set from the grid, not by the user
  int uniformWidth_ = 0;
};

}  // namespace vekla
