#include "convert/csvlines.h"

namespace vekla {

std::size_t CsvReader::next(std::vector<std::string>& fields, std::size_t most) {
  fields.clear();
  const std::size_t n = bytes_.size();
  if (pos_ >= n) return 0;
  for (std::size_t count = 1;; ++count) {
    std::string* const field = count <= most ? &fields.emplace_back() : nullptr;
    const bool quoted = pos_ < n && bytes_[pos_] == '"' && readQuoted(field);
    if (!quoted) readPlain(field);
    if (pos_ == n) return count;
    const char end = bytes_[pos_++];
    if (end == separator_) continue;
    if (end == '\r' && pos_ < n && bytes_[pos_] == '\n') ++pos_;
    return count;
  }
}

bool CsvReader::readQuoted(std::string* field) {
  std::size_t from = pos_ + 1;
  for (;;) {
    const std::size_t quote = bytes_.find('"', from);
    if (quote == std::string_view::npos) break;
    if (field) field->append(bytes_.substr(from, quote - from));
    const std::size_t after = quote + 1;
    if (after < bytes_.size() && bytes_[after] == '"') {
      if (field) field->push_back('"');
      from = after + 1;
      continue;
    }
    if (after == bytes_.size() || endsField(bytes_[after])) {
      pos_ = after;
      return true;
    }
    break;
  }
  if (field) field->clear();
  return false;
}

void CsvReader::readPlain(std::string* field) {
  // A plain loop: find_first_of would search the three ends for every byte.
  std::size_t end = pos_;
  while (end < bytes_.size() && !endsField(bytes_[end])) ++end;
  if (field) field->assign(bytes_.substr(pos_, end - pos_));
  pos_ = end;
}

void CsvWriter::field(std::string_view text) {
  if (inLine_) out_.push_back(separator_);
  inLine_ = true;
  const char ends[] = {separator_, '\r', '\n'};
  const bool quoted = text.find_first_of(std::string_view(ends, 3)) != std::string_view::npos ||
                      (!text.empty() && text[0] == '"');
  if (!quoted) {
    out_.append(text);
    return;
  }
  out_.push_back('"');
  for (char c : text) {
    if (c == '"') out_.push_back('"');
    out_.push_back(c);
  }
  out_.push_back('"');
}

void CsvWriter::endLine() {
  out_ += lineEnd_;
  inLine_ = false;
}

std::vector<std::vector<std::string>> SplitCsv(std::string_view bytes, char separator) {
  std::vector<std::vector<std::string>> lines;
  CsvReader in(bytes, separator);
  std::vector<std::string> fields;
  while (in.next(fields)) lines.push_back(fields);
  return lines;
}

std::string JoinCsv(const std::vector<std::vector<std::string>>& lines) {
  CsvWriter out;
  for (const auto& line : lines) {
    for (const auto& f : line) out.field(f);
    out.endLine();
  }
  return out.take();
}

}  // namespace vekla
