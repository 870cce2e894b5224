#include "app/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/aboutdialog.h"
#include "app/gridmodel.h"
#include "app/helpwindow.h"
#include "app/icons.h"
#include "app/qtcolor.h"
#include "app/qtprompter.h"
#include "app/settingsdialogs.h"
#include "app/widgets.h"
#include "commands/clipboard.h"
#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/firstrun.h"
#include "commands/folders.h"
#include "commands/gradepanel.h"
#include "commands/kindtable.h"
#include "commands/sessioncommands.h"
#include "commands/undocommands.h"
#include "pdb/text.h"
#include "workspace/gradestats.h"
#include "workspace/settingsdialogs.h"
#include "workspace/setup.h"
#include "workspace/shortcuts.h"
#include "workspace/sorting.h"
#include "workspace/workfiles.h"

namespace vekla {

namespace {

constexpr int kMinWidth = 690;
constexpr int kMaxPlacement = 30000;

// Sets a line edit's text only when it differs, so the cursor stays put
// while the user types.
void setText(QLineEdit* e, const std::string& cpText) {
  const QString t = toQt(cpText);
  if (e->text() != t) e->setText(t);
}

void setTextColor(QWidget* w, Color c) {
  QPalette pal = w->palette();
  if (pal.color(QPalette::Text) == qColor(c)) return;
  pal.setColor(QPalette::Text, qColor(c));
  w->setPalette(pal);
}

// A group box whose title sits tight above its contents.
QGroupBox* groupBox(const char* objectName, const QString& title, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(objectName);
  return box;
}

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

// The letter of each menu item that Alt chooses, in its caption.
QString WithMnemonic(Ctl c, QString caption) {
  static const std::map<Ctl, QChar> letters = {
      {Ctl::MenuNovy, 'N'},      {Ctl::MenuOtevri, 'O'}, {Ctl::Otevt1, 'B'},    {Ctl::MenuImportCSV, 'I'},
      {Ctl::MenuHtml, 'H'},      {Ctl::MenuExcel, 'E'},  {Ctl::MenuUloz, 'U'},  {Ctl::ExportCSV1, 'C'},
      {Ctl::Oprogramu1, 'O'},    {Ctl::HotSync1, 'H'},   {Ctl::MenuTest, 'T'},  {Ctl::MenuNastavZnamky, 'Z'},
      {Ctl::Konec1, 'K'},        {Ctl::MenuZpet, 'Z'},   {Ctl::MenuZnovu, 'n'}, {Ctl::MenuVyjmout, 'y'},
      {Ctl::MenuKopirovat, 'K'}, {Ctl::MenuVlozit, 'V'},  {Ctl::MenuSlozky, 'S'}, {Ctl::MenuPrirucka, 'P'},
      {Ctl::MenuUvod, 'v'}};
  const auto it = letters.find(c);
  if (it == letters.end()) return caption;
  caption.replace('&', QStringLiteral("&&"));
  const qsizetype at = caption.indexOf(it->second, 0, Qt::CaseInsensitive);
  if (at >= 0) caption.insert(at, '&');
  return caption;
}

// The keys of a control's own action (the usual desktop shortcuts, and one
// for each tool button).
QList<QKeySequence> Shortcuts(Ctl c) {
  QList<QKeySequence> keys;
  for (const std::string& k : KeysOf(c)) keys << QKeySequence(QString::fromStdString(k), QKeySequence::PortableText);
  return keys;
}

int textWidth(const QWidget* w, const QString& sample) { return w->fontMetrics().horizontalAdvance(sample) + 14; }

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

MainWindow::MainWindow(QWidget* parent) : MainWindow(nullptr, parent) {}

MainWindow::MainWindow(Prompter* prompter, QWidget* parent) : QMainWindow(parent) {
  GridModel::installWidthMeasure();
  s_.programDir = ResolveProgramDir(QCoreApplication::applicationDirPath());
  s_.exportDir = ResolveExportDir(QCoreApplication::applicationDirPath());
  InitControls(s_);
  FormCreate(s_, s_.programDir);

  buildUi();
  statusBar()->setObjectName("StatusBar");
  if (prompter) {
    prompter_ = prompter;
  } else {
    ownPrompter_ = std::make_unique<QtPrompter>(this, lpohyb_);
    prompter_ = ownPrompter_.get();
  }
  buildGradeOptions();
  buildHandlers();
  // A database or CSV file dropped on the window is opened or imported.
  setAcceptDrops(true);
  setMinimumWidth(kMinWidth);
  restorePlacement();
  refresh();
}

MainWindow::~MainWindow() {
  // The views read the state while they are torn down; take them down while
  // the state still exists, and let no handler run on the way.
  refreshing_ = true;
  delete takeCentralWidget();
}

// ---------------------------------------------------------------- building

void MainWindow::buildUi() {
  setObjectName("T_Vekla");
  buildMenus();
  buildToolBar();

  auto* central = new QWidget(this);
  auto* centralLayout = new QVBoxLayout(central);
  centralLayout->setContentsMargins(0, 0, 0, 0);
  centralLayout->setSpacing(0);

  splitter_ = new QSplitter(Qt::Vertical, central);
  splitter_->setObjectName("Splitter1");
  splitter_->setChildrenCollapsible(false);
  centralLayout->addWidget(splitter_);

  auto* top = new QWidget(splitter_);
  auto* topLayout = new QVBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  topLayout->setSpacing(0);
  panel_ = buildPanel();
  panel_->setParent(top);
  topLayout->addWidget(panel_);

  gridModel_ = new GridModel(s_, &VeklaState::grid, GridModel::Fixed::AsHeaders, this);
  grid_ = new GridView(gridModel_, top);
  grid_->setObjectName("StringAlignGrid");
  topLayout->addWidget(grid_, 1);
  gridModel_->afterEdit = [this](int col, int row) {
    run([=, this] { StringAlignGridAfterEdit(s_, {col, row}); }, cp("úprava buňky"));
  };
  connect(grid_, &GridView::currentCellChanged, this, [this](int col, int row) {
    run([=, this] { StringAlignGridSelectCell(s_, {col, row}); });
  });
  connect(grid_, &GridView::cellClicked, this, [this](const GridClick& click) {
    run([=, this] { return GradeCellClicked(s_, click); }, WeightClickStep());
  });
  connect(grid_, &GridView::fixedColumnClicked, this, [this](int col) {
    commitPendingEdit();
    run([=, this] { return ColumnTitleClick(s_, col); }, cp("řazení"));
  });
  connect(grid_, &GridView::clearRequested, this, [this](const std::vector<CellPos>& cells) {
    run([=, this] { return ClearCells(s_, *prompter_, cells); },
        cells.size() == 1 ? cp("smazání buňky") : cp("smazání ") + std::to_string(cells.size()) + cp(" buněk"));
  });

  tabs_ = new QTabBar(top);
  tabs_->setObjectName("TabSet1");
  tabs_->setShape(QTabBar::RoundedSouth);
  tabs_->setExpanding(false);
  tabs_->setDrawBase(true);
  for (DbKind k : {DbKind::Znamky, DbKind::Rozpisy, DbKind::Rozvrh, DbKind::Kalendar})
    tabs_->addTab(toQt(KindTabCaption(k)));
  topLayout->addWidget(tabs_);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (refreshing_) return;
    commitPendingEdit();
    run([=, this] { TabSet1Change(s_, *prompter_, index); }, {}, Track::Resume);
  });

