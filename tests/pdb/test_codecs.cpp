#include <gtest/gtest.h>

#include <QDateTime>

#include "pdb/clock.h"
#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/text.h"

using namespace vekla;

namespace {

PalmTime bytesOf(std::uint32_t t) {
  return {static_cast<std::uint8_t>(t >> 24), static_cast<std::uint8_t>(t >> 16), static_cast<std::uint8_t>(t >> 8),
          static_cast<std::uint8_t>(t)};
}

struct ClockGuard {
  ~ClockGuard() { SetNow(QDateTime()); }
};

}  // namespace

TEST(Codecs, BigEndianHelpers) {
  EXPECT_EQ(SwapWord(0x0102), 0x0201);
  EXPECT_EQ(SwapWord(0xFF00), 0x00FF);
  EXPECT_EQ(MakeLong(0x00, 0x00, 0x01, 0x02), 0x0102);
  EXPECT_EQ(MakeLong(0x80, 0x00, 0x00, 0x01), static_cast<std::int32_t>(0x80000001u));
  const std::uint8_t expected[] = {0x11, 0x22, 0x33, 0x44};
  for (int pos = 1; pos <= 4; ++pos) EXPECT_EQ(GetByte(0x11223344u, pos), expected[pos - 1]) << pos;
  EXPECT_EQ(GetByte(0x11223344u, 0), 0);
  EXPECT_EQ(GetByte(0x11223344u, 5), 0);
}

TEST(Codecs, PalmTimestampDecodesWithTheOneHourShift) {
  struct Case {
    std::uint32_t t;
    const char* date;
    const char* time;
  };
  const Case cases[] = {
      {0, "01.01.1970", "01:00:00"},
      {82799, "01.01.1970", "23:59:59"},
      {82800, "02.01.1970", "00:00:00"},
      {1110202215, "07.03.2005", "14:30:15"},
      {0xFFFFFFFFu, "07.02.2106", "07:28:15"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PalmTimeToDateText(bytesOf(c.t)), c.date) << c.t;
    EXPECT_EQ(PalmTimeToTimeText(bytesOf(c.t)), c.time) << c.t;
  }
}

TEST(Codecs, PalmTimestampEncodesAndClamps) {
  struct Case {
    const char* date;
    const char* time;
    std::uint32_t t;
    const char* timeAfter;
  };
  const Case cases[] = {
      {"01.01.1970", "01:00:00", 0, "01:00:00"},
      {"07.03.2005", "14:30:15", 1110202215, "14:30:15"},
      {"7.3.2005", "14:30:15", 1110202215, "14:30:15"},
      // Before 1970-01-01 01:00 and after the 32-bit range: the nearest end, never wrapped.
      {"01.01.1970", "00:30:00", 0, "00:30:00"},
      {"31.12.1969", "23:00:00", 0, "23:00:00"},
      {"01.01.2200", "12:00:00", 0xFFFFFFFFu, "12:00:00"},
      {"07.02.2106", "07:28:16", 0xFFFFFFFFu, "07:28:16"},
      {"07.02.2106", "07:28:14", 0xFFFFFFFEu, "07:28:14"},
      // A time worth nothing (also the edit mask's blanks) becomes 00:00:00.
      {"02.01.1970", "__:__:__", 82800, "00:00:00"},
      {"02.01.1970", "00:00:00", 82800, "00:00:00"},
      {"02.01.1970", "12:30", 82800 + 45000, "12:30"},
  };
  for (const Case& c : cases) {
    std::string date = c.date, time = c.time;
    EXPECT_EQ(DateTimeToPalmTime(date, time), bytesOf(c.t)) << c.date << ' ' << c.time;
    EXPECT_EQ(date, c.date);
    EXPECT_EQ(time, c.timeAfter);
  }
  // Written and read back: the same date and time.
  std::string date = "29.02.2024", time = "23:59:58";
  const PalmTime t = DateTimeToPalmTime(date, time);
  EXPECT_EQ(PalmTimeToDateText(t), "29.02.2024");
  EXPECT_EQ(PalmTimeToTimeText(t), "23:59:58");
}

