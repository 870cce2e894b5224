#pragma once
// The Palm database container: a 78-byte header, 8-byte record entries and
// record bodies of NUL-terminated text fields. Files are read whole into
// memory; every offset is checked against the file so that no input can
// crash the reader or make it allocate without bound.
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pdb/codecs.h"

namespace vekla {

struct PdbHeader {
  std::string name;    // up to the first NUL of the 32-byte field
  PalmTime created{};  // raw timestamp bytes
  PalmTime modified{};
  std::string type;     // up to 4 characters, up to the first NUL
  std::string creator;  // likewise
  std::uint16_t recordCount = 0;
};

// The largest database file Vekla reads: several times the largest grade
// book the handheld keeps (2.9 MB), far below what would strain the memory.
inline constexpr std::int64_t kMaxFileSize = 16 * 1024 * 1024;
// The header's record count is 16 bits.
inline constexpr int kMaxRecords = 65535;

class PdbFile {
 public:
  // Throws VeklaError (naming the file) when it cannot be read, is shorter
  // than the header, or its record list runs past the end of the file.
  static PdbFile load(const QString& path);
  // The header alone, with the same checks and errors as load: reads only
  // the header and the record list.
  static PdbHeader loadHeader(const QString& path);
  static PdbFile fromBytes(std::string bytes, const QString& nameForMessages = {});

  const PdbHeader& header() const { return header_; }
  // The file it was read from (for messages); empty for bytes from memory.
  const QString& path() const { return path_; }
  std::int64_t size() const { return static_cast<std::int64_t>(bytes_.size()); }

  // Offset of record `index` (from 1).
  std::int64_t ReadRecordEntry(int index) const;
  // Inclusive byte range of body `index` of `count`; the last body runs to the
  // end of the file. Throws VeklaError for offsets outside the file or going
  // backwards. `last` < `first` for an empty body.
  std::pair<std::int64_t, std::int64_t> RecordBodyRange(int index, int count) const;
  // Calls `field` with (field number from 1, text) each time a NUL ends a
  // field in [first, last]; stops quietly at the end of the file.
  void ReadRecordFields(std::int64_t first, std::int64_t last,
                        const std::function<void(int, std::string_view)>& field) const;
  // The first `most` fields in [first, last] as views into the file, into
  // `fields`; returns how many fields the range holds in all. The fields
  // beyond `most` are only counted, so a record of millions of empty fields
  // costs one pass over its bytes, not millions of strings.
  std::size_t FieldViews(std::int64_t first, std::int64_t last, std::size_t most,
                         std::vector<std::string_view>& fields) const;
  // The same for record `index` (of the header's count). Readers take as
  // many fields as their kind has a use for and count the rest.
  std::size_t recordFieldViews(int index, std::size_t most, std::vector<std::string_view>& fields) const;
  // All fields of record `index`, as copies: for a record whose size is
  // known to be small (tests, tools).
  std::vector<std::string> recordFields(int index) const;

 private:
  std::string bytes_;
  PdbHeader header_;
  QString path_;
};

// What a writer puts into the header; the other fields get their fixed values.
struct PdbHeaderOut {
  std::string name;  // cut to 31 characters so a NUL always ends it
  PalmTime created{};
  PalmTime modified{};
  std::string type;     // at most 4 characters, zero-padded
  std::string creator;  // likewise
};

using PdbRecord = std::vector<std::string>;  // the fields, each written with a NUL after it

// Records made one at a time: calls `add` with each record, in order, the
// same records each time it runs.
using PdbRecordSource = std::function<void(const std::function<void(const PdbRecord&)>& add)>;

// Builds the whole file: header, entries, zero gap, bodies.
std::string BuildPdb(const PdbHeaderOut& header, const std::vector<PdbRecord>& records);
// The same from a source it runs twice, for the record list and for the
// bodies, so that no more than one record is held beside the file: the
// records of a large grade book would be a second copy of its semesters.
std::string BuildPdbFrom(const PdbHeaderOut& header, const PdbRecordSource& records);
// Builds and writes atomically; throws VeklaError naming the file on failure,
// and for a database larger than the reader reads (kMaxFileSize), which is
// then not written at all.
void WritePdb(const QString& path, const PdbHeaderOut& header, const std::vector<PdbRecord>& records);
void WritePdbFrom(const QString& path, const PdbHeaderOut& header, const PdbRecordSource& records);

}  // namespace vekla
