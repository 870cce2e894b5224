#include "workspace/inifile.h"

#include <SimpleIni.h>

#include <QFile>
#include <atomic>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "pdb/error.h"
#include "pdb/savefile.h"
#include "pdb/text.h"

namespace vekla {

namespace {

// Names compare and hash ignoring ASCII case, as SimpleIni's look-up does.
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

struct NoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const {
    std::size_t h = 14695981039346656037ull;
    for (char c : s) h = (h ^ static_cast<unsigned char>(lower(c))) * 1099511628211ull;
    return h;
  }
};

struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (lower(a[i]) != lower(b[i])) return false;
    return true;
  }
};

using NameIndex = std::unordered_map<std::string, std::size_t, NoCaseHash, NoCaseEqual>;

// Names and values are C strings to an INI file: they end at a NUL.
std::string_view UpToNul(std::string_view t) { return t.substr(0, t.find('\0')); }

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

// A value as the file holds it: on one line, protected, up to a NUL.
std::string stored(std::string_view value) {
  std::string v = protect(HasLineBreak(value) ? OneLine(value) : std::string(value));
  v.resize(UpToNul(v).size());
  return v;
}
std::string unprotect(std::string_view v) {
  if (isQuoted(v)) v = v.substr(1, v.size() - 2);
  return std::string(v);
}

// Every change of any store gets a number of its own.
std::uint64_t nextRevision() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

// Appends text with CR LF for every line end, as the file holds it.
void put(std::string& out, std::string_view text) {
  for (std::size_t from = 0;;) {
    const std::size_t lf = text.find('\n', from);
    if (lf == std::string_view::npos) {
      out.append(text.substr(from));
      return;
    }
    out.append(text.substr(from, lf - from));
    out += "\r\n";
    from = lf + 1;
  }
}

// A comment of several lines: each line, then a line end; nothing for none.
void putLines(std::string& out, std::string_view text) {
  if (text.empty()) return;
  put(out, text);
  out += "\r\n";
}

}  // namespace

// The sections and keys in the order they were first written, each with the
// comment it was read with; a name index that ignores ASCII case beside the
// sections and beside each section of many keys (a few are searched
// through). The file is read by SimpleIni and written here in the layout
// SimpleIni writes (no spaces around "=", a blank line between sections).
struct IniFile::Impl {
  static constexpr std::size_t kSearched = 32;  // keys of a section without an index
  static constexpr std::uint32_t kNoComment = ~std::uint32_t{0};
  struct Key {
    std::string name;
    std::string value;
    std::uint32_t comment = kNoComment;  // in `comments`
  };
  struct Section {
    std::string name;
    std::optional<std::string> comment;
    std::vector<Key> keys;
    NameIndex index;  // empty while the keys are few

    std::optional<std::size_t> find(std::string_view key) const {
      if (keys.size() <= kSearched) {
        for (std::size_t i = 0; i < keys.size(); ++i)
          if (NoCaseEqual()(keys[i].name, key)) return i;
        return std::nullopt;
      }
      const auto it = index.find(key);
      return it == index.end() ? std::nullopt : std::optional<std::size_t>(it->second);
    }
    void add(Key k) {
      keys.push_back(std::move(k));
      if (keys.size() == kSearched + 1)
        for (std::size_t i = 0; i < keys.size(); ++i) index.emplace(keys[i].name, i);
      else if (keys.size() > kSearched + 1) index.emplace(keys.back().name, keys.size() - 1);
    }
    void reindex() {
      index.clear();
      if (keys.size() > kSearched)
        for (std::size_t i = 0; i < keys.size(); ++i) index.emplace(keys[i].name, i);
    }
  };
  std::string fileComment;  // the comment lines before the first entry, as written
  std::vector<std::string> comments;
  std::vector<Section> sections;
  NameIndex index;
  std::uint64_t revision = nextRevision();

  const Section* find(std::string_view section) const {
    const auto it = index.find(UpToNul(section));
    return it == index.end() ? nullptr : &sections[it->second];
  }
  const Key* find(std::string_view section, std::string_view key) const {
    const Section* s = find(section);
    if (!s) return nullptr;
    const std::optional<std::size_t> k = s->find(UpToNul(key));
    return k ? &s->keys[*k] : nullptr;
  }
  Section& section(std::string_view name) {
    name = UpToNul(name);
    if (const auto it = index.find(name); it != index.end()) return sections[it->second];
    sections.push_back(Section{std::string(name), std::nullopt, {}, {}});
    index.emplace(std::string(name), sections.size() - 1);
    return sections.back();
  }
};

IniFile::IniFile() : d(std::make_unique<Impl>()) {}
IniFile::IniFile(const IniFile& other) : d(std::make_unique<Impl>(*other.d)) {}
IniFile& IniFile::operator=(const IniFile& other) {
  if (this != &other) d = std::make_unique<Impl>(*other.d);
  return *this;
}
IniFile::IniFile(IniFile&& other) noexcept : d(std::make_unique<Impl>()) { std::swap(d, other.d); }
IniFile& IniFile::operator=(IniFile&& other) noexcept {
  std::swap(d, other.d);
  return *this;
}
IniFile::~IniFile() = default;

void IniFile::load(const QString& path) {
  clear();
  if (!QFile::exists(path)) return;
  loadFromBytes(ReadWholeFile(path));
}

