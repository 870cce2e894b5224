#include "cli/cliprompter.h"

#include <QDir>
#include <cstdio>

#include "pdb/text.h"

namespace vekla::cli {
namespace {

// A message box may hold line breaks; the terminal gets one line per box.
std::string oneLine(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      // One space where the line ended, also after a word that ends in one.
      if (out.empty() || out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

void printLine(const char* prefix, const std::string& utf8) {
  std::fprintf(stderr, "%s%s\n", prefix, oneLine(utf8).c_str());
  std::fflush(stderr);
}

}  // namespace

void PrintMessage(const std::string& cpText) { printLine("vekla-convert: ", toUtf8(cpText)); }
void PrintMessageUtf8(const std::string& utf8) { printLine("vekla-convert: ", utf8); }
void PrintLogLines(const std::vector<std::string>& cpLines) {
  constexpr std::size_t kBlock = 64 * 1024;
  std::string block;
  for (const std::string& line : cpLines) {
    block += "log: ";
    block += oneLine(toUtf8(line));
    block += '\n';
    if (block.size() >= kBlock) {
      std::fwrite(block.data(), 1, block.size(), stderr);
      block.clear();
    }
  }
  std::fwrite(block.data(), 1, block.size(), stderr);
  std::fflush(stderr);
}

std::optional<QString> CliPrompter::openFile(const FileDialogRequest&) { return openAnswer_; }

std::optional<QString> CliPrompter::saveFile(const FileDialogRequest& request) {
  // The output answers the first save dialog; a further one (the grade
  // book's values file) takes the file it proposes.
  if (saveDialogs_++ == 0) return saveTarget_;
  if (request.fileName.isEmpty()) return std::nullopt;
  return QDir(request.initialDir).filePath(request.fileName);
}

void CliPrompter::message(const std::string& text) { PrintMessage(text); }

void CliPrompter::error(const std::string& text) {
  ++errors_;
  PrintMessage(text);
}

bool CliPrompter::question(const std::string& text) {
  PrintMessage(text);
  return true;
}

bool CliPrompter::includeSemester(int index, const std::string& label) {
  PrintMessage(cp("Uložit také pololetí ") + label + "?");
  return o_.allSemesters || o_.semesters.count(index) > 0;
}

std::optional<Color> CliPrompter::chooseColor(Color) { return std::nullopt; }

bool CliPrompter::messageOfferingFolder(const std::string&, const QString&) {
  // The files went to the OUTPUT named on the command line: nothing to say.
  return false;
}

}  // namespace vekla::cli
