// The grade book "Znamky-*.PDB" and the shared preferences database
// "Znamky-db_pref.PDB".
//
// Records 1 to 3 of a grade book describe the class and its semesters
// (colour, dates, start and end times, semester labels); every further record
// is one student. From field 4 on, the fields come in pairs, one per
// semester: a byte list and a text. The grid shows one semester; the
// semester store GradesIni holds them all, and the writer builds every record
// from it.
#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kinds/common.h"
#include "kinds/kinds.h"
#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/ordernumbers.h"
#include "workspace/setup.h"
#include "workspace/semesters.h"

namespace vekla {

namespace {

// What the grade book's byte lists may hold: two bytes per grade column,
// at most 127 columns.
constexpr std::size_t kMaxByteList = 254;
constexpr std::size_t kMaxName = 60;
constexpr std::size_t kMaxNote = 250;
// The preferences fill 20 grade symbols, 4 weights and 5 average bands.
constexpr int kGradeItems = 20;
constexpr int kWeightItems = 4;
constexpr int kBandItems = 5;

// Byte list -> text: each byte b becomes the character of code b + 48.
std::string ByteListToText(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) + 48);
  return out;
}

// The store keeps byte b as the character of code b + 48, which must stay one
// byte: a larger byte would wrap into a control character (0xDA and 0xDD into
// CR and LF) and shift everything after it on the next save.
constexpr unsigned char kMaxListByte = 255 - 48;

bool StorableByteList(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) <= kMaxListByte; });
}

// A date or time list that the store cannot hold is a damaged class record.
// Its first `most` bytes as text.
std::string ClassByteList(const QString& path, std::string_view bytes, int record,
                          std::size_t most = std::string_view::npos) {
  if (!StorableByteList(bytes))
    ThrowMalformed(path, cp("záznam ") + std::to_string(record) + cp(" obsahuje neplatný bajt v datech nebo časech"));
  return ByteListToText(bytes.substr(0, most));
}

// A student's grade list: a pair holding a byte the store cannot keep becomes
// an empty slot, so the grades after it stay in their columns.
std::string StudentGrades(VeklaState& t, std::string_view bytes, const std::string& label,
                          const std::string& semester) {
  if (StorableByteList(bytes)) return ByteListToText(bytes);
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const std::string_view pair = bytes.substr(i, 2);
    if (StorableByteList(pair)) {
      out += ByteListToText(pair);
      continue;
    }
    if (pair.size() == 2) out += "PP";
    Log(t, label + cp(": pololetí ") + semester + cp(", známka ") + std::to_string(i / 2 + 1) +
               cp(" je poškozená, vynechána"));
  }
  return out;
}

// Text -> byte list: each character of code c becomes the byte c - 48.
std::string TextToByteList(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) - 48);
  return out;
}

// A student's grade text without the empty slots at its end.
std::string WithoutTrailingEmptySlots(std::string z) {
  while (z.size() >= 2 && z.compare(z.size() - 2, 2, "PP") == 0) z.resize(z.size() - 2);
  return z;
}

