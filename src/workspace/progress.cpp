#include "workspace/progress.h"

#include "workspace/kindops.h"

namespace vekla {

void CheckAllCells(VeklaState& s, Prompter& p) {
  CheckAllCells(s, [&](const std::string& text) { ShowProgress(s, p, text); });
}

CodecReport ReportTo(VeklaState& s, Prompter& p) {
  CodecReport r;
  r.warn = [&p](const std::string& text) { p.message(text); };
  r.progress = [&s, &p](const std::string& text) { ShowProgress(s, p, text); };
  return r;
}

}  // namespace vekla