void IniFile::loadFromBytes(std::string_view bytes) {
  clear();
  if (bytes.empty()) return;
  CSimpleIniA ini(false, false, false);  // code page bytes, unique keys, no multi-line
  ini.SetSpaces(false);
  ini.LoadData(bytes.data(), bytes.size());
  CSimpleIniA::TNamesDepend sections;
  ini.GetAllSections(sections);
  sections.sort(CSimpleIniA::Entry::LoadOrder());
  for (const auto& section : sections) {
    Impl::Section& to = d->section(section.pItem);
    if (section.pComment) to.comment = section.pComment;
    CSimpleIniA::TNamesDepend keys;
    ini.GetAllKeys(section.pItem, keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto& key : keys) {
      Impl::Key k{key.pItem, ini.GetValue(section.pItem, key.pItem, ""), Impl::kNoComment};
      if (key.pComment) {
        k.comment = static_cast<std::uint32_t>(d->comments.size());
        d->comments.emplace_back(key.pComment);
      }
      to.add(std::move(k));
    }
  }
  // The comment at the top of the file is what SimpleIni writes of a store
  // without sections.
  for (const auto& section : sections) ini.Delete(section.pItem, nullptr);
  struct Collect : CSimpleIniA::OutputWriter {
    std::string text;
    void Write(const char* s) override { text += s; }
  } top;
  ini.Save(top, false);
  d->fileComment = std::move(top.text);
}

std::string IniFile::toBytes() const {
  std::size_t size = d->fileComment.size();
  for (const auto& section : d->sections) {
    size += section.name.size() + 8;
    for (const auto& key : section.keys) size += key.name.size() + key.value.size() + 3;
  }
  std::string out;
  out.reserve(size + size / 16);
  put(out, d->fileComment);
  bool needNewLine = !d->fileComment.empty();
  // A section without a name holds the keys before the first section header
  // and always comes first.
  std::vector<const Impl::Section*> order;
  order.reserve(d->sections.size());
  for (const auto& section : d->sections)
    if (section.name.empty()) order.insert(order.begin(), &section);
    else order.push_back(&section);
  for (const Impl::Section* section : order) {
    if (section->comment) {
      if (needNewLine) out += "\r\n\r\n";
      putLines(out, *section->comment);
      needNewLine = false;
    }
    if (needNewLine) out += "\r\n\r\n";
    if (!section->name.empty()) {
      out += '[';
      put(out, section->name);
      out += "]\r\n";
    }
    for (const auto& key : section->keys) {
      if (key.comment != Impl::kNoComment) {
        out += "\r\n";
        putLines(out, d->comments[key.comment]);
      }
      put(out, key.name);
      out += '=';
      put(out, key.value);
      out += "\r\n";
    }
    needNewLine = true;
  }
  return out;
}

void IniFile::save(const QString& path) const { WriteFileAtomic(path, toBytes()); }

bool IniFile::has(std::string_view section, std::string_view key) const { return d->find(section, key) != nullptr; }

std::string IniFile::get(std::string_view section, std::string_view key, std::string_view def) const {
  const Impl::Key* k = d->find(section, key);
  return k ? unprotect(k->value) : std::string(def);
}

bool IniFile::getBool(std::string_view section, std::string_view key, bool def) const {
  if (!has(section, key)) return def;
  std::string v = get(section, key);
  if (v == "1" || v == "true" || v == "True" || v == "TRUE") return true;
  if (v == "0" || v == "false" || v == "False" || v == "FALSE") return false;
  return def;
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
  std::string v = stored(value);
  key = UpToNul(key);
  Impl::Section& s = d->section(section);
  if (const std::optional<std::size_t> k = s.find(key)) {
    if (s.keys[*k].value == v) return;
    s.keys[*k].value = std::move(v);
  } else {
    s.add({std::string(key), std::move(v), Impl::kNoComment});
  }
  d->revision = nextRevision();
}

void IniFile::reserveKeys(std::string_view section, std::size_t keys) {
  const auto it = d->index.find(UpToNul(section));
  if (it == d->index.end()) return;
  Impl::Section& s = d->sections[it->second];
  s.keys.reserve(keys);
  if (keys > Impl::kSearched) s.index.reserve(keys);
}

void IniFile::setBool(std::string_view section, std::string_view key, bool value) {
  set(section, key, value ? "1" : "0");
}

void IniFile::removeKey(std::string_view section, std::string_view key) {
  const auto at = d->index.find(UpToNul(section));
  if (at == d->index.end()) return;
  Impl::Section& s = d->sections[at->second];
  const std::optional<std::size_t> k = s.find(UpToNul(key));
  if (!k) return;
  s.keys.erase(s.keys.begin() + static_cast<std::ptrdiff_t>(*k));
  s.reindex();
  d->revision = nextRevision();
}

std::vector<std::string> IniFile::sections() const {
  std::vector<std::string> out;
  for (const auto& s : d->sections) out.push_back(s.name);
  return out;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::vector<std::string> out;
  if (const Impl::Section* s = d->find(section))
    for (const auto& k : s->keys) out.push_back(k.name);
  return out;
}

void IniFile::clear() {
  d->fileComment.clear();
  d->comments.clear();
  d->sections.clear();
  d->index.clear();
  d->revision = nextRevision();
}

bool IniFile::empty() const { return d->sections.empty(); }

std::uint64_t IniFile::revision() const { return d->revision; }

}  // namespace vekla
