#pragma once
// Splits a console line into words at a delimiter (the blank). Runs of
// delimiters count as one separator; leading and trailing ones are ignored.

#include <string>
#include <vector>

class Tokenizer {
 public:
  explicit Tokenizer(char delimiter = ' ') : delimiter_(delimiter) {}
  std::vector<std::string> split(const std::string& text) const;
  char delimiter() const { return delimiter_; }

 private:
  char delimiter_;
};