  memo1_ = new QPlainTextEdit(splitter_);
  memo1_->setObjectName("Memo1");
  memo1_->setReadOnly(true);
  memo1_->setToolTip(QStringLiteral("chyby"));
  memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  setTextColor(memo1_, rgbHex(0xFF0000));
  // At least six lines of the log are always in sight.
  memo1_->setMinimumHeight(6 * memo1_->fontMetrics().lineSpacing() + 2 * memo1_->frameWidth() +
                           static_cast<int>(2 * memo1_->document()->documentMargin()));

  splitter_->addWidget(top);
  splitter_->addWidget(memo1_);
  // The log grows with the window too, a quarter of what the grid grows.
  splitter_->setHandleWidth(6);
  splitter_->setStretchFactor(0, 4);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({600, memo1_->minimumHeight()});
  setCentralWidget(central);
  statusBar()->setObjectName("StatusBar");
}

void MainWindow::buildMenus() {
  std::map<std::string, QMenu*> menus;
  for (const MenuItemDef& m : MenuItems()) {
    QMenu*& menu = menus[m.menu];
    // Alt+N is "Nastavení"; "Nápověda" takes Alt+V.
    if (!menu) menu = menuBar()->addMenu(m.menu == cp("Nápověda") ? QStringLiteral("Nápo&věda") : "&" + toQt(m.menu));
    QAction* a = menu->addAction(WithMnemonic(m.name, toQt(m.caption)));
    a->setShortcuts(Shortcuts(m.name));
    a->setObjectName(QString::fromLatin1(CtlName(m.name)));
    actions_[m.name] = a;
    menuNames_.push_back(m.name);
    connect(a, &QAction::triggered, this, [this, name = m.name] { trigger(name); });
    // The databases used last, just above "O programu".
    if (m.name == Ctl::ExportCSV1) {
      recentMenu_ = menu->addMenu(QStringLiteral("&Poslední soubory"));
      recentMenu_->setObjectName("MenuPosledni");
      connect(recentMenu_, &QMenu::aboutToShow, this, [this] { refreshRecentFiles(); });
    }
  }
}

