// The only file that includes libxlsxwriter. The library writes a workbook
// to a file name only: here a file in memory (WorkbookFile), whose bytes the
// command writes where they belong. The library compresses the workbook as
// it does by itself; nothing of it or of the compression library is
// replaced.
#include "convert/xlsx.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QTemporaryFile>
#include <algorithm>
#include <charconv>
#include <locale.h>
#include <map>
#include <memory>
#include <tuple>
#ifdef __linux__
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "pdb/clock.h"
#include "pdb/error.h"
#include "pdb/savefile.h"
#include "pdb/text.h"

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

// The number a text stands for, when the whole text is one: digits with an
// optional minus and decimal point ("1.25", "-0.5"). Read the same in every
// locale.
bool Number(const std::string& text, double& value) {
  if (text.empty() || text.size() > 40) return false;
  if (text.find_first_not_of("-.0123456789") != std::string::npos) return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
  return ec == std::errc() && ptr == end;
}

bool WholeNumber(const std::string& text, double& value) {
  if (text.empty() || text.size() > 9 || (text[0] == '0' && text.size() > 1)) return false;
  int n = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return false;
    n = n * 10 + (ch - '0');
  }
  value = n;
  return true;
}

// "29.2." or "29.2".
bool DayAndMonth(std::string_view text, lxw_datetime& d) {
  if (!text.empty() && text.back() == '.') text.remove_suffix(1);
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot > 2 || text.size() - dot - 1 < 1 || text.size() - dot - 1 > 2)
    return false;
  int day = 0, month = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == dot) continue;
    if (text[i] < '0' || text[i] > '9') return false;
    int& n = i < dot ? day : month;
    n = n * 10 + (text[i] - '0');
  }
  static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  d = {2024, month, day, 0, 0, 0};
  return true;
}

// The library writes the numbers of the file (cell values, column widths,
// margins, font sizes) with the C library's printf, which follows the
// thread's locale: under a decimal comma the workbook would say "0,7" and a
// spreadsheet program would refuse it. The workbook is written with the C
// locale's numbers, whatever locale the program runs in. (Where there are
// no per-thread locales, the programs' own switch to C numbers at start
// does the same.)
class CNumbers {
 public:
  CNumbers() {
#ifndef _WIN32
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    if (c) previous_ = uselocale(c);
#endif
  }
  ~CNumbers() {
#ifndef _WIN32
    if (previous_) uselocale(previous_);
#endif
  }
  CNumbers(const CNumbers&) = delete;
  CNumbers& operator=(const CNumbers&) = delete;

 private:
#ifndef _WIN32
  locale_t previous_ = static_cast<locale_t>(0);
#endif
};

void Check(lxw_error e) {
  if (e != LXW_NO_ERROR) throw VeklaError(cp("Sešit Excel nelze vytvořit: ") + lxw_strerror(e) + ".");
}

// The longest text a cell of the file format holds, in characters (code
// page 1250 has one byte for each).
constexpr std::size_t kMaxText = 32767;

// Texts cut to the longest a cell holds: how many, and the first one's cell
// (counted from 0, as the library counts).
struct Cuts {
  int count = 0;
  lxw_row_t row = 0;
  lxw_col_t col = 0;
};

void WriteCell(lxw_worksheet* ws, int row, int col, const SheetCell& c, lxw_format* f, Cuts& cuts) {
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
  std::string_view text = c.value;
  if (text.size() > kMaxText) {
    text = text.substr(0, kMaxText);
    if (cuts.count++ == 0) {
      cuts.row = r;
      cuts.col = k;
    }
  }
  Check(worksheet_write_string(ws, r, k, toUtf8(text).c_str(), f));
}

// The one log line of the texts that were cut.
std::string CutsLine(const Cuts& cuts) {
  char cell[16] = {};
  lxw_rowcol_to_cell(cell, cuts.row, cuts.col);
  return cp("Sešit Excel: texty delší než 32 767 znaků zkráceny (buněk: ") + std::to_string(cuts.count) +
         cp(", první ") + cell + ").";
}

