#pragma once
// The menu bar and the tool bar, made from the table of actions
// (commands/actions.h): each row a menu item or a tool button with its
// caption, mnemonic, keys and tooltip, which calls `trigger` with its
// control. refresh() shows what the rows' rules say now.
#include <QObject>
#include <functional>
#include <map>
#include <vector>

#include "workspace/controls.h"
#include "workspace/history.h"
#include "workspace/state.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;

namespace vekla {

class ColorCircle;

class ActionBars : public QObject {
  Q_OBJECT
 public:
  ActionBars(QMainWindow* window, std::function<void(Ctl)> trigger);

  void refresh(const VeklaState& s, const Histories& h);
  // The files of "Poslední soubory", asked for when the menu opens, and
  // what choosing one does.
  std::function<std::vector<QString>()> recentFiles;
  std::function<void(const QString&)> openFile;

  // The menu item or tool button of a control; nullptr for other controls.
  QAction* action(Ctl name) const;
  QMenu* recentMenu() const { return recentMenu_; }
  QLabel* progressLabel() const { return lpohyb_; }
  ColorCircle* shape1() const { return shape1_; }
  ColorCircle* shape2() const { return shape2_; }

 private:
  void buildMenus(QMainWindow* window);
  void buildToolBar(QMainWindow* window);
  QAction* bind(QAction* action, Ctl name);
  void showRecentFiles();

  std::function<void(Ctl)> trigger_;
  std::map<Ctl, QAction*> actions_;
  QMenu* recentMenu_ = nullptr;
  QLabel* lpohyb_ = nullptr;
  ColorCircle* shape1_ = nullptr;
  ColorCircle* shape2_ = nullptr;
};

}  // namespace vekla