void MainWindow::buildToolBar() {
  speedBar_ = new QToolBar(this);
  speedBar_->setObjectName("SpeedBar1");
  speedBar_->setMovable(false);
  speedBar_->setFloatable(false);
  speedBar_->setIconSize(QSize(24, 24));
  speedBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, speedBar_);

  lpohyb_ = new QLabel(speedBar_);
  lpohyb_->setObjectName("Lpohyb");
  lpohyb_->setMinimumWidth(textWidth(lpohyb_, "100 %"));
  lpohyb_->setAlignment(Qt::AlignCenter);
  shape1_ = new ColorCircle(speedBar_);
  shape1_->setObjectName("Shape1");
  shape2_ = new ColorCircle(speedBar_);
  shape2_->setObjectName("Shape2");

  for (const ToolButtonDef& b : ToolButtons()) {
    const QString name = QString::fromLatin1(CtlName(b.name));
    auto* a = new QAction(ToolIcon(b.name), toQt(b.hint), this);
    a->setObjectName(name);
    // The tooltip names the key; a button with a menu item of its own
    // leaves the key to the menu item.
    a->setToolTip(toQt(ToolTipWithKey(b.hint, ToolButtonKey(b.name))));
    a->setShortcuts(Shortcuts(b.name));
    speedBar_->addAction(a);
    if (QWidget* button = speedBar_->widgetForAction(a)) button->setObjectName(name);
    actions_[b.name] = a;
    connect(a, &QAction::triggered, this, [this, n = b.name] { trigger(n); });
    if (b.name == Ctl::SpeedItemImport2) speedBar_->addWidget(lpohyb_);
    if (b.name == Ctl::SpeedItemBarva) {
      speedBar_->addWidget(shape1_);
      speedBar_->addWidget(shape2_);
    }
  }
}

QFrame* MainWindow::buildPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName("PanelHlavni");
  panel->setFrameShape(QFrame::NoFrame);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 0, 2, 2);
  layout->setSpacing(0);

  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  layout->addLayout(row);

  auto* db = groupBox("GroupBoxDatabaze", QStringLiteral(" Databáze "), panel);
  auto* dbLayout = tightLayout<QHBoxLayout>(db);
  editN_ = panelEdit("EditN", db, textWidth(db, "Znamky-MMMMMMMMMMMM"));
  editC_ = panelLabel("EditC", db);
  editTD_ = panelLabel("EditTD", db);
  dbLayout->addWidget(editN_);
  dbLayout->addWidget(editC_);
  dbLayout->addWidget(editTD_);
  row->addWidget(db);

  const int dateWidth = textWidth(panel, "00.00.00000");
  const int timeWidth = textWidth(panel, "00:00:000");
  auto* created = groupBox("GroupBoxVytvoreno", QStringLiteral(" Vytvořeno: "), panel);
  auto* createdLayout = tightLayout<QHBoxLayout>(created);
  editDV_ = panelEdit("EditDV", created, dateWidth);
  editCV_ = panelEdit("EditCV", created, timeWidth);
  createdLayout->addWidget(editDV_);
  createdLayout->addWidget(editCV_);
  row->addWidget(created);

  auto* changed = groupBox("GroupBoxZmeneno", QStringLiteral(" Změněno"), panel);
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
      markEdited();
    });
  }
  bindEdit(editN_, [this](const std::string& t) {
    s_.EditN = t;
    markEdited();
  });
  bindEdit(editDV_, [this](const std::string& t) {
    s_.EditDV = t;
    markEdited();
  });
  bindEdit(editDZ_, [this](const std::string& t) {
    s_.EditDZ = t;
    markEdited();
  });

  boxRozvrh_ = buildTimetableBox();
  layout->addWidget(boxRozvrh_);
  boxZnamky_ = buildGradesBox();
  layout->addWidget(boxZnamky_);
  layout->addStretch(1);
  return panel;
}

QGroupBox* MainWindow::buildTimetableBox() {
  auto* box = groupBox("GroupBoxRozvrh", QStringLiteral(" Rozvrh "), this);
  auto* layout = tightLayout<QHBoxLayout>(box);
  // Eight characters of ordinary text, so the row fits the narrowest window.
  const int editWidth = textWidth(box, "00000000");

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
    MarkEdited(s_);
    run([this] { EditRozvrhPolozkaChange(s_); }, cp("úprava rozvrhu"), Track::Merge);
  });
  bindEdit(editLS_, [this](const std::string& t) {
    s_.EditRozvrhLS = t;
    MarkEdited(s_);
    run([this] { EditRozvrhLSChange(s_); }, cp("úprava rozvrhu"), Track::Merge);
  });
  connect(buttonRozvrh_, &QToolButton::clicked, this,
          [this] { run([this] { SpeedButtonRozvrhClick(s_, *prompter_); }, cp("barva bloku")); });
  connect(radioL_, &QRadioButton::toggled, this, [this](bool on) {
    if (refreshing_) return;
    s_.lichyTyden = on;
    markEdited();
  });
  connect(checkLS_, &QCheckBox::toggled, this, [this](bool on) {
    if (refreshing_) return;
    s_.rozlisovatTydny = on;
    markEdited();
  });
  return box;
}

