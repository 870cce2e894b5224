#include "workspace/state.h"

namespace vekla {

void Log(VeklaState& s, std::string line) {
  if (line.size() > kMaxLogLine) {
    // A fresh string: the long one's memory goes with it.
    line = line.substr(0, kMaxLogLine) + "\x85";  // "…" in code page 1250
  }
  s.Memo1.push_back(std::move(line));
}

}  // namespace vekla
