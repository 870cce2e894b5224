#pragma once
// Printed pages: A4, a header with the class or plan name, the semester and
// the date of printing, "strana N z M" in the footer. A document is laid out
// as a whole before its first page is drawn, so every page knows the count;
// it draws on any paged device: the PDF writer, a printer, the print preview.
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <string>

#include "print/ink.h"
#include "workspace/state.h"

class QPagedPaintDevice;

namespace vekla {

// What the header of every page says.
struct PageFrame {
  QString title;     // the class or plan, on the left
  QString semester;  // in the middle
  QString printed;   // the date of printing, on the right
};

// The frame of a tab: its kind and name, the semester shown (the grade book)
// or the one the clock is in (the other kinds), and today by the program's
// clock.
PageFrame FrameOf(const VeklaState& s);
// The database name without the kind's prefix ("7A" of "Znamky-7A"), the
// whole name when nothing else is left.
std::string ClassName(const VeklaState& s);
// A grid's column title without the mark of a sorted column ("+ ", "- ").
std::string PlainTitle(const std::string& title);

class PrintDocument {
 public:
  explicit PrintDocument(PageFrame frame) : frame_(std::move(frame)) {}
  virtual ~PrintDocument() = default;

  const PageFrame& frame() const { return frame_; }
  // Chooses the orientation and splits the content into pages, measuring
  // with `ink`. Runs before any page is drawn.
  virtual void layout(const Ink& ink) = 0;
  virtual QPageLayout::Orientation orientation() const = 0;
  virtual int pageCount() const = 0;
  // Draws page `page` (from 0) into `area`, the room between the header and
  // the footer (points, from the page's printable corner).
  virtual void paintPage(const Ink& ink, int page, const QRectF& area) const = 0;
  // The height of the legend above the footer of every page, and the legend.
  virtual double legendHeight() const { return 0; }
  virtual void paintLegend(const Ink&, const QRectF&) const {}

  // The printable part of an A4 page in points, and the room for a page's
  // content inside it (the header, the legend and the footer taken off).
  static QSizeF PrintableSize(QPageLayout::Orientation o);
  QSizeF contentSize(QPageLayout::Orientation o) const;
  // Where the content starts below the printable corner.
  static constexpr double kHeaderHeight = 24;
  static constexpr double kFooterHeight = 16;
  static constexpr double kMarginMm = 12;

 private:
  PageFrame frame_;
};

// Lays the document out and draws its pages `fromPage` to `toPage` (from
// 1; 0 for the last) on `device`, A4 in the document's orientation. False
// when the device cannot be painted on.
bool PrintOn(PrintDocument& doc, QPagedPaintDevice& device, int fromPage = 1, int toPage = 0);
// The document as a PDF file.
std::string PdfBytes(PrintDocument& doc);

}  // namespace vekla
