#include "gui/text.h"

int clippedLength(const std::string& text, int maxWidth, int (*charWidth)(unsigned char)) {
  int drawn = 0;
  int sum = 0;
  for (char c : text) {
    // Measured after drawing, so the character that crosses the limit is kept.
    ++drawn;
    sum += charWidth(static_cast<unsigned char>(c));
    if (sum >= maxWidth) break;
  }
  return drawn;
}

std::vector<std::string> wrappedRows(const std::string& text, int maxWidth,
                                     int (*charWidth)(unsigned char)) {
  std::vector<std::string> rows;
  const size_t n = text.size();
  size_t start = 0;
  do {
    // The first character that would cross the row's width.
    size_t end = start;
    int sum = 0;
    while (end < n) {
      sum += charWidth(static_cast<unsigned char>(text[end]));
      if (sum > maxWidth && end > start) break;
      ++end;
    }
    // Broken at the last run of spaces that fits, when a character stays before it.
    size_t next = end;
    const size_t space = end < n ? text.rfind(' ', end) : std::string::npos;
    if (space != std::string::npos && space > start) {
      size_t trimmed = space;
      while (trimmed > start && text[trimmed - 1] == ' ') --trimmed;
      if (trimmed > start) end = trimmed, next = space;
    }
    rows.push_back(text.substr(start, end - start));
    while (next < n && text[next] == ' ') ++next;
    start = next;
  } while (start < n);
  return rows;
}
