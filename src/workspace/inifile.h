#pragma once
// An INI file held in memory: code page 1250 bytes, sections and keys in the
// order they were first written, CR LF line ends, written atomically. Values
// are stored on one line (CR becomes a space, LF is dropped) because a line
// break would cut the value on reload. Key lookup ignores ASCII case. The
// file is parsed once when loaded; after that every look-up and change works
// on the sections and keys in memory, and the text is built in one pass.
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vekla {

class IniFile {
 public:
  IniFile();
  IniFile(const IniFile& other);
  IniFile& operator=(const IniFile& other);
  IniFile(IniFile&&) noexcept;
  IniFile& operator=(IniFile&&) noexcept;
  ~IniFile();

  // Replaces the content by the file's; a missing file gives an empty store.
  // Throws VeklaError when the file exists but cannot be read.
  void load(const QString& path);
  void loadFromBytes(std::string_view bytes);
  // Writes atomically; throws VeklaError on failure.
  void save(const QString& path) const;
  std::string toBytes() const;

  bool has(std::string_view section, std::string_view key) const;
  std::string get(std::string_view section, std::string_view key, std::string_view def = {}) const;
  bool getBool(std::string_view section, std::string_view key, bool def) const;
  void set(std::string_view section, std::string_view key, std::string_view value);
  // Room for `keys` keys in the existing `section` (nothing when it is
  // missing): a section filled in one go takes its size at once instead of
  // doubling. Changes no content.
  void reserveKeys(std::string_view section, std::size_t keys);
  void setBool(std::string_view section, std::string_view key, bool value);
  void removeKey(std::string_view section, std::string_view key);
  std::vector<std::string> sections() const;
  std::vector<std::string> keys(std::string_view section) const;
  void clear();
  bool empty() const;
  // Changes with every change of the content (a value set to what it holds
  // already is none), and is never the same for two stores' changes: a
  // store whose revision is the one it had when written is unchanged since.
  std::uint64_t revision() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace vekla
