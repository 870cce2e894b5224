#include "workspace/settingsdialogs.h"

#include <algorithm>

namespace vekla {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A run of digits as a number; nullopt when empty or not all digits.
std::optional<int> number(std::string_view t) {
  if (t.empty() || t.size() > 9 || !std::all_of(t.begin(), t.end(), isDigit)) return std::nullopt;
  int v = 0;
  for (char c : t) v = v * 10 + (c - '0');
  return v;
}

int keptNumber(const IniFile& ini, const char* key, int def, int lo, int hi) {
  const std::optional<int> v = number(ini.get("Nastaveni2", key));
  return v && *v >= lo && *v <= hi ? *v : def;
}

std::string twoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

}  // namespace

TimeOfDay TimePresetFromCell(std::string_view text) {
  std::string t(text);
  while (t.size() < 5) t += '0';
  for (char& c : t)
    if (!isDigit(c)) c = '0';
  TimeOfDay r{(t[0] - '0') * 10 + (t[1] - '0'), (t[3] - '0') * 10 + (t[4] - '0')};
  r.hours = std::min(r.hours, 23);
  r.minutes = std::min(r.minutes, 55);
  return r;
}

std::string TimeResultText(TimeOfDay t) { return twoDigits(t.hours) + ":" + twoDigits(t.minutes); }

DayMonth DatePresetFromCell(std::string_view text, DayMonth last) {
  std::string t(text);
  for (char& c : t)
    if (!isDigit(c) && c != '.') c = '0';
  const std::size_t dot = t.find('.');
  DayMonth r = last;
  if (const auto d = number(std::string_view(t).substr(0, dot)); d && *d >= 1 && *d <= 31) r.day = *d;
  if (dot != std::string::npos)
    if (const auto m = number(std::string_view(t).substr(dot + 1, 2)); m && *m >= 1 && *m <= 12) r.month = *m;
  return r;
}

std::string DateResultText(DayMonth d) {
  int day = d.day;
  if (d.month == 2) day = std::min(day, 29);
  else if (d.month == 4 || d.month == 6 || d.month == 9 || d.month == 11) day = std::min(day, 30);
  return std::to_string(day) + "." + std::to_string(d.month);
}

TimeOfDay LastTime(const IniFile& s) {
  return {keptNumber(s, "HodinyHodiny", 0, 0, 23), keptNumber(s, "HodinyMinuty", 0, 0, 55)};
}

DayMonth LastDate(const IniFile& s) {
  return {keptNumber(s, "DatumDen", 1, 1, 31), keptNumber(s, "DatumMesic", 1, 1, 12)};
}

void KeepTime(IniFile& s, TimeOfDay t) {
  s.set("Nastaveni2", "HodinyHodiny", std::to_string(t.hours));
  s.set("Nastaveni2", "HodinyMinuty", std::to_string(t.minutes));
}

void KeepDate(IniFile& s, DayMonth d) {
  s.set("Nastaveni2", "DatumDen", std::to_string(d.day));
  s.set("Nastaveni2", "DatumMesic", std::to_string(d.month));
}

}  // namespace vekla
