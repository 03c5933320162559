// Telling the editor's own model files from files of other tools by their
// first bytes: a model file opens with its vertex count alone on a line,
// which no binary format and few text formats do.

#include "formats/model_file.h"

namespace {

bool blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool digit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

bool startsLikeModelFile(std::string_view head) {
  size_t at = 0;
  while (at < head.size() && blank(head[at])) ++at;
  // An empty file is a model file cut short, for the reader to say so.
  if (at == head.size()) return true;
  if (head[at] == '-') ++at;  // a negative count is the reader's to refuse
  const size_t digits = at;
  while (at < head.size() && digit(head[at])) ++at;
  if (at == digits) return false;
  while (at < head.size() && (head[at] == ' ' || head[at] == '\t' || head[at] == '\r')) ++at;
  return at == head.size() || head[at] == '\n';
}

bool startsLikeModelFile(std::FILE* file) {
  char head[kModelFileHeadBytes];
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  return startsLikeModelFile(std::string_view(head, got));
}