// The file the library writes the workbook to; it takes a file name only.
// Where the system offers files in memory (Linux), the name is that of an
// anonymous one, so the workbook reaches the disk only once: when the
// command writes its bytes to a temporary file beside the target and
// renames it into place. Elsewhere it is a private temporary file, read
// back and removed.
class WorkbookFile {
 public:
  WorkbookFile() {
#ifdef __linux__
    fd_ = memfd_create("vekla-xlsx", MFD_CLOEXEC);
    if (fd_ >= 0) {
      name_ = "/proc/self/fd/" + QByteArray::number(fd_);
      // Without /proc the name leads nowhere: a temporary file instead.
      if (::access(name_.constData(), W_OK) == 0) return;
      ::close(fd_);
      fd_ = -1;
    }
#endif
    temporary_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/vekla-XXXXXX.xlsx");
    if (!temporary_->open()) throw VeklaError(cp("Sešit Excel nelze vytvořit: dočasný soubor nelze založit."));
    name_ = QFile::encodeName(temporary_->fileName());
    temporary_->close();
  }
  ~WorkbookFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  WorkbookFile(const WorkbookFile&) = delete;
  WorkbookFile& operator=(const WorkbookFile&) = delete;

  const char* name() const { return name_.constData(); }

  // What the library wrote.
  std::string bytes() const {
    if (temporary_) return ReadWholeFile(temporary_->fileName());
    std::string out;
#ifdef __linux__
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw VeklaError(cp("Sešit Excel nelze vytvořit: nelze ho přečíst."));
    out.resize(static_cast<std::size_t>(st.st_size));
    for (std::size_t got = 0; got < out.size();) {
      const ssize_t n = ::pread(fd_, out.data() + got, out.size() - got, static_cast<off_t>(got));
      if (n <= 0) throw VeklaError(cp("Sešit Excel nelze vytvořit: nelze ho přečíst."));
      got += static_cast<std::size_t>(n);
    }
#endif
    return out;
  }

 private:
  int fd_ = -1;
  QByteArray name_;
  std::unique_ptr<QTemporaryFile> temporary_;
};

}  // namespace

std::string WriteXlsx(Sheet sheet, std::vector<std::string>* log) {
  WorkbookFile file;
  const CNumbers numbers;
  Cuts cuts;
  lxw_workbook* wb = workbook_new(file.name());
  if (!wb) throw VeklaError(cp("Sešit Excel nelze vytvořit."));
  try {
    // The creation time from the program's clock, so that a fixed clock
    // gives the same bytes every time.
    lxw_doc_properties properties{};
    properties.created = static_cast<time_t>(Now().toSecsSinceEpoch());
    Check(workbook_set_properties(wb, &properties));
    lxw_worksheet* ws = workbook_add_worksheet(wb, "List1");
    Formats formats(wb);
    for (const SheetArea& m : sheet.merges()) {
      const SheetCell& first = sheet.cell(m.row1, m.col1);
      Check(worksheet_merge_range(ws, static_cast<lxw_row_t>(m.row1 - 1), static_cast<lxw_col_t>(m.col1 - 1),
                                  static_cast<lxw_row_t>(m.row2 - 1), static_cast<lxw_col_t>(m.col2 - 1), "",
                                  formats(first)));
    }
    // Row heights and column widths first: the rows go as they are written.
    // Rows of larger letters are made taller (the file would otherwise keep
    // the standard height).
    for (int r = 1; r <= sheet.rowCount(); ++r)
      if (const double h = sheet.rowHeight(r); h != LXW_DEF_ROW_HEIGHT)
        Check(worksheet_set_row(ws, static_cast<lxw_row_t>(r - 1), h, nullptr));
    for (int c = 1; c <= sheet.colCount(); ++c)
      if (const double w = sheet.columnWidth(c); w > 0)
        Check(worksheet_set_column(ws, static_cast<lxw_col_t>(c - 1), static_cast<lxw_col_t>(c - 1), w, nullptr));
    const SheetPageSetup& page = sheet.pageSetup();
    if (page.landscape) worksheet_set_landscape(ws);
    if (page.fitToPagesWide > 0) worksheet_fit_to_pages(ws, static_cast<uint16_t>(page.fitToPagesWide), 0);
    if (page.titleRowFirst > 0)
      Check(worksheet_repeat_rows(ws, static_cast<lxw_row_t>(page.titleRowFirst - 1),
                                  static_cast<lxw_row_t>(page.titleRowLast - 1)));
    for (int r = 1; r <= sheet.rowCount(); ++r) {
      for (int c = 1; c <= sheet.colCount(); ++c) {
        const SheetCell& cell = sheet.cell(r, c);
        WriteCell(ws, r, c, cell, formats(cell), cuts);
      }
      sheet.releaseRow(r);
    }
  } catch (...) {
    workbook_close(wb);
    throw;
  }
  Check(workbook_close(wb));
  if (cuts.count > 0 && log) log->push_back(CutsLine(cuts));
  return file.bytes();
}

}  // namespace vekla
