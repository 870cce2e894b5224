// Opening a database of each kind (the first byte chooses the tab): a file
// that cannot be read leaves the tab exactly as it was.
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "commands/commands.h"
#include "fuzz/fuzzstate.h"
#include "tests/support/scriptedprompter.h"
#include "workspace/kindparams.h"

using namespace vekla;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const DbKind kind = fuzz::KindOf(data[0]);
  const QString path = fuzz::Folder() + QString::fromStdString(KindPrefix(kind)) + "fuzz.PDB";
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) std::abort();
    f.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
  }
  VeklaState s = fuzz::FreshTab(kind);
  test::ScriptedPrompter p;
  const std::string before = fuzz::Fingerprint(s);
  const Outcome outcome = RunCommand(s, p, [&] { return OpenDatabase(s, p, path, true); });
  // All or nothing: a file not read changes nothing.
  if (outcome != Outcome::Done && fuzz::Fingerprint(s) != before) std::abort();
  return 0;
}