std::string ReplaceDots(std::string text) {
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

// The semester box item of a stored semester label: the label "20041" (the
// school year 2004/2005, semester 1) gives "1. pol. 2004/2005". The first
// four characters must be a number (the year); a shorter label is read as
// far as it goes ("2004" gives ". pol. 2004/2005").
std::string SemesterItem(const QString& path, const std::string& label) {
  const std::string year = label.substr(0, 4);
  if (year.empty() || !AllDigits(year))
    ThrowMalformed(path, cp("označení pololetí \"") + label + cp("\" v záznamu 2 nezačíná rokem"));
  const std::string semester = label.size() > 4 ? label.substr(4, 1) : std::string();
  return semester + ". pol. " + year + "/" + std::to_string(std::stoi(year) + 1);
}

// A colour field: six hexadecimal digits, red first.
Color ColourField(const QString& path, const std::string& text, const std::string& what) {
  if (!IsHexColorText(text))
    ThrowMalformed(path, cp("barva \"") + text + "\" " + what + cp(" není šestimístné šestnáctkové číslo"));
  return ColorFromPalmText(text);
}

// A colour of the preferences: shorter than six characters it is white (a
// weight switched off on the handheld); otherwise it must be a colour.
Color PreferenceColour(const QString& path, const std::string& text, const std::string& what) {
  return text.size() < 6 ? kWhite : ColourField(path, text, what);
}

// The most fields a record of a grade book may have: three, then a pair for
// each of at most kMaxSemesters semesters.
constexpr std::size_t kMaxRecordFields = 3 + 2 * kMaxSemesters;

// The first kMaxRecordFields fields of record `index` of `count`, as views of
// the file, into `fields`, and in `all` how many fields the record has;
// false (and none) for an empty or one-byte body, which holds no student.
bool RecordFields(const PdbFile& pdb, int index, int count, std::vector<std::string_view>& fields, std::size_t& all) {
  fields.clear();
  all = 0;
  const auto [first, last] = pdb.RecordBodyRange(index, count);
  if (last <= first) return false;
  all = pdb.FieldViews(first, last, kMaxRecordFields, fields);
  return true;
}

}  // namespace

void ReadGradePreferences(VeklaState& s, const PdbFile& pdb, const CodecReport& report) {
  const QString& path = pdb.path();
  const int count = pdb.header().recordCount;
  if (count < 3) {
    report.warn(cp("Databáze \"Znamky-db_pref.PDB\"\rje stará nebo poškozená"));
    return;
  }
  // Everything is read into copies first, so a damaged record changes nothing.
  CellGrid znamky = s.znamky;
  CellGrid znamky2 = s.znamky2;
  std::array<WeightEdit, 4> weights = s.weights;
  // Records 1 and 2 hold nothing the program uses. A file of three or four
  // records simply has no weights or no bands.
  std::vector<std::string_view> fields;
  for (int r = 3; r <= std::min(count, 5); ++r) {
    // Two fields for each item of the record; further fields are of no use.
    const int items = r == 3 ? kGradeItems : r == 4 ? kWeightItems : kBandItems;
    pdb.recordFieldViews(r, static_cast<std::size_t>(2 * items), fields);
    for (int k = 1; k <= static_cast<int>(fields.size()); ++k) {
      const std::string text(fields[static_cast<std::size_t>(k - 1)]);
      const bool odd = k % 2 == 1;
      const int item = odd ? (k + 1) / 2 : k / 2;
      if (r == 3 && item <= kGradeItems) {
        if (odd) znamky.setText(item, 0, text);
        else znamky.setText(item, 1, ReplaceDots(text));
      } else if (r == 4 && item <= kWeightItems) {
        WeightEdit& w = weights[static_cast<std::size_t>(item - 1)];
        if (odd) w.color = PreferenceColour(path, text, cp("váhy ") + std::to_string(item) + cp(" v záznamu 4"));
        else w.text = ReplaceDots(text);
      } else if (r == 5 && item <= kBandItems) {
        if (odd) {
          const Color background =
              PreferenceColour(path, text, cp("pásma ") + std::to_string(item) + cp(" v záznamu 5"));
          znamky2.setColors(item - 1, 0, background, ContrastColor(background));
        } else {
          znamky2.setText(item - 1, 0, ReplaceDots(text));
        }
      }
    }
  }
  if (count >= 4 && s.weightDown >= 1 && s.weightDown <= 4) {
    // The symbols show in the colour of the weight that is down.
    const Color down = weights[static_cast<std::size_t>(s.weightDown - 1)].color;
    for (int c = 1; c <= kGradeItems; ++c) znamky.setFontColor(c, 0, down);
  }
  s.znamky = std::move(znamky);
  s.znamky2 = std::move(znamky2);
  s.weights = weights;
  s.znamky.autoSizeColumns();
}

