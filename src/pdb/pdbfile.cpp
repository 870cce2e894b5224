#include "pdb/pdbfile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "pdb/error.h"
#include "pdb/savefile.h"
#include "pdb/text.h"

namespace vekla {
namespace {

constexpr std::int64_t kHeaderSize = 78;
constexpr std::int64_t kEntrySize = 8;
constexpr std::size_t kNameField = 32;

std::uint8_t byteAt(const std::string& b, std::int64_t pos) {
  return static_cast<std::uint8_t>(b[static_cast<std::size_t>(pos)]);
}

std::uint32_t be32At(const std::string& b, std::int64_t pos) {
  return static_cast<std::uint32_t>(
      MakeLong(byteAt(b, pos), byteAt(b, pos + 1), byteAt(b, pos + 2), byteAt(b, pos + 3)));
}

PalmTime timeAt(const std::string& b, std::int64_t pos) {
  return {byteAt(b, pos), byteAt(b, pos + 1), byteAt(b, pos + 2), byteAt(b, pos + 3)};
}

// Text of a fixed-width field up to its first NUL.
std::string fixedText(const std::string& b, std::size_t pos, std::size_t width) {
  std::string_view f(b.data() + pos, width);
  return std::string(f.substr(0, f.find('\0')));
}

[[noreturn]] void malformed(const QString& path, const std::string& cpDetail) {
  const std::string who = path.isEmpty() ? cp("Databázi") : cp("Soubor \"") + NativePath(path) + "\"";
  throw VeklaError(who + cp(" nelze načíst: poškozená databáze (") + cpDetail + ").");
}

std::string num(std::int64_t v) { return std::to_string(v); }

void putBe32(std::string& out, std::uint32_t v) {
  for (int pos = 1; pos <= 4; ++pos) out.push_back(static_cast<char>(GetByte(v, pos)));
}

void putFixed(std::string& out, std::string_view text, std::size_t width) {
  const std::string_view t = text.substr(0, width);
  out.append(t);
  out.append(width - t.size(), '\0');
}

}  // namespace

namespace {

// A database file as Vekla reads it at most: far larger is no database of
// the handheld and is not read into memory at all.
void checkFileSize(const QString& path) { CheckFileSize(path, kMaxFileSize); }

// The header of a file of `size` bytes whose first bytes, at least the header
// and the record list, are `b`. Every body must start after the record list,
// inside the file, and not before the body in front of it; then every range
// read later is sound.
PdbHeader checkedHeader(const std::string& b, std::int64_t size, const QString& path) {
  if (size < kHeaderSize)
    malformed(path, cp("soubor má ") + num(size) + cp(" bajtů, samotná hlavička databáze jich má 78"));
  PdbHeader h;
  h.name = fixedText(b, 0, kNameField);
  h.created = timeAt(b, 36);
  h.modified = timeAt(b, 40);
  h.type = fixedText(b, 60, 4);
  h.creator = fixedText(b, 64, 4);
  h.recordCount = SwapWord(static_cast<std::uint16_t>(byteAt(b, 76) | (byteAt(b, 77) << 8)));

  const std::int64_t count = h.recordCount;
  const std::int64_t listEnd = kHeaderSize + kEntrySize * count;
  if (listEnd > size)
    malformed(path, cp("seznam ") + num(count) + cp(" záznamů potřebuje ") + num(listEnd) +
                        cp(" bajtů, soubor jich má ") + num(size));
  std::int64_t previous = listEnd;
  for (std::int64_t i = 1; i <= count; ++i) {
    const std::int64_t offset = be32At(b, kHeaderSize + kEntrySize * (i - 1));
    if (offset > size) malformed(path, cp("záznam ") + num(i) + cp(" začíná za koncem souboru"));
    if (offset < listEnd) malformed(path, cp("záznam ") + num(i) + cp(" začíná uvnitř hlavičky nebo seznamu záznamů"));
    if (offset < previous) malformed(path, cp("záznam ") + num(i) + cp(" začíná před předchozím záznamem"));
    previous = offset;
  }
  return h;
}

}  // namespace

PdbFile PdbFile::load(const QString& path) {
  checkFileSize(path);
  return fromBytes(ReadWholeFile(path), path);
}

PdbHeader PdbFile::loadHeader(const QString& path) {
  // Only a plain file tells its size beforehand; anything else is read whole.
  if (!QFileInfo(path).isFile()) return load(path).header();
  checkFileSize(path);
  std::int64_t size = 0;
  std::string b = ReadFileStart(path, kHeaderSize, size);
  // A file that changed while it was read is read again whole.
  if (static_cast<std::int64_t>(b.size()) < std::min(kHeaderSize, size)) return load(path).header();
  if (size >= kHeaderSize) {
    const std::int64_t count = SwapWord(static_cast<std::uint16_t>(byteAt(b, 76) | (byteAt(b, 77) << 8)));
    const std::int64_t listEnd = kHeaderSize + kEntrySize * count;
    if (listEnd <= size) {
      b = ReadFileStart(path, listEnd, size);
      if (static_cast<std::int64_t>(b.size()) < listEnd) return load(path).header();
    }
  }
  return checkedHeader(b, size, path);
}

PdbFile PdbFile::fromBytes(std::string bytes, const QString& nameForMessages) {
  PdbFile f;
  f.bytes_ = std::move(bytes);
  f.path_ = nameForMessages;
  f.header_ = checkedHeader(f.bytes_, f.size(), f.path_);
  return f;
}

std::int64_t PdbFile::ReadRecordEntry(int index) const {
  const std::int64_t pos = kHeaderSize + kEntrySize * (static_cast<std::int64_t>(index) - 1);
  if (index < 1 || pos + kEntrySize > size())
    malformed(path_, cp("záznam ") + num(index) + cp(" není v seznamu záznamů"));
  return be32At(bytes_, pos);
}

std::pair<std::int64_t, std::int64_t> PdbFile::RecordBodyRange(int index, int count) const {
  const std::int64_t first = ReadRecordEntry(index);
  const std::int64_t last = index < count ? ReadRecordEntry(index + 1) - 1 : size() - 1;
  if (first > size() || last >= size()) malformed(path_, cp("záznam ") + num(index) + cp(" leží mimo soubor"));
  if (last < first - 1) malformed(path_, cp("záznam ") + num(index + 1) + cp(" začíná před předchozím záznamem"));
  return {first, last};
}

void PdbFile::ReadRecordFields(std::int64_t first, std::int64_t last,
                               const std::function<void(int, std::string_view)>& field) const {
  if (first < 0) first = 0;
  const std::int64_t end = std::min(last + 1, size());  // stops quietly at the end of the file
  if (first >= end) return;
  int number = 0;
  const char* at = bytes_.data() + first;
  const char* const stop = bytes_.data() + end;
  while (at < stop) {
    const auto* nul = static_cast<const char*>(std::memchr(at, '\0', static_cast<std::size_t>(stop - at)));
    if (!nul) break;  // text after the last NUL is no field
    field(++number, std::string_view(at, static_cast<std::size_t>(nul - at)));
    at = nul + 1;
  }
}

std::size_t PdbFile::FieldViews(std::int64_t first, std::int64_t last, std::size_t most,
                                std::vector<std::string_view>& fields) const {
  fields.clear();
  if (first < 0) first = 0;
  const std::int64_t end = std::min(last + 1, size());  // stops quietly at the end of the file
  if (first >= end) return 0;
  const char* at = bytes_.data() + first;
  const char* const stop = bytes_.data() + end;
  while (fields.size() < most) {
    const auto* nul = static_cast<const char*>(std::memchr(at, '\0', static_cast<std::size_t>(stop - at)));
    if (!nul) return fields.size();  // text after the last NUL is no field
    fields.emplace_back(at, static_cast<std::size_t>(nul - at));
    at = nul + 1;
  }
  // Every further NUL ends one more field.
  return fields.size() + static_cast<std::size_t>(std::count(at, stop, '\0'));
}

std::size_t PdbFile::recordFieldViews(int index, std::size_t most, std::vector<std::string_view>& fields) const {
  const auto [first, last] = RecordBodyRange(index, header_.recordCount);
  return FieldViews(first, last, most, fields);
}

std::vector<std::string> PdbFile::recordFields(int index) const {
  std::vector<std::string_view> views;
  recordFieldViews(index, views.max_size(), views);
  return {views.begin(), views.end()};
}

std::string BuildPdbFrom(const PdbHeaderOut& header, const PdbRecordSource& records) {
  // First the size of every body, for the record list.
  std::vector<std::uint64_t> sizes;
  std::uint64_t bodies = 0;
  records([&](const PdbRecord& r) {
    std::uint64_t n = 0;
    for (const std::string& f : r) n += f.size() + 1;
    sizes.push_back(n);
    bodies += n;
  });
  if (sizes.size() > 0xFFFF)
    throw VeklaError(cp("Databáze může mít nejvýše 65535 záznamů, tato by jich měla ") + std::to_string(sizes.size()) +
                     ".");
  const auto count = static_cast<std::uint32_t>(sizes.size());
  const std::uint64_t first = kHeaderSize + kEntrySize * (std::uint64_t{count} + 1);
  if (first + bodies - (sizes.empty() ? 0 : sizes.back()) > 0xFFFFFFFFu)
    throw VeklaError(cp("Databáze je příliš velká."));

  std::string out;
  out.reserve(static_cast<std::size_t>(first + bodies));
  // The name keeps one byte for its NUL: Palm OS counts the terminator in the 32.
  putFixed(out, std::string_view(header.name).substr(0, kNameField - 1), kNameField);
  out += std::string("\x00\x08", 2);  // attributes
  out += std::string(2, '\0');        // version
  out.append(reinterpret_cast<const char*>(header.created.data()), 4);
  out.append(reinterpret_cast<const char*>(header.modified.data()), 4);
  putBe32(out, 1);  // last backup date
  putBe32(out, 0);  // modification number
  putBe32(out, 0);  // application-info offset
  putBe32(out, 0);  // sort-info offset
  putFixed(out, header.type, 4);
  putFixed(out, header.creator, 4);
  putBe32(out, 0);  // unique-ID seed
  putBe32(out, 0);  // next record list
  const std::uint16_t raw = SwapWord(static_cast<std::uint16_t>(count));
  out.push_back(static_cast<char>(raw & 0xFF));
  out.push_back(static_cast<char>(raw >> 8));

  std::uint64_t p = first;
  for (const std::uint64_t n : sizes) {
    putBe32(out, static_cast<std::uint32_t>(p));
    out.append(4, '\0');  // attributes and unique ID
    p += n;
  }
  out.append(kEntrySize, '\0');
  // Then the bodies, made once more.
  records([&](const PdbRecord& r) {
    for (const std::string& f : r) {
      out += f;
      out.push_back('\0');
    }
  });
  return out;
}

std::string BuildPdb(const PdbHeaderOut& header, const std::vector<PdbRecord>& records) {
  return BuildPdbFrom(header, [&](const std::function<void(const PdbRecord&)>& add) {
    for (const PdbRecord& r : records) add(r);
  });
}

namespace {

// A database the reader would refuse is not written: the teacher could
// never open it again, and the file it replaces would be lost with it.
void writeReadable(const QString& path, const std::string& bytes) {
  const auto size = static_cast<std::int64_t>(bytes.size());
  if (size > kMaxFileSize) throw VeklaError(TooLargeToWriteMessage(path, size, kMaxFileSize));
  WriteFileAtomic(path, bytes);
}

}  // namespace

void WritePdb(const QString& path, const PdbHeaderOut& header, const std::vector<PdbRecord>& records) {
  writeReadable(path, BuildPdb(header, records));
}

void WritePdbFrom(const QString& path, const PdbHeaderOut& header, const PdbRecordSource& records) {
  writeReadable(path, BuildPdbFrom(header, records));
}

}  // namespace vekla
