#include "workspace/inifile.h"

#include <SimpleIni.h>

#include <QFile>

#include "pdb/error.h"
#include "pdb/savefile.h"
#include "pdb/text.h"

namespace vekla {

struct IniFile::Impl {
  CSimpleIniA ini{false, false, false};  // code page bytes, unique keys, no multi-line
  Impl() { ini.SetSpaces(false); }
};

namespace {

// SimpleIni writes LF; the working files want CR LF.
class CrLfWriter : public CSimpleIniA::OutputWriter {
 public:
  explicit CrLfWriter(std::string& out) : out_(out) {}
  void Write(const char* s) override {
    for (; *s; ++s) {
      if (*s == '\n') out_ += "\r\n";
      else out_ += *s;
    }
  }

 private:
  std::string& out_;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isQuoted(std::string_view v) { return v.size() >= 2 && v.front() == '"' && v.back() == '"'; }

// An INI reader drops the spaces around a value. A value that starts or ends
// with a space (a name typed with a trailing space), or that is itself
// between double quotes, is therefore stored between double quotes, which
// reading takes off again; every other value is stored as it is.
std::string protect(std::string v) {
  if (!v.empty() && (isBlank(v.front()) || isBlank(v.back()) || isQuoted(v))) return '"' + v + '"';
  return v;
}
std::string unprotect(const char* raw) {
  std::string_view v(raw);
  if (isQuoted(v)) v = v.substr(1, v.size() - 2);
  return std::string(v);
}

}  // namespace

IniFile::IniFile() : d(std::make_unique<Impl>()) {}
IniFile::IniFile(const IniFile& other) : d(std::make_unique<Impl>()) { loadFromBytes(other.toBytes()); }
IniFile& IniFile::operator=(const IniFile& other) {
  if (this != &other) {
    auto bytes = other.toBytes();
    d = std::make_unique<Impl>();
    loadFromBytes(bytes);
  }
  return *this;
}
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;
IniFile::~IniFile() = default;

void IniFile::load(const QString& path) {
  clear();
  if (!QFile::exists(path)) return;
  loadFromBytes(ReadWholeFile(path));
}

void IniFile::loadFromBytes(std::string_view bytes) {
  d->ini.Reset();
  if (!bytes.empty()) d->ini.LoadData(bytes.data(), bytes.size());
}

std::string IniFile::toBytes() const {
  std::string out;
  CrLfWriter w(out);
  d->ini.Save(w, false);
  return out;
}

void IniFile::save(const QString& path) const { WriteFileAtomic(path, toBytes()); }

bool IniFile::has(std::string_view section, std::string_view key) const {
  return d->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr) != nullptr;
}

std::string IniFile::get(std::string_view section, std::string_view key, std::string_view def) const {
  const char* v = d->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
  return v ? unprotect(v) : std::string(def);
}

bool IniFile::getBool(std::string_view section, std::string_view key, bool def) const {
  if (!has(section, key)) return def;
  std::string v = get(section, key);
  if (v == "1" || v == "true" || v == "True" || v == "TRUE") return true;
  if (v == "0" || v == "false" || v == "False" || v == "FALSE") return false;
  return def;
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
  d->ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), protect(OneLine(value)).c_str(), nullptr, true);
}

void IniFile::setBool(std::string_view section, std::string_view key, bool value) {
  set(section, key, value ? "1" : "0");
}

void IniFile::removeKey(std::string_view section, std::string_view key) {
  d->ini.Delete(std::string(section).c_str(), std::string(key).c_str(), false);
}

std::vector<std::string> IniFile::sections() const {
  CSimpleIniA::TNamesDepend names;
  d->ini.GetAllSections(names);
  names.sort(CSimpleIniA::Entry::LoadOrder());
  std::vector<std::string> out;
  for (const auto& n : names) out.emplace_back(n.pItem);
  return out;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  CSimpleIniA::TNamesDepend names;
  d->ini.GetAllKeys(std::string(section).c_str(), names);
  names.sort(CSimpleIniA::Entry::LoadOrder());
  std::vector<std::string> out;
  for (const auto& n : names) out.emplace_back(n.pItem);
  return out;
}

void IniFile::clear() { d->ini.Reset(); }
bool IniFile::empty() const { return d->ini.IsEmpty(); }

}  // namespace vekla