QGroupBox* MainWindow::buildGradesBox() {
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

GridView* MainWindow::buildGradeSymbols(QWidget* box) {
  znamkyModel_ = new GridModel(s_, &VeklaState::znamky, GridModel::Fixed::AsCells, this);
  znamkyModel_->editable = [](int, int row) { return row == 1; };
  znamkyModel_->afterEdit = [this](int col, int row) {
    run([=, this] { StringAGZnamkyAfterEdit(s_, col, row); }, cp("úprava stupnice"));
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

QHBoxLayout* MainWindow::buildWeights(QWidget* box) {
  auto* controls = new QHBoxLayout;
  controls->setSpacing(2);
  weightGroup_ = new QButtonGroup(this);
  weightGroup_->setExclusive(true);
  for (int i = 0; i < 4; ++i) {
    const std::string n = std::to_string(i + 1);
    auto* edit = panelEdit(("EHodnota" + n).c_str(), box, textWidth(box, "00,00"));
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
          [this](int id) { run([=, this] { SBHodnotaClick(s_, id); }, cp("volba váhy")); });
  return controls;
}

QVBoxLayout* MainWindow::buildSemesterControls(QWidget* box) {
  semesterBox_ = new SemesterBox(box);
  semesterBox_->setObjectName("CBZnamkyPololeti");
  semesterBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(semesterBox_, &SemesterBox::droppingDown, this, [this] { CBZnamkyPololetiDropDown(s_); });
  connect(semesterBox_, &QComboBox::activated, this, [this](int index) {
    // Picking the semester that is shown would reload it from the store and
    // drop the edits made since: nothing to do then.
    if (index == s_.semesterItemIndex) return;
    // A step of its own: undoing it shows the semester left, and the steps
    // before it stay.
    commitPendingEdit();
    run([=, this] { ChooseSemester(s_, index); }, cp("volba pololetí"));
  });

  button1_ = new QPushButton(QStringLiteral("Průměry"), box);
  button1_->setObjectName("Button1");
  connect(button1_, &QPushButton::clicked, this, [this] { run([this] { Button1Click(s_); }, cp("průměry")); });

  // The semester box and "Průměry" stand between the symbols and the note,
  // so that the row of weights and bands fits the narrowest window.
  auto* semester = new QVBoxLayout;
  semester->setSpacing(3);
  semester->addWidget(semesterBox_);
  semester->addWidget(button1_, 0, Qt::AlignLeft);
  semester->addStretch(1);
  return semester;
}

GridView* MainWindow::buildBands(QWidget* box) {
  znamky2Model_ = new GridModel(s_, &VeklaState::znamky2, GridModel::Fixed::AsCells, this);
  znamky2Model_->afterEdit = [this](int col, int row) {
    run([=, this] { StringAGZnamky2AfterEdit(s_, col, row); }, cp("úprava pásma průměrů"));
  };
  znamky2View_ = new GridView(znamky2Model_, box);
  znamky2View_->setObjectName("StringAGZnamky2");
  znamky2View_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  znamky2View_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  znamky2View_->setFixedHeight(znamky2View_->verticalHeader()->defaultSectionSize() + 2 * znamky2View_->frameWidth());
  // The bounds are short numbers; the band grid keeps narrow columns.
  znamky2View_->setUniformColumnWidth(textWidth(znamky2View_, "0,00"));
  znamky2View_->setToolTip(QStringLiteral("Horní meze pásem průměrů"));
  connect(znamky2View_, &GridView::currentCellChanged, this,
          [this](int col, int row) { run([=, this] { StringAGZnamky2SelectCell(s_, col, row); }); });
  return znamky2View_;
}

QPlainTextEdit* MainWindow::buildNote(QWidget* box) {
  memoPoznamka_ = new QPlainTextEdit(box);
  memoPoznamka_->setObjectName("MemoPoznamka");
  // The store and the database keep the note on one line.
  memoPoznamka_->setToolTip(QStringLiteral("Poznámka k pololetí; konec řádku se do databáze uloží jako mezera"));
  memoPoznamka_->setMinimumWidth(100);
  memoPoznamka_->setFixedHeight(znamkyView_->height());
  connect(memoPoznamka_, &QPlainTextEdit::textChanged, this, [this] {
    if (refreshing_) return;
    std::vector<std::string> lines;
    const QString text = memoPoznamka_->toPlainText();
    if (!text.isEmpty())
      for (const QString& line : text.split('\n')) lines.push_back(typed(line));
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
    s_.memoPoznamka = std::move(lines);
    markEdited();
    RecordEdit(s_, histories_, cp("úprava poznámky"), true);
    refreshControls();
  });
  return memoPoznamka_;
}

void MainWindow::buildHandlers() {
  auto on = [this](std::initializer_list<Ctl> names, std::function<void()> f) {
    for (Ctl n : names) handlers_[n] = f;
  };
  Prompter& p = *prompter_;
  on({Ctl::MenuNovy, Ctl::SpeedItemNovy}, [this, &p] { run([&] { return NovyClick(s_, p); }, {}, Track::Start); });
  on({Ctl::MenuOtevri, Ctl::SpeedItemOtevri1},
     [this, &p] { run([&] { return OtevriClick1(s_, p); }, {}, Track::Start); });
  on({Ctl::Otevt1, Ctl::SpeedItemOtevri2}, [this, &p] { run([&] { return OtevriClick2(s_, p); }, {}, Track::Start); });
  on({Ctl::MenuUloz, Ctl::SpeedItemUlozPDB}, [this, &p] { run([&] { return UlozClick(s_, p); }, {}, Track::Save); });
  on({Ctl::MenuZpet}, [this] { run([&] { return UndoClick(s_, histories_); }, {}, Track::None); });
  on({Ctl::MenuZnovu}, [this] { run([&] { return RedoClick(s_, histories_); }, {}, Track::None); });
  on({Ctl::MenuKopirovat}, [this] { copyCells(false); });
  on({Ctl::MenuVyjmout}, [this] { copyCells(true); });
  on({Ctl::MenuVlozit}, [this] { pasteCells(); });
  on({Ctl::HotSync1, Ctl::SpeedItem3}, [this, &p] { run([&] { HotSync(s_, p); }); });
  on({Ctl::MenuTest}, [this, &p] { run([&] { MenuTestClick(s_, p); }, cp("test tabulky")); });
  on({Ctl::SpeedItemBarva}, [this, &p] { run([&] { SpeedButton1Click(s_, p); }, cp("barva zvýraznění")); });
  on({Ctl::SpeedItem8}, [this] { run([&] { SBnastavitsloupceClick(s_); }); });
  on({Ctl::SpeedItem9}, [this] { run([&] { SBchybyClick(s_); }); });
  on({Ctl::SpeedItemPridatRadek}, [this] { run([&] { SBInsertClick(s_); }, cp("přidání řádku")); });
  on({Ctl::SpeedItemOdstranitRadek}, [this, &p] { run([&] { SBDeleteClick(s_, p); }, cp("odstranění řádku")); });
  on({Ctl::SpeedItemPridatSloupec}, [this] { run([&] { SpeedItemPridatSloupecClick(s_); }, cp("přidání sloupce")); });
  on({Ctl::SpeedItemOdebratSloupec},
     [this, &p] { run([&] { SpeedItemOdebratSloupecClick(s_, p); }, cp("odebrání sloupce")); });
  on({Ctl::SpeedItemHodiny}, [this, &p] { run([&] { SpeedItemHodinyClick(s_, p); }, cp("čas")); });
  on({Ctl::SpeedItemDatum}, [this, &p] { run([&] { SpeedItemDatumClick(s_, p); }, cp("datum")); });
  on({Ctl::MenuNastavZnamky}, [this] {
    // Shown without blocking the window; its check boxes keep what was left in them.
    gradeOptions_->show();
    gradeOptions_->raise();
    gradeOptions_->activateWindow();
  });
  on({Ctl::Oprogramu1, Ctl::SpeedItem12}, [this] { showAbout(); });
  on({Ctl::MenuPrirucka}, [this] { showGuide(); });
  on({Ctl::MenuUvod}, [this] { showWelcome(); });
  on({Ctl::MenuSlozky}, [this, &p] { run([&] { return SlozkyClick(s_, p); }, {}, Track::None); });
  on({Ctl::Konec1, Ctl::SpeedItem13}, [this] { close(); });
  // Every conversion control runs the current kind's conversion from the
  // table of kinds; a kind without it keeps the control disabled.
  for (const auto& [name, action] : actions_) {
    if (const auto conversion = ConversionOf(name))
      handlers_[name] = [this, &p, c = *conversion] {
        const bool import = c == Conversion::ImportCsv || c == Conversion::ImportCsvTwoValues;
        run([&] { ConvertClick(s_, p, c); }, import ? cp("import CSV") : cp("export"));
      };
  }
}

void MainWindow::buildGradeOptions() {
  gradeOptions_ = new GradeOptionsDialog(this);
  // The check boxes take the settings once, when the program starts.
  gradeOptions_->setOptions(ReadGradeDisplayOptions(s_.settings));
  connect(gradeOptions_, &GradeOptionsDialog::confirmed, this, [this](const GradeDisplayOptions& o) {
    run([&] {
      WriteGradeDisplayOptions(s_.settings, o);
      s_.settings.save(s_.programDir + "vekla.ini");
    });
  });
  // Coming back from the dialog does not reload the grid.
  connect(gradeOptions_, &GradeOptionsDialog::closedEitherWay, this, [this] { s_.reload = false; });
}

// ---------------------------------------------------------------- lifecycle

void MainWindow::restorePlacement() {
  resize(1024, 720);
  // Only numbers a screen can hold: a damaged settings file must not ask for
  // a window of a billion pixels.
  auto number = [this](const char* key, int& out) {
    bool ok = false;
    const int v = QString::fromStdString(s_.settings.get("Nastaveni", key)).toInt(&ok);
    ok = ok && v >= -kMaxPlacement && v <= kMaxPlacement;
    if (ok) out = v;
    return ok;
  };
  int left = 0, top = 0, width = 0, height = 0;
  if (number("Width", width) && number("Height", height) && width > 0 && height > 0)
    resize(std::max(width, kMinWidth), height);
  // Only a position that lies on a screen: a monitor may have gone.
  if (number("Left", left) && number("Top", top) && QGuiApplication::screenAt(QPoint(left + 40, top + 20)))
    move(left, top);
}

void MainWindow::storePlacement() {
  const QRect r = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
  s_.settings.set("Nastaveni", "Left", std::to_string(r.x()));
  s_.settings.set("Nastaveni", "Top", std::to_string(r.y()));
  s_.settings.set("Nastaveni", "Width", std::to_string(r.width()));
  s_.settings.set("Nastaveni", "Height", std::to_string(r.height()));
}

void MainWindow::activate() {
  if (activated_) return;
  activated_ = true;
  run([this] { FormActivate(s_, *prompter_); }, {}, Track::Resume);
  // Keys go to the grid: the first key typed must not rename the database.
  grid_->setFocus(Qt::OtherFocusReason);
  // The welcome once the window is up, unless a file given on the command
  // line is opened first.
  QTimer::singleShot(0, this, [this] {
    if (!fileGiven_ && ShouldWelcome(s_)) showWelcome();
  });
}

void MainWindow::showWelcome() {
  const QString sample = FindShippedFile(QCoreApplication::applicationDirPath(), QStringLiteral("examples/Znamky-7A.csv"));
  run([&] { return WelcomeClick(s_, *prompter_, histories_, sample); }, {}, Track::None);
}

void MainWindow::showGuide() {
  const QString appDir = QCoreApplication::applicationDirPath();
  const QString guide = FindShippedFile(appDir, QStringLiteral("manual/index.html"));
  if (!helpWindow_) helpWindow_ = new HelpWindow(this);
  if (guide.isEmpty() || !helpWindow_->openGuide(guide)) {
    prompter_->message(cp("Příručka nebyla nalezena. Patří do složky ") +
                       NativePath(QDir::cleanPath(appDir + "/../share/doc/vekla/manual")) + ".");
    return;
  }
  helpWindow_->show();
  helpWindow_->raise();
  helpWindow_->activateWindow();
}

bool MainWindow::event(QEvent* event) {
  // Only the first activation sets up and loads the stored tab; coming back
  // from a dialog or another program keeps the grid as it is.
  if (event->type() == QEvent::WindowActivate && !activated_) {
    const bool handled = QMainWindow::event(event);
    activate();
    return handled;
  }
  return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // A weight edit is left when the focus moves to another control; a menu,
  // a dialog or another program taking the focus for a while does not leave it.
  if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      for (size_t i = 0; i < weightEdits_.size(); ++i)
        if (watched == weightEdits_[i]) leaveWeight(static_cast<int>(i));
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::leaveWeight(int i) {
  if (refreshing_) return;
  weightTyped_[static_cast<size_t>(i)] = false;
  run([=, this] { EHodnotaExit(s_, i + 1); }, cp("úprava váhy"));
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A desktop without a window manager may never activate the window: the
  // stored tab is loaded once the window shows anyway.
  if (!showScheduled_) {
    showScheduled_ = true;
    QTimer::singleShot(0, this, &MainWindow::activate);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  commitPendingEdit();
  // The working files keep the edits in any case; the handheld gets only
  // what was saved to a database, so closing with edits asks first.
  if (const std::string question = CloseQuestion(s_); !question.empty() && !prompter_->questionDefaultNo(question)) {
    run([this] { SaveKind(s_); }, {}, Track::None);
    event->ignore();
    return;
  }
  storePlacement();
  run([this] { FormClose(s_, *prompter_); });
  event->accept();
}

namespace {

// The local database or CSV file a drag carries, if any.
QString DroppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    const QString path = url.toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!path.isEmpty() && (suffix == QLatin1String("pdb") || suffix == QLatin1String("csv"))) return path;
  }
  return {};
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  openGivenFile(path);
}

void MainWindow::openGivenFile(const QString& path) {
  fileGiven_ = true;
  commitPendingEdit();
  run([&] { return OpenGivenFile(s_, *prompter_, histories_, path); }, cp("import CSV"));
}

void MainWindow::refreshRecentFiles() {
  recentMenu_->clear();
  const std::vector<QString> files = RecentFiles(s_);
  for (std::size_t i = 0; i < files.size(); ++i) {
    QAction* a = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])));
    connect(a, &QAction::triggered, this, [this, path = files[i]] { openGivenFile(path); });
  }
  recentMenu_->setEnabled(!files.empty());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const int w = FormResizeWidth(width());
  if (w != width()) resize(w, height());
}

