// The CSV import of each kind, plain and as a values file (the first byte
// chooses): any bytes are read, repaired and checked, or refused with one
// message, and a refused file changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands/kindtable.h"
#include "convert/csvinput.h"
#include "fuzz/fuzzstate.h"
#include "pdb/error.h"

using namespace vekla;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const DbKind kind = fuzz::KindOf(data[0]);
  const bool values = (data[0] & 4) != 0 && kind == DbKind::Znamky;
  const KindEntry& entry = KindTable(kind);
  const ImportCodec codec = entry.importer(values ? Conversion::ImportCsvTwoValues : Conversion::ImportCsv);
  if (!codec) return 0;
  VeklaState s = fuzz::FreshTab(kind);
  const std::string before = fuzz::Fingerprint(s);
  try {
    std::vector<std::string> log;
    const std::string text = CsvTextToCp1250(std::string(reinterpret_cast<const char*>(data + 1), size - 1), log);
    VeklaState t = s;
    codec(t, text, fuzz::Folder() + "f.csv", {});
  } catch (const VeklaError&) {
    if (fuzz::Fingerprint(s) != before) std::abort();
  }
  return 0;
}
