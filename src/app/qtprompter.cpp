#include "app/qtprompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QUrl>

#include "app/foldersdialog.h"
#include "app/settingsdialogs.h"
#include "app/welcomedialog.h"
#include "pdb/text.h"

namespace vekla {

namespace {

QColor toQColor(Color c) {
  const Color r = resolveColor(c);
  return QColor(redOf(r), greenOf(r), blueOf(r));
}

QString title(const std::string& t) { return t.empty() ? QString() : toQt(t); }

QFileDialog::Options dialogOptions(bool overwritePrompt) {
  QFileDialog::Options o;
  if (!overwritePrompt) o |= QFileDialog::DontConfirmOverwrite;
  return o;
}

// The proposed path of a dialog: the file name inside the initial folder.
QString startPath(const FileDialogRequest& request) {
  if (request.fileName.isEmpty()) return request.initialDir;
  if (request.initialDir.isEmpty()) return request.fileName;
  return QDir(request.initialDir).filePath(request.fileName);
}

// A file name typed without an extension gets the default one.
QString withDefaultSuffix(const QString& path, const std::string& ext) {
  if (ext.empty() || path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + "." + QString::fromStdString(ext);
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = toQt(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    // Files copied from the handheld on Linux often end in ".pdb": offer the
    // lower-case spelling of each pattern too, for dialogs that match case.
    QStringList all;
    for (const QString& p : patterns) {
      const QString t = p.trimmed();
      all << t;
      if (t.toLower() != t) all << t.toLower();
    }
    out << parts[i].trimmed() + " (" + all.join(' ') + ")";
  }
  if (parts.size() % 2 == 1 && !parts.last().isEmpty()) out << parts.last();
  return out.join(";;");
}

QtPrompter::QtPrompter(QWidget* parent, QLabel* progressLabel)
    : parent_(parent), label_(progressLabel), hours_(new HoursDialog(parent)), date_(new DateDialog(parent)) {}

std::optional<TimeOfDay> QtPrompter::chooseTime(TimeOfDay preset, int minuteStep) {
  if (!hours_) return std::nullopt;
  hours_->setSecondStep(minuteStep);
  hours_->setValues(preset.hours, preset.minutes);
  if (hours_->exec() != QDialog::Accepted) return std::nullopt;
  return TimeOfDay{hours_->first(), hours_->second()};
}

std::optional<DayMonth> QtPrompter::chooseDate(DayMonth preset) {
  if (!date_) return std::nullopt;
  date_->setValues(preset.day, preset.month);
  if (date_->exec() != QDialog::Accepted) return std::nullopt;
  return DayMonth{date_->first(), date_->second()};
}

std::optional<QString> QtPrompter::openFile(const FileDialogRequest& request) {
  // A name typed without an extension gets the default one ("PDB").
  QFileDialog dlg(parent_, title(request.title), request.initialDir, QtFileFilter(request.filter));
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  if (!request.defaultExt.empty()) dlg.setDefaultSuffix(QString::fromStdString(request.defaultExt));
  if (!request.fileName.isEmpty()) dlg.selectFile(startPath(request));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  const QString path = dlg.selectedFiles().constFirst();
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtPrompter::saveFile(const FileDialogRequest& request) {
  // The non-native dialog applies the default suffix itself before it asks
  // about overwriting; the native ones get the suffix appended afterwards.
  QFileDialog dlg(parent_, title(request.title), request.initialDir, QtFileFilter(request.filter));
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setOptions(dialogOptions(request.overwritePrompt));
  if (!request.defaultExt.empty()) dlg.setDefaultSuffix(QString::fromStdString(request.defaultExt));
  if (!request.fileName.isEmpty()) dlg.selectFile(startPath(request));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  const QString path = withDefaultSuffix(dlg.selectedFiles().constFirst(), request.defaultExt);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

namespace {

// A message ends what the status bar said the command was doing: the
// export is written, or it failed.
void EndStatus(QWidget* parent) {
  if (auto* window = qobject_cast<QMainWindow*>(parent)) window->statusBar()->clearMessage();
}

}  // namespace

void QtPrompter::message(const std::string& text) {
  EndStatus(parent_);
  QMessageBox::warning(parent_, QApplication::applicationDisplayName(), toQt(text), QMessageBox::Ok);
}

void QtPrompter::error(const std::string& text) {
  EndStatus(parent_);
  QMessageBox::critical(parent_, QApplication::applicationDisplayName(), toQt(text), QMessageBox::Ok);
}

namespace {

bool ask(QWidget* parent, const std::string& text, QMessageBox::StandardButton defaultButton) {
  QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), toQt(text),
                  QMessageBox::Yes | QMessageBox::No, parent);
  // Alt+A and Alt+N answer as on a Czech desktop.
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ano"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&Ne"));
  box.setDefaultButton(defaultButton);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace

bool QtPrompter::question(const std::string& text) { return ask(parent_, text, QMessageBox::Yes); }

bool QtPrompter::questionDefaultNo(const std::string& text) { return ask(parent_, text, QMessageBox::No); }

std::optional<Color> QtPrompter::chooseColor(Color initial) {
  const QColor c = QColorDialog::getColor(toQColor(initial), parent_);
  if (!c.isValid()) return std::nullopt;
  return makeColor(c.red(), c.green(), c.blue());
}

void QtPrompter::progress(const std::string& text) {
  if (!label_) return;
  label_->setText(toQt(text));
  label_->repaint();
}

bool QtPrompter::shellOpen(const QString& path) {
  const QString file = QFileInfo(path).absoluteFilePath();
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  // The toolkit reports success as soon as xdg-open starts, even when no
  // program is registered for the file: wait a moment for xdg-open's own
  // answer. One still running then has handed the file to a program.
  auto* open = new QProcess(parent_);
  QObject::connect(open, &QProcess::finished, open, &QObject::deleteLater);
  QObject::connect(open, &QProcess::errorOccurred, open, &QObject::deleteLater);
  open->start(QStringLiteral("xdg-open"), {file});
  if (!open->waitForStarted(3000)) return false;
  if (!open->waitForFinished(3000)) return true;
  return open->exitStatus() == QProcess::NormalExit && open->exitCode() == 0;
#else
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
#endif
}

bool QtPrompter::messageOfferingFolder(const std::string& text, const QString& folder) {
  EndStatus(parent_);
  QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), toQt(text), QMessageBox::Ok,
                  parent_);
  QPushButton* open = box.addButton(QStringLiteral("&Otevřít složku"), QMessageBox::ActionRole);
  open->setToolTip(QDir::toNativeSeparators(folder));
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
  return box.clickedButton() == open;
}

WelcomeAnswer QtPrompter::welcome() {
  WelcomeDialog dialog(parent_);
  dialog.exec();
  return dialog.answer();
}

std::optional<QString> QtPrompter::chooseFolder(const std::string& title, const QString& initialDir) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, toQt(title), initialDir);
  if (folder.isEmpty()) return std::nullopt;
  return QDir::fromNativeSeparators(folder);
}

bool QtPrompter::editFolders(FolderSettings& folders) {
  FoldersDialog dialog(folders, parent_);
  dialog.openFolder = [this](const QString& folder) { shellOpen(folder); };
  if (dialog.exec() != QDialog::Accepted) return false;
  folders = dialog.folders();
  return true;
}

}  // namespace vekla
