#pragma once
// A binary glTF file (GLB) declares its length and the length of each chunk
// in its headers, and the importer allocates what they declare before it
// reads: 24 bytes that claim 4 GB would take 4 GB and seconds to refuse.
// The lengths are checked against the file's size before the importer reads.

#include <cstdint>
#include <cstdio>
#include <string>

// A GLB header's word: four bytes, the lowest first.
inline uint32_t glbWord(const unsigned char* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
         uint32_t{bytes[3]} << 24;
}

// True when `file` is no GLB, or one whose declared lengths fit its size;
// false with the reason otherwise.
bool glbLengthsFit(std::FILE* file, std::string* reason);
