#include "app/panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/gridmodel.h"
#include "app/icons.h"
#include "app/widgets.h"
#include "commands/gradepanel.h"
#include "commands/windowevents.h"
#include "pdb/text.h"

namespace vekla {

namespace {

QGroupBox* groupBox(const char* objectName, const QString& title, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(objectName);
  return box;
}

// A layout whose contents sit tight under the group box's title.
template <class Layout>
Layout* tightLayout(QWidget* w) {
  auto* l = new Layout(w);
  l->setContentsMargins(4, 1, 4, 2);
  l->setSpacing(4);
  return l;
}

QLabel* panelLabel(const char* objectName, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(objectName);
  l->setFrameShape(QFrame::StyledPanel);
  l->setFrameShadow(QFrame::Sunken);
  l->setMinimumWidth(40);
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return l;
}

QLineEdit* panelEdit(const char* objectName, QWidget* parent, int width) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(objectName);
  e->setFixedWidth(width);
  return e;
}

}  // namespace

std::string MaskedTimeText(const QString& shown) {
  // The hour may have one digit (the mask makes its second digit optional);
  // minutes and seconds have two or none. A part with one digit of two is
  // kept as typed, with the mask's blank, so that saving stops at it
  // instead of completing a time the teacher never typed.
  const QStringList parts = shown.split(':');
  std::string out;
  for (int i = 0; i < 3; ++i) {
    const QString part = i < parts.size() ? parts[i] : QString();
    QString digits;
    for (QChar c : part)
      if (c.isDigit() && c.unicode() < 0x80) digits += c;
    if (i > 0) out += ':';
    if (digits.size() == 1 && i > 0) {
      QString kept = part.left(2);
      for (QChar& c : kept)
        if (!(c.isDigit() && c.unicode() < 0x80)) c = '_';
      out += kept.leftJustified(2, '_').toStdString();
      continue;
    }
    out += digits.left(2).rightJustified(2, '0').toStdString();
  }
  return out;
}

MainPanel::MainPanel(VeklaState& s, PanelOwner& owner, QWidget* parent) : QFrame(parent), s_(s), owner_(owner) {
  setObjectName("PanelHlavni");
  setFrameShape(QFrame::NoFrame);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 0, 2, 2);
  layout->setSpacing(0);
  buildDatabaseRow();
  boxRozvrh_ = buildTimetableBox();
  layout->addWidget(boxRozvrh_);
  boxZnamky_ = buildGradesBox();
  layout->addWidget(boxZnamky_);
  layout->addStretch(1);
}

void MainPanel::buildDatabaseRow() {
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);

  auto* db = groupBox("GroupBoxDatabaze", QStringLiteral(" Databáze "), this);
  auto* dbLayout = tightLayout<QHBoxLayout>(db);
  editN_ = panelEdit("EditN", db, TextWidth(db, "Znamky-MMMMMMMMMMMM"));
  editC_ = panelLabel("EditC", db);
  editTD_ = panelLabel("EditTD", db);
  dbLayout->addWidget(editN_);
  dbLayout->addWidget(editC_);
  dbLayout->addWidget(editTD_);
  row->addWidget(db);

  const int dateWidth = TextWidth(this, "00.00.00000");
  const int timeWidth = TextWidth(this, "00:00:000");
  auto* created = groupBox("GroupBoxVytvoreno", QStringLiteral(" Vytvořeno: "), this);
  auto* createdLayout = tightLayout<QHBoxLayout>(created);
  editDV_ = panelEdit("EditDV", created, dateWidth);
  editCV_ = panelEdit("EditCV", created, timeWidth);
  createdLayout->addWidget(editDV_);
  createdLayout->addWidget(editCV_);
  row->addWidget(created);

  auto* changed = groupBox("GroupBoxZmeneno", QStringLiteral(" Změněno"), this);
  auto* changedLayout = tightLayout<QHBoxLayout>(changed);
  editDZ_ = panelEdit("EditDZ", changed, dateWidth);
  editCZ_ = panelEdit("EditCZ", changed, timeWidth);
  changedLayout->addWidget(editDZ_);
  changedLayout->addWidget(editCZ_);
  row->addWidget(changed);
  row->addStretch(1);

  // Times are typed into a mask: hours may have one digit, minutes and
  // seconds always two. The state always gets the full "hh:mm:ss", so a
  // lone hour digit or a gap left in the mask never makes the time unreadable.
  for (QLineEdit* e : {editCV_, editCZ_}) {
    e->setInputMask(QStringLiteral("09:99:99;_"));
    connect(e, &QLineEdit::textEdited, this, [this, e] {
      (e == editCV_ ? s_.EditCV : s_.EditCZ) = MaskedTimeText(e->displayText());
      owner_.markEdited();
    });
  }
  bindEdit(editN_, [this](const std::string& t) { s_.EditN = t; });
  bindEdit(editDV_, [this](const std::string& t) { s_.EditDV = t; });
  bindEdit(editDZ_, [this](const std::string& t) { s_.EditDZ = t; });
}

