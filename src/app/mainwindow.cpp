#include "app/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/aboutdialog.h"
#include "app/actionbars.h"
#include "app/gridmodel.h"
#include "app/helpwindow.h"
#include "app/printactions.h"
#include "app/qtprompter.h"
#include "app/settingsdialogs.h"
#include "app/widgets.h"
#include "commands/clipboard.h"
#include "commands/firstrun.h"
#include "commands/folders.h"
#include "commands/sessioncommands.h"
#include "commands/windowevents.h"
#include "pdb/text.h"
#include "workspace/kindparams.h"
#include "workspace/settingsdialogs.h"
#include "workspace/setup.h"

namespace vekla {

namespace {

constexpr int kMinWidth = 690;

// The local database or CSV file a drag carries, if any.
QString DroppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  std::vector<QString> paths;
  for (const QUrl& url : data->urls()) paths.push_back(url.toLocalFile());
  return FileToOpen(paths);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : MainWindow(nullptr, parent) {}

MainWindow::MainWindow(Prompter* prompter, QWidget* parent)
    : QMainWindow(parent), textWidths_(std::make_unique<TextWidths>()) {
  s_.programDir = ResolveProgramDir(QCoreApplication::applicationDirPath());
  s_.exportDir = ResolveExportDir(QCoreApplication::applicationDirPath());
  InitControls(s_);
  FormCreate(s_, s_.programDir);

  setObjectName("T_Vekla");
  bars_ = new ActionBars(this, [this](Ctl name) { trigger(name); });
  bars_->recentFiles = [this] { return RecentFiles(s_); };
  bars_->openFile = [this](const QString& path) { openGivenFile(path); };
  setCentralWidget(buildGridAndLog());
  statusBar()->setObjectName("StatusBar");
  if (prompter) {
    prompter_ = prompter;
  } else {
    ownPrompter_ = std::make_unique<QtPrompter>(this, bars_->progressLabel());
    prompter_ = ownPrompter_.get();
  }
  buildGradeOptions();
  // Printing, the report and the overview; the PDF codecs in the table of kinds.
  printing_ = new PrintActions(this, s_, *prompter_);
  connect(this, &MainWindow::refreshed, printing_, &PrintActions::followWindow);
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

QWidget* MainWindow::buildGridAndLog() {
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
  panel_ = new MainPanel(s_, *this, top);
  topLayout->addWidget(panel_);

  gridModel_ = new GridModel(s_, &VeklaState::grid, GridModel::Fixed::AsHeaders, this);
  grid_ = new GridView(gridModel_, top);
  grid_->setObjectName("StringAlignGrid");
  topLayout->addWidget(grid_, 1);
  gridModel_->afterEdit = [this](int col, int row) {
    runEvent([=](ActionContext& c) { return CellEdited(c, {col, row}); });
  };
  connect(grid_, &GridView::currentCellChanged, this, [this](int col, int row) {
    runEvent([=](ActionContext& c) { return CellSelected(c, {col, row}); });
  });
  connect(grid_, &GridView::cellClicked, this,
          [this](const GridClick& click) { runEvent([=](ActionContext& c) { return CellClicked(c, click); }); });
  connect(grid_, &GridView::fixedColumnClicked, this, [this](int col) {
    commitPendingEdit();
    runEvent([=](ActionContext& c) { return ColumnTitleClicked(c, col); });
  });
  connect(grid_, &GridView::clearRequested, this, [this](const std::vector<CellPos>& cells) {
    runEvent([&](ActionContext& c) { return CellsCleared(c, cells); });
  });

  tabs_ = new QTabBar(top);
  tabs_->setObjectName("TabSet1");
  tabs_->setShape(QTabBar::RoundedSouth);
  tabs_->setExpanding(false);
  tabs_->setDrawBase(true);
  for (DbKind k : kAllKinds)
    tabs_->addTab(toQt(KindTabCaption(k)));
  topLayout->addWidget(tabs_);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (refreshing_) return;
    commitPendingEdit();
    runEvent([=](ActionContext& c) { return TabChosen(c, index); });
  });

