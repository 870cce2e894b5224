// The only file that includes libxlsxwriter. The library writes a workbook
// to a file name only: the workbook goes to a private temporary file, which
// is read back and removed; the command writes the bytes where they belong.
#include "convert/xlsx.h"

#include <dlfcn.h>
#include <xlsxwriter.h>
#include <zlib.h>

#include <QDir>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>

#include "pdb/error.h"
#include "pdb/savefile.h"
#include "pdb/text.h"

// The library compresses the parts of a workbook at zlib's default level,
// which takes most of the time of a large workbook; the fastest level makes
// a file a fifth larger in a quarter of the time. The library offers no
// setting for it, so the call that starts each compression is met here
// first and passed on with the fastest level.
extern "C" int deflateInit2_(z_streamp strm, int level, int method, int windowBits, int memLevel, int strategy,
                             const char* version, int streamSize) {
  (void)level;
  using Init = int (*)(z_streamp, int, int, int, int, int, const char*, int);
  static const Init next = reinterpret_cast<Init>(dlsym(RTLD_NEXT, "deflateInit2_"));
  if (!next) return Z_VERSION_ERROR;
  return next(strm, Z_BEST_SPEED, method, windowBits, memLevel, strategy, version, streamSize);
}

namespace vekla {

namespace {

// Everything of a cell's look that makes a format of its own.
struct Look {
  NumberFormat format;
  bool hasInterior;
  Color interior;
  Color fontColor;
  bool bold;
  std::uint8_t fontSize, horizontal, vertical;
  SheetBorder left, right, top, bottom;

  static Look of(const SheetCell& c) {
    return {c.format,     c.hasInterior, c.interior, c.fontColor, c.bold, c.fontSize,
            c.horizontal, c.vertical,    c.left,     c.right,     c.top,  c.bottom};
  }
  auto key() const {
    auto b = [](const SheetBorder& x) { return (x.lineStyle << 16) | (x.weight << 8) | x.colorIndex; };
    return std::make_tuple(format, hasInterior, interior, fontColor, bold, fontSize, horizontal, vertical, b(left),
                           b(right), b(top), b(bottom));
  }
  bool operator<(const Look& o) const { return key() < o.key(); }
  bool plain() const { return !(*this < Look::of(SheetCell{})) && !(Look::of(SheetCell{}) < *this); }
};

lxw_color_t Rgb(Color c) { return static_cast<lxw_color_t>((redOf(c) << 16) | (greenOf(c) << 8) | blueOf(c)); }

std::uint8_t BorderStyle(const SheetBorder& b) {
  if (b.lineStyle == 0) return LXW_BORDER_NONE;
  switch (b.weight) {
    case 1: return LXW_BORDER_HAIR;
    case 3: return LXW_BORDER_MEDIUM;
    case 4: return LXW_BORDER_THICK;
    default: return LXW_BORDER_THIN;
  }
}

// The colours of the first indexes of the standard palette.
lxw_color_t IndexColor(std::uint8_t index) {
  switch (index) {
    case 2: return 0xFFFFFF;
    case 3: return 0xFF0000;
    case 4: return 0x00FF00;
    case 5: return 0x0000FF;
    default: return 0x000000;
  }
}

class Formats {
 public:
  explicit Formats(lxw_workbook* wb) : wb_(wb) {}

  lxw_format* operator()(const SheetCell& c) {
    const Look look = Look::of(c);
    if (look.plain()) return nullptr;
    auto [it, added] = formats_.try_emplace(look, nullptr);
    if (added) it->second = make(look);
    return it->second;
  }

 private:
  lxw_format* make(const Look& l) {
    lxw_format* f = workbook_add_format(wb_);
    switch (l.format) {
      case NumberFormat::General: break;
      case NumberFormat::Text: format_set_num_format(f, "@"); break;
      case NumberFormat::ThreeDigits: format_set_num_format(f, "0.000"); break;
      case NumberFormat::DayMonth: format_set_num_format(f, "d/m;@"); break;
    }
    if (l.hasInterior) {
      format_set_pattern(f, LXW_PATTERN_SOLID);
      format_set_bg_color(f, Rgb(l.interior));
    }
    if (l.fontColor != kBlack) format_set_font_color(f, Rgb(l.fontColor));
    if (l.bold) format_set_bold(f);
    if (l.fontSize != 11) format_set_font_size(f, l.fontSize);
    switch (l.horizontal) {
      case 2: format_set_align(f, LXW_ALIGN_LEFT); break;
      case 3: format_set_align(f, LXW_ALIGN_CENTER); break;
      case 4: format_set_align(f, LXW_ALIGN_RIGHT); break;
      default: break;
    }
    switch (l.vertical) {
      case 1: format_set_align(f, LXW_ALIGN_VERTICAL_TOP); break;
      case 2: format_set_align(f, LXW_ALIGN_VERTICAL_CENTER); break;
      default: break;
    }
    const std::pair<const SheetBorder*, void (*)(lxw_format*, uint8_t)> styles[] = {{&l.left, format_set_left},
                                                                                    {&l.right, format_set_right},
                                                                                    {&l.top, format_set_top},
                                                                                    {&l.bottom, format_set_bottom}};
    const std::pair<const SheetBorder*, void (*)(lxw_format*, lxw_color_t)> colors[] = {
        {&l.left, format_set_left_color},
        {&l.right, format_set_right_color},
        {&l.top, format_set_top_color},
        {&l.bottom, format_set_bottom_color}};
    for (const auto& [b, set] : styles)
      if (b->lineStyle) set(f, BorderStyle(*b));
    for (const auto& [b, set] : colors)
      if (b->lineStyle && IndexColor(b->colorIndex) != 0) set(f, IndexColor(b->colorIndex));
    return f;
  }