namespace {

// Students are the records after the three special ones that hold anything:
// empty bodies get no row, so the students fill their rows without gaps.
int CountStudents(const PdbFile& pdb) {
  const int n = pdb.header().recordCount;
  int students = 0;
  // Every body range is checked here, before anything is built.
  for (int r = 1; r <= n; ++r) {
    const auto [first, last] = pdb.RecordBodyRange(r, n);
    if (r >= 4 && last > first) ++students;
  }
  return students;
}

// An empty grid of `students` rows with the titles the log lines name.
void PrepareGradeGrid(VeklaState& t, int students) {
  CellGrid& g = t.grid;
  ClearGridCells(t);
  if (g.colCount() < 8) g.setColCount(8);
  g.setRowCount(students + GradeGeometry::kOtherRows);
  TitleGradeColumns(t);
}

// The semester number of field k >= 4: fields 4 and 5 belong to semester 1,
// 6 and 7 to semester 2, and so on; the even one is the byte list.
std::string SemesterOfField(int k) { return std::to_string(k % 2 == 0 ? (k - 2) / 2 : (k - 3) / 2); }

// Records 1 to 3: the class colour, each semester's dates and note, start
// times and labels, end times, as keys of the semester store.
void ReadClassRecord(GradesDbCheck& c, const PdbFile& pdb, int r, const std::vector<std::string_view>& f,
                     const CodecReport& report) {
  for (int k = 1; k <= static_cast<int>(f.size()); ++k) {
    const std::string_view text = f[static_cast<std::size_t>(k - 1)];
    if (r == 1 && k == 3) c.classColour = text;
    if (k < 4) continue;
    const std::string j = SemesterOfField(k);
    const bool list = k % 2 == 0;
    if (r == 1) {
      if (list) {
        // The dates decide how many grade columns the semester shows. No
        // save keeps more than 127, and thousands of them (a damaged file)
        // would take the grid minutes to build. Only the bytes kept are
        // turned into text.
        std::string days = ClassByteList(pdb.path(), text, r, kMaxByteList + 1);
        if (days.size() > kMaxByteList) {
          days.resize(kMaxByteList);
          report.warn(cp("Počet známek může být maximálně 127!"));
        }
        c.classKeys.push_back({"Datumy", "Dny" + j, std::move(days)});
      } else {
        // A note written on the handheld over several lines keeps its words apart.
        c.classKeys.push_back({"Datumy", "Poznamka" + j, NoteOnOneLine(text)});
      }
    } else if (r == 2) {
      if (list) {
        c.classKeys.push_back({"Casy1", "Casy" + j, ClassByteList(pdb.path(), text, r)});
      } else {
        c.classKeys.push_back({"Casy1", "Pololeti" + j, std::string(text)});
        c.semesterItems.push_back(SemesterItem(pdb.path(), std::string(text)));
      }
    } else if (list) {
      c.classKeys.push_back({"Casy2", "Casy" + j, ClassByteList(pdb.path(), text, r)});
    }
  }
}

// Student `student` (from 1): the grid row with its checked order number,
// name, note of the first semester and "examined" count, and every
// semester's grades and note in its section of the store.
// The fields are views into the file.
void ReadStudentRecord(VeklaState& t, int student, const std::vector<std::string_view>& f) {
  using G = GradeGeometry;
  CellGrid& g = t.grid;
  IniFile& ini = t.gradesIni;
  const G geo(g);
  const int count = static_cast<int>(f.size());
  auto field = [&](int k) { return f[static_cast<std::size_t>(k - 1)]; };
  const int row = G::studentRow(student);
  const std::string section = "Z" + std::to_string(student);
  const std::string_view name = count >= 2 ? field(2).substr(0, kMaxName) : std::string_view();
  g.setText(0, row, StudentLabel(std::to_string(student), name));
  if (count >= 1)
    g.setText(G::kOrderCol, row, CheckBoundedNumber(t, std::string(field(1)), {G::kOrderCol, row}, 999, 1));
  if (count >= 2) {
    const std::string checked = CutText(t, std::string(field(2)), {G::kNameCol, row}, kMaxName);
    g.setText(G::kNameCol, row, checked);
    ini.set(section, "Jmeno", checked);
    // One key for each field of the record: the name, each semester's
    // grades and note, and in place of the first and third field the order
    // number and "examined" count that the semester store adds.
    ini.reserveKeys(section, static_cast<std::size_t>(count));
  }
  if (count >= 3)
    g.setText(geo.examinedCol(), row,
              CheckBoundedNumber(t, std::string(field(3)), {geo.examinedCol(), row}, 999, 0));
  for (int k = 4; k <= count; ++k) {
    const std::string j = SemesterOfField(k);
    if (k % 2 == 0) {
      ini.set(section, "Z" + j, StudentGrades(t, field(k), g.text(0, row), j));
    } else if (k == 5) {
      const std::string note = CutText(t, std::string(field(k)), {geo.noteCol(), row}, kMaxNote);
      g.setText(geo.noteCol(), row, note);
      ini.set(section, "P1", note);
    } else {
      ini.set(section, "P" + j, field(k));
    }
  }
}

}  // namespace

