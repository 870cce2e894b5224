// The HTML pages in a real browser: vekla-convert writes them, headless
// Chromium renders them, and known cells show the grid's colours on screen,
// so the style sheets are found and their class names match the page.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/bytes.h"
#include "support/process.h"

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
    ASSERT_TRUE(QFile::exists(kChromium)) << "Chromium is missing: scripts/setup --test installs it";
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
  // just within the border.
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
  document.getElementById('r').textContent = out.join('\n');
});</script></body></html>)")
                             .arg(page)
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

  QProcessEnvironment environment() const { return TestEnvironment(dir_.path()); }

  const QString kChromium = QStringLiteral("/usr/bin/chromium");
  QTemporaryDir dir_;
};

// Lesson blocks in their colours; the header cells in the fixed silver.
TEST_F(HtmlBrowserTest, TimetableBlocksShowTheirColours) {
  std::vector<std::string> records = {body({"0", "2", "1", "0", "ffffff"}), body({"", "0800", "0855"}),
                                      body({"7.A", "0845", "0940"}), body({"", "1", "2"}),
                                      body({"Pon", "ff0000", "3366cc"})};
  for (const char* day : {"Ute", "Str", "Ctv", "Pat"}) records.push_back(body({day, "ffffff", "ffff99"}));
  records.push_back(body({"Sob"}));
  records.push_back(body({"Ned"}));
  for (int r = 12; r <= 39; ++r) records.push_back(r == 12 ? body({".", cp("Čj"), "M"}) : body({"."}));
  WriteFileAtomic(path("Vekla-7A.PDB"), pdbBytes("Vekla-7A", "data", "TqbK", 0, 0, records));
  convert({"Vekla-7A.PDB", "web/"});
  expectColours(path("web/vekla-7a.html"), {{1, 1, qRgb(0xFF, 0, 0)},
                                            {1, 2, qRgb(0x33, 0x66, 0xCC)},
                                            {2, 2, qRgb(0xFF, 0xFF, 0x99)},
                                            {0, 1, qRgb(0xC0, 0xC0, 0xC0)}});
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
