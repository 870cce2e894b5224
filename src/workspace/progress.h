#pragma once
// The progress label Lpohyb, repainted through the prompter.
#include <string>

#include "workspace/codecreport.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// Sets Lpohyb and repaints it (only when the text changes).
inline void ShowProgress(VeklaState& s, Prompter& p, const std::string& text) {
  if (text == s.Lpohyb) return;
  s.Lpohyb = text;
  p.progress(text);
}

// Every cell checked, with the progress in Lpohyb.
void CheckAllCells(VeklaState& s, Prompter& p);

// A codec's messages as message boxes and its progress in Lpohyb.
CodecReport ReportTo(VeklaState& s, Prompter& p);

}  // namespace vekla
