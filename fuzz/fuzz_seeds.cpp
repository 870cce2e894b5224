// Writes the seed inputs of every fuzz target, made by the program itself:
// databases of each kind as the save commands write them, CSV files as the
// exports write them, and typical cell texts.
//
//   fuzz_seeds DIR    makes DIR/container, DIR/open, DIR/csv, DIR/checkcell,
//                     DIR/export
#include <QDir>
#include <QFile>
#include <cstdio>
#include <string>

#include "commands/kindtable.h"
#include "convert/csv.h"
#include "fuzz/fuzzstate.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "tests/support/scriptedprompter.h"
#include "workspace/gradestats.h"
#include "workspace/kindparams.h"

using namespace vekla;

namespace {

class SaveTo : public test::ScriptedPrompter {
 public:
  explicit SaveTo(QString path) : path_(std::move(path)) {}
  std::optional<QString> saveFile(const FileDialogRequest&) override { return path_; }

 private:
  QString path_;
};

void Write(const QString& path, const std::string& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A tab of the kind with a few texts of the kind's own.
VeklaState Sample(DbKind kind) {
  VeklaState s = fuzz::FreshTab(kind);
  CellGrid& g = s.grid;
  switch (kind) {
    case DbKind::Znamky:
      g.setText(1, 4, "1");
      g.setText(2, 4, cp("Adámková Eva"));
      g.setText(3, 1, "2.9");
      g.setText(3, 2, "08:00");
      g.setText(3, 3, "08:45");
      g.setText(3, 4, "1-");
      g.setFontColor(3, 4, s.weights[0].color);
      ComputeStatistics(s);
      break;
    case DbKind::Rozpisy:
      for (int c = 1; c <= 8; ++c) g.setText(c, 1, c == 2 ? cp("Úvod") : c == 3 ? "1.9.2025" : "1");
      break;
    case DbKind::Rozvrh:
      g.setText(1, 1, "7A");
      g.setText(2, 2, "08:00");
      g.setText(2, 4, cp("Čj"));
      break;
    case DbKind::Kalendar: g.setText(1, 1, cp("Nový rok")); break;
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  for (const char* sub : {"container", "open", "csv", "checkcell", "export"}) QDir().mkpath(dir + "/" + sub);
  for (DbKind kind : kAllKinds) {
    const std::string tag(1, static_cast<char>(kind));
    VeklaState s = Sample(kind);
    const QString name = QString::fromStdString(KindPrefix(kind)) + "seed";
    const QString db = fuzz::Folder() + name + ".PDB";
    SaveTo p(db);
    if (KindTable(kind).save(s, p) != Outcome::Done) return 1;
    const std::string bytes = ReadWholeFile(db);
    Write(dir + "/container/" + name, bytes);
    Write(dir + "/open/" + name, tag + bytes);
    // The exports' seeds: the database under the default display options,
    // under all of them and under Zvlast alone, and a database whose texts
    // and name hold what pages and scripts quote.
    for (int options : {0x18, 0x3C, 0x20})
      Write(dir + "/export/" + name + QString::number(options),
            std::string(1, static_cast<char>(static_cast<int>(kind) | options)) + bytes);
    VeklaState hostile = Sample(kind);
    hostile.EditN = cp("x'`#<\\Č");
    for (int r = 1; r < hostile.grid.rowCount() && r < 6; ++r)
      for (int c = 1; c < hostile.grid.colCount() && c < 4; ++c)
        if (hostile.grid.text(c, r).empty()) hostile.grid.setText(c, r, "<b>&amp;'\\\"#");
    const QString hostileDb = fuzz::Folder() + name + "hostile.PDB";
    SaveTo q(hostileDb);
    if (KindTable(kind).save(hostile, q) != Outcome::Done) return 1;
    Write(dir + "/export/" + name + "hostile",
          std::string(1, static_cast<char>(static_cast<int>(kind) | 0x18)) + ReadWholeFile(hostileDb));
    const ExportFiles csv = KindTable(kind).exporter(Conversion::ExportCsv)(s, {});
    for (std::size_t i = 0; i < csv.size(); ++i)
      Write(dir + "/csv/" + name + QString::number(i),
            std::string(1, static_cast<char>(kind) | (i ? 4 : 0)) + csv[i].bytes);
  }
  const char* texts[] = {"1 ", "1-",  "5*",          "08:00", "8:5", "24:60",  "1.9",      "31.2.2005", "1,25",
                         ",",  "007", "99999999999", "abc",   "",    "  Úvod", "Nový rok", "\t\r\n",    "-1"};
  int n = 0;
  for (int kind = 0; kind < 4; ++kind)
    for (const char* t : texts)
      for (int cell : {0x0103, 0x0204, 0x0301}) {
        std::string in{static_cast<char>(kind), static_cast<char>(cell >> 8), static_cast<char>(cell & 0xFF)};
        Write(dir + "/checkcell/" + QString::number(n++), in + cp(t));
      }
  return 0;
}
