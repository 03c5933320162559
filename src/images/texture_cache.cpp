#include "images/texture_cache.h"

#include <algorithm>

#include <sys/stat.h>

#include <cstdio>

const TextureCache::TextureEntry* TextureCache::findEntry(const std::string& name) const {
  const auto found = newestEntry_.find(name);
  return found == newestEntry_.end() ? nullptr : &entries_[found->second];
}

int TextureCache::find(const std::string& name) const {
  const TextureEntry* entry = findEntry(name);
  return entry ? entry->id : -1;
}

bool TextureCache::failed(const std::string& name) const {
  const TextureEntry* entry = findEntry(name);
  return entry && entry->id == -1;
}

void TextureCache::remember(const std::string& name, int id) {
  newestEntry_[name] = entries_.size();
  entries_.push_back({name, id});
}

bool TextureCache::identify(const std::string& name, FileIdentity& identity) {
  struct stat info;
  if (stat(name.c_str(), &info) != 0) return false;
  identity = {info.st_dev, info.st_ino, info.st_size,
              info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec};
  return true;
}

int TextureCache::acquire(const std::string& name, bool retryFailed) {
  // A remembered failure answers at once: the model acquires its textures on
  // every frame, and retrying there would read the file and use up an id each
  // time.
  const TextureEntry* entry = findEntry(name);
  if (entry && (entry->id != -1 || !retryFailed)) return entry->id;
  // Another name for a file already read shares its texture.
  FileIdentity identity;
  const bool known = identify(name, identity);
  if (known) {
    const auto found = idOfFile_.find(identity);
    if (found != idOfFile_.end()) {
      remember(name, found->second);
      return found->second;
    }
  }
  const int id = loadImage(name);
  remember(name, id);
  if (id != -1 && known) idOfFile_[identity] = id;
  return id;
}

unsigned TextureCache::uploadedName(int id) const {
  const auto found = uploadedNames_.find(id);
  return found == uploadedNames_.end() ? 0 : found->second;
}

int TextureCache::loadImage(const std::string& name) {
  int id = ++lastId_;  // consumed even when the file cannot be read
  DecodedImage image;
  if (!decodeImageFile(name, image, &lastFailure_)) return -1;
  imageSizes_[id] = {image.width, image.height};
  if (uploader_) uploadedNames_[id] = uploader_(id, image);
  std::printf("Texture loaded! (ID: %d)\n", id);
  return id;
}

int TextureCache::largerSide(int id) const {
  const auto [width, height] = imageSize(id);
  return std::max(width, height);
}

std::pair<int, int> TextureCache::imageSize(int id) const {
  const auto found = imageSizes_.find(id);
  return found == imageSizes_.end() ? std::pair<int, int>{0, 0} : found->second;
}
