#pragma once
// The state of the main window: the grids, the panel fields, the shapes, the
// weights, the semester box and the window's own fields. Widgets observe it
// and every command is a function of it and a Prompter. There is no second
// copy of the data anywhere: the cells are the data.
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdb/color.h"
#include "workspace/cellgrid.h"
#include "workspace/controls.h"
#include "workspace/inifile.h"

namespace vekla {

// The most semesters a grade book may list. A real one holds two a school
// year and a few years at most; a file listing more is damaged, and each
// semester costs a question on saving and a set of keys in the store.
inline constexpr int kMaxSemesters = 100;
// The most grade columns a semester can have on the handheld, and the most
// students of one class.
inline constexpr int kMaxGradeColumns = 127;
inline constexpr int kMaxStudents = 999;
// The most lessons a timetable database may announce.
inline constexpr int kMaxLessons = 255;

// The four kinds in tab order.
enum class DbKind { Znamky = 0, Rozpisy = 1, Rozvrh = 2, Kalendar = 3 };
inline constexpr int kKindCount = 4;

// Column descriptors of the current kind, indexed by grid column 1 to 26.
struct SloupceType {
  std::array<char, 27> Typ{};             // 'i', 's', 'd', 'b' or 0
  std::array<std::int32_t, 27> Delka{};   // maximum length
  std::array<std::string, 27> Vychozi{};  // default text
};

// A menu item or tool button as the commands see it.
struct Control {
  bool enabled = true;
  bool visible = true;
  std::string caption;  // menu items whose caption a tab changes
};

// A weight edit EHodnota1..4: its text and its text colour (the weight colour).
struct WeightEdit {
  std::string text = "1,00";
  Color color = kBlack;
  friend bool operator==(const WeightEdit&, const WeightEdit&) = default;
};

struct VeklaState {
  // --- the tab strip
  DbKind kind = DbKind::Znamky;  // TabSet1.TabIndex

  // --- grids
  CellGrid grid{8, 11, 1, 1};    // StringAlignGrid, the main grid
  CellGrid znamky{21, 2, 1, 1};  // StringAGZnamky: grade symbols (row 0) and values (row 1)
  CellGrid znamky2{5, 1, 0, 0};  // StringAGZnamky2: the five average bands

  // --- database panel (texts as shown)
  std::string EditN, EditC, EditTD, EditDV, EditCV, EditDZ, EditCZ;
  Color shape1 = kWhite;  // Shape1: highlight background
  Color shape2 = kBlack;  // Shape2: highlight text

  // --- timetable panel GroupBoxRozvrh
  std::string EditRozvrhPolozka, EditRozvrhLS;
  Color shapeRozvrh = kWhite;    // ShapeRozvrh
  bool lichyTyden = true;        // RadioButtonLRozvrh (else RadioButtonSRozvrh)
  bool rozlisovatTydny = false;  // CheckBoxLS

  // --- grades panel GroupBoxZnamky
  std::array<WeightEdit, 4> weights;       // EHodnota1..4
  int weightDown = 1;                      // SBHodnota1..4: the one that is down
  std::vector<std::string> semesterItems;  // CBZnamkyPololeti items
  int semesterItemIndex = -1;              // CBZnamkyPololeti.ItemIndex
  std::string semesterText;                // CBZnamkyPololeti.Text
  std::vector<std::string> memoPoznamka;   // MemoPoznamka lines
  std::array<long double, 5> bands{};      // band bounds parsed at each computation
  // What the statistics shown were computed from: marks of the grids and the
  // weights then. ComputeStatistics recomputes only what the cells written
  // since can change, when nothing else changed.
  struct StatisticsBasis {
    bool valid = false;
    CellGrid::Mark grid, symbols, bands;
    std::array<WeightEdit, 4> weights;
  } statisticsBasis;

  // --- window
  std::string caption = "Vekla";
  int panelHeight = 180;                          // PanelHlavni height
  std::array<Control, kControlCount> controls{};  // every menu item, tool button and panel
  std::string dialogFilter;                       // OpenDialog1/2 and SaveDialog filter
  std::vector<std::string> Memo1;                 // the error log, one repair per line
  std::string Lpohyb;                             // progress label
  // What the last command did that the teacher should see without a
  // question (a grade given another weight by a click): the window shows it
  // in its status line and takes it.
  std::string statusLine;

  // --- fields of the main window
  int selCol = 1, selRow = 1;            // last cell passed to the select-cell handler
  int selValueCol = 1, selValueRow = 0;  // last band cell chosen in StringAGZnamky2
  int studentCount = 0;
  // The students the grade book's report is for (their grid rows), as the
  // grid's selection chose them while "Výpis pro rodiče do PDF…" runs; empty
  // at any other time: every student.
  std::vector<int> reportStudents;
  int currentSemester = 1;    // 1-based
  QString programDir;         // with a trailing separator
  QString exportDir;          // html/ and excel/ go here; empty: in ProgramDir
  QString dataDirOverride;    // the converter's --data; empty: ProgramDir + "data/"
  // The working files and the semester store are kept in memory only and
  // never read from or written to DataDir (the converter without --data:
  // nothing else would read them).
  bool workFilesInMemory = false;
  QString adresar1;           // Adresar1, the first import folder
  std::string userName;       // the handheld's last user name
  bool openFromFirst = true;  // the first open dialog was used
  std::string prefix;         // file-name prefix of the kind; empty until a setup
  std::string creator, type;  // the kind's default creator and type
  int leadingRecords = 0;
  std::string dialogResult = "00:00";
  SloupceType Sloupce;
  bool reload = true;

  // Per kind (in tab order): the grid holds edits not yet saved to a database.
  std::array<bool, kKindCount> unsaved{};
  // Per kind: the database file the tab was saved to last, which the next
  // save proposes; empty after an open, "Nový" or an import.
  std::array<QString, kKindCount> savedFile{};
  // The grade a plain click gave the pressed weight, as the click left the
  // grid: a paste that starts there takes the new weight back.
  struct WeightClick {
    bool valid = false;
    CellPos at;
    Color before = 0, after = 0;
    CellGrid::Mark mark;
  } weightClick;

  // --- stores
  IniFile settings;   // vekla.ini in ProgramDir
  IniFile gradesIni;  // GradesIni, Znamky-.ini in DataDir, held in memory
  bool gradesIniLoaded = false;
  bool gradesIniDirty = false;
  std::uint64_t gradesIniWritten = 0;  // the store's revision when last written, to
  QString gradesIniWrittenTo;          // this file

  Control& control(Ctl c) { return controls[static_cast<std::size_t>(c)]; }
  const Control& control(Ctl c) const { return controls[static_cast<std::size_t>(c)]; }
};

// The longest line of the error log: a repair quotes the text it repaired,
// which a damaged file may make megabytes long. Longer lines keep their
// start and end in "…".
inline constexpr std::size_t kMaxLogLine = 4096;
// As much of a text as a log line can show: a line built from more would only
// copy what is cut away.
inline std::string_view LogPart(std::string_view text) { return text.substr(0, kMaxLogLine); }

// Appends one line to the error log.
void Log(VeklaState& s, std::string line);

// The current tab's grid now holds edits not yet saved to a database.
inline void MarkEdited(VeklaState& s) { s.unsaved[static_cast<std::size_t>(s.kind)] = true; }
inline bool HasUnsavedEdits(const VeklaState& s) { return s.unsaved[static_cast<std::size_t>(s.kind)]; }
inline void MarkSaved(VeklaState& s) { s.unsaved[static_cast<std::size_t>(s.kind)] = false; }

}  // namespace vekla
