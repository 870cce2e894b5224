// Opening a database of each kind and running every export of the kind on
// it. The first byte chooses the tab (bits 0 and 1) and the grade display
// options (bits 2 to 5: Zhustit, Barevne, ZnamkyBarevne, Zvlast); the rest
// is the database. Aborts when an SQL data line is not one well-formed
// INSERT, when a page holds a "<" that starts none of the writer's own tags
// (or a ">" or "&" of its own), when a page links a file its export does not
// write, or when two files of one export share a name or a name holds a
// character a file system or a link cannot take.
#include <QFile>
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "commands/commands.h"
#include "commands/kindtable.h"
#include "convert/excel.h"
#include "fuzz/fuzzstate.h"
#include "pdb/text.h"
#include "tests/support/scriptedprompter.h"
#include "workspace/kindparams.h"

using namespace vekla;

namespace {

[[noreturn]] void Fail(const char* what, std::string_view where) {
  std::fprintf(stderr, "fuzz_export: %s in \"%.*s\"\n", what,
               static_cast<int>(std::min<std::size_t>(where.size(), 300)), where.data());
  std::abort();
}

bool ControlByte(char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; }

// ------------------------------------------------------------------ SQL

// Reads a name between backquotes starting at `at`; returns where it ends.
std::size_t Identifier(std::string_view line, std::size_t at) {
  if (at >= line.size() || line[at] != '`') Fail("no name", line);
  for (std::size_t i = at + 1; i < line.size(); ++i) {
    if (line[i] == '\0') Fail("NUL in a name", line);
    if (line[i] != '`') continue;
    if (i + 1 < line.size() && line[i + 1] == '`') {
      ++i;
      continue;
    }
    if (i == at + 1) Fail("empty name", line);
    return i + 1;
  }
  Fail("name not closed", line);
}

// Reads a text between single quotes starting at `at`: a quote inside is
// doubled, a backslash starts one of the escapes the writer makes, and no
// byte ends the line or the file. Returns where the text ends.
std::size_t Text(std::string_view line, std::size_t at) {
  for (std::size_t i = at + 1; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\0' || c == '\x1a') Fail("raw NUL or Ctrl-Z in a text", line);
    if (c == '\\') {
      if (i + 1 == line.size() || std::string_view("\\0nrZ").find(line[i + 1]) == std::string_view::npos)
        Fail("unknown escape", line);
      ++i;
    } else if (c == '\'') {
      if (i + 1 < line.size() && line[i + 1] == '\'') {
        ++i;
        continue;
      }
      return i + 1;
    }
  }
  Fail("text not closed", line);
}

// Reads one value starting at `at`: a text, NULL or a whole number.
std::size_t Value(std::string_view line, std::size_t at) {
  if (at < line.size() && line[at] == '\'') return Text(line, at);
  if (line.substr(at, 4) == "NULL") return at + 4;
  std::size_t i = at;
  if (i < line.size() && line[i] == '-') ++i;
  const std::size_t digits = i;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
  if (i == digits) Fail("no value", line.substr(at));
  return i;
}

void CheckInsert(std::string_view line, std::string_view table, int values) {
  const std::string head = "INSERT INTO " + std::string(table) + " VALUES (";
  if (!line.starts_with(head)) Fail("not an INSERT into the table", line);
  std::size_t at = head.size();
  for (int v = 0; v < values; ++v) {
    if (v > 0) {
      if (line.substr(at, 2) != ", ") Fail("no separator", line);
      at += 2;
    }
    at = Value(line, at);
  }
  if (line.substr(at) != ");") Fail("line does not end with the statement", line);
}

void CheckScript(const std::string& script, DbKind kind) {
  if (!script.ends_with("\r\n")) Fail("script without a last line end", script);
  std::vector<std::string_view> lines;
  for (std::size_t at = 0; at < script.size();) {
    const std::size_t end = script.find("\r\n", at);
    const std::string_view line = std::string_view(script).substr(at, end - at);
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
      Fail("CR, LF or NUL inside a line", line);
    lines.push_back(line);
    at = end + 2;
  }
  std::size_t n = 0;
  auto next = [&]() -> std::string_view {
    if (n == lines.size()) Fail("script ends early", script);
    return lines[n++];
  };
  if (next() != "#Tvorba tabulky" || !next().empty() || next() != "SET NAMES cp1250;" ||
      !next().starts_with("SET SESSION sql_mode = "))
    Fail("settings", script);
  const std::string_view drop = next();
  constexpr std::string_view kDrop = "DROP TABLE IF EXISTS ";
  if (!drop.starts_with(kDrop)) Fail("no DROP TABLE", drop);
  const std::size_t end = Identifier(drop, kDrop.size());
  if (drop.substr(end) != ";") Fail("DROP TABLE", drop);
  const std::string_view table = drop.substr(kDrop.size(), end - kDrop.size());
  if (next() != "CREATE TABLE " + std::string(table) + " (") Fail("CREATE TABLE", script);
  while (next() != ") ENGINE=MyISAM DEFAULT CHARSET=cp1250;") {
  }
  if (!next().empty() || next() != "#Data pro tabulku") Fail("frame", script);
  if (kind == DbKind::Rozvrh && !next().empty()) Fail("frame", script);
  const int values = kind == DbKind::Znamky ? 7 : kind == DbKind::Kalendar ? 3 : 8;
  while (n < lines.size()) CheckInsert(next(), table, values);
}

// ------------------------------------------------------------------ pages

// The tags the pages are made of.
bool OwnTag(std::string_view name) {
  static const std::set<std::string_view> tags = {"!DOCTYPE", "html", "head",  "title", "meta", "link", "body",
                                                  "span",     "br",   "table", "tr",    "td",   "div"};
  return tags.contains(name);
}

void CheckPage(std::string_view page, const std::set<std::string>& names) {
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '>') Fail("\">\" outside a tag", page.substr(i < 40 ? 0 : i - 40, 80));
    if (page[i] == '&') {
      static constexpr std::string_view entities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&nbsp;"};
      bool known = false;
      for (std::string_view e : entities) known = known || page.substr(i, e.size()) == e;
      if (!known) Fail("\"&\" that starts no entity", page.substr(i, 40));
      continue;
    }
    if (page[i] != '<') continue;
    std::size_t at = i + 1;
    if (at < page.size() && page[at] == '/') ++at;
    const std::size_t name = at;
    while (at < page.size() && (std::isalpha(static_cast<unsigned char>(page[at])) || page[at] == '!')) ++at;
    if (!OwnTag(page.substr(name, at - name))) Fail("\"<\" that starts no tag of the writer", page.substr(i, 40));
    const std::size_t close = page.find('>', at);
    if (close == std::string_view::npos) Fail("tag not closed", page.substr(i, 80));
    const std::string_view tag = page.substr(i, close - i + 1);
    if (tag.find('<', 1) != std::string_view::npos || std::count(tag.begin(), tag.end(), '"') % 2 != 0)
      Fail("broken tag", tag);
    if (tag.starts_with("<link href=\"")) {
      std::string href(tag.substr(12, tag.find('"', 12) - 12));
      for (std::size_t amp; (amp = href.find("&amp;")) != std::string::npos;) href.erase(amp + 1, 4);
      if (!names.contains(href)) Fail("link to a file the export does not write", tag);
    }
    i = close;
  }
}

