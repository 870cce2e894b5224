#include "pdb/codecs.h"

#include <QDate>
#include <QTime>
#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "pdb/clock.h"
#include "pdb/error.h"
#include "pdb/text.h"

namespace vekla {
namespace {

// Seconds from 1970-01-01 00:00:00 (local, no time zones) to the moment a Palm
// timestamp stands for: the format counts from one hour later.
constexpr std::int64_t kPalmShift = 3600;
constexpr std::int64_t kDay = 86400;

const QDate& epoch() {
  static const QDate d(1970, 1, 1);
  return d;
}

std::int64_t palmSeconds(const PalmTime& t) {
  return (std::int64_t{t[0]} << 24) | (std::int64_t{t[1]} << 16) | (std::int64_t{t[2]} << 8) | std::int64_t{t[3]};
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Value of a two-character field; -1 when a digit is mixed with
// a non-digit (a half-typed field). Missing characters count as non-digits.
int twoDigits(std::string_view two) {
  const char a = two.size() > 0 ? two[0] : '_';
  const char b = two.size() > 1 ? two[1] : '_';
  const bool da = isDigit(a), db = isDigit(b);
  if (!da && !db) return 0;
  if (da && db) return (a - '0') * 10 + (b - '0');
  return -1;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// First day of each month in the calendar's year of 366 days.
constexpr std::array<int, 13> kMonthStart = {1, 32, 61, 92, 122, 153, 183, 214, 245, 275, 306, 336, 367};

int monthOfDay(int day) {
  if (day < 1 || day > 366) return 0;
  int m = 1;
  while (day >= kMonthStart[static_cast<std::size_t>(m)]) ++m;
  return m;
}

QDate parseDate(const std::string& text) {
  const QString t = toQt(text).trimmed();
  QDate d = QDate::fromString(t, QStringLiteral("dd.MM.yyyy"));
  if (!d.isValid()) d = QDate::fromString(t, QStringLiteral("d.M.yyyy"));
  return d;
}

}  // namespace

std::uint16_t SwapWord(std::uint16_t v) { return static_cast<std::uint16_t>((v >> 8) | ((v & 0xFF) << 8)); }

std::int32_t MakeLong(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4) {
  const std::uint32_t u = (std::uint32_t{b1} << 24) | (std::uint32_t{b2} << 16) | (std::uint32_t{b3} << 8) | b4;
  return static_cast<std::int32_t>(u);
}

std::uint8_t GetByte(std::uint32_t v, int position) {
  if (position < 1 || position > 4) return 0;
  return static_cast<std::uint8_t>((v >> (8 * (4 - position))) & 0xFF);
}

std::string PalmTimeToDateText(const PalmTime& t) {
  const std::int64_t total = palmSeconds(t) + kPalmShift;
  return epoch().addDays(total / kDay).toString(QStringLiteral("dd.MM.yyyy")).toStdString();
}

std::string PalmTimeToTimeText(const PalmTime& t) {
  const std::int64_t secs = (palmSeconds(t) + kPalmShift) % kDay;
  return QTime(0, 0).addSecs(static_cast<int>(secs)).toString(QStringLiteral("hh:mm:ss")).toStdString();
}

PalmTime DateTimeToPalmTime(std::string& dateField, std::string& timeField) {
  QDate date = parseDate(dateField);
  // A date field without any digit is empty (the edit mask alone) and takes
  // the clock; a typed date that is no real date (31.02.2025) is an error, so
  // what the teacher typed is never replaced without a word.
  const bool empty = std::none_of(dateField.begin(), dateField.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!date.isValid() && !empty) throw VeklaError(cp("Neplatné datum: ") + quoted(dateField) + ".");
  if (!date.isValid()) {
    const QDateTime now = Now();
    date = now.date();
    dateField = date.toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    timeField = now.time().toString(QStringLiteral("hh:mm:ss")).toStdString();
  }
  const int secs = TimeTextToSeconds(timeField);
  if (secs == 0) timeField = "00:00:00";
  std::int64_t t = epoch().daysTo(date) * kDay + secs - kPalmShift;
  // Dates outside the 32-bit range are stored as its nearest end, never wrapped.
  t = std::clamp<std::int64_t>(t, 0, 0xFFFFFFFFLL);
  const auto u = static_cast<std::uint32_t>(t);
  return {GetByte(u, 1), GetByte(u, 2), GetByte(u, 3), GetByte(u, 4)};
}

int TimeTextToSeconds(std::string_view hhmmss) {
  auto part = [&](std::size_t pos) { return pos < hhmmss.size() ? hhmmss.substr(pos, 2) : std::string_view{}; };
  const int h = twoDigits(part(0)), m = twoDigits(part(3)), s = twoDigits(part(6));
  if (h < 0 || m < 0 || s < 0) throw VeklaError(cp("Neplatný čas: ") + quoted(hhmmss) + ".");
  return h * 3600 + m * 60 + s;
}

int TwoDigitValue(std::string_view two) {
  const int v = twoDigits(two);
  if (v < 0) throw VeklaError(cp("Neplatné dvojmístné číslo: ") + quoted(two) + ".");
  return v;
}

std::string CompactTimeText(std::string_view digits) {
  if (digits.size() == 3) return "0" + std::string(digits.substr(0, 1)) + ":" + std::string(digits.substr(1));
  if (digits.size() == 4) return std::string(digits.substr(0, 2)) + ":" + std::string(digits.substr(2));
  return "00:00";
}

std::string SwapColorOrder(std::string_view colour) {
  std::string c = colour.size() < 6 ? std::string("FFFFFF") : std::string(colour);
  std::swap(c[0], c[4]);
  std::swap(c[1], c[5]);
  return c;
}

std::string ContrastColorText(std::string_view colour) {
  const int v = colour.size() >= 3 ? hexValue(colour[2]) : -1;
  if (v < 0) throw VeklaError(cp("Neplatná barva: ") + quoted(colour) + ".");
  return v < 8 ? "FFFFFF" : "000000";
}

Color ContrastColor(Color c) {
  // The third digit of "BBGGRR" is the high digit of green.
  const Color r = resolveColor(c);
  return ((r >> 12) & 0xF) < 8 ? kWhite : kBlack;
}

bool IsHexColorText(std::string_view s) {
  return s.size() == 6 && std::all_of(s.begin(), s.end(), [](char c) { return hexValue(c) >= 0; });
}

Color ColorFromPalmText(std::string_view rrggbb) {
  if (!IsHexColorText(rrggbb)) throw VeklaError(cp("Neplatná barva: ") + quoted(rrggbb) + ".");
  const std::string bgr = SwapColorOrder(rrggbb);
  Color c = 0;
  for (char ch : bgr) c = (c << 4) | hexValue(ch);
  return c;
}

std::string ColorToPalmText(Color c) {
  const Color r = resolveColor(c);
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02x%02x%02x", redOf(r), greenOf(r), blueOf(r));
  return buf;
}

std::string DayOfYearToMonth(int day) { return std::to_string(monthOfDay(day)); }

std::string DayOfYearToDay(int day) {
  const int m = monthOfDay(day);
  if (m == 0) return "0";
  return std::to_string(day - kMonthStart[static_cast<std::size_t>(m - 1)] + 1);
}

std::string DayOfYearToDayMonth(int day) {
  if (monthOfDay(day) == 0) return "X.X.";
  return DayOfYearToDay(day) + "." + DayOfYearToMonth(day) + ".";
}

std::string RomanToArabic(std::string_view text) {
  static constexpr std::array<std::string_view, 12> kRoman = {"I",   "II",   "III", "IV", "V",  "VI",
                                                              "VII", "VIII", "IX",  "X",  "XI", "XII"};
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (std::size_t i = 0; i < kRoman.size(); ++i)
    if (upper == kRoman[i]) return std::to_string(i + 1);
  return std::string(text);
}

std::string FoldDiacritics(std::string_view cp1250) {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> t{};
    for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = static_cast<char>(i);
    const std::pair<const char*, char> folds[] = {
        {"áä", 'a'},  {"ÁÄ", 'A'}, {"č", 'c'}, {"Č", 'C'}, {"ď", 'd'}, {"Ď", 'D'},  {"éě", 'e'},
        {"ÉĚ", 'E'},  {"í", 'i'},  {"Í", 'I'}, {"ň", 'n'}, {"Ň", 'N'}, {"óö", 'o'}, {"ÓÖ", 'O'},
        {"ř", 'r'},   {"Ř", 'R'},  {"š", 's'}, {"Š", 'S'}, {"ť", 't'}, {"Ť", 'T'},  {"úůü", 'u'},
        {"ÚŮÜ", 'U'}, {"ý", 'y'},  {"Ý", 'Y'}, {"ž", 'z'}, {"Ž", 'Z'}};
    for (const auto& [from, to] : folds)
      for (char b : cp(from)) t[static_cast<unsigned char>(b)] = to;
    return t;
  }();
  std::string out(cp1250);
  for (char& c : out) c = table[static_cast<unsigned char>(c)];
  return out;
}

std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText) {
  if (oldText.empty()) return std::string(text);
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = text.find(oldText, pos)) != std::string_view::npos; pos = hit + oldText.size()) {
    out.append(text.substr(pos, hit - pos));
    out.append(newText);
  }
  out.append(text.substr(pos));
  return out;
}

std::string ReplaceFirst(std::string_view text, std::string_view oldText, std::string_view newText) {
  std::string out(text);
  if (oldText.empty()) return out;
  const std::size_t hit = out.find(oldText);
  if (hit != std::string::npos) out.replace(hit, oldText.size(), newText);
  return out;
}

std::string RemoveChar(std::string_view text, char c) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text)
    if (ch != c) out.push_back(ch);
  return out;
}

std::string TrimLeadingSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace vekla
