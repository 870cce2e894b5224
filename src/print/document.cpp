#include "print/document.h"

#include <QBuffer>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "pdb/clock.h"
#include "pdb/text.h"
#include "workspace/kindparams.h"
#include "workspace/setup.h"

namespace vekla {

namespace {

constexpr double kMillimetre = 72 / 25.4;
const QColor kRule(0x80, 0x80, 0x80);

void PaintFrame(const Ink& ink, const PrintDocument& doc, int page, QSizeF printable) {
  const PageFrame& f = doc.frame();
  const double w = printable.width();
  const QRectF top(0, 0, w, 16);
  // The date and the semester take what they need, the title the rest; the
  // semester stands in the middle when there is room for it there.
  const QFont title = ink.font(11, true), middle = ink.font(9), small = ink.font(8);
  const double dateWidth = ink.width(small, f.printed) + 2, semesterWidth = ink.width(middle, f.semester) + 2;
  ink.text(QRectF(w - dateWidth, 0, dateWidth, 16), Qt::AlignRight, f.printed, small, Qt::black);
  double semesterLeft = (w - semesterWidth) / 2;
  const double titleWidth = ink.width(title, f.title) + 12;
  if (semesterLeft < titleWidth) semesterLeft = std::min(titleWidth, w - dateWidth - semesterWidth - 12);
  ink.text(QRectF(semesterLeft, 0, semesterWidth, 16), Qt::AlignLeft, f.semester, middle, Qt::black);
  ink.text(QRectF(0, 0, semesterLeft - 12, 16), Qt::AlignLeft, f.title, title, Qt::black);
  ink.line(QPointF(0, top.bottom() + 2), QPointF(w, top.bottom() + 2), 0.5, kRule);

  const double bottom = printable.height();
  ink.line(QPointF(0, bottom - PrintDocument::kFooterHeight + 3), QPointF(w, bottom - PrintDocument::kFooterHeight + 3),
           0.5, kRule);
  const QString number = QStringLiteral("strana %1 z %2").arg(page + 1).arg(doc.pageCount());
  ink.text(QRectF(0, bottom - 12, w, 12), Qt::AlignHCenter, number, small, Qt::black);
}

}  // namespace

std::string ClassName(const VeklaState& s) {
  const std::string name = s.EditN.empty() ? KindPrefix(s.kind) : s.EditN;
  const std::string prefix = KindPrefix(s.kind);
  if (name.size() > prefix.size() && lowerCp(name.substr(0, prefix.size())) == lowerCp(prefix))
    return name.substr(prefix.size());
  return lowerCp(name) == lowerCp(prefix) ? std::string() : name;
}

std::string PlainTitle(const std::string& title) {
  if (title.size() >= 2 && (title[0] == '+' || title[0] == '-') && title[1] == ' ') return title.substr(2);
  return title;
}

PageFrame FrameOf(const VeklaState& s) {
  const std::string name = ClassName(s);
  PageFrame f;
  f.title = toQt(KindTabCaption(s.kind) + (name.empty() ? std::string() : ": " + name));
  const QDate today = Now().date();
  f.semester =
      toQt(Params(s.kind).semesterStore && !s.semesterText.empty() ? s.semesterText : SemesterLabelOf(today));
  f.printed = QStringLiteral("Vytištěno ") + today.toString(QStringLiteral("dd.MM.yyyy"));
  return f;
}

QSizeF PrintDocument::PrintableSize(QPageLayout::Orientation o) {
  const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Point);
  const double margin = 2 * kMarginMm * kMillimetre;
  const QSizeF portrait(a4.width() - margin, a4.height() - margin);
  return o == QPageLayout::Portrait ? portrait : portrait.transposed();
}

QSizeF PrintDocument::contentSize(QPageLayout::Orientation o) const {
  const QSizeF p = PrintableSize(o);
  return {p.width(), p.height() - kHeaderHeight - kFooterHeight - legendHeight()};
}

bool PrintOn(PrintDocument& doc, QPagedPaintDevice& device, int fromPage, int toPage) {
  doc.layout(Ink(&device));
  const QPageLayout::Orientation o = doc.orientation();
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), o,
                                   QMarginsF(PrintDocument::kMarginMm, PrintDocument::kMarginMm,
                                             PrintDocument::kMarginMm, PrintDocument::kMarginMm),
                                   QPageLayout::Millimeter));
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  const Ink ink(&device, &painter);
  const QSizeF printable = PrintDocument::PrintableSize(o);
  const QSizeF content = doc.contentSize(o);
  const int first = std::max(1, fromPage), last = toPage > 0 ? std::min(toPage, doc.pageCount()) : doc.pageCount();
  for (int page = first - 1; page < last; ++page) {
    if (page > first - 1) device.newPage();
    PaintFrame(ink, doc, page, printable);
    const QRectF area(0, PrintDocument::kHeaderHeight, content.width(), content.height());
    doc.paintPage(ink, page, area);
    if (doc.legendHeight() > 0) doc.paintLegend(ink, QRectF(0, area.bottom(), content.width(), doc.legendHeight()));
  }
  return painter.end();
}

std::string PdfBytes(PrintDocument& doc) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("Vekla"));
    writer.setTitle(doc.frame().title);
    PrintOn(doc, writer);
  }
  return buffer.data().toStdString();
}

}  // namespace vekla