QGroupBox* MainPanel::buildTimetableBox() {
  auto* box = groupBox("GroupBoxRozvrh", QStringLiteral(" Rozvrh "), this);
  auto* layout = tightLayout<QHBoxLayout>(box);
  // Eight characters of ordinary text, so the row fits the narrowest window.
  const int editWidth = TextWidth(box, "00000000");

  auto* labelPolozka = new QLabel(QStringLiteral("Položka (třída, učitel ... ):"), box);
  labelPolozka->setObjectName("LabelRozvrhPolozka");
  editPolozka_ = panelEdit("EditRozvrhPolozka", box, editWidth);
  auto* labelLS = new QLabel(QStringLiteral("1. buňka:"), box);
  labelLS->setObjectName("LabelRozvrhLS");
  editLS_ = panelEdit("EditRozvrhLS", box, editWidth);
  labelPolozka->setBuddy(editPolozka_);
  labelLS->setBuddy(editLS_);

  shapeRozvrh_ = new ColorCircle(box);
  shapeRozvrh_->setObjectName("ShapeRozvrh");
  buttonRozvrh_ = new QToolButton(box);
  buttonRozvrh_->setObjectName("SpeedButtonRozvrh");
  buttonRozvrh_->setIcon(ToolIcon(Ctl::SpeedItemBarva));
  buttonRozvrh_->setToolTip(QStringLiteral("Barva rozvrhu"));
  buttonRozvrh_->setAutoRaise(true);

  auto* weeks = new QVBoxLayout;
  weeks->setSpacing(0);
  radioL_ = new QRadioButton(QStringLiteral("lichý týden"), box);
  radioL_->setObjectName("RadioButtonLRozvrh");
  radioS_ = new QRadioButton(QStringLiteral("sudý týden"), box);
  radioS_->setObjectName("RadioButtonSRozvrh");
  weeks->addWidget(radioL_);
  weeks->addWidget(radioS_);
  checkLS_ = new QCheckBox(QStringLiteral("Rozlišovat týdny"), box);
  checkLS_->setObjectName("CheckBoxLS");

  layout->addWidget(labelPolozka);
  layout->addWidget(editPolozka_);
  layout->addSpacing(4);
  layout->addWidget(labelLS);
  layout->addWidget(editLS_);
  layout->addSpacing(4);
  layout->addWidget(shapeRozvrh_);
  layout->addWidget(buttonRozvrh_);
  layout->addSpacing(4);
  layout->addLayout(weeks);
  layout->addSpacing(4);
  layout->addWidget(checkLS_);
  layout->addStretch(1);

  bindEdit(editPolozka_, [this](const std::string& t) {
    s_.EditRozvrhPolozka = t;
    owner_.runEvent(TimetableItemTyped);
  });
  bindEdit(editLS_, [this](const std::string& t) {
    s_.EditRozvrhLS = t;
    owner_.runEvent(TimetableFirstCellTyped);
  });
  connect(buttonRozvrh_, &QToolButton::clicked, this, [this] { owner_.runEvent(TimetableColourClicked); });
  connect(radioL_, &QRadioButton::toggled, this, [this](bool on) {
    if (owner_.refreshing()) return;
    s_.lichyTyden = on;
    owner_.markEdited();
  });
  connect(checkLS_, &QCheckBox::toggled, this, [this](bool on) {
    if (owner_.refreshing()) return;
    s_.rozlisovatTydny = on;
    owner_.markEdited();
  });
  return box;
}

