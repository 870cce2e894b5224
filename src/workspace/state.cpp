#include "workspace/state.h"

namespace vekla {

void Log(VeklaState& s, std::string line) { s.Memo1.push_back(std::move(line)); }

}  // namespace vekla
