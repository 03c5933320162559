// Telling the editor's own model files from files of other tools by their
// first lines. A first number alone is not enough: every ASCII DXF starts
// with the line "0", and a binary STL's free header may start "1" and a line
// break. A model file goes on with the first vertex (three numbers) after a
// vertex count above 0, or with the group count alone after a count of 0.

#include <algorithm>

#include "formats/model_file.h"

namespace {

bool blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool digit(char c) {
  return c >= '0' && c <= '9';
}

// The characters a number may be made of, as the reader takes them.
bool numberCharacter(char c) {
  return digit(c) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// The lines of `head`, the last one perhaps cut short by the head's end.
class Lines {
 public:
  explicit Lines(std::string_view head) : head_(head) {}
  // The next line that holds more than blanks; false when the head ends first.
  bool next(std::string_view& line) {
    while (at_ < head_.size()) {
      const size_t end = std::min(head_.find('\n', at_), head_.size());
      line = head_.substr(at_, end - at_);
      at_ = end + 1;
      for (char c : line)
        if (!blank(c)) return true;
    }
    return false;
  }

 private:
  std::string_view head_;
  size_t at_ = 0;
};

// The numbers of `line`, -1 when it holds anything else. When the line is
// `cut` by the head's end, its last number may be cut short too.
int numbersIn(std::string_view line, bool cut) {
  int numbers = 0;
  size_t at = 0;
  while (at < line.size()) {
    if (blank(line[at])) {
      ++at;
      continue;
    }
    bool digits = false;
    while (at < line.size() && numberCharacter(line[at])) digits |= digit(line[at++]);
    if (at < line.size() && !blank(line[at])) return -1;
    if (!digits && !(cut && at == line.size())) return -1;
    ++numbers;
  }
  return numbers;
}

// A count alone on its line, `positive` when above 0.
bool countAlone(std::string_view line, bool& positive) {
  size_t at = 0;
  while (at < line.size() && blank(line[at])) ++at;
  const bool negative = at < line.size() && line[at] == '-';
  at += negative;
  const size_t digits = at;
  bool nonZero = false;
  while (at < line.size() && digit(line[at])) nonZero |= line[at++] != '0';
  if (at == digits) return false;
  positive = nonZero && !negative;
  while (at < line.size() && blank(line[at])) ++at;
  return at == line.size();
}

}  // namespace

bool startsLikeModelFile(std::string_view head) {
  Lines lines(head);
  std::string_view line;
  // An empty file is the reader's to name as such.
  if (!lines.next(line)) return true;
  bool vertices = false;
  if (!countAlone(line, vertices)) return false;
  // A head that ends here is a model file cut short, for the reader to say so.
  if (!lines.next(line)) return true;
  if (!vertices) return countAlone(line, vertices);
  const bool cut = line.end() == head.end();
  const int numbers = numbersIn(line, cut);
  return numbers == 3 || (cut && numbers >= 1 && numbers < 3);
}

bool startsLikeModelFile(std::FILE* file) {
  char head[kModelFileHeadBytes];
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  return startsLikeModelFile(std::string_view(head, got));
}
