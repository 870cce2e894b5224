#pragma once
// The Prompter of the window program: Qt file dialogs, message boxes, the
// colour dialog, the progress label and the desktop's "open".
#include <QPointer>
#include <QString>

#include "workspace/prompter.h"

class QLabel;
namespace vekla {
class HoursDialog;
class DateDialog;
}  // namespace vekla
class QWidget;

namespace vekla {

// "caption|pattern|caption|pattern" (patterns joined by ";") -> Qt's
// "caption (pattern pattern);;caption (pattern)".
QString QtFileFilter(const std::string& filter);

class QtPrompter : public Prompter {
 public:
  // `parent` owns the dialogs; `progressLabel` is the label Lpohyb.
  QtPrompter(QWidget* parent, QLabel* progressLabel);

  std::optional<QString> openFile(const FileDialogRequest& request) override;
  std::optional<QString> saveFile(const FileDialogRequest& request) override;
  void message(const std::string& text) override;
  void error(const std::string& text) override;
  bool question(const std::string& text) override;
  bool questionDefaultNo(const std::string& text) override;
  std::optional<Color> chooseColor(Color initial) override;
  std::optional<TimeOfDay> chooseTime(TimeOfDay preset, int minuteStep) override;
  std::optional<DayMonth> chooseDate(DayMonth preset) override;
  void progress(const std::string& text) override;
  bool shellOpen(const QString& path) override;
  bool messageOfferingFolder(const std::string& text, const QString& folder) override;
  WelcomeAnswer welcome() override;
  std::optional<QString> chooseFolder(const std::string& title, const QString& initialDir) override;
  bool editFolders(FolderSettings& folders) override;

 private:
  QPointer<QWidget> parent_;
  QPointer<QLabel> label_;
  // The time and date dialogs live as long as the window.
  QPointer<HoursDialog> hours_;
  QPointer<DateDialog> date_;
};

}  // namespace vekla