TEST(Codecs, EmptyDateTakesTheClockAndAWrongOneIsAnError) {
  ClockGuard guard;
  SetNow(QDateTime(QDate(2025, 9, 1), QTime(8, 15, 30)));
  for (const char* d : {"", "  .  .    ", "__.__.____"}) {
    std::string date = d, time = "1_:__:__";  // the half-typed time is replaced, so no error
    EXPECT_EQ(DateTimeToPalmTime(date, time), bytesOf(1756710930u)) << d;
    EXPECT_EQ(date, "01.09.2025");
    EXPECT_EQ(time, "08:15:30");
  }
  for (const char* d : {"31.02.2025", "7.3.05", "1x.03.2025"}) {
    std::string date = d, time = "10:00:00";
    EXPECT_THROW(DateTimeToPalmTime(date, time), VeklaError) << d;
    EXPECT_EQ(date, d);
    EXPECT_EQ(time, "10:00:00");
  }
}

TEST(Codecs, HalfTypedTimeIsAnErrorAndChangesNothing) {
  for (const char* t : {"1_:00:00", "12:3_:00", "12:30:_5", "12:3", "a1:00:00"}) {
    std::string date = "07.03.2005", time = t;
    EXPECT_THROW(DateTimeToPalmTime(date, time), VeklaError) << t;
    EXPECT_EQ(date, "07.03.2005");
    EXPECT_EQ(time, t);
    EXPECT_THROW(TimeTextToSeconds(t), VeklaError) << t;
  }
  try {
    TimeTextToSeconds("1_:00:00");
    FAIL();
  } catch (const VeklaError& e) {
    EXPECT_NE(e.text().find(cp("Neplatný čas")), std::string::npos);
    EXPECT_NE(e.text().find("1_:00:00"), std::string::npos);
  }
}

TEST(Codecs, TwoDigitsAndTimeTexts) {
  EXPECT_EQ(TwoDigitValue("07"), 7);
  EXPECT_EQ(TwoDigitValue("59"), 59);
  EXPECT_EQ(TwoDigitValue("__"), 0);
  EXPECT_EQ(TwoDigitValue("  "), 0);
  EXPECT_EQ(TwoDigitValue(""), 0);
  EXPECT_THROW(TwoDigitValue("5_"), VeklaError);
  EXPECT_THROW(TwoDigitValue("_5"), VeklaError);
  EXPECT_THROW(TwoDigitValue("7"), VeklaError);

  EXPECT_EQ(TimeTextToSeconds("01:02:03"), 3723);
  EXPECT_EQ(TimeTextToSeconds("23:59:59"), 86399);
  EXPECT_EQ(TimeTextToSeconds("__:__:__"), 0);
  EXPECT_EQ(TimeTextToSeconds(""), 0);

  EXPECT_EQ(CompactTimeText("745"), "07:45");
  EXPECT_EQ(CompactTimeText("1230"), "12:30");
  EXPECT_EQ(CompactTimeText("12"), "00:00");
  EXPECT_EQ(CompactTimeText("12345"), "00:00");
  EXPECT_EQ(CompactTimeText(""), "00:00");
}

TEST(Codecs, ColourStrings) {
  EXPECT_EQ(SwapColorOrder("0000ff"), "ff0000");
  EXPECT_EQ(SwapColorOrder("123456"), "563412");
  EXPECT_EQ(SwapColorOrder("12345"), "FFFFFF");
  EXPECT_EQ(SwapColorOrder(""), "FFFFFF");

  // White text when green is below 0x80, black otherwise.
  EXPECT_EQ(ContrastColorText(SwapColorOrder("0000ff")), "FFFFFF");
  EXPECT_EQ(ContrastColorText("0000ff"), "FFFFFF");
  EXPECT_EQ(ContrastColorText("ffcc99"), "000000");
  EXPECT_EQ(ContrastColorText("ff7fff"), "FFFFFF");
  EXPECT_EQ(ContrastColorText("ff80ff"), "000000");
  EXPECT_EQ(ContrastColorText("00A000"), "000000");
  EXPECT_THROW(ContrastColorText("ffg000"), VeklaError);
  EXPECT_THROW(ContrastColorText("ff"), VeklaError);

  EXPECT_EQ(ContrastColor(rgbHex(0x0000FF)), kWhite);
  EXPECT_EQ(ContrastColor(rgbHex(0xFFCC99)), kBlack);
  EXPECT_EQ(ContrastColor(rgbHex(0xFF7FFF)), kWhite);
  EXPECT_EQ(ContrastColor(rgbHex(0x008000)), kBlack);
  EXPECT_EQ(ContrastColor(kSysWindow), kBlack);      // a white window
  EXPECT_EQ(ContrastColor(kSysWindowText), kWhite);  // black text colour

  EXPECT_EQ(ColorFromPalmText("ff0000"), rgbHex(0xFF0000));
  EXPECT_EQ(ColorFromPalmText("0a1B2c"), rgbHex(0x0A1B2C));
  EXPECT_THROW(ColorFromPalmText("ff00"), VeklaError);
  EXPECT_THROW(ColorFromPalmText("gg0000"), VeklaError);
  EXPECT_THROW(ColorFromPalmText("ff00000"), VeklaError);
  EXPECT_EQ(ColorToPalmText(rgbHex(0xFFCC99)), "ffcc99");
  EXPECT_EQ(ColorToPalmText(rgbHex(0x0A1B2C)), "0a1b2c");
  EXPECT_EQ(ColorToPalmText(kSysWindow), "ffffff");

  EXPECT_TRUE(IsHexColorText("AbCdEf"));
  EXPECT_FALSE(IsHexColorText("AbCdEg"));
  EXPECT_FALSE(IsHexColorText("#abcde"));
}

