#pragma once
// "Nastavení" → "Složky…": where the handheld's backups are, the first
// import folder, and the folders the program keeps its own files in.
#include <QDialog>
#include <functional>

#include "workspace/foldersettings.h"

class QLabel;
class QLineEdit;

namespace vekla {

class FoldersDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FoldersDialog(const FolderSettings& folders, QWidget* parent = nullptr);
  // The values as edited; the shown-only ones as given.
  FolderSettings folders() const;
  // The backup folder the values give, as the dialog shows it.
  QString effectiveBackupFolder() const;
  // Opens a folder on the desktop ("Otevřít složku"); set by the owner.
  std::function<void(const QString&)> openFolder;
  // Chooses a folder ("Vybrat…"); set by the owner, a folder dialog by default.
  std::function<QString(const QString& title, const QString& start)> pickFolder;

 private:
  QLineEdit* folderEdit(const char* name, const QString& text);
  void updateEffective();

  FolderSettings given_;
  QLineEdit* backup_ = nullptr;
  QLineEdit* path_ = nullptr;
  QLineEdit* user_ = nullptr;
  QLineEdit* adresar1_ = nullptr;
  QLabel* effective_ = nullptr;
};

}  // namespace vekla