  lxw_workbook* wb_;
  std::map<Look, lxw_format*> formats_;
};

// The number a text stands for, when the whole text is one.
bool Number(const std::string& text, double& value) {
  if (text.empty() || text.size() > 40) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && text.find_first_of("xXpPnNiI") == std::string::npos;
}

bool WholeNumber(const std::string& text, double& value) {
  if (text.empty() || text.size() > 9 || (text[0] == '0' && text.size() > 1)) return false;
  for (char ch : text)
    if (ch < '0' || ch > '9') return false;
  value = std::atof(text.c_str());
  return true;
}

// "29.2." or "29.2".
bool DayAndMonth(std::string text, lxw_datetime& d) {
  if (!text.empty() && text.back() == '.') text.pop_back();
  const std::size_t dot = text.find('.');
  if (dot == std::string::npos || dot == 0 || dot > 2 || text.size() - dot - 1 < 1 || text.size() - dot - 1 > 2)
    return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (i != dot && (text[i] < '0' || text[i] > '9')) return false;
  const int day = std::atoi(text.substr(0, dot).c_str()), month = std::atoi(text.substr(dot + 1).c_str());
  static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  d = {2024, month, day, 0, 0, 0};
  return true;
}

void Check(lxw_error e) {
  if (e != LXW_NO_ERROR) throw VeklaError(cp("Sešit Excel nelze vytvořit: ") + lxw_strerror(e) + ".");
}

void WriteCell(lxw_worksheet* ws, int row, int col, const SheetCell& c, lxw_format* f) {
  const auto r = static_cast<lxw_row_t>(row - 1);
  const auto k = static_cast<lxw_col_t>(col - 1);
  if (c.value.empty()) {
    if (f) Check(worksheet_write_blank(ws, r, k, f));
    return;
  }
  double number = 0;
  lxw_datetime day{};
  switch (c.format) {
    case NumberFormat::ThreeDigits:
      if (Number(c.value, number)) return Check(worksheet_write_number(ws, r, k, number, f));
      break;
    case NumberFormat::DayMonth:
      if (DayAndMonth(c.value, day)) return Check(worksheet_write_datetime(ws, r, k, &day, f));
      break;
    case NumberFormat::General:
      if (WholeNumber(c.value, number)) return Check(worksheet_write_number(ws, r, k, number, f));
      break;
    case NumberFormat::Text: break;
  }
  Check(worksheet_write_string(ws, r, k, toUtf8(c.value).c_str(), f));
}

}  // namespace

std::string WriteXlsx(Sheet sheet) {
  QTemporaryFile file(QDir::tempPath() + "/vekla-XXXXXX.xlsx");
  if (!file.open()) throw VeklaError(cp("Sešit Excel nelze vytvořit: dočasný soubor nelze založit."));
  const QByteArray name = QFile::encodeName(file.fileName());
  file.close();

  lxw_workbook* wb = workbook_new(name.constData());
  if (!wb) throw VeklaError(cp("Sešit Excel nelze vytvořit."));
  try {
    lxw_worksheet* ws = workbook_add_worksheet(wb, "List1");
    Formats formats(wb);
    for (const SheetArea& m : sheet.merges()) {
      const SheetCell& first = sheet.cell(m.row1, m.col1);
      Check(worksheet_merge_range(ws, static_cast<lxw_row_t>(m.row1 - 1), static_cast<lxw_col_t>(m.col1 - 1),
                                  static_cast<lxw_row_t>(m.row2 - 1), static_cast<lxw_col_t>(m.col2 - 1), "",
                                  formats(first)));
    }
    // Row heights and column widths first: the rows go as they are written.
    // Rows of larger letters are made taller, as a spreadsheet does when
    // they are typed (the file would otherwise keep the standard height).
    for (int r = 1; r <= sheet.rowCount(); ++r) {
      int largest = 11;
      for (int c = 1; c <= sheet.colCount(); ++c) largest = std::max<int>(largest, sheet.cell(r, c).fontSize);
      if (largest > 11) Check(worksheet_set_row(ws, static_cast<lxw_row_t>(r - 1), largest * 1.35, nullptr));
    }
    for (int c = 1; c <= sheet.colCount(); ++c)
      if (const double w = sheet.columnWidth(c); w > 0)
        Check(worksheet_set_column(ws, static_cast<lxw_col_t>(c - 1), static_cast<lxw_col_t>(c - 1), w, nullptr));
    for (int r = 1; r <= sheet.rowCount(); ++r) {
      for (int c = 1; c <= sheet.colCount(); ++c) {
        const SheetCell& cell = sheet.cell(r, c);
        WriteCell(ws, r, c, cell, formats(cell));
      }
      sheet.releaseRow(r);
    }
  } catch (...) {
    workbook_close(wb);
    throw;
  }
  Check(workbook_close(wb));
  return ReadWholeFile(file.fileName());
}

}  // namespace vekla