TEST(Codecs, DayOfYear) {
  struct Case {
    int day;
    const char* month;
    const char* dayOfMonth;
    const char* dayMonth;
  };
  const Case cases[] = {
      {1, "1", "1", "1.1."},     {31, "1", "31", "31.1."},   {32, "2", "1", "1.2."},
      {60, "2", "29", "29.2."},  {61, "3", "1", "1.3."},     {91, "3", "31", "31.3."},
      {183, "7", "1", "1.7."},   {336, "12", "1", "1.12."},  {366, "12", "31", "31.12."},
      {0, "0", "0", "X.X."},     {367, "0", "0", "X.X."},    {-5, "0", "0", "X.X."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DayOfYearToMonth(c.day), c.month) << c.day;
    EXPECT_EQ(DayOfYearToDay(c.day), c.dayOfMonth) << c.day;
    EXPECT_EQ(DayOfYearToDayMonth(c.day), c.dayMonth) << c.day;
  }
}

TEST(Codecs, RomanNumerals) {
  const std::pair<const char*, const char*> cases[] = {
      {"iv", "4"}, {"I", "1"}, {"Ix", "9"}, {"XII", "12"}, {"viii", "8"},
      {"XIII", "XIII"}, {"", ""}, {"ix ", "ix "}, {"4", "4"}, {"IIII", "IIII"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(RomanToArabic(in), out) << in;
}

TEST(Codecs, FoldDiacriticsTable) {
  EXPECT_EQ(FoldDiacritics(cp("áäčďéěíňóöřšťúůüýž")), "aacdeeinoorstuuuyz");
  EXPECT_EQ(FoldDiacritics(cp("ÁÄČĎÉĚÍŇÓÖŘŠŤÚŮÜÝŽ")), "AACDEEINOORSTUUUYZ");
  EXPECT_EQ(FoldDiacritics(cp("Příliš žluťoučký kůň")), "Prilis zlutoucky kun");
  // Letters outside the table stay as they are.
  const std::string others = cp("ĺľŕôß€ abc 123");
  EXPECT_EQ(FoldDiacritics(others), others);
}

TEST(Codecs, TextHelpers) {
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");  // a new text holding the old one ends
  EXPECT_EQ(ReplaceAll("abcabc", "bc", ""), "aa");
  EXPECT_EQ(ReplaceAll("1.5.", ".", ","), "1,5,");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("", "a", "b"), "");
  EXPECT_EQ(ReplaceFirst("abab", "ab", "X"), "Xab");
  EXPECT_EQ(ReplaceFirst("abab", "zz", "X"), "abab");
  EXPECT_EQ(ReplaceFirst("abab", "", "X"), "abab");
  EXPECT_EQ(RemoveChar("a.b.c.", '.'), "abc");
  EXPECT_EQ(TrimLeadingSpaces("  a b "), "a b ");
  EXPECT_EQ(TrimLeadingSpaces("   "), "");
  EXPECT_EQ(TrimLeadingSpaces("\ta"), "\ta");
}
