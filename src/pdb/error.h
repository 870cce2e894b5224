#pragma once
#include <stdexcept>
#include <string>

namespace vekla {

// A failure that ends the current command: a file that cannot be read or
// written, a malformed database, a conversion that cannot go on. The text is
// Czech in code page 1250 and is shown to the user as it stands.
class VeklaError : public std::runtime_error {
 public:
  explicit VeklaError(std::string cpText) : std::runtime_error(cpText), text_(std::move(cpText)) {}
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace vekla
