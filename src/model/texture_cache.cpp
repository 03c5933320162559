#include "model/texture_cache.h"

#include <cstdio>

const TextureCache::TextureEntry* TextureCache::findEntry(const std::string& name) const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    if (it->name == name) return &*it;
  return nullptr;
}

int TextureCache::find(const std::string& name) const {
  const TextureEntry* entry = findEntry(name);
  return entry ? entry->id : -1;
}

bool TextureCache::failed(const std::string& name) const {
  const TextureEntry* entry = findEntry(name);
  return entry && entry->id == -1;
}

int TextureCache::acquire(const std::string& name, bool retryFailed) {
  // A remembered failure answers at once: the model acquires its textures on
  // every frame, and retrying there would read the file and use up an id each
  // time.
  const TextureEntry* entry = findEntry(name);
  if (entry && (entry->id != -1 || !retryFailed)) return entry->id;
  int id = loadImage(name);
  entries_.push_back({name, id});
  return id;
}

int TextureCache::loadImage(const std::string& name) {
  int id = ++lastId_;  // consumed even when the file cannot be read
  DecodedImage image;
  if (!decodeImageFile(name, image)) return -1;
  if (uploader_) uploader_(id, image);
  std::printf("Texture loaded! (ID: %d)\n", id);
  return id;
}
