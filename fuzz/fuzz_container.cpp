// The Palm database container: any bytes either read as a header and
// records whose fields all lie inside the file, or give one clear error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "pdb/error.h"
#include "pdb/pdbfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const vekla::PdbFile pdb =
        vekla::PdbFile::fromBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz.PDB");
    const int records = pdb.header().recordCount;
    for (int i = 1; i <= records; ++i) (void)pdb.recordFields(i);
  } catch (const vekla::VeklaError&) {
  }
  return 0;
}
