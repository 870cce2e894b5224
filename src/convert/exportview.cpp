#include "convert/exportview.h"

#include <algorithm>
#include <cstdio>

#include "pdb/codecs.h"
#include "workspace/kindparams.h"

namespace vekla {

const std::string& ExportDatabaseName(VeklaState& s) {
  if (s.EditN.empty()) s.EditN = KindPrefix(s.kind);
  return s.EditN;
}

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
  return stem;
}

}  // namespace

std::string ExportPageStem(VeklaState& s, const GradeDisplayOptions& o) {
  std::string stem = PlainStem(ExportDatabaseName(s));
  // A name of only removed characters still gives the files a name.
  if (stem.empty()) stem = PlainStem(KindPrefix(s.kind));
  if (s.kind != DbKind::Znamky) return stem;
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
  std::string t = TrimLeadingSpaces(topic);
  if (t.empty()) t = "a";
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
