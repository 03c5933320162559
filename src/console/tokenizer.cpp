#include "console/tokenizer.h"

std::vector<std::string> Tokenizer::split(const std::string& text) const {
  std::vector<std::string> words;
  size_t i = 0, n = text.size();
  while (i < n) {
    while (i < n && text[i] == delimiter_) ++i;
    size_t start = i;
    while (i < n && text[i] != delimiter_) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}