  memo1_ = new QPlainTextEdit(splitter_);
  memo1_->setObjectName("Memo1");
  memo1_->setReadOnly(true);
  memo1_->setToolTip(QStringLiteral("chyby"));
  memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  SetTextColor(memo1_, rgbHex(0xFF0000));
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
  return central;
}

void MainWindow::buildGradeOptions() {
  gradeOptions_ = new GradeOptionsDialog(this);
  // The check boxes take the settings once, when the program starts.
  gradeOptions_->setOptions(ReadGradeDisplayOptions(s_.settings));
  connect(gradeOptions_, &GradeOptionsDialog::confirmed, this, [this](const GradeDisplayOptions& o) {
    runEvent([&](ActionContext& c) { return GradeOptionsConfirmed(c, o); });
  });
  // Coming back from the dialog does not reload the grid.
  connect(gradeOptions_, &GradeOptionsDialog::closedEitherWay, this, [this] { GradeOptionsClosed(s_); });
}

// ---------------------------------------------------------------- lifecycle

void MainWindow::restorePlacement() {
  resize(1024, 720);
  const Placement stored = StoredPlacement(s_.settings, kMinWidth);
  if (stored.size) resize(*stored.size);
  if (stored.place && QGuiApplication::screenAt(*stored.place + QPoint(40, 20))) move(*stored.place);
}

void MainWindow::storePlacement() {
  StorePlacement(s_.settings, isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size()));
}

void MainWindow::activate() {
  if (activated_) return;
  activated_ = true;
  runEvent(WindowActivated);
  // Keys go to the grid: the first key typed must not rename the database.
  grid_->setFocus(Qt::OtherFocusReason);
  // The welcome once the window is up, unless a file given on the command
  // line is opened first.
  QTimer::singleShot(0, this, [this] {
    if (!fileGiven_ && ShouldWelcome(s_)) showWelcome();
  });
}

void MainWindow::showWelcome() {
  // No edit is committed: the welcome comes by itself, while the teacher may type.
  runEvent([](ActionContext& c) { return RunAction(c, Ctl::MenuUvod); });
}

bool MainWindow::event(QEvent* event) {
  // Only the first activation sets up and loads the stored tab; coming back
  // from a dialog or another program keeps the grid as it is.
  if (event->type() == QEvent::WindowActivate && !activated_) {
    const bool handled = QMainWindow::event(event);
    activate();
    return handled;
  }
  // Other fonts give the texts other widths.
  if (event->type() == QEvent::ApplicationFontChange) textWidths_->clear();
  return QMainWindow::event(event);
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
  ActionContext c = context();
  if (const std::optional<StepResult> saved = KeepOpenToSave(c)) {
    after(*saved);
    event->ignore();
    return;
  }
  storePlacement();
  runEvent(WindowClosing);
  event->accept();
}

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
  runEvent([&](ActionContext& c) { return FileGiven(c, path); });
}

QMenu* MainWindow::recentMenu() const { return bars_->recentMenu(); }

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const int w = FormResizeWidth(width());
  if (w != width()) resize(w, height());
}

// ---------------------------------------------------------------- commands

ActionContext MainWindow::context() {
  return ActionContext{s_, *prompter_, histories_, *this, QCoreApplication::applicationDirPath(), {}};
}

Outcome MainWindow::runEvent(const std::function<StepResult(ActionContext&)>& event) {
  ActionContext c = context();
  const StepResult result = event(c);
  after(result);
  return result.outcome;
}

void MainWindow::after(const StepResult& result) {
  refresh();
  // The status line tells what a command did without asking; it stays
  // until the next command changes something.
  if (!s_.statusLine.empty()) {
    statusBar()->showMessage(toQt(s_.statusLine));
    s_.statusLine.clear();
  } else if (result.changed) {
    statusBar()->clearMessage();
  }
}

