// Every writer of the program meets a full disk, a read-only file and a
// read-only folder: each fails with one Czech message, leaves every file
// it would have replaced as it was and leaves no temporary file behind. The
// writers are read from the table of kinds, so a new format joins here by
// itself; the working files and the settings file are rows of their own.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <map>

#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/kindtable.h"
#include "pdb/pdbfile.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/child.h"
#include "support/gradebook.h"
#include "support/kindsfixture.h"
#include "workspace/gradestats.h"
#include "workspace/semesters.h"
#include "workspace/workfiles.h"

using namespace vekla;
using namespace vekla::test;

namespace {

// Save dialogs answered with the proposed name in the output folder.
class IntoFolder : public ScriptedPrompter {
 public:
  explicit IntoFolder(QString folder) : folder_(std::move(folder)) {}
  std::optional<QString> saveFile(const FileDialogRequest& r) override {
    saveRequests.push_back(r);
    return folder_ + QFileInfo(r.fileName).fileName();
  }

 private:
  QString folder_;
};

struct Writer {
  std::string name;
  DbKind kind;
  std::function<Outcome(VeklaState&, Prompter&)> write;
  // The files it writes are in this folder of ProgramDir ("" for all but
  // the working files, which every command keeps in step with the grid).
  QString only = {};
  QString skip = "data/";
  // A library writes the Excel workbook before any writer of ours runs:
  // the file-size signal is ignored for it at the program's start.
  bool libraryWritesFirst = false;
};

std::vector<Writer> Writers() {
  std::vector<Writer> out;
  for (DbKind kind : kAllKinds) {
    const KindEntry& entry = KindTable(kind);
    const std::string k = KindPrefix(kind);
    out.push_back({k + " PDB", kind, [](VeklaState& s, Prompter& p) { return UlozClick(s, p); }});
    for (Conversion c : kAllConversions)
      if (entry.exporter(c))
        out.push_back({k + " export " + std::to_string(static_cast<int>(c)),
                       kind,
                       [c](VeklaState& s, Prompter& p) { return ConvertClick(s, p, c); },
                       {},
                       "data/",
                       c == Conversion::ExportXlsx});
    out.push_back({k + " working files", kind,
                   [](VeklaState& s, Prompter&) {
                     SaveKind(s);
                     return Outcome::Done;
                   },
                   "data/", ""});
  }
  out.push_back({"vekla.ini", DbKind::Rozpisy, [](VeklaState& s, Prompter&) {
                   s.settings.save(s.programDir + "vekla.ini");
                   return Outcome::Done;
                 }});
  return out;
}

// A tab whose every file is larger than the largest cut point below.
void Fill(VeklaState& s, const std::string& text) {
  CellGrid& g = s.grid;
  if (s.kind == DbKind::Znamky) {
    DefaultGradeScale(s);
    GradeBookGrid(s, 120, 4);
    for (int r = 4; r < 124; ++r) {
      g.setText(1, r, std::to_string(r - 3));
      g.setText(2, r, text + std::to_string(r));
      g.setText(3, r, "1 ");
      g.setFontColor(3, r, s.weights[0].color);
    }
    ComputeStatistics(s);
  } else if (s.kind == DbKind::Rozvrh) {
    g.setColCount(12);
    LayoutTimetable(s);
    for (int r = 1; r < g.rowCount(); ++r)
      for (int c = 1; c < g.colCount(); ++c) g.setText(c, r, text.substr(0, 20));
  } else {
    if (s.kind == DbKind::Rozpisy) g.setRowCount(400);
    for (int r = 1; r < g.rowCount(); ++r) g.setText(s.kind == DbKind::Rozpisy ? 2 : 1, r, text);
  }
  s.settings.set("Nastaveni", "Adresar1", std::string(5000, 'a') + text);
}

// Every file under `root` with its bytes, of the writer's own folders.
std::map<QString, std::string> Tree(const QString& root, const Writer& w) {
  std::map<QString, std::string> files;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString name = QDir(root).relativeFilePath(it.next());
    if ((!w.only.isEmpty() && !name.startsWith(w.only)) || (!w.skip.isEmpty() && name.startsWith(w.skip))) continue;
    files[name] = ReadBytes(root + name);
  }
  return files;
}

// The files that differ between two trees, by name.
std::string Changes(const std::map<QString, std::string>& before, const std::map<QString, std::string>& after) {
  std::string out;
  for (const auto& [name, bytes] : after) {
    const auto it = before.find(name);
    if (it == before.end()) out += "new " + name.toStdString() + "; ";
    else if (it->second != bytes) out += "changed " + name.toStdString() + "; ";
  }
  for (const auto& [name, bytes] : before)
    if (!after.count(name)) out += "gone " + name.toStdString() + "; ";
  return out;
}

void SetModes(const QString& root, QFileDevice::Permissions files, QFileDevice::Permissions folders) {
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile::setPermissions(path, QFileInfo(path).isDir() ? folders : files);
  }
  QFile::setPermissions(root, folders);
}

constexpr auto kAll = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
constexpr auto kReadable = QFileDevice::ReadOwner | QFileDevice::ReadOther;
constexpr auto kFolderReadOnly = kReadable | QFileDevice::ExeOwner | QFileDevice::ExeOther;

// ReadOnlyFiles as "nobody", ReadOnlyFilesOwnRights with the test's own
// rights (the administrator's, where the system lets a rename replace any
// file).
enum class Fault { Cut1, Cut512, Cut4096, ReadOnlyFiles, ReadOnlyFilesOwnRights, ReadOnlyFolders };

