#pragma once
// What a codec tells the command around it while it works. A codec never
// asks anything: it says what the user should read (in order, as it finds
// it) and how far it got; the command decides how to show both.
#include <functional>
#include <string>

namespace vekla {

struct CodecReport {
  std::function<void(const std::string&)> warn = [](const std::string&) {};
  // The progress label's text ("37 %"; "" when done).
  std::function<void(const std::string&)> progress = [](const std::string&) {};
};

}  // namespace vekla