GradesDbCheck CheckGradesDb(const PdbFile& pdb, const CodecReport& report) {
  const QString& path = pdb.path();
  GradesDbCheck c;
  const int n = pdb.header().recordCount;
  c.students = CountStudents(pdb);
  if (c.students > kMaxStudents)
    ThrowMalformed(path, cp("databáze má ") + std::to_string(c.students) +
                             cp(" žáků, kapesní počítač jich v jedné třídě drží nejvýše ") +
                             std::to_string(kMaxStudents));
  std::vector<std::string_view> fields;
  for (int r = 1; r <= n; ++r) {
    // The fields beyond kMaxRecordFields are only counted: a record of more
    // is refused below, whatever they hold.
    std::size_t count = 0;
    RecordFields(pdb, r, n, fields, count);
    if (count == 0) continue;
    // From field 4 on the fields come in pairs, one per semester.
    const std::size_t semesters = count >= 4 ? (count - 2) / 2 : 0;
    if (semesters > kMaxSemesters)
      ThrowMalformed(path, cp("záznam ") + std::to_string(r) + cp(" uvádí ") + std::to_string(semesters) +
                               cp(" pololetí, databáze známek jich může mít nejvýše ") + std::to_string(kMaxSemesters));
    if (r <= 3) ReadClassRecord(c, pdb, r, fields, report);
  }
  if (c.classColour.size() == 6) ColourField(path, c.classColour, cp("třídy v záznamu 1"));
  return c;
}

void FillGradesDb(VeklaState& t, const PdbFile& pdb, const GradesDbCheck& c) {
  // A fresh semester store; it replaces the one on disk when the command
  // saves the working files.
  t.gradesIni.clear();
  t.gradesIniLoaded = true;
  t.gradesIniDirty = true;

  FillPanelFromHeader(t, pdb.header());
  const int n = pdb.header().recordCount;
  PrepareGradeGrid(t, c.students);
  for (const auto& [section, key, value] : c.classKeys) t.gradesIni.set(section, key, value);
  t.semesterItems = c.semesterItems;
  int student = 0;
  std::vector<std::string_view> fields;
  // The check refused every record of more fields than are read here.
  std::size_t all = 0;
  for (int r = 4; r <= n; ++r)
    if (RecordFields(pdb, r, n, fields, all)) ReadStudentRecord(t, ++student, fields);
  // The store knows the students by their records; their order numbers are
  // made unique as well, so that a save or a CSV round trip never merges two.
  GiveUniqueOrderNumbers(t);

  // The class colour paints the header rows; without one the highlight
  // keeps its colour and the text its contrast, so the names stay readable.
  if (c.classColour.size() == 6) {
    t.shape1 = ColorFromPalmText(c.classColour);
    t.shape2 = ColorFromPalmText(ContrastColorText(c.classColour));
  } else {
    t.shape2 = ContrastColor(resolveColor(t.shape1));
  }

  t.studentCount = c.students;
  t.gradesIni.set("db", "Pocet", std::to_string(t.grid.rowCount()));
  // A database without semesters still shows one: the current one.
  if (t.semesterItems.empty()) t.semesterItems.push_back(SemesterLabel(t));
  const int last = static_cast<int>(t.semesterItems.size()) - 1;
  // The semester shown is the one just read, from the store just filled.
  t.semesterItemIndex = last;
  t.semesterText = t.semesterItems[static_cast<std::size_t>(last)];
  t.currentSemester = last + 1;
  LoadSemester(t, last + 1);
  t.grid.autoSizeColumns();
}