QGroupBox* MainPanel::buildGradesBox() {
  auto* box = groupBox("GroupBoxZnamky", QStringLiteral(" Známky "), this);
  auto* layout = new QGridLayout(box);
  layout->setContentsMargins(4, 1, 4, 2);
  layout->setHorizontalSpacing(6);
  layout->setVerticalSpacing(3);

  layout->addWidget(buildGradeSymbols(box), 0, 0);
  layout->addLayout(buildSemesterControls(box), 0, 1);
  auto* controls = buildWeights(box);
  controls->addSpacing(6);
  controls->addWidget(buildBands(box));
  controls->addStretch(1);
  layout->addLayout(controls, 1, 0, 1, 3);
  layout->addWidget(buildNote(box), 0, 2);
  // The symbols grow first, up to their full width; the note takes the rest.
  layout->setColumnStretch(0, 100);
  layout->setColumnStretch(2, 1);
  return box;
}

GridView* MainPanel::buildGradeSymbols(QWidget* box) {
  znamkyModel_ = new GridModel(s_, &VeklaState::znamky, GridModel::Fixed::AsCells, this);
  znamkyModel_->editable = GradeScaleEditable;
  znamkyModel_->afterEdit = [this](int col, int row) {
    owner_.runEvent([=](ActionContext& c) { return GradeSymbolEdited(c, col, row); });
  };
  znamkyView_ = new GridView(znamkyModel_, box);
  znamkyView_->setObjectName("StringAGZnamky");
  znamkyView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  znamkyView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  const int rowHeight = znamkyView_->verticalHeader()->defaultSectionSize();
  znamkyView_->setFixedHeight(2 * rowHeight + 2 * znamkyView_->frameWidth() +
                              znamkyView_->horizontalScrollBar()->sizeHint().height());
  return znamkyView_;
}

QHBoxLayout* MainPanel::buildWeights(QWidget* box) {
  auto* controls = new QHBoxLayout;
  controls->setSpacing(2);
  weightGroup_ = new QButtonGroup(this);
  weightGroup_->setExclusive(true);
  for (int i = 0; i < 4; ++i) {
    const std::string n = std::to_string(i + 1);
    auto* edit = panelEdit(("EHodnota" + n).c_str(), box, TextWidth(box, "00,00"));
    auto* button = new QToolButton(box);
    button->setObjectName(QString::fromStdString("SBHodnota" + n));
    button->setCheckable(true);
    button->setIconSize(QSize(48, 23));
    button->setToolTip(QStringLiteral("Váha %1").arg(i + 1));
    weightGroup_->addButton(button, i + 1);
    weightEdits_[static_cast<size_t>(i)] = edit;
    weightButtons_[static_cast<size_t>(i)] = button;
    glyphColors_[static_cast<size_t>(i)] = -1;
    controls->addWidget(edit);
    controls->addWidget(button);
    controls->addSpacing(2);
    // What is typed is no step of the history: the step is leaving the edit
    // (focus out, Enter, or a command while it is being typed), with the
    // value checked, so that no undo brings back a value the check refuses.
    bindEdit(
        edit,
        [this, i](const std::string& t) {
          s_.weights[static_cast<size_t>(i)].text = t;
          weightTyped_[static_cast<size_t>(i)] = true;
        },
        false);
    // Leaving the edit (focus out) checks the value; so does Enter.
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::returnPressed, this, [this, i] { leaveWeight(i); });
  }
  connect(weightGroup_, &QButtonGroup::idClicked, this,
          [this](int id) { owner_.runEvent([=](ActionContext& c) { return WeightChosen(c, id); }); });
  return controls;
}

QVBoxLayout* MainPanel::buildSemesterControls(QWidget* box) {
  semesterBox_ = new SemesterBox(box);
  semesterBox_->setObjectName("CBZnamkyPololeti");
  semesterBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(semesterBox_, &SemesterBox::droppingDown, this, [this] { CBZnamkyPololetiDropDown(s_); });
  connect(semesterBox_, &QComboBox::activated, this, [this](int index) {
    owner_.commitPendingEdit();
    owner_.runEvent([=](ActionContext& c) { return SemesterChosen(c, index); });
  });

  button1_ = new QPushButton(QStringLiteral("Průměry"), box);
  button1_->setObjectName("Button1");
  connect(button1_, &QPushButton::clicked, this, [this] { owner_.runEvent(AveragesClicked); });

  // The semester box and "Průměry" stand between the symbols and the note,
  // so that the row of weights and bands fits the narrowest window.
  auto* semester = new QVBoxLayout;
  semester->setSpacing(3);
  semester->addWidget(semesterBox_);
  semester->addWidget(button1_, 0, Qt::AlignLeft);
  semester->addStretch(1);
  return semester;
}

