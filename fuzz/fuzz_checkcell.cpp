// The cell checks of every kind, row and column over any text: the first
// byte chooses the kind, the next two the cell; a check never throws and
// gives a text no longer than the column allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzzstate.h"
#include "workspace/checks.h"
#include "workspace/kindops.h"

using namespace vekla;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  static VeklaState tabs[4] = {fuzz::FreshTab(DbKind::Znamky), fuzz::FreshTab(DbKind::Rozpisy),
                               fuzz::FreshTab(DbKind::Rozvrh), fuzz::FreshTab(DbKind::Kalendar)};
  VeklaState& s = tabs[data[0] % 4];
  const int col = 1 + data[1] % (s.grid.colCount() - 1);
  const int row = 1 + data[2] % (s.grid.rowCount() - 1);
  const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
  const std::string checked = CheckCell(s, text, {col, row});
  // Every repair is a cut, a replacement or a reformat of a short text.
  if (checked.size() > std::max<std::size_t>(text.size(), 260)) std::abort();
  if (s.Memo1.size() > 64) s.Memo1.clear();
  return 0;
}
