#pragma once
// The converter's answers to everything the commands ask: the save dialog
// gets the output file, the semester questions follow --semesters, every other
// question is answered Yes. Message and error texts go to standard error.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"
#include "workspace/prompter.h"

namespace vekla::cli {

// Prints "vekla-convert: TEXT" (UTF-8, one line) to standard error.
void PrintMessage(const std::string& cpText);
// Same for a text that is already UTF-8.
void PrintMessageUtf8(const std::string& utf8);
// Prints "log: TEXT" to standard error for every line, in large blocks: a
// damaged file may leave hundreds of thousands of them.
void PrintLogLines(const std::vector<std::string>& cpLines);

class CliPrompter : public Prompter {
 public:
  explicit CliPrompter(const ConvertOptions& o) : o_(o) {}

  // The file the open dialog answers (a CSV import), and the save dialog.
  void setOpenAnswer(const QString& path) { openAnswer_ = path; }
  void setSaveTarget(const QString& path) {
    saveTarget_ = path;
    saveDialogs_ = 0;
  }
  int errorCount() const { return errors_; }

  std::optional<QString> openFile(const FileDialogRequest& request) override;
  std::optional<QString> saveFile(const FileDialogRequest& request) override;
  void message(const std::string& text) override;
  void error(const std::string& text) override;
  bool question(const std::string& text) override;
  bool includeSemester(int index, const std::string& label) override;
  // The output named on the command line replaces the file there.
  bool confirmOverwrite(const QString&) override { return true; }
  std::optional<Color> chooseColor(Color initial) override;
  void progress(const std::string&) override {}
  // Exports without a save dialog go to the output: the folder of the
  // pages, or the workbook's file.
  QString exportTarget(const QString& proposed) override { return saveTarget_.value_or(proposed); }
  // Nothing is opened after a conversion, and nothing is missed by that.
  bool shellOpen(const QString&) override { return true; }
  // Says nothing: the pages or the workbook went where OUTPUT named.
  bool messageOfferingFolder(const std::string& text, const QString& folder) override;

 private:
  const ConvertOptions& o_;
  std::optional<QString> openAnswer_;
  std::optional<QString> saveTarget_;
  int saveDialogs_ = 0;
  int errors_ = 0;
};

}  // namespace vekla::cli
