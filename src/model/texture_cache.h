#pragma once
// File name -> texture id. Each file is read once and remembered by name; ids
// count up from 1 and one is consumed by every load attempt. Decoding is pure;
// handing the pixels to OpenGL is the uploader's job, set by the window layer
// (without one, as in unit tests, images are decoded and counted only).

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// An image as OpenGL wants it: RGBA rows, the first row being the bottom one
// (for an ordinary bottom-up BMP, the first row stored in the file).
struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;  // width * height * 4 bytes
};

// Decodes a BMP file (or bytes of one). Returns false for anything that is not
// a BMP this decoder reads, or whose header promises more pixels than it holds.
bool decodeBmpFile(const std::string& path, DecodedImage& image);
bool decodeBmp(const unsigned char* data, size_t size, DecodedImage& image);
// Any texture image the editor reads: BMP, PNG, TGA or JPEG, told apart by
// their first bytes, with the same checks as for BMP before any allocation.
bool decodeImageFile(const std::string& path, DecodedImage& image);
bool decodeImage(const unsigned char* data, size_t size, DecodedImage& image);

class TextureCache {
 public:
  using Uploader = std::function<void(int id, const DecodedImage& image)>;

  struct TextureEntry {
    std::string name;  // the file name exactly as given
    int id = -1;       // the texture id, or -1 when reading the file failed
  };

  void setUploader(Uploader uploader) { uploader_ = std::move(uploader); }

  // The id of the newest entry with exactly this name, -1 when there is none.
  int find(const std::string& name) const;
  // True when the newest attempt to read this name failed.
  bool failed(const std::string& name) const;
  // The remembered id of name, reading the file only the first time. A name
  // whose file failed answers -1 without touching the file again, unless
  // `retryFailed` asks for a fresh attempt (an explicit user request).
  int acquire(const std::string& name, bool retryFailed = false);
  // Reads the file and uploads it under a new id; -1 when it cannot be read.
  int loadImage(const std::string& name);

  int lastId() const { return lastId_; }
  const std::vector<TextureEntry>& entries() const { return entries_; }  // oldest first

 private:
  const TextureEntry* findEntry(const std::string& name) const;

  int lastId_ = 0;
  std::vector<TextureEntry> entries_;
  Uploader uploader_;
};