void MainWindow::showAbout() {
  AboutDialog about(this);
  about.exec();
}

// ---------------------------------------------------------------- commands

Outcome MainWindow::runTracked(const std::function<Outcome()>& command, const std::string& label, Track track) {
  const Outcome outcome = RunCommand(s_, *prompter_, command);
  const std::string name = label.empty() ? cp("úprava") : label;
  bool changed = outcome == Outcome::Done && track != Track::Resume;
  switch (track) {
    case Track::Edit: changed = RecordEdit(s_, histories_, name); break;
    case Track::Merge: changed = RecordEdit(s_, histories_, name, true); break;
    case Track::Start:
      if (outcome == Outcome::Done) StartHistory(s_, histories_);
      else changed = RecordEdit(s_, histories_, name);
      break;
    case Track::Save:
      if (outcome == Outcome::Done) NoteSaved(s_, histories_);
      else changed = RecordEdit(s_, histories_, name);
      break;
    case Track::Resume: ResumeHistory(s_, histories_); break;
    case Track::None: break;
  }
  refresh();
  // The status line tells what a command did without asking; it stays
  // until the next command changes something.
  if (!s_.statusLine.empty()) {
    statusBar()->showMessage(toQt(s_.statusLine));
    s_.statusLine.clear();
  } else if (changed) {
    statusBar()->clearMessage();
  }
  return outcome;
}

