#pragma once
// A PDF as a reader sees it, through poppler's tools (Debian poppler-utils):
// the page count and size, the text of a page, a page as a picture, the
// fonts. A real part: the tests that use it require it (realparts.h).
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vekla::test {

inline bool PopplerPresent() {
  for (const char* tool : {"pdfinfo", "pdftotext", "pdftoppm", "pdffonts"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
  return true;
}

// What a tool writes to its standard output; empty when it fails.
inline QString PopplerRun(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

// A line of pdfinfo ("Pages", "Page size").
inline QString PdfInfo(const QString& pdf, const QString& key) {
  for (const QString& line : PopplerRun(QStringLiteral("pdfinfo"), {pdf}).split('\n'))
    if (line.startsWith(key + ':')) return line.mid(key.size() + 1).trimmed();
  return {};
}

inline int PdfPages(const QString& pdf) { return PdfInfo(pdf, QStringLiteral("Pages")).toInt(); }

// Whether the first page lies across ("842 x 595 pts (A4)").
inline bool PdfLandscape(const QString& pdf) {
  return PdfInfo(pdf, QStringLiteral("Page size")).startsWith(QStringLiteral("842"));
}

// The text of page `page` (from 1), laid out as on the page: a row of a
// table is one line.
inline QString PdfText(const QString& pdf, int page) {
  const QString n = QString::number(page);
  return PopplerRun(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), n,
                                                  QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
}

// Page `page` rendered at `dpi` dots an inch.
inline QImage PdfPicture(const QString& pdf, int page, int dpi) {
  QTemporaryDir dir;
  const QString n = QString::number(page), stem = QDir(dir.path()).filePath(QStringLiteral("page"));
  PopplerRun(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-r"),
                                          QString::number(dpi), QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf,
                                          stem});
  return QImage(stem + QStringLiteral(".png"));
}

// The fonts of the file, one "name type embedded" line each.
inline QString PdfFonts(const QString& pdf) { return PopplerRun(QStringLiteral("pdffonts"), {pdf}); }

}  // namespace vekla::test
