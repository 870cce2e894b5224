// The INI store against SimpleIni, which reads its files: the same text read
// and written back, the same values, names and order after the same changes.
#include <SimpleIni.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pdb/text.h"
#include "workspace/inifile.h"

using namespace vekla;

namespace {

// SimpleIni as a store that writes CR LF, with values quoted as IniFile quotes them.
struct Reference {
  CSimpleIniA ini{false, false, false};
  Reference() { ini.SetSpaces(false); }
  void set(const std::string& section, const std::string& key, const std::string& value) {
    std::string v = OneLine(value);
    if (!v.empty() && (v.front() == ' ' || v.back() == ' ' || (v.size() >= 2 && v.front() == '"' && v.back() == '"')))
      v = '"' + v + '"';
    ini.SetValue(section.c_str(), key.c_str(), v.c_str(), nullptr, true);
  }
  std::string bytes() const {
    struct CrLf : CSimpleIniA::OutputWriter {
      std::string out;
      void Write(const char* s) override {
        for (; *s; ++s) out += *s == '\n' ? std::string("\r\n") : std::string(1, *s);
      }
    } w;
    ini.Save(w, false);
    return w.out;
  }
};

const char* const kFiles[] = {
    "",
    "[Nastaveni]\r\nAdresar1=/home/a/\r\nTabIndex=2\r\n",
    "; the handheld's folder\n; set by hand\n\n[PalmDesktop]\nPath = C:\\Palm \n\n[a]\nx=1\n",
    "top=1\n[S]\n; why\nk=\"  spaced  \"\nK=2\n[s]\nother=3\n[empty]\n",
    "\xEF\xBB\xBF[Z1]\r\nJmeno=\x8Akoda\r\n# note\r\nP1=\r\n\r\n\r\n[Z2]\r\nZ1=AAPP\r\n",
    "garbage line\n[x]\nno equals\n=empty key\nk=v\n",
};

}  // namespace

TEST(IniFileTest, ReadsChangesAndWritesLikeSimpleIni) {
  for (const char* text : kFiles) {
    IniFile ini;
    Reference ref;
    ini.loadFromBytes(text);
    ref.ini.LoadData(text, std::strlen(text));
    EXPECT_EQ(ini.toBytes(), ref.bytes()) << text;
    const std::string changes[][3] = {{"s", "k", "new"},      {"S", "K", "again"},  {"Z1", "jmeno", " Nový "},
                                      {"Z1", "P1", "\"q\""},   {"New", "a", "x\r\ny"}, {"", "top", "2"},
                                      {"x", "k", std::string("cut\0here", 8)}};
    for (const auto& [section, key, value] : changes) {
      ini.set(section, key, value);
      ref.set(section, key, value);
      std::string v = ref.ini.GetValue(section.c_str(), key.c_str());
      if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
      EXPECT_EQ(ini.get(section, key), v);
    }
    for (int k = 0; k < 40; ++k) {  // a section of many keys has an index
      ini.set("Big", "k" + std::to_string(k), std::to_string(k));
      ref.set("Big", "k" + std::to_string(k), std::to_string(k));
    }
    ini.set("big", "K7", "seven");
    ref.set("big", "K7", "seven");
    for (const char* key : {"path", "k3", "k39"}) {
      ini.removeKey(key[0] == 'p' ? "PalmDesktop" : "BIG", key);
      ref.ini.Delete(key[0] == 'p' ? "PalmDesktop" : "BIG", key, false);
    }
    EXPECT_EQ(ini.get("Big", "k38"), "38");
    ini.set("PalmDesktop", "Path", "D:\\");
    ref.set("PalmDesktop", "Path", "D:\\");
    EXPECT_EQ(ini.toBytes(), ref.bytes()) << text;
    IniFile copy = ini;
    EXPECT_EQ(copy.toBytes(), ini.toBytes());
  }
}

TEST(IniFileTest, RevisionChangesWithTheContentOnly) {
  IniFile ini;
  ini.set("a", "k", "1");
  const auto r = ini.revision();
  ini.set("A", "K", "1");
  EXPECT_EQ(ini.revision(), r);
  ini.set("a", "k", "2");
  EXPECT_NE(ini.revision(), r);
  IniFile other;
  other.set("a", "k", "2");
  EXPECT_NE(other.revision(), ini.revision());
}