void GradesDbRecords(const VeklaState& s, const IniFile& ini, const std::vector<int>& selection,
                     const CodecReport& report, const std::function<void(const PdbRecord&)>& add) {
  const int students = std::max(0, GradeGeometry(s.grid).students());
  auto byteList = [](std::string text) {
    if (text.size() > kMaxByteList) text.resize(kMaxByteList);
    return TextToByteList(text);
  };

  PdbRecord classRecord{"-2", "3", ColorToPalmText(resolveColor(s.shape1))};
  for (int k : selection) {
    std::string days = ini.get("Datumy", "Dny" + std::to_string(k));
    if (days.size() > kMaxByteList) report.warn(cp("Počet známek může být maximálně 127!"));
    classRecord.push_back(byteList(std::move(days)));
    classRecord.push_back(ini.get("Datumy", "Poznamka" + std::to_string(k)));
  }
  add(classRecord);

  PdbRecord startRecord{"-1", "3", "1"};
  for (int k : selection) {
    startRecord.push_back(byteList(ini.get("Casy1", "Casy" + std::to_string(k))));
    startRecord.push_back(ini.get("Casy1", "Pololeti" + std::to_string(k)));
  }
  add(startRecord);

  const std::string firstLabel = ini.get("Casy1", "Pololeti" + std::to_string(selection.front()));
  if (firstLabel.empty()) report.warn("Chyba pololeti 3/3");
  PdbRecord endRecord{"0", firstLabel, ""};
  for (int k : selection) {
    endRecord.push_back(byteList(ini.get("Casy2", "Casy" + std::to_string(k))));
    endRecord.push_back("0");
  }
  add(endRecord);

  for (int n = 1; n <= students; ++n) {
    // The student of a grid row has the section of its row label: after rows
    // were removed or inserted the labels no longer run 1, 2, 3, ... A row
    // whose label has no number has no section: its keys are missing and
    // read as their defaults, never as another student's.
    const std::string section = StudentSection(s, GradeGeometry::studentRow(n));
    auto get = [&](const std::string& key, std::string_view def = {}) {
      return section.empty() ? std::string(def) : ini.get(section, key, def);
    };
    PdbRecord rec;
    rec.reserve(3 + 2 * selection.size());
    rec.insert(rec.end(), {get("Poradi", "1"), get("Jmeno", "Zaznam"), get("Zkousen", "0")});
    for (int k : selection) {
      rec.push_back(byteList(WithoutTrailingEmptySlots(get("Z" + std::to_string(k)))));
      rec.push_back(get("P" + std::to_string(k)));
    }
    add(rec);
    report.progress(PercentText(100.0 * n / students));
  }
}

std::vector<PdbRecord> BuildGradesDb(const VeklaState& s, const IniFile& ini, const std::vector<int>& selection,
                                     const CodecReport& report) {
  std::vector<PdbRecord> records;
  GradesDbRecords(s, ini, selection, report, [&](const PdbRecord& r) { records.push_back(r); });
  return records;
}

}  // namespace vekla
