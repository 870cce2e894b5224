// The HTML pages in a real browser: vekla-convert writes them, headless
// Chromium renders them, and known cells show the grid's colours on screen,
// so the style sheets are found and their class names match the page; the
// page has the layout of its shared style sheet (the table's border, the
// centred lesson numbers or titles, the large heading).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <cmath>
#include <vector>

#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/bytes.h"
#include "support/process.h"
#include "support/realparts.h"

using namespace vekla;
using namespace vekla::test;

namespace {

constexpr int kWidth = 800, kHeight = 600;

// A cell of the page (its row and column among the <tr> and <td> of the
// page) and the background it must show.
struct Probe {
  int row, col;
  QRgb colour;
};

std::string Hex(QRgb c) { return QString::number(c & 0xFFFFFF, 16).rightJustified(6, '0').toStdString(); }

class HtmlBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    VEKLA_REQUIRE_REAL_PART(QFile::exists(kChromium), "Chromium");
  }

  QString path(const QString& name) const { return dir_.filePath(name); }

  // The converter with HOME in the temporary folder, as in test_convert.
  void convert(const QStringList& args) const {
    const Result r = RunIn(dir_.path(), QStringLiteral(VEKLA_CONVERT_BIN), args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  }

  // Headless Chromium on a page of the folder, in a profile of its own,
  // killed when it does not finish in time.
  QByteArray browse(const QString& page, const QStringList& what) const {
    QTemporaryDir profile;
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(kChromium,
            QStringList{"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                        "--disable-background-networking", "--disable-component-update", "--disable-sync",
                        "--disable-dev-shm-usage", "--user-data-dir=" + profile.path(),
                        "--allow-file-access-from-files", "--hide-scrollbars", "--force-device-scale-factor=1",
                        "--force-color-profile=srgb", QString("--window-size=%1,%2").arg(kWidth).arg(kHeight)} +
                what + QStringList{"file://" + page});
    if (!p.waitForFinished(20000)) {
      p.kill();
      p.waitForFinished(5000);
      ADD_FAILURE() << "Chromium did not finish in 20 s";
      return {};
    }
    return p.readAllStandardOutput();
  }

  // Shows `page` in a frame of a probe page of our own that lists, for
  // each probe, the cell's place and computed background, and reads each
  // cell's colour on a screenshot of the probe page, inside its padding
  // just within the border. The probe also lists the layout the shared
  // style sheet gives: the table's border, a centred block, the heading's
  // size.
  void expectColours(const QString& page, const std::vector<Probe>& probes) {
    QString cells;
    for (const Probe& p : probes) cells += QString("[%1,%2],").arg(p.row).arg(p.col);
    const QString probe = path("probe.html");
    const QString html = QString(R"(<!DOCTYPE html><html><head><style>
html, body { margin: 0; padding: 0 } iframe { border: 0; display: block }</style></head>
<body><iframe id="f" src="%1" width="%2" height="%3"></iframe><pre id="r">none</pre><script>
window.addEventListener('load', function () {
  var rows = document.getElementById('f').contentDocument.getElementsByTagName('tr'), out = [];
  [%4].forEach(function (p) {
    var td = rows[p[0]].cells[p[1]], b = td.getBoundingClientRect();
    out.push('cell ' + getComputedStyle(td).backgroundColor + ' ' + b.left + ' ' + b.top);
  });
  var d = document.getElementById('f').contentDocument, style = function (s) {
    var e = d.querySelector(s); return e ? getComputedStyle(e) : {};
  };
  out.push('layout ' + style('table').borderTopWidth + ' ' + style('.stred').textAlign + ' ' +
           style('.nadpis').fontSize);
  document.getElementById('r').textContent = out.join('\n');
});</script></body></html>)")
                             .arg(QString::fromUtf8(QUrl::fromLocalFile(page).toEncoded()))
                             .arg(kWidth)
                             .arg(kHeight)
                             .arg(cells);
    WriteFileAtomic(probe, html.toStdString());
    // One run gives both: the document after the probe ran, and the screen.
    const QString shot = path("shot.png");
    const QString dom = QString::fromUtf8(browse(probe, {"--dump-dom", "--screenshot=" + shot}));
    const QRegularExpression line(R"(cell rgba?\((\d+), (\d+), (\d+)(?:, [\d.]+)?\) ([\d.]+) ([\d.]+))");
    std::vector<QRegularExpressionMatch> found;
    for (auto it = line.globalMatch(dom); it.hasNext();) found.push_back(it.next());
    ASSERT_EQ(found.size(), probes.size()) << dom.toStdString();
    EXPECT_TRUE(dom.contains("layout 1px center 24px")) << dom.toStdString();
    const QImage image(shot);
    ASSERT_EQ(image.size(), QSize(kWidth, kHeight));
    for (std::size_t i = 0; i < probes.size(); ++i) {
      const QRegularExpressionMatch& m = found[i];
      SCOPED_TRACE(QString("row %1 cell %2").arg(probes[i].row).arg(probes[i].col).toStdString());
      EXPECT_EQ(Hex(qRgb(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt())), Hex(probes[i].colour));
      const int x = static_cast<int>(std::floor(m.captured(4).toDouble())) + 3;
      const int y = static_cast<int>(std::floor(m.captured(5).toDouble())) + 3;
      EXPECT_EQ(Hex(image.pixel(x, y)), Hex(probes[i].colour)) << "at " << x << "," << y;
    }
  }

  // A timetable database of two lessons named `name`: Monday's blocks in
  // the colours `first` and `second`, the other days' in white and `rest`.
  void writeTimetable(const QString& file, const std::string& name, const char* first, const char* second,
                      const char* rest) const {
    std::vector<std::string> records = {body({"0", "2", "1", "0", "ffffff"}), body({"", "0800", "0855"}),
                                        body({"7.A", "0845", "0940"}), body({"", "1", "2"}),
                                        body({"Pon", first, second})};
    for (const char* day : {"Ute", "Str", "Ctv", "Pat"}) records.push_back(body({day, "ffffff", rest}));
    records.push_back(body({"Sob"}));
    records.push_back(body({"Ned"}));
    for (int r = 12; r <= 39; ++r) records.push_back(r == 12 ? body({".", cp("Čj"), "M"}) : body({"."}));
    WriteFileAtomic(path(file), pdbBytes(name, "data", "TqbK", 0, 0, records));
  }
  // The probes of a page of writeTimetable.
  static std::vector<Probe> timetableProbes(QRgb first, QRgb second, QRgb rest) {
    return {{1, 1, first}, {1, 2, second}, {2, 2, rest}, {0, 1, qRgb(0xC0, 0xC0, 0xC0)}};
  }
  QStringList pages(const char* folder) const {
    return QDir(path(folder)).entryList({"*.html"}, QDir::Files, QDir::Name);
  }

  QProcessEnvironment environment() const { return TestEnvironment(dir_.path()); }

  const QString kChromium = QStringLiteral("/usr/bin/chromium");
  QTemporaryDir dir_;
};