GridView* MainPanel::buildBands(QWidget* box) {
  znamky2Model_ = new GridModel(s_, &VeklaState::znamky2, GridModel::Fixed::AsCells, this);
  znamky2Model_->afterEdit = [this](int col, int row) {
    owner_.runEvent([=](ActionContext& c) { return BandEdited(c, col, row); });
  };
  znamky2View_ = new GridView(znamky2Model_, box);
  znamky2View_->setObjectName("StringAGZnamky2");
  znamky2View_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  znamky2View_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  znamky2View_->setFixedHeight(znamky2View_->verticalHeader()->defaultSectionSize() + 2 * znamky2View_->frameWidth());
  // The bounds are short numbers; the band grid keeps narrow columns.
  znamky2View_->setUniformColumnWidth(TextWidth(znamky2View_, "0,00"));
  znamky2View_->setToolTip(QStringLiteral("Horní meze pásem průměrů"));
  connect(znamky2View_, &GridView::currentCellChanged, this,
          [this](int col, int row) { owner_.runEvent([=](ActionContext& c) { return BandSelected(c, col, row); }); });
  return znamky2View_;
}

QPlainTextEdit* MainPanel::buildNote(QWidget* box) {
  memoPoznamka_ = new QPlainTextEdit(box);
  memoPoznamka_->setObjectName("MemoPoznamka");
  // The store and the database keep the note on one line.
  memoPoznamka_->setToolTip(QStringLiteral("Poznámka k pololetí; konec řádku se do databáze uloží jako mezera"));
  memoPoznamka_->setMinimumWidth(100);
  memoPoznamka_->setFixedHeight(znamkyView_->height());
  connect(memoPoznamka_, &QPlainTextEdit::textChanged, this, [this] { noteTyped(); });
  return memoPoznamka_;
}

void MainPanel::noteTyped() {
  if (owner_.refreshing()) return;
  std::vector<std::string> lines;
  const QString text = memoPoznamka_->toPlainText();
  if (!text.isEmpty())
    for (const QString& line : text.split('\n')) lines.push_back(owner_.typed(line));
  // A character replaced by "?" shows as "?" at once, so it is reported once.
  QStringList shown;
  for (const std::string& l : lines) shown << toQt(l);
  if (!text.isEmpty() && shown.join('\n') != text) {
    const QSignalBlocker block(memoPoznamka_);
    QTextCursor cursor = memoPoznamka_->textCursor();
    const int pos = cursor.position();
    memoPoznamka_->setPlainText(shown.join('\n'));
    cursor = memoPoznamka_->textCursor();
    cursor.setPosition(std::min(pos, static_cast<int>(memoPoznamka_->toPlainText().size())));
    memoPoznamka_->setTextCursor(cursor);
  }
  NoteTyped(s_, owner_.histories(), std::move(lines));
  owner_.fieldTyped();
}

void MainPanel::bindEdit(QLineEdit* edit, std::function<void(const std::string&)> store, bool record) {
  connect(edit, &QLineEdit::textEdited, this, [this, edit, record, store = std::move(store)](const QString& text) {
    const std::string t = owner_.typed(text);
    // A character replaced by "?" shows as "?" at once, so it is reported once.
    if (toQt(t) != text) {
      const int pos = edit->cursorPosition();
      const QSignalBlocker block(edit);
      edit->setText(toQt(t));
      edit->setCursorPosition(pos);
    }
    store(t);
    // A field typed letter by letter is one step of the history.
    if (record) PanelFieldTyped(s_, owner_.histories());
    owner_.fieldTyped();
  });
}

bool MainPanel::eventFilter(QObject* watched, QEvent* event) {
  // A weight edit is left when the focus moves to another control; a menu,
  // a dialog or another program taking the focus for a while does not leave it.
  if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      for (size_t i = 0; i < weightEdits_.size(); ++i)
        if (watched == weightEdits_[i]) leaveWeight(static_cast<int>(i));
  }
  return QFrame::eventFilter(watched, event);
}

