#pragma once
// A Prompter for tests: answers come from queues, everything asked is recorded.
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "workspace/prompter.h"

namespace vekla::test {

class ScriptedPrompter : public Prompter {
 public:
  // Answers, consumed in order. An empty queue answers "cancel" / No.
  std::deque<std::optional<QString>> openAnswers;
  std::deque<std::optional<QString>> saveAnswers;
  std::deque<bool> questionAnswers;
  std::deque<std::optional<Color>> colorAnswers;
  std::deque<std::optional<TimeOfDay>> timeAnswers;
  std::deque<std::optional<DayMonth>> dateAnswers;
  // The presets the time and date dialogs were shown with, and the step.
  std::vector<std::pair<TimeOfDay, int>> timePresets;
  std::vector<DayMonth> datePresets;

  // What was asked.
  std::vector<FileDialogRequest> openRequests, saveRequests;
  std::vector<std::string> messages, errors, questions, progressTexts;
  // The questions among `questions` whose default answer is No.
  std::vector<std::string> defaultNoQuestions;
  std::vector<QString> opened;

  std::optional<QString> openFile(const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return pop(openAnswers);
  }
  std::optional<QString> saveFile(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return pop(saveAnswers);
  }
  // Answers to "may the save replace this file?", Yes when the queue is
  // empty; the files asked about.
  std::deque<bool> overwriteAnswers;
  std::vector<QString> overwriteQuestions;
  bool confirmOverwrite(const QString& path) override {
    overwriteQuestions.push_back(path);
    if (overwriteAnswers.empty()) return true;
    const bool a = overwriteAnswers.front();
    overwriteAnswers.pop_front();
    return a;
  }
  void message(const std::string& text) override { messages.push_back(text); }
  void error(const std::string& text) override { errors.push_back(text); }
  bool question(const std::string& text) override {
    questions.push_back(text);
    if (questionAnswers.empty()) return false;
    bool a = questionAnswers.front();
    questionAnswers.pop_front();
    return a;
  }
  bool questionDefaultNo(const std::string& text) override {
    defaultNoQuestions.push_back(text);
    return question(text);
  }
  std::optional<Color> chooseColor(Color) override {
    if (colorAnswers.empty()) return std::nullopt;
    auto a = colorAnswers.front();
    colorAnswers.pop_front();
    return a;
  }
  std::optional<TimeOfDay> chooseTime(TimeOfDay preset, int step) override {
    timePresets.emplace_back(preset, step);
    return popAny(timeAnswers);
  }
  std::optional<DayMonth> chooseDate(DayMonth preset) override {
    datePresets.push_back(preset);
    return popAny(dateAnswers);
  }
  void progress(const std::string& text) override {
    progressTexts.push_back(text);
    if (onProgress) onProgress(text);
  }
  // Whether a program takes the files handed to the shell.
  bool shellOpens = true;
  bool shellOpen(const QString& path) override {
    opened.push_back(path);
    return shellOpens;
  }

  // The message after an export: text and folder; "Otevřít složku" chosen
  // or not (empty queue: OK).
  std::vector<std::pair<std::string, QString>> folderMessages;
  std::deque<bool> openFolderAnswers;
  bool messageOfferingFolder(const std::string& text, const QString& folder) override {
    folderMessages.emplace_back(text, folder);
    return popAny(openFolderAnswers).value_or(false);
  }
  // The welcome (empty queue: the empty book), folder dialogs (nullopt:
  // cancelled) and the folders dialog (an edit of what it shows; none or an
  // empty queue: Storno), with what each was asked.
  std::deque<WelcomeAnswer> welcomeAnswers;
  int welcomes = 0;
  WelcomeAnswer welcome() override {
    ++welcomes;
    return popAny(welcomeAnswers).value_or(WelcomeAnswer{});
  }
  std::deque<std::optional<QString>> folderAnswers;
  std::vector<std::pair<std::string, QString>> folderRequests;
  std::optional<QString> chooseFolder(const std::string& title, const QString& initialDir) override {
    folderRequests.emplace_back(title, initialDir);
    return pop(folderAnswers);
  }
  std::deque<std::function<void(FolderSettings&)>> folderEdits;
  std::vector<FolderSettings> foldersShown;
  bool editFolders(FolderSettings& folders) override {
    foldersShown.push_back(folders);
    const auto edit = popAny(folderEdits).value_or(nullptr);
    if (edit) edit(folders);
    return static_cast<bool>(edit);
  }
  // Called with each progress text while the command runs.
  std::function<void(const std::string&)> onProgress;

 private:
  template <class T>
  static std::optional<T> popAny(std::deque<T>& q) {
    if (q.empty()) return std::nullopt;
    T a = q.front();
    q.pop_front();
    return a;
  }
  template <class T>
  static std::optional<T> popAny(std::deque<std::optional<T>>& q) {
    if (q.empty()) return std::nullopt;
    std::optional<T> a = q.front();
    q.pop_front();
    return a;
  }
  static std::optional<QString> pop(std::deque<std::optional<QString>>& q) {
    if (q.empty() || !q.front()) {
      if (!q.empty()) q.pop_front();
      return std::nullopt;
    }
    const QString a = *q.front();
    q.pop_front();
    return a;
  }
};

}  // namespace vekla::test