void MainWindow::trigger(Ctl controlName) {
  const QAction* action = bars_->action(controlName);
  if (!action || !action->isEnabled() || !action->isVisible()) return;
  commitPendingEdit();
  // A long command says in the status bar what it is doing while it runs.
  const QString doing = toQt(StatusTextOf(controlName));
  if (!doing.isEmpty()) {
    statusBar()->showMessage(doing);
    statusBar()->repaint();
  }
  runEvent([=](ActionContext& c) { return RunAction(c, controlName); });
  if (!doing.isEmpty()) statusBar()->clearMessage();
}

void MainWindow::commitPendingEdit() {
  grid_->commitEdit();
  panel_->commitPendingEdit();
}

void MainWindow::markEdited() {
  MarkEdited(s_);
  setWindowModified(true);
}

void MainWindow::fieldTyped() {
  setWindowModified(HasUnsavedEdits(s_));
  refreshControls();
}

std::string MainWindow::typed(const QString& text) {
  std::string t = TypedText(s_, text);
  refreshLog();
  return t;
}

// ---------------------------------------------------------------- what commands need of the window

std::vector<CellPos> MainWindow::selectedCells() const {
  std::vector<CellPos> cells;
  const GridModel* m = grid_->gridModel();
  for (const QModelIndex& i : grid_->selectionModel()->selectedIndexes())
    cells.push_back({m->gridCol(i), m->gridRow(i)});
  if (cells.empty() && grid_->currentIndex().isValid())
    cells.push_back({m->gridCol(grid_->currentIndex()), m->gridRow(grid_->currentIndex())});
  return cells;
}

void MainWindow::setClipboard(const ClipboardContent& content) {
  auto* data = new QMimeData;
  data->setText(toQt(content.text));
  data->setData(QString::fromLatin1(kCellsMimeType), QByteArray::fromStdString(content.weights));
  QGuiApplication::clipboard()->setMimeData(data);
}

ClipboardContent MainWindow::clipboard() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QString text = data ? data->text() : QString();
  if (text.isEmpty()) return {};
  return {typed(text), data->data(QString::fromLatin1(kCellsMimeType)).toStdString()};
}

void MainWindow::showGradeOptions() {
  // Shown without blocking the window; its check boxes keep what was left in them.
  gradeOptions_->show();
  gradeOptions_->raise();
  gradeOptions_->activateWindow();
}

void MainWindow::showAbout() {
  AboutDialog about(this);
  about.exec();
}

bool MainWindow::showGuide(const QString& path) {
  if (!helpWindow_) helpWindow_ = new HelpWindow(this);
  if (!helpWindow_->openGuide(path)) return false;
  helpWindow_->show();
  helpWindow_->raise();
  helpWindow_->activateWindow();
  return true;
}

void MainWindow::closeWindow() { close(); }

void MainWindow::printPages() { printing_->print(); }
void MainWindow::previewPages() { printing_->preview(); }
void MainWindow::previewReport(const std::vector<int>& rows) { printing_->previewReport(rows); }
void MainWindow::showClassOverview() { printing_->showOverview(); }

// ---------------------------------------------------------------- observation

void MainWindow::refresh() {
  if (refreshing_) return;
  refreshing_ = true;

  // The semester label, the database and a mark for edits not yet saved.
  setWindowTitle(toQt(WindowTitle(s_)) + "[*]");
  setWindowModified(HasUnsavedEdits(s_));
  bars_->progressLabel()->setText(toQt(s_.Lpohyb));
  bars_->shape1()->setColor(s_.shape1);
  bars_->shape2()->setColor(s_.shape2);
  {
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(static_cast<int>(s_.kind));
  }
  refreshControls();
  panel_->refresh();

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
  bars_->refresh(s_, histories_);
  panel_->refreshLayout();
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
