#pragma once
// Helpers to build expected file bytes by hand in tests.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "pdb/text.h"

namespace vekla::test {

// Big-endian 16- and 32-bit numbers.
inline std::string be16(std::uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
inline std::string be32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 8) & 0xFF),
          static_cast<char>(v & 0xFF)};
}
inline std::string zeros(std::size_t n) { return std::string(n, '\0'); }
// A record body from its fields: each followed by a NUL.
inline std::string body(std::initializer_list<std::string> fields) {
  std::string out;
  for (const auto& f : fields) {
    out += f;
    out.push_back('\0');
  }
  return out;
}

}  // namespace vekla::test

#include <vector>

namespace vekla::test {

// A whole Palm database built byte by byte, independent of the program's
// writer: 78-byte header, the entries, eight zero bytes, then the bodies.
inline std::string pdbBytes(const std::string& name, const std::string& type, const std::string& creator,
                            std::uint32_t created, std::uint32_t modified,
                            const std::vector<std::string>& bodies) {
  std::string h = name.substr(0, 32);
  h += zeros(32 - h.size());
  h += be16(8) + be16(0) + be32(created) + be32(modified) + be32(1) + be32(0) + be32(0) + be32(0);
  std::string t = type.substr(0, 4), c = creator.substr(0, 4);
  h += t + zeros(4 - t.size()) + c + zeros(4 - c.size());
  h += be32(0) + be32(0) + be16(static_cast<std::uint16_t>(bodies.size()));
  std::uint32_t p = 78 + 8 * (static_cast<std::uint32_t>(bodies.size()) + 1);
  for (const auto& b : bodies) {
    h += be32(p) + zeros(4);
    p += static_cast<std::uint32_t>(b.size());
  }
  h += zeros(8);
  for (const auto& b : bodies) h += b;
  return h;
}

}  // namespace vekla::test
