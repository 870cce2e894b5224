#include "app/foldersdialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "workspace/palmdesktop.h"

namespace vekla {

namespace {

QString shown(const QString& folder) { return QDir::toNativeSeparators(folder); }

QLabel* pathLabel(const char* name, const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  l->setWordWrap(true);
  return l;
}

}  // namespace

FoldersDialog::FoldersDialog(const FolderSettings& folders, QWidget* parent) : QDialog(parent), given_(folders) {
  setObjectName("FoldersDialog");
  setWindowTitle(QStringLiteral("Složky"));
  pickFolder = [this](const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(this, title, start);
  };
  auto* layout = new QVBoxLayout(this);

  // Where the handheld's backups are.
  auto* handheld = new QGroupBox(QStringLiteral("Handheld"), this);
  auto* form = new QFormLayout(handheld);
  backup_ = folderEdit("EditZaloha", folders.backupFolder);
  backup_->setPlaceholderText(QStringLiteral("podle složky Palm Desktop a uživatele, jinak J-Pilot"));
  path_ = folderEdit("EditPalmPath", folders.desktopPath);
  user_ = new QLineEdit(folders.userName, handheld);
  user_->setObjectName("EditPalmUser");
  for (QLineEdit* e : {path_, user_}) e->setReadOnly(!folders.desktopValuesEditable);
  auto row = [this](QLineEdit* edit, const QString& title, bool canPick) {
    auto* box = new QHBoxLayout;
    box->addWidget(edit, 1);
    auto* pick = new QPushButton(QStringLiteral("Vybrat…"), this);
    pick->setObjectName(edit->objectName() + "Vybrat");
    pick->setEnabled(canPick);
    connect(pick, &QPushButton::clicked, this, [this, edit, title] {
      const QString chosen = pickFolder(title, edit->text().isEmpty() ? QDir::homePath() : edit->text());
      if (!chosen.isEmpty()) edit->setText(QDir::fromNativeSeparators(chosen));
    });
    box->addWidget(pick);
    return box;
  };
  form->addRow(QStringLiteral("Složka zálohy:"), row(backup_, QStringLiteral("Složka zálohy z handheldu"), true));
  form->addRow(QStringLiteral("Složka Palm Desktop:"),
               row(path_, QStringLiteral("Složka Palm Desktop"), folders.desktopValuesEditable));
  form->addRow(QStringLiteral("Uživatel handheldu:"), user_);
  form->addRow(QStringLiteral("J-Pilot:"),
               pathLabel("LabelJPilot",
                         folders.jpilotFolder ? shown(*folders.jpilotFolder) : QStringLiteral("nenalezen"), handheld));
  effective_ = pathLabel("LabelZalohaPouzita", {}, handheld);
  QFont bold = effective_->font();
  bold.setBold(true);
  effective_->setFont(bold);
  form->addRow(QStringLiteral("Použitá složka zálohy:"), effective_);
  layout->addWidget(handheld);

  auto* import = new QGroupBox(QStringLiteral("Import"), this);
  auto* importForm = new QFormLayout(import);
  adresar1_ = folderEdit("EditAdresar1", folders.adresar1);
  importForm->addRow(QStringLiteral("První složka importu:"),
                     row(adresar1_, QStringLiteral("První složka importu"), true));
  layout->addWidget(import);

  // The program's own folders, to be looked at only.
  auto* own = new QGroupBox(QStringLiteral("Soubory programu"), this);
  auto* ownForm = new QFormLayout(own);
  auto openRow = [this](const char* name, const QString& folder) {
    auto* box = new QHBoxLayout;
    box->addWidget(pathLabel(name, shown(folder), this), 1);
    auto* open = new QPushButton(QStringLiteral("Otevřít složku"), this);
    open->setObjectName(QString::fromLatin1(name) + "Otevrit");
    connect(open, &QPushButton::clicked, this, [this, folder] {
      QDir().mkpath(folder);
      if (openFolder) openFolder(folder);
    });
    box->addWidget(open);
    return box;
  };
  ownForm->addRow(QStringLiteral("Nastavení a pracovní soubory:"), openRow("LabelDataFolder", folders.dataFolder));
  ownForm->addRow(QStringLiteral("Stránky HTML a sešity Excel:"), openRow("LabelExportFolder", folders.exportFolder));
  layout->addWidget(own);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Storno"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  for (QLineEdit* e : {backup_, path_, user_}) connect(e, &QLineEdit::textChanged, this, [this] { updateEffective(); });
  updateEffective();
  setMinimumWidth(640);
}

QLineEdit* FoldersDialog::folderEdit(const char* name, const QString& text) {
  auto* e = new QLineEdit(text, this);
  e->setObjectName(name);
  e->setClearButtonEnabled(true);
  return e;
}

FolderSettings FoldersDialog::folders() const {
  FolderSettings f = given_;
  f.backupFolder = backup_->text().trimmed();
  f.desktopPath = path_->text().trimmed();
  f.userName = user_->text().trimmed();
  f.adresar1 = adresar1_->text().trimmed();
  return f;
}

QString FoldersDialog::effectiveBackupFolder() const {
  const FolderSettings f = folders();
  PalmDesktopValues v;
  if (!f.backupFolder.isEmpty()) v.backup = f.backupFolder;
  if (!f.desktopPath.isEmpty()) v.path = f.desktopPath;
  if (!f.userName.isEmpty()) v.lastUserName = f.userName;
  return EffectiveBackupFolder(v);
}

void FoldersDialog::updateEffective() {
  const QString folder = effectiveBackupFolder();
  effective_->setText(folder.isEmpty() ? QStringLiteral("není nastavena") : shown(folder));
}

}  // namespace vekla
