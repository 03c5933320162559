#pragma once
// The importer reads the imported file, and every file it names (a glTF's
// buffers, an OBJ's material library), through this: only regular files in
// the imported file's folder and below are opened. What it refused is kept,
// so that the user is told which file was left out and why.

#include <assimp/DefaultIOSystem.h>

#include <cstdio>
#include <string>
#include <vector>

#include "files/confined_paths.h"

class ConfinedIOSystem : public Assimp::DefaultIOSystem {
 public:
  explicit ConfinedIOSystem(const std::string& importedFile);

  bool Exists(const char* path) const override;
  Assimp::IOStream* Open(const char* path, const char* mode = "rb") override;

  // One line per file refused: "file NAME not read (REASON)".
  const std::vector<std::string>& refusals() const { return refusals_; }

 private:
  std::FILE* openRead(const char* path) const;
  void refuse(const std::string& path, const std::string& why) const;

  FolderBounds bounds_;
  std::string folder_;  // the imported file's folder as named, with a "/"
  mutable std::vector<std::string> refusals_;
};