// Lesson blocks in their colours; the header cells in the fixed silver.
TEST_F(HtmlBrowserTest, TimetableBlocksShowTheirColours) {
  writeTimetable("Vekla-7A.PDB", "Vekla-7A", "ff0000", "3366cc", "ffff99");
  convert({"Vekla-7A.PDB", "web/"});
  expectColours(path("web/vekla-7a.html"),
                timetableProbes(qRgb(0xFF, 0, 0), qRgb(0x33, 0x66, 0xCC), qRgb(0xFF, 0xFF, 0x99)));
}

// A timetable named "Rozvrh" and another one in one folder: each keeps its
// colours and both keep the layout of the shared style sheet, whichever
// was exported last.
TEST_F(HtmlBrowserTest, ATimetableNamedRozvrhKeepsItsFolderIntact) {
  writeTimetable("Vekla-7A.PDB", "Vekla-7A", "ff0000", "3366cc", "ffff99");
  writeTimetable("Rozvrh.PDB", "Rozvrh", "00ff00", "ff00ff", "99ffff");
  convert({"Vekla-7A.PDB", "web/"});
  convert({"Rozvrh.PDB", "web/"});
  ASSERT_EQ(pages("web"), QStringList({"rozvrh.html", "vekla-7a.html"}));
  expectColours(path("web/vekla-7a.html"),
                timetableProbes(qRgb(0xFF, 0, 0), qRgb(0x33, 0x66, 0xCC), qRgb(0xFF, 0xFF, 0x99)));
  expectColours(path("web/rozvrh.html"),
                timetableProbes(qRgb(0, 0xFF, 0), qRgb(0xFF, 0, 0xFF), qRgb(0x99, 0xFF, 0xFF)));
}

// A "#" in the name: the page still finds its colour style sheet.
TEST_F(HtmlBrowserTest, AHashInTheNameKeepsTheColours) {
  writeTimetable("hash.PDB", "Vekla-7#A", "ff0000", "3366cc", "ffff99");
  convert({"hash.PDB", "web/"});
  const QStringList found = pages("web");
  ASSERT_EQ(found.size(), 1);
  expectColours(path("web/") + found[0],
                timetableProbes(qRgb(0xFF, 0, 0), qRgb(0x33, 0x66, 0xCC), qRgb(0xFF, 0xFF, 0x99)));
}

// A student's number and average in the band of the average (1,000 and
// 2,750), a grade column's average in its own band (1,750), the even row's
// stripe.
TEST_F(HtmlBrowserTest, GradeBookShowsTheBandColours) {
  WriteFileAtomic(path("Znamky-7A.csv"), cp("Pořadí;Jméno;1;2;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n"
                                            ";;1.9;2.9\r\n;;08:00;08:00\r\n;;08:45;08:45\r\n"
                                            "1;Novák Jan;1 ;1 ;;;;0\r\n2;Zeman Petr;3 ;2-;;;;0\r\n"));
  convert({"--kind", "znamky", "Znamky-7A.csv", "web/"});
  expectColours(path("web/znamky-7a_0110.html"), {{1, 0, qRgb(0, 0, 0xFF)},
                                                  {1, 4, qRgb(0, 0, 0xFF)},
                                                  {2, 0, qRgb(0xFF, 0x99, 0x99)},
                                                  {3, 2, qRgb(0xEE, 0xEE, 0xEE)},
                                                  {2, 1, qRgb(0xEF, 0xFF, 0xFF)}});
}

}  // namespace