// The errors of one write under the fault, in a child process, one per
// line; "child failed" when it did not finish. Past the file-size limit the
// system sends a signal that ends the process unless the writer ignores it.
std::string WriteUnder(Fault fault, const Writer& w, VeklaState& s, Prompter& p,
                       const std::vector<std::string>& errors) {
  const rlim_t cut = fault == Fault::Cut1 ? 1 : fault == Fault::Cut512 ? 512 : fault == Fault::Cut4096 ? 4096 : 0;
  return InChild(
      [&] {
        if (w.libraryWritesFirst) IgnoreFileSizeSignal();
        RunCommand(s, p, [&] { return w.write(s, p); });
        std::string text;
        for (const std::string& e : errors) text += e + "\n";
        return text;
      },
      cut, cut == 0 && fault != Fault::ReadOnlyFilesOwnRights, false);
}

TEST(Faults, EveryWriterLeavesThePreviousFilesWhole) {
  for (const Writer& w : Writers()) {
    // A full disk at three cut points, a read-only folder, and each of the
    // files the writer replaces read-only alone: a writer that replaced its
    // files one by one would have replaced the others.
    struct Case {
      Fault fault;
      int readOnlyFile;  // the index of the one read-only file, or -1
    };
    std::vector<Case> cases = {
        {Fault::Cut1, -1}, {Fault::Cut512, -1}, {Fault::Cut4096, -1}, {Fault::ReadOnlyFolders, -1}};
    for (Fault f : {Fault::ReadOnlyFiles, Fault::ReadOnlyFilesOwnRights})
      for (int i = 0; i < 4; ++i) cases.push_back({f, i});
    for (const Case& c : cases) {
      SCOPED_TRACE(w.name + " fault " + std::to_string(static_cast<int>(c.fault)) + " file " +
                   std::to_string(c.readOnlyFile));
      QTemporaryDir dir;
      const QString root = dir.path() + "/";
      QDir().mkpath(root + "out");
      VeklaState s;
      s.programDir = root;
      s.adresar1 = root + "out/";
      s.gradesIniLoaded = true;
      InitControls(s);
      s.kind = w.kind;
      SetupTab(s, w.kind);
      s.EditN = KindPrefix(w.kind) + "A";
      Fill(s, cp("Téma s dlouhým názvem hodiny číslo "));
      IntoFolder p(root + "out/");
      ASSERT_EQ(RunCommand(s, p, [&] { return w.write(s, p); }), Outcome::Done);
      ASSERT_TRUE(p.errors.empty()) << toUtf8(p.errors.front());
      // The next write would change every file.
      Fill(s, cp("Jiné téma, ještě delší než to první, číslo "));
      // The store as the next command would find it, on the disk too.
      FlushGradesIni(s);
      const std::map<QString, std::string> before = Tree(root, w);
      ASSERT_FALSE(before.empty());
      if (c.readOnlyFile >= static_cast<int>(before.size())) continue;

      if (c.fault == Fault::ReadOnlyFiles || c.fault == Fault::ReadOnlyFilesOwnRights) {
        SetModes(root, kReadable | QFileDevice::WriteOwner | QFileDevice::WriteOther, kAll);
        QFile::setPermissions(root + std::next(before.begin(), c.readOnlyFile)->first, kReadable);
      }
      if (c.fault == Fault::ReadOnlyFolders) SetModes(root, kReadable, kFolderReadOnly);
      const std::string errors = WriteUnder(c.fault, w, s, p, p.errors);
      SetModes(root, QFileDevice::ReadOwner | QFileDevice::WriteOwner, kAll);

      // One clear message in Czech, and nothing changed on the disk.
      EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << toUtf8(errors);
      EXPECT_NE(errors.find(cp("nelze")), std::string::npos) << toUtf8(errors);
      EXPECT_EQ(Changes(before, Tree(root, w)), "");
    }
  }
}

// A topic plan whose cells the checks let through, but whose database
// would be larger than the reader reads (a 16.6 MB CSV file gives one of
// 16.8 MB): the save says so in the reader's terms and replaces nothing.
TEST(Faults, ADatabaseTooLargeToOpenAgainIsNotSaved) {
  QTemporaryDir dir;
  const QString root = dir.path() + "/";
  VeklaState s;
  s.programDir = root;
  s.adresar1 = root;
  InitControls(s);
  s.kind = DbKind::Rozpisy;
  SetupTab(s, DbKind::Rozpisy);
  s.EditN = "Rozpisy-F";
  // Two full text columns of 255 letters in 33 000 topics.
  const std::string topic(255, 't');
  s.grid.setRowCount(33001);
  for (int r = 1; r < s.grid.rowCount(); ++r) {
    s.grid.setText(2, r, topic);
    s.grid.setText(4, r, topic);
  }
  const QString file = root + "Rozpisy-F.PDB";
  WriteBytes(file, "the plan saved before");
  IntoFolder p(root);
  EXPECT_EQ(RunCommand(s, p, [&] { return UlozClick(s, p); }), Outcome::Failed);
  ASSERT_EQ(p.errors.size(), 1u);
  EXPECT_EQ(p.errors[0].rfind(cp("Soubor \"") + NativePath(file) + cp("\" nelze zapsat: měl by 17 "), 0), 0u)
      << toUtf8(p.errors[0]);
  EXPECT_NE(p.errors[0].find(cp(" bajtů, načíst lze nejvýše 16 777 216 bajtů (16 MB).")), std::string::npos);
  EXPECT_EQ(ReadBytes(file), "the plan saved before");
  EXPECT_EQ(QDir(root).entryList(QDir::Files | QDir::Hidden), QStringList{"Rozpisy-F.PDB"});
}

}  // namespace