std::vector<CellPos> MainWindow::selectedCells() const {
  std::vector<CellPos> cells;
  const GridModel* m = grid_->gridModel();
  for (const QModelIndex& i : grid_->selectionModel()->selectedIndexes())
    cells.push_back({m->gridCol(i), m->gridRow(i)});
  if (cells.empty() && grid_->currentIndex().isValid())
    cells.push_back({m->gridCol(grid_->currentIndex()), m->gridRow(grid_->currentIndex())});
  return cells;
}

void MainWindow::copyCells(bool cut) {
  const std::vector<CellPos> cells = selectedCells();
  if (cells.empty()) return;
  // The text for every program, and beside it the grades' weights for a
  // paste in Vekla.
  auto* data = new QMimeData;
  data->setText(toQt(CopyCells(s_, cells)));
  data->setData(QString::fromLatin1(kCellsMimeType), QByteArray::fromStdString(CopyWeights(s_, cells)));
  QGuiApplication::clipboard()->setMimeData(data);
  if (!cut) return;
  const std::string label =
      cells.size() == 1 ? cp("vyjmutí buňky") : cp("vyjmutí ") + std::to_string(cells.size()) + cp(" buněk");
  run([&] { return CutCells(s_, *prompter_, cells); }, label);
}

void MainWindow::pasteCells() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QString text = data ? data->text() : QString();
  if (text.isEmpty()) return;
  const QByteArray weights = data->data(QString::fromLatin1(kCellsMimeType));
  const std::string bytes = typed(text);
  std::size_t fields = 0;
  for (const auto& line : SplitClipboardText(bytes)) fields += line.size();
  // The block starts at the top-left selected cell.
  CellPos at{s_.selCol, s_.selRow};
  const std::vector<CellPos> cells = selectedCells();
  if (!cells.empty()) {
    at = cells.front();
    for (const CellPos c : cells) at = {std::min(at.col, c.col), std::min(at.row, c.row)};
  }
  const std::string label = fields == 1 ? cp("vložení buňky") : cp("vložení ") + std::to_string(fields) + cp(" buněk");
  // The click that chose where the block goes gives no weight.
  TakeBackWeightClick(s_, histories_, at);
  run([&] { return PasteCells(s_, *prompter_, at, bytes, weights.toStdString()); }, label);
}

