#include "convert/exportview.h"

#include <algorithm>
#include <cstdio>

#include "pdb/codecs.h"
#include "workspace/kindparams.h"

namespace vekla {

std::string ExportDatabaseName(const VeklaState& s) { return s.EditN.empty() ? KindPrefix(s.kind) : s.EditN; }

namespace {

std::string PlainStem(std::string_view name) {
  // The folder part goes: "\" and ":" as on the handheld's desktop, and "/"
  // too, so that no name can lead the files out of their folder.
  const std::size_t cut = name.find_last_of("\\:/");
  if (cut != std::string_view::npos) name.remove_prefix(cut + 1);
  std::string stem = FoldDiacritics(TrimLeadingSpaces(name));
  for (char& ch : stem)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  for (char c : {' ', '.', '?', '*', '|', '%'}) stem = RemoveChar(stem, c);
  // A "#" would end the file's name in the page's links (the browser reads
  // the rest as a place in the page), and Windows refuses "<", ">", the
  // double quote and control characters in a file name.
  for (char& ch : stem) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 || b == 0x7F || ch == '#' || ch == '<' || ch == '>' || ch == '"') ch = '_';
  }
  return stem;
}

// Whether Windows takes the stem for a device, whatever ending follows it.
bool IsDeviceName(std::string_view stem) {
  for (std::string_view device : {"con", "prn", "aux", "nul"})
    if (stem == device) return true;
  return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) && stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::string ExportNameStem(const VeklaState& s) {
  std::string stem = PlainStem(ExportDatabaseName(s));
  // A name of only removed characters still gives the files a name.
  if (stem.empty()) stem = PlainStem(KindPrefix(s.kind));
  return IsDeviceName(stem) ? stem + '_' : stem;
}

std::string ExportPageStem(const VeklaState& s, const GradeDisplayOptions& o) {
  // The stem of a kind shown under the display options always has their
  // digits after it.
  if (!Params(s.kind).displayOptions) return ExportNameStem(s);
  std::string stem = PlainStem(ExportDatabaseName(s));
  if (stem.empty()) stem = PlainStem(KindPrefix(s.kind));
  const bool perStudent = o.zvlast;
  auto digit = [](bool on) { return on ? '1' : '0'; };
  stem += '_';
  stem += digit(perStudent || o.zhustit);
  stem += digit(o.barevne);
  stem += digit(o.znamkyBarevne);
  stem += digit(perStudent);
  return stem;
}

bool IsHeadingTopic(std::string_view topic) {
  const std::string t = TrimLeadingSpaces(topic);
  // An empty topic counts as "a": no heading.
  if (t.empty()) return false;
  const std::string first = FoldDiacritics(t.substr(0, 1));
  const char ch = first.empty() ? 'a' : first[0];
  if (ch >= 'A' && ch <= 'Z') return true;
  if (ch >= 'a' && ch <= 'z') return false;
  return ch >= '0' && ch <= '9';
}

std::string ColorCode(Color c) {
  const Color r = resolveColor(c);
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X%02X%02X", redOf(r), greenOf(r), blueOf(r));
  return buf;
}

std::string DecimalPoint(std::string_view text) { return ReplaceAll(text, ",", "."); }

GradeView::GradeView(const VeklaState& s, const GradeDisplayOptions& o) : g_(s.grid), geo_(s.grid), o_(o) {
  for (int r = GradeGeometry::kFirstStudentRow; r <= geo_.lastStudentRow(); ++r) {
    int n = 0;
    for (int c = GradeGeometry::kFirstGradeCol; c <= geo_.lastGradeCol(); ++c) n += !g_.text(c, r).empty();
    most_ = std::max(most_, n);
  }
}

std::vector<int> GradeView::gradesOf(int row) const {
  std::vector<int> cols;
  for (int c = GradeGeometry::kFirstGradeCol; c <= geo_.lastGradeCol(); ++c)
    if (!g_.text(c, row).empty()) cols.push_back(c);
  return cols;
}

Color GradeView::background(int col, int row) const { return o_.barevne ? resolveColor(g_.brush(col, row)) : kWhite; }
Color GradeView::gradeColor(int col, int row) const {
  return o_.znamkyBarevne ? resolveColor(g_.fontColor(col, row)) : kBlack;
}
Color GradeView::textColor(int col, int row) const {
  return o_.barevne ? resolveColor(g_.fontColor(col, row)) : kBlack;
}

}  // namespace vekla
