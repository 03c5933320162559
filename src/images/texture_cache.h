#pragma once
// File name -> texture id. Each image file is read once: remembered by name,
// and by the file itself, so that `t.bmp`, `./t.bmp` and `sub/../t.bmp` share
// one texture. Ids count up from 1 and one is consumed by every load attempt.
// Decoding is pure; handing the pixels to OpenGL is the uploader's job, set by
// the window layer (without one, as in unit tests, images are decoded and
// counted only). The uploader names each texture as OpenGL hands out names:
// an id is never a name, since other textures (the kept view pictures) take
// names from the same space.

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "images/image_decode.h"

class TextureCache {
 public:
  // Uploads the image of `id` and answers the name it has in OpenGL.
  using Uploader = std::function<unsigned(int id, const DecodedImage& image)>;

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
  // Why the newest failed attempt to read a file failed.
  const std::string& lastFailure() const { return lastFailure_; }
  // The name the uploader gave the texture of `id`; 0, no texture, for an id
  // that was never uploaded.
  unsigned uploadedName(int id) const;
  // The larger side in pixels of the image of `id`; 0 for an id never read.
  int largerSide(int id) const;
  // The width and height in pixels of the image of `id`; 0 x 0 for an id never read.
  std::pair<int, int> imageSize(int id) const;

  int lastId() const { return lastId_; }
  const std::vector<TextureEntry>& entries() const { return entries_; }  // oldest first

 private:
  // A file as the system knows it. Size and change time are part of it: a
  // removed file's inode number may come back for a new file.
  using FileIdentity = std::tuple<dev_t, ino_t, off_t, long long>;

  const TextureEntry* findEntry(const std::string& name) const;
  void remember(const std::string& name, int id);
  static bool identify(const std::string& name, FileIdentity& identity);

  int lastId_ = 0;
  std::vector<TextureEntry> entries_;
  std::unordered_map<std::string, size_t> newestEntry_;  // name -> index into entries_
  std::map<FileIdentity, int> idOfFile_;                 // files read successfully
  std::unordered_map<int, std::pair<int, int>> imageSizes_;
  std::unordered_map<int, unsigned> uploadedNames_;  // id -> the uploader's name
  std::string lastFailure_;
  Uploader uploader_;
};