void MainWindow::trigger(Ctl controlName) {
  const auto a = actions_.find(controlName);
  if (a != actions_.end() && (!a->second->isEnabled() || !a->second->isVisible())) return;
  const auto h = handlers_.find(controlName);
  if (h == handlers_.end()) return;
  commitPendingEdit();
  // A long command says in the status bar what it is doing while it runs.
  const QString doing = toQt(StatusTextOf(controlName));
  if (!doing.isEmpty()) {
    statusBar()->showMessage(doing);
    statusBar()->repaint();
  }
  h->second();
  if (!doing.isEmpty()) statusBar()->clearMessage();
}

void MainWindow::commitPendingEdit() {
  for (GridView* view : {grid_, znamkyView_, znamky2View_}) view->commitEdit();
  // A weight typed and not left yet is left now.
  for (size_t i = 0; i < weightEdits_.size(); ++i)
    if (weightTyped_[i]) leaveWeight(static_cast<int>(i));
}

void MainWindow::markEdited() {
  MarkEdited(s_);
  setWindowModified(true);
}

void MainWindow::bindEdit(QLineEdit* edit, std::function<void(const std::string&)> store, bool record) {
  connect(edit, &QLineEdit::textEdited, this, [this, edit, record, store = std::move(store)](const QString& text) {
    const std::string t = typed(text);
    // A character replaced by "?" shows as "?" at once, so it is reported once.
    if (toQt(t) != text) {
      const int pos = edit->cursorPosition();
      const QSignalBlocker block(edit);
      edit->setText(toQt(t));
      edit->setCursorPosition(pos);
    }
    store(t);
    // A field typed letter by letter is one step of the history.
    if (record) RecordEdit(s_, histories_, cp("úprava pole"), true);
    refreshControls();
  });
}

