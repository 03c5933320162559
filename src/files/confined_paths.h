#pragma once
// Files named inside another file (a glTF's buffers, an OBJ's material
// library, a texture) are read only from that file's folder and below: a name
// such as "../../secret.bin", an absolute path or a link out of the folder
// would otherwise pull any file the user can read into a model, an export or
// a copy beside it. And only regular files: a fifo would block the reader.

#include <cstdio>
#include <string>

class FolderBounds {
 public:
  // The folder `file` lies in; the file itself counts as inside, wherever
  // its own links lead.
  explicit FolderBounds(const std::string& file);

  // `path` (relative to the working directory) with its links followed and
  // "." and ".." taken away, when that lies in the folder or below; "" when
  // it does not. A missing file is judged by its name.
  std::string inside(const std::string& path) const;

  // Opens a regular file inside the folder for reading; null otherwise, with
  // the reason: "outside the model's folder", "not a regular file" or the
  // system's.
  std::FILE* open(const std::string& path, std::string* reason) const;

 private:
  std::string folder_;  // without links, "." or ".."
  std::string file_;    // likewise
};

inline constexpr const char* kOutsideFolder = "outside the model's folder";
