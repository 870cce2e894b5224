#pragma once
// The main window. It owns the state and shows it: every widget is filled
// from the state by refresh(), and every user action runs its command from
// the table of actions or the window's events (src/commands/) and
// refreshes. No widget keeps data of its own, and no decision about what a
// command does or how it is recorded is made here.
#include <QMainWindow>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/panel.h"
#include "commands/actions.h"
#include "commands/outcome.h"
#include "workspace/history.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

class QPlainTextEdit;
class QSplitter;
class QTabBar;

namespace vekla {

class ActionBars;
class GradeOptionsDialog;
class HelpWindow;
class GridModel;
class PrintActions;
class TextWidths;
class GridView;
class QtPrompter;

class MainWindow : public QMainWindow, private WindowHost, private PanelOwner {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  // Dialogs and messages go to `prompter` (not owned) instead of Qt dialogs.
  explicit MainWindow(Prompter* prompter, QWidget* parent = nullptr);
  ~MainWindow() override;

  VeklaState& state() { return s_; }
  Prompter& prompter() { return *prompter_; }
  Histories& histories() override { return histories_; }
  // Whether the first activation (setup and load of the stored tab) ran.
  bool activated() const { return activated_; }

  // Pushes the whole state into the widgets without firing any handler.
  void refresh();
  // Runs a command (errors go to the error box), records what it changed
  // as `track` says and refreshes.
  template <class F>
  Outcome run(F&& command, const std::string& step = {}, Track track = Track::Edit) {
    return runEvent([&](ActionContext& c) { return RunAnyStep(c.s, c.p, c.h, command, step, track); });
  }
  // What a menu item or tool button does, by its component name; nothing
  // when the control is disabled or hidden.
  void trigger(Ctl controlName);
  // The first activation: set up and load the stored tab. Runs once.
  void activate();
  // The welcome of the first start (also "Nápověda" → "Úvodní nabídka…").
  void showWelcome();
  HelpWindow* helpWindow() const { return helpWindow_; }
  QMenu* recentMenu() const;
  // A database opened on its own kind's tab, or a CSV file imported into
  // the tab shown: a file dropped on the window, chosen from the recent
  // files or named on the command line.
  void openGivenFile(const QString& path);
  // WindowHost and PanelOwner, also for the windows beside this one: the
  // grid's selected cells (the current one when none is selected), and an
  // edit still open in a grid committed, so nothing typed is lost.
  std::vector<CellPos> selectedCells() const override;
  void commitPendingEdit() override;

 signals:
  // After every refresh: the state may have changed (windows beside the
  // main one follow it).
  void refreshed();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QWidget* buildGridAndLog();
  void buildGradeOptions();
  void restorePlacement();
  void storePlacement();
  void refreshLog();
  void refreshControls();
  ActionContext context();
  // Shows what a command did: the widgets, and its status line.
  void after(const StepResult& result);

  // WindowHost: what commands need of the window.
  void setClipboard(const ClipboardContent& content) override;
  ClipboardContent clipboard() override;
  void showGradeOptions() override;
  void showAbout() override;
  bool showGuide(const QString& path) override;
  void closeWindow() override;
  void printPages() override;
  void previewPages() override;
  void previewReport(const std::vector<int>& rows) override;
  void showClassOverview() override;

  // PanelOwner: what the panel needs of the window.
  Outcome runEvent(const std::function<StepResult(ActionContext&)>& event) override;
  std::string typed(const QString& text) override;
  void markEdited() override;
  void fieldTyped() override;
  bool refreshing() const override { return refreshing_; }

  // Declared first: gone last, after every grid of the window.
  std::unique_ptr<TextWidths> textWidths_;
  VeklaState s_;
  Histories histories_;
  std::unique_ptr<QtPrompter> ownPrompter_;
  Prompter* prompter_ = nullptr;
  bool activated_ = false;
  bool showScheduled_ = false;
  bool refreshing_ = false;
  bool fileGiven_ = false;  // a file was opened before the welcome could show
  HelpWindow* helpWindow_ = nullptr;
  PrintActions* printing_ = nullptr;

  ActionBars* bars_ = nullptr;
  MainPanel* panel_ = nullptr;
  GridModel* gridModel_ = nullptr;
  GridView* grid_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QPlainTextEdit* memo1_ = nullptr;
  GradeOptionsDialog* gradeOptions_ = nullptr;
  std::vector<std::string> shownLog_;
};

}  // namespace vekla