void CheckNames(const ExportFiles& files, std::set<std::string>& names) {
  std::set<std::string> folded;
  for (const ExportFile& f : files) {
    // In code page 1250, as the page links it.
    const std::string name = fromQt(f.name);
    if (name.empty() || name.find_first_of("#<>\":\\|?*/") != std::string::npos ||
        std::any_of(name.begin(), name.end(), ControlByte))
      Fail("file name a file system or a link cannot take", name);
    if (!folded.insert(f.name.toLower().toStdString()).second) Fail("two files of one name", name);
    names.insert(name);
  }
}

void CheckExport(Conversion c, DbKind kind, const ExportFiles& files) {
  // The pages and their style sheets are named by the page stem; the save
  // dialogs of the CSV files and scripts show their names to the teacher.
  std::set<std::string> names;
  if (c == Conversion::ExportHtml) CheckNames(files, names);
  for (const ExportFile& f : files) {
    if (c == Conversion::ExportSql) CheckScript(f.bytes, kind);
    if (c == Conversion::ExportHtml && f.name.endsWith(".html")) CheckPage(f.bytes, names);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const DbKind kind = fuzz::KindOf(data[0]);
  GradeDisplayOptions o;
  o.zhustit = data[0] & 0x04;
  o.barevne = data[0] & 0x08;
  o.znamkyBarevne = data[0] & 0x10;
  o.zvlast = data[0] & 0x20;
  const QString path = fuzz::Folder() + QString::fromStdString(KindPrefix(kind)) + "export.PDB";
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) std::abort();
    f.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
  }
  VeklaState s = fuzz::FreshTab(kind);
  test::ScriptedPrompter p;
  if (RunCommand(s, p, [&] { return OpenDatabase(s, p, path, true); }) != Outcome::Done) return 0;
  for (const auto& [conversion, codec] : KindTable(kind).exports) {
    // The workbook's layout on the sheet, without the file (its library
    // writes through temporary files).
    if (conversion == Conversion::ExportXlsx) {
      switch (kind) {
        case DbKind::Znamky: o.zvlast ? ExportGradesSeparate(s, o) : ExportGradesTable(s, o); break;
        case DbKind::Rozpisy: ExportTopicPlans(s); break;
        case DbKind::Rozvrh: ExportTimetable(s); break;
        case DbKind::Kalendar: ExportCalendar(s); break;
      }
      continue;
    }
    CheckExport(conversion, kind, codec(s, o));
  }
  return 0;
}