void MainPanel::leaveWeight(int i) {
  if (owner_.refreshing()) return;
  weightTyped_[static_cast<size_t>(i)] = false;
  owner_.runEvent([=](ActionContext& c) { return WeightLeft(c, i + 1); });
}

void MainPanel::commitPendingEdit() {
  for (GridView* view : {znamkyView_, znamky2View_}) view->commitEdit();
  // A weight typed and not left yet is left now.
  for (size_t i = 0; i < weightEdits_.size(); ++i)
    if (weightTyped_[i]) leaveWeight(static_cast<int>(i));
}

void MainPanel::refresh() {
  refreshFields();
  refreshGrades();
}

void MainPanel::refreshLayout() {
  boxRozvrh_->setVisible(s_.control(Ctl::GroupBoxRozvrh).visible);
  boxZnamky_->setVisible(s_.control(Ctl::GroupBoxZnamky).visible);
  setFixedHeight(std::max(0, s_.panelHeight));
}

void MainPanel::refreshFields() {
  const std::initializer_list<QLineEdit*> edits = {editN_, editDV_, editCV_, editDZ_, editCZ_, editPolozka_, editLS_};
  for (QLineEdit* e : edits) e->blockSignals(true);
  SetEditText(editN_, s_.EditN);
  editC_->setText(toQt(s_.EditC));
  editTD_->setText(toQt(s_.EditTD));
  SetEditText(editDV_, s_.EditDV);
  SetEditText(editCV_, s_.EditCV);
  SetEditText(editDZ_, s_.EditDZ);
  SetEditText(editCZ_, s_.EditCZ);
  SetEditText(editPolozka_, s_.EditRozvrhPolozka);
  SetEditText(editLS_, s_.EditRozvrhLS);
  for (QLineEdit* e : edits) e->blockSignals(false);

  shapeRozvrh_->setColor(s_.shapeRozvrh);
  const QSignalBlocker b1(radioL_), b2(radioS_), b3(checkLS_);
  radioL_->setChecked(s_.lichyTyden);
  radioS_->setChecked(!s_.lichyTyden);
  checkLS_->setChecked(s_.rozlisovatTydny);
}

void MainPanel::refreshGrades() {
  for (size_t i = 0; i < 4; ++i) {
    const WeightEdit& w = s_.weights[i];
    {
      const QSignalBlocker block(weightEdits_[i]);
      SetEditText(weightEdits_[i], w.text);
    }
    SetTextColor(weightEdits_[i], w.color);
    if (glyphColors_[i] != w.color) {
      glyphColors_[i] = w.color;
      weightButtons_[i]->setIcon(QIcon(WeightGlyph(w.color)));
    }
    const QSignalBlocker block(weightButtons_[i]);
    weightButtons_[i]->setChecked(static_cast<int>(i) + 1 == s_.weightDown);
  }

  {
    const QSignalBlocker block(semesterBox_);
    QStringList items;
    for (const std::string& t : s_.semesterItems) items << toQt(t);
    QStringList shown;
    for (int i = 0; i < semesterBox_->count(); ++i) shown << semesterBox_->itemText(i);
    if (items != shown) {
      semesterBox_->clear();
      semesterBox_->addItems(items);
    }
    semesterBox_->setCurrentIndex(s_.semesterItemIndex < semesterBox_->count() ? s_.semesterItemIndex : -1);
  }

  QStringList lines;
  for (const std::string& l : s_.memoPoznamka) lines << toQt(l);
  const QString memo = lines.join('\n');
  if (memoPoznamka_->toPlainText() != memo) {
    const QSignalBlocker block(memoPoznamka_);
    memoPoznamka_->setPlainText(memo);
  }

  znamkyView_->refresh();
  znamky2View_->refresh();
  znamky2View_->setCurrentCell(s_.selValueCol, s_.selValueRow);
  int bandsWidth = 2 * znamky2View_->frameWidth();
  for (int c = 0; c < znamky2Model_->columnCount(); ++c) bandsWidth += znamky2View_->columnWidth(c);
  znamky2View_->setFixedWidth(bandsWidth);
  // The symbols take no more room than they need; the note gets the rest.
  int symbolsWidth = 2 * znamkyView_->frameWidth();
  for (int c = 0; c < znamkyModel_->columnCount(); ++c) symbolsWidth += znamkyView_->columnWidth(c);
  znamkyView_->setMaximumWidth(symbolsWidth);
}

}  // namespace vekla
