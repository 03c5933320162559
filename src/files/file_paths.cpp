#include "files/file_paths.h"

#include <cctype>
#include <cstdio>

std::string fileNameOfPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string stemOf(const std::string& path) {
  const std::string name = fileNameOfPath(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string extensionOf(const std::string& path) {
  const std::string name = fileNameOfPath(path);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return "";
  std::string ext = name.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

bool hasControlCharacter(const std::string& name) {
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

std::string shownName(const std::string& name) {
  std::string shown;
  auto escape = [&shown](unsigned char c) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", c);
    shown += text;
  };
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = name[i], next = i + 1 < name.size() ? name[i + 1] : 0;
    if (c < 0x20 || c == 0x7F) {
      escape(c);
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
      // A control of the second set in UTF-8 (U+009B opens a terminal
      // command as ESC [ does).
      escape(c), escape(next), ++i;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}
