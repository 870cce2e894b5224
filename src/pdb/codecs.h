#pragma once
// The small codecs that every database kind and converter shares.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "pdb/color.h"

namespace vekla {

using PalmTime = std::array<std::uint8_t, 4>;  // big-endian seconds, as stored

std::uint16_t SwapWord(std::uint16_t v);
std::int32_t MakeLong(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4);
std::uint8_t GetByte(std::uint32_t v, int position);  // 1 = most significant

// Palm timestamp -> "dd.mm.yyyy" / "hh:mm:ss" (local time = 1970-01-01 + t + 3600 s).
std::string PalmTimeToDateText(const PalmTime& t);
std::string PalmTimeToTimeText(const PalmTime& t);
// Encodes the panel's date ("dd.mm.yyyy") and time ("hh:mm:ss") fields. An
// empty or unreadable date is first set to the current date (and the time to
// the current time); a time worth 0 seconds is set to "00:00:00". Results
// outside 0..2^32-1 are clamped. Throws VeklaError on a half-typed time.
PalmTime DateTimeToPalmTime(std::string& dateField, std::string& timeField);

int TimeTextToSeconds(std::string_view hhmmss);  // throws VeklaError on a half-typed field
int TwoDigitValue(std::string_view two);         // throws VeklaError on digit mixed with non-digit
std::string CompactTimeText(std::string_view digits);

std::string SwapColorOrder(std::string_view colour);
std::string ContrastColorText(std::string_view colour);  // throws VeklaError when char 3 is not hex
Color ContrastColor(Color c);
// Convenience on the colour strings of the databases (six hex digits, red first).
Color ColorFromPalmText(std::string_view rrggbb);  // throws VeklaError when not hexadecimal
std::string ColorToPalmText(Color c);              // six lower-case digits, red first
bool IsHexColorText(std::string_view s);           // exactly six hexadecimal digits

std::string DayOfYearToMonth(int day);
std::string DayOfYearToDay(int day);
std::string DayOfYearToDayMonth(int day);

std::string RomanToArabic(std::string_view text);
std::string FoldDiacritics(std::string_view cp1250);
std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText);
std::string ReplaceFirst(std::string_view text, std::string_view oldText, std::string_view newText);
std::string RemoveChar(std::string_view text, char c);
std::string TrimLeadingSpaces(std::string_view text);
// Whether every character is a decimal digit (true for an empty text).
bool AllDigits(std::string_view text);

}  // namespace vekla
