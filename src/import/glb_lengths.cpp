#include "import/glb_lengths.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstring>

namespace {

bool readAt(std::FILE* file, uint64_t offset, unsigned char* to, size_t bytes) {
  return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
         std::fread(to, 1, bytes, file) == bytes;
}

bool refuse(std::string* reason, const std::string& what, uint64_t declared, uint64_t held) {
  if (reason)
    *reason = "The GLB file's " + what + " declares " + std::to_string(declared) +
              " bytes, but the file holds " + std::to_string(held) + ".";
  return false;
}

}  // namespace

bool glbLengthsFit(std::FILE* file, std::string* reason) {
  struct stat info;
  unsigned char header[12];
  if (fstat(fileno(file), &info) != 0 || !readAt(file, 0, header, sizeof header) ||
      std::memcmp(header, "glTF", 4) != 0)
    return true;
  const uint64_t size = static_cast<uint64_t>(info.st_size);
  const uint64_t total = glbWord(header + 8);
  if (total > size) return refuse(reason, "header", total, size);
  // Version 2 puts a length and a type before each chunk; version 1 has one
  // content of a length and a format.
  constexpr uint64_t kChunkHeader = 8;
  const bool first = glbWord(header + 4) == 1;
  for (uint64_t offset = 12; offset + kChunkHeader <= total;) {
    unsigned char chunk[4];
    if (!readAt(file, offset, chunk, sizeof chunk)) return true;
    const uint64_t length = glbWord(chunk);
    const uint64_t left = total - offset - kChunkHeader;
    if (length > left)
      return refuse(reason, "chunk at byte " + std::to_string(offset), length, left);
    if (first) break;
    offset += kChunkHeader + length;
  }
  std::rewind(file);
  return true;
}
