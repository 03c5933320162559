#pragma once
// Finding a texture as other tools name it. Windows tools write "\" between
// folders, keep the absolute path of the machine the model was made on
// (D:\projects\ship\wood.jpg), name files from a folder layout that did not
// travel with the model (..\..\maps\wood.jpg), and do not care about case
// (WOOD.JPG for wood.jpg). Such a texture is looked for in the imported
// file's folder and its subfolders, and never outside them.

#include <cstddef>
#include <string>
#include <vector>

#include <absl/container/flat_hash_map.h>

// A texture path with "/" for every "\", and of a path absolute on a Windows
// machine (a drive letter, or a \\server share) only its file name.
std::string portableTexturePath(const std::string& written);

// The files of a folder tree by name, read once, on the first question. The
// walk is bounded (kMaxDepth folders down, kMaxEntries entries in all), so
// that a model imported from a home folder does not read the whole disk, and
// it follows no link to a folder.
class FolderIndex {
 public:
  static constexpr int kMaxDepth = 8;
  static constexpr size_t kMaxEntries = 20000;

  explicit FolderIndex(std::string folder, size_t maxEntries = kMaxEntries);

  // The file of the tree, as a path from the folder, that `path` (with "/"
  // separators) names best: one of the same file name, or of that name in
  // another case only when no file has the exact name; among them the one
  // under the most of the path's last folder names, then the shallowest,
  // then the first by name. "" when no file has the name.
  std::string find(const std::string& path);

 private:
  void build();

  std::string folder_;
  size_t maxEntries_;
  bool built_ = false;
  // Lower-case file name -> the files of that name, as paths from the folder.
  absl::flat_hash_map<std::string, std::vector<std::string>> byName_;
};
