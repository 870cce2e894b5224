// The grade book "Znamky-*.PDB" and the shared preferences database
// "Znamky-db_pref.PDB".
//
// Records 1 to 3 of a grade book describe the class and its semesters
// (colour, dates, start and end times, semester labels); every further record
// is one student. From field 4 on, the fields come in pairs, one per
// semester: a byte list and a text. The grid shows one semester; the
// semester store GradesIni holds them all, and the writer builds every record
// from it.
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kinds/common.h"
#include "kinds/kinds.h"
#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/palmdesktop.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"
#include "workspace/workfiles.h"

namespace vekla {

namespace {

constexpr const char* kPreferencesName = "Znamky-db_pref.PDB";
// What the grade book's byte lists may hold: two bytes per grade column,
// at most 127 columns.
constexpr std::size_t kMaxByteList = 254;
constexpr std::size_t kMaxName = 60;
constexpr std::size_t kMaxNote = 250;
// The preferences fill 20 grade symbols, 4 weights and 5 average bands.
constexpr int kGradeItems = 20;
constexpr int kWeightItems = 4;
constexpr int kBandItems = 5;

// A folder as the user knows it: no trailing separator.
QString WithoutTrailingSeparator(QString dir) {
  while (dir.size() > 1 && (dir.endsWith('/') || dir.endsWith('\\'))) dir.chop(1);
  return dir;
}

QString WithTrailingSeparator(const QString& dir) {
  if (dir.isEmpty() || dir.endsWith('/') || dir.endsWith('\\')) return dir;
  return dir + '/';
}

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
std::string ClassByteList(const QString& path, std::string_view bytes, int record) {
  if (!StorableByteList(bytes))
    ThrowMalformed(path, cp("záznam ") + std::to_string(record) + cp(" obsahuje neplatný bajt v datech nebo časech"));
  return ByteListToText(bytes);
}

// A student's grade list: a pair holding a byte the store cannot keep becomes
// an empty slot, so the grades after it stay in their columns.
std::string StudentGrades(VeklaState& t, std::string_view bytes, const std::string& label, const std::string& semester) {
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

bool AllDigits(std::string_view t) {
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The semester box item of a stored semester label: the label "20041" (the
// school year 2004/2005, semester 1) gives "1. pol. 2004/2005".
std::string SemesterItem(const QString& path, const std::string& label) {
  if (label.size() < 5 || !AllDigits(std::string_view(label).substr(0, 4)))
    ThrowMalformed(path, cp("označení pololetí \"") + label +
                             cp("\" v záznamu 2 nezačíná čtyřmístným rokem a číslem pololetí"));
  const int year = std::stoi(label.substr(0, 4));
  return label.substr(4, 1) + ". pol. " + label.substr(0, 4) + "/" + std::to_string(year + 1);
}

// A colour field: six hexadecimal digits, red first.
Color ColourField(const QString& path, const std::string& text, const std::string& what) {
  if (!IsHexColorText(text))
    ThrowMalformed(path, cp("barva \"") + text + "\" " + what + cp(" není šestimístné šestnáctkové číslo"));
  return ColorFromPalmText(text);
}

// "3. " and the name up to and including its first space (all of it when it
// has none).
std::string ShortLabel(int n, const std::string& name) {
  const std::size_t space = name.find(' ');
  return std::to_string(n) + ". " + (space == std::string::npos ? name : name.substr(0, space + 1));
}

// The fields of one record; nullopt for an empty or one-byte body, which
// holds no student.
std::optional<std::vector<std::string>> RecordFields(const PdbFile& pdb, int index, int count) {
  const auto [first, last] = pdb.RecordBodyRange(index, count);
  if (last <= first) return std::nullopt;
  std::vector<std::string> fields;
  pdb.ReadRecordFields(first, last, [&](int, std::string_view text) { fields.emplace_back(text); });
  return fields;
}

// Finds and reads the preferences database: first in the backup folder of
// the handheld's desktop software, then in the first import folder.
void ReadPreferencesFor(VeklaState& t, Prompter& p) {
  const QString backup = WithTrailingSeparator(EffectiveBackupFolder(t.settings));
  const QString first = WithoutTrailingSeparator(t.adresar1);
  QString found;
  // An empty folder would point into the working directory or the root of
  // the disk; neither is where the handheld's files are.
  if (!backup.isEmpty() && QFileInfo(backup + kPreferencesName).isFile()) found = backup + kPreferencesName;
  else if (!first.isEmpty() && QFileInfo(first + "/" + kPreferencesName).isFile())
    found = first + "/" + kPreferencesName;
  if (found.isEmpty()) {
    p.message(cp("Databáze \"Znamky-db_pref.PDB\"\rnebyla nalezena na adrese \r") + NativePath(backup) + "\r" +
              " ani na adrese" + "\r" + NativePath(first) + "\\ .");
    return;
  }
  // A damaged preferences database must not keep the class from opening:
  // say so and go on with the grade scale, weights and bands as they are.
  try {
    ReadGradePreferences(t, p, found);
  } catch (const VeklaError& e) {
    p.message(e.text());
  }
}

}  // namespace

void ReadGradePreferences(VeklaState& s, Prompter& p, const QString& path) {
  const PdbFile pdb = PdbFile::load(path);
  const int count = pdb.header().recordCount;
  if (count < 3) {
    p.message(cp("Databáze \"Znamky-db_pref.PDB\"\rje stará nebo poškozená"));
    return;
  }
  // Everything is read into copies first, so a damaged record changes nothing.
  CellGrid znamky = s.znamky;
  CellGrid znamky2 = s.znamky2;
  std::array<WeightEdit, 4> weights = s.weights;
  // Records 1 and 2 hold nothing the program uses. A file of three or four
  // records simply has no weights or no bands.
  for (int r = 3; r <= std::min(count, 5); ++r) {
    const std::vector<std::string> fields = pdb.recordFields(r);
    for (int k = 1; k <= static_cast<int>(fields.size()); ++k) {
      const std::string& text = fields[static_cast<std::size_t>(k - 1)];
      const bool odd = k % 2 == 1;
      const int item = odd ? (k + 1) / 2 : k / 2;
      if (r == 3 && item <= kGradeItems) {
        if (odd) znamky.setText(item, 0, text);
        else znamky.setText(item, 1, ReplaceDots(text));
      } else if (r == 4 && item <= kWeightItems) {
        WeightEdit& w = weights[static_cast<std::size_t>(item - 1)];
        if (odd) w.color = ColourField(path, text, cp("váhy ") + std::to_string(item) + cp(" v záznamu 4"));
        else w.text = ReplaceDots(text);
      } else if (r == 5 && item <= kBandItems) {
        if (odd) {
          const Color background =
              ColourField(path, text, cp("pásma ") + std::to_string(item) + cp(" v záznamu 5"));
          znamky2.setColors(item - 1, 0, background, ColorFromPalmText(ContrastColorText(text)));
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

void ReadGrades(VeklaState& s, Prompter& p, const QString& path, bool firstDialog) {
  if (lowerCp(fromQt(QFileInfo(path).fileName())) == "znamky-db_pref.pdb") {
    p.message(cp("Zvolte jiný soubor."));
    return;
  }
  // The file is read (and its header and record list checked) before
  // anything else, so an unreadable file gives its one message only.
  const PdbFile pdb = PdbFile::load(path);

  // Everything is built in a copy that replaces the state only when the
  // whole file has been read.
  VeklaState t = s;
  ReadPreferencesFor(t, p);
  if (firstDialog) t.adresar1 = QFileInfo(path).absolutePath() + "/";

  // A fresh semester store; it replaces the one on disk when the command
  // saves the working files.
  t.gradesIni.clear();
  t.gradesIniLoaded = true;
  t.gradesIniDirty = true;
  IniFile& ini = t.gradesIni;

  const PdbHeader& h = pdb.header();
  FillPanelFromHeader(t, h);
  const int n = h.recordCount;

  // Every body range is checked first; empty bodies hold no student and get
  // no row, so the students fill rows 4 onwards without gaps.
  int students = 0;
  for (int r = 1; r <= n; ++r) {
    const auto [first, last] = pdb.RecordBodyRange(r, n);
    if (r >= 4 && last > first) ++students;
  }

  CellGrid& g = t.grid;
  ClearGridCells(t);
  if (g.colCount() < 8) g.setColCount(8);
  const int C = g.colCount();
  const int R = students + 6;
  g.setRowCount(R);
  // The log lines of the checks name the column header and the row label.
  g.setText(0, 0, "");
  g.setText(1, 0, cp("Pořadí"));
  g.setText(2, 0, cp("Jméno"));
  NumberGradeColumns(t);
  g.setText(C - 4, 0, cp("Průměr"));
  g.setText(C - 3, 0, cp("Sm. odch."));
  g.setText(C - 2, 0, cp("Poznámka"));
  g.setText(C - 1, 0, cp("Zkoušen"));

  std::string classColour;
  t.semesterItems.clear();
  int student = 0;
  for (int r = 1; r <= n; ++r) {
    const std::optional<std::vector<std::string>> fields = RecordFields(pdb, r, n);
    if (!fields) continue;
    const std::vector<std::string>& f = *fields;
    const int count = static_cast<int>(f.size());
    auto field = [&](int k) -> const std::string& { return f[static_cast<std::size_t>(k - 1)]; };
    // From field 4 on the fields come in pairs, one per semester.
    const int semesters = count >= 4 ? (count - 2) / 2 : 0;
    if (semesters > kMaxSemesters)
      ThrowMalformed(path, cp("záznam ") + std::to_string(r) + cp(" uvádí ") + std::to_string(semesters) +
                               cp(" pololetí, databáze známek jich může mít nejvýše ") +
                               std::to_string(kMaxSemesters));

    if (r <= 3) {
      for (int k = 1; k <= count; ++k) {
        const std::string& text = field(k);
        if (r == 1 && k == 3) classColour = text;
        if (k < 4) continue;
        const std::string j = std::to_string(k % 2 == 0 ? (k - 2) / 2 : (k - 3) / 2);
        const bool list = k % 2 == 0;
        if (r == 1) {
          if (list) {
            // The dates decide how many grade columns the semester shows. No
            // save keeps more than 127, and thousands of them (a damaged
            // file) would take the grid minutes to build.
            std::string days = ClassByteList(path, text, r);
            if (days.size() > kMaxByteList) {
              days.resize(kMaxByteList);
              p.message(cp("Počet známek může být maximálně 127!"));
            }
            ini.set("Datumy", "Dny" + j, days);
          } else {
            ini.set("Datumy", "Poznamka" + j, text);
          }
        } else if (r == 2) {
          if (list) {
            ini.set("Casy1", "Casy" + j, ClassByteList(path, text, r));
          } else {
            ini.set("Casy1", "Pololeti" + j, text);
            t.semesterItems.push_back(SemesterItem(path, text));
          }
        } else if (list) {
          ini.set("Casy2", "Casy" + j, ClassByteList(path, text, r));
        }
      }
      continue;
    }

    ++student;
    const int row = 3 + student;
    const std::string section = "Z" + std::to_string(student);
    const std::string name = count >= 2 ? field(2).substr(0, kMaxName) : std::string();
    g.setText(0, row, ShortLabel(student, name));
    if (count >= 1) g.setText(1, row, CheckBoundedNumber(t, field(1), row, 1, 999, 1));
    if (count >= 2) {
      const std::string checked = CutText(t, field(2), row, 2, kMaxName);
      g.setText(2, row, checked);
      ini.set(section, "Jmeno", checked);
    }
    if (count >= 3) g.setText(C - 1, row, CheckBoundedNumber(t, field(3), row, C - 1, 999, 0));
    for (int k = 4; k <= count; ++k) {
      const std::string j = std::to_string(k % 2 == 0 ? (k - 2) / 2 : (k - 3) / 2);
      if (k % 2 == 0) {
        ini.set(section, "Z" + j, StudentGrades(t, field(k), g.text(0, row), j));
      } else if (k == 5) {
        const std::string note = CutText(t, field(k), row, C - 2, kMaxNote);
        g.setText(C - 2, row, note);
        ini.set(section, "P1", note);
      } else {
        ini.set(section, "P" + j, field(k));
      }
    }
  }

  // The class colour paints the header rows; without one the highlight
  // keeps its colour and the text its contrast, so the names stay readable.
  if (classColour.size() == 6) {
    t.shape1 = ColourField(path, classColour, cp("třídy v záznamu 1"));
    t.shape2 = ColorFromPalmText(ContrastColorText(classColour));
  } else {
    t.shape2 = ContrastColor(resolveColor(t.shape1));
  }

  t.studentCount = R - 6;
  ini.set("db", "Pocet", std::to_string(R));
  // A database without semesters still shows one: the current one.
  if (t.semesterItems.empty()) t.semesterItems.push_back(SemesterLabel(t));
  const int last = static_cast<int>(t.semesterItems.size()) - 1;
  // The semester shown is the one just read: nothing is stored over it.
  t.currentSemester = last + 1;
  CBZnamkyPololetiChange(t, last);
  g.autoSizeColumns();
  s = std::move(t);
}

void WriteGrades(VeklaState& s, Prompter& p) {
  const int items = static_cast<int>(s.semesterItems.size());
  if (s.semesterItemIndex >= 0 && s.semesterItemIndex < items) s.currentSemester = s.semesterItemIndex + 1;
  const int shown = s.currentSemester;

  // Which semesters go into the file: the shown one always, the others on Yes.
  std::vector<int> selection;
  if (items >= 2) {
    for (int i = 1; i <= items; ++i)
      if (i == shown || p.includeSemester(i, s.semesterItems[static_cast<std::size_t>(i - 1)]))
        selection.push_back(i);
  } else {
    selection.push_back(1);
  }

  CheckAllCells(s, p);
  StoreSemester(s);

  const std::optional<QString> chosen = ChooseSaveFile(s, p);
  if (!chosen) return;
  const PdbHeaderOut header = HeaderForFile(s, *chosen);

  const IniFile& ini = GradesIni(s);
  const int students = std::max(0, s.grid.rowCount() - 6);
  auto byteList = [](std::string text) {
    if (text.size() > kMaxByteList) text.resize(kMaxByteList);
    return TextToByteList(text);
  };

  std::vector<PdbRecord> records;
  records.reserve(static_cast<std::size_t>(3 + students));

  PdbRecord classRecord{"-2", "3", ColorToPalmText(resolveColor(s.shape1))};
  for (int k : selection) {
    std::string days = ini.get("Datumy", "Dny" + std::to_string(k));
    if (days.size() > kMaxByteList) p.message(cp("Počet známek může být maximálně 127!"));
    classRecord.push_back(byteList(std::move(days)));
    classRecord.push_back(ini.get("Datumy", "Poznamka" + std::to_string(k)));
  }
  records.push_back(std::move(classRecord));

  PdbRecord startRecord{"-1", "3", "1"};
  for (int k : selection) {
    startRecord.push_back(byteList(ini.get("Casy1", "Casy" + std::to_string(k))));
    startRecord.push_back(ini.get("Casy1", "Pololeti" + std::to_string(k)));
  }
  records.push_back(std::move(startRecord));

  const std::string firstLabel = ini.get("Casy1", "Pololeti" + std::to_string(selection.front()));
  if (firstLabel.empty()) p.message("Chyba pololeti 3/3");
  PdbRecord endRecord{"0", firstLabel, ""};
  for (int k : selection) {
    endRecord.push_back(byteList(ini.get("Casy2", "Casy" + std::to_string(k))));
    endRecord.push_back("0");
  }
  records.push_back(std::move(endRecord));

  for (int n = 1; n <= students; ++n) {
    // The student of grid row n + 3 has the section of its row label: after
    // rows were removed or inserted the labels no longer run 1, 2, 3, ...
    // A row whose label has no number has no section: its keys are missing
    // and read as their defaults, never as another student's.
    const std::string section = StudentSection(s, n + 3);
    auto get = [&](const std::string& key, std::string_view def = {}) {
      return section.empty() ? std::string(def) : ini.get(section, key, def);
    };
    PdbRecord rec{get("Poradi", "1"), get("Jmeno", "Zaznam"), get("Zkousen", "0")};
    for (int k : selection) {
      rec.push_back(byteList(WithoutTrailingEmptySlots(get("Z" + std::to_string(k)))));
      rec.push_back(get("P" + std::to_string(k)));
    }
    records.push_back(std::move(rec));
    ShowProgress(s, p, PercentText(100.0 * n / students));
  }

  WritePdbAndClearProgress(s, p, *chosen, header, records);
}

}  // namespace vekla