std::string MainWindow::typed(const QString& text) {
  bool lossy = false;
  std::string t = fromQt(text, &lossy);
  if (lossy) {
    Log(s_, cp("Znak nelze uložit v kódování Windows-1250, nahrazen znakem \"?\": ") + t);
    refreshLog();
  }
  return t;
}

// ---------------------------------------------------------------- observation

void MainWindow::refresh() {
  if (refreshing_) return;
  refreshing_ = true;

  // The semester label, the database and a mark for edits not yet saved.
  setWindowTitle(toQt(WindowTitle(s_)) + "[*]");
  setWindowModified(HasUnsavedEdits(s_));
  lpohyb_->setText(toQt(s_.Lpohyb));
  shape1_->setColor(s_.shape1);
  shape2_->setColor(s_.shape2);
  {
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(static_cast<int>(s_.kind));
  }
  refreshControls();
  refreshPanel();
  refreshGrades();

  grid_->refresh();
  const CellGrid& g = s_.grid;
  const int col = std::clamp(s_.selCol, g.fixedCols(), std::max(g.fixedCols(), g.colCount() - 1));
  const int row = std::clamp(s_.selRow, g.fixedRows(), std::max(g.fixedRows(), g.rowCount() - 1));
  grid_->setCurrentCell(col, row);
  refreshLog();

  refreshing_ = false;
  emit refreshed();
}

void MainWindow::refreshControls() {
  for (const auto& [name, action] : actions_) {
    const Control& control = s_.control(name);
    action->setEnabled(control.enabled && IsImplemented(s_.kind, name) && handlers_.count(name) > 0);
    action->setVisible(control.visible);
  }
  for (Ctl name : menuNames_) {
    const Control& c = s_.control(name);
    if (!c.caption.empty()) actions_[name]->setText(WithMnemonic(name, toQt(c.caption)));
  }
  // Undo and redo name the step they take back or make again.
  const EditHistory& history = histories_.of(s_.kind);
  actions_[Ctl::MenuZpet]->setText(WithMnemonic(Ctl::MenuZpet, toQt(UndoCaption(s_, histories_))));
  actions_[Ctl::MenuZpet]->setEnabled(history.canUndo());
  actions_[Ctl::MenuZnovu]->setText(WithMnemonic(Ctl::MenuZnovu, toQt(RedoCaption(s_, histories_))));
  actions_[Ctl::MenuZnovu]->setEnabled(history.canRedo());
  boxRozvrh_->setVisible(s_.control(Ctl::GroupBoxRozvrh).visible);
  boxZnamky_->setVisible(s_.control(Ctl::GroupBoxZnamky).visible);
  panel_->setFixedHeight(std::max(0, s_.panelHeight));
}

void MainWindow::refreshPanel() {
  for (QLineEdit* e : {editN_, editDV_, editCV_, editDZ_, editCZ_, editPolozka_, editLS_}) e->blockSignals(true);
  setText(editN_, s_.EditN);
  editC_->setText(toQt(s_.EditC));
  editTD_->setText(toQt(s_.EditTD));
  setText(editDV_, s_.EditDV);
  setText(editCV_, s_.EditCV);
  setText(editDZ_, s_.EditDZ);
  setText(editCZ_, s_.EditCZ);
  setText(editPolozka_, s_.EditRozvrhPolozka);
  setText(editLS_, s_.EditRozvrhLS);
  for (QLineEdit* e : {editN_, editDV_, editCV_, editDZ_, editCZ_, editPolozka_, editLS_}) e->blockSignals(false);

  shapeRozvrh_->setColor(s_.shapeRozvrh);
  const QSignalBlocker b1(radioL_), b2(radioS_), b3(checkLS_);
  radioL_->setChecked(s_.lichyTyden);
  radioS_->setChecked(!s_.lichyTyden);
  checkLS_->setChecked(s_.rozlisovatTydny);
}

void MainWindow::refreshGrades() {
  for (size_t i = 0; i < 4; ++i) {
    const WeightEdit& w = s_.weights[i];
    {
      const QSignalBlocker block(weightEdits_[i]);
      setText(weightEdits_[i], w.text);
    }
    setTextColor(weightEdits_[i], w.color);
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

void MainWindow::refreshLog() {
  if (s_.Memo1 == shownLog_) return;
  const bool appended =
      s_.Memo1.size() > shownLog_.size() && std::equal(shownLog_.begin(), shownLog_.end(), s_.Memo1.begin());
  if (appended) {
    for (size_t i = shownLog_.size(); i < s_.Memo1.size(); ++i) memo1_->appendPlainText(toQt(s_.Memo1[i]));
  } else {
    QStringList lines;
    for (const std::string& l : s_.Memo1) lines << toQt(l);
    memo1_->setPlainText(lines.join('\n'));
  }
  shownLog_ = s_.Memo1;
  memo1_->verticalScrollBar()->setValue(memo1_->verticalScrollBar()->maximum());
}

}  // namespace vekla
