#include "app/actionbars.h"

#include <QAction>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

#include "app/icons.h"
#include "app/widgets.h"
#include "commands/actions.h"
#include "pdb/text.h"

namespace vekla {

ActionBars::ActionBars(QMainWindow* window, std::function<void(Ctl)> trigger)
    : QObject(window), trigger_(std::move(trigger)) {
  buildMenus(window);
  buildToolBar(window);
}

QAction* ActionBars::bind(QAction* action, Ctl name) {
  action->setObjectName(QString::fromLatin1(CtlName(name)));
  QList<QKeySequence> keys;
  for (const std::string& k : KeysOf(name)) keys << QKeySequence(QString::fromStdString(k), QKeySequence::PortableText);
  action->setShortcuts(keys);
  actions_[name] = action;
  connect(action, &QAction::triggered, this, [this, name] { trigger_(name); });
  return action;
}

void ActionBars::buildMenus(QMainWindow* window) {
  std::map<std::string, QMenu*> menus;
  for (const ActionDef& a : Actions()) {
    if (a.menu.empty()) continue;
    QMenu*& menu = menus[a.menu];
    if (!menu) menu = window->menuBar()->addMenu(toQt(MenuTitle(a.menu)));
    if (a.separated) menu->addSeparator();
    QAction* item = bind(menu->addAction(toQt(WithMnemonic(a.caption, a.letter))), a.name);
    item->setStatusTip(toQt(a.statusTip));
  }
  // The databases used last, at the end of "Soubor", a group of their own.
  menus.at(cp("Soubor"))->addSeparator();
  recentMenu_ = menus.at(cp("Soubor"))->addMenu(QStringLiteral("&Poslední soubory"));
  recentMenu_->setObjectName("MenuPosledni");
  connect(recentMenu_, &QMenu::aboutToShow, this, [this] { showRecentFiles(); });
}

void ActionBars::buildToolBar(QMainWindow* window) {
  auto* bar = new QToolBar(window);
  bar->setObjectName("SpeedBar1");
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setIconSize(QSize(24, 24));
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  window->addToolBar(Qt::TopToolBarArea, bar);

  lpohyb_ = new QLabel(bar);
  lpohyb_->setObjectName("Lpohyb");
  lpohyb_->setMinimumWidth(TextWidth(lpohyb_, "100 %"));
  lpohyb_->setAlignment(Qt::AlignCenter);
  shape1_ = new ColorCircle(bar);
  shape1_->setObjectName("Shape1");
  shape2_ = new ColorCircle(bar);
  shape2_->setObjectName("Shape2");

  for (const ActionDef& b : Actions()) {
    if (!b.menu.empty()) continue;
    QAction* a = bind(new QAction(ToolIcon(b.name), toQt(b.caption), window), b.name);
    // The tooltip names the key; a button with a menu item of its own
    // leaves the key to the menu item.
    a->setToolTip(toQt(ToolTipOf(b.name)));
    bar->addAction(a);
    if (QWidget* button = bar->widgetForAction(a)) button->setObjectName(a->objectName());
    // The progress of long commands after the imports; the highlight
    // colours after their button.
    if (b.name == Ctl::SpeedItemImport2) bar->addWidget(lpohyb_);
    if (b.name == Ctl::SpeedItemBarva) {
      bar->addWidget(shape1_);
      bar->addWidget(shape2_);
    }
  }
}

void ActionBars::refresh(const VeklaState& s, const Histories& h) {
  for (const auto& [name, action] : actions_) {
    const ActionView view = ViewOf(s, h, name);
    action->setEnabled(view.enabled);
    action->setVisible(view.visible);
    // Menu items follow their captions ("Otevři Rozvrh ...", "Zpět: řazení").
    const ActionDef* row = FindAction(name);
    if (!row->menu.empty()) action->setText(toQt(WithMnemonic(view.caption, row->letter)));
  }
}

QAction* ActionBars::action(Ctl name) const {
  const auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

void ActionBars::showRecentFiles() {
  recentMenu_->clear();
  const std::vector<QString> files = recentFiles ? recentFiles() : std::vector<QString>{};
  for (std::size_t i = 0; i < files.size(); ++i) {
    QAction* a = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])));
    connect(a, &QAction::triggered, this, [this, path = files[i]] {
      if (openFile) openFile(path);
    });
  }
  recentMenu_->setEnabled(!files.empty());
}

}  // namespace vekla
