#pragma once
// Files the editor writes on its own account (textures beside an imported
// model, the parts of an export), never through anything planted at their
// names: no link, dangling or not, is followed, no fifo or device written.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

enum class NewFile { kCreated, kNameTaken, kFailed };

// Creates `path` holding `bytes`, only when nothing at all is at that name
// (O_EXCL | O_NOFOLLOW). A file that cannot be written whole is removed
// again; kFailed says why in `reason` (when given).
NewFile createNewFile(const std::string& path, std::string_view bytes,
                      std::string* reason = nullptr);

// Makes the folder `path` and each missing folder above it readable by the
// user alone (0700), as a folder of the user's own state should be: the
// names in it may tell what the user works on. True when `path` is a folder.
bool makePrivateFolders(const std::string& path);

// Opens `path` for reading when it is a regular file of the user's own, not
// a link to one; null otherwise.
std::FILE* openOwnFile(const std::string& path);

// The file a link at `path` leads to, through every link of a chain
// (`path` itself when it is no link); "" when the chain does not end.
std::string linkTarget(std::string path);

struct FilePart {
  std::string path;
  std::string bytes;
};

// Replaces the files of one export together: every part is written whole to
// a temporary beside it first, taking the old file's permissions, owner and
// group, and only then are they all renamed into place, in order. When any
// part cannot be written no old file changes and no temporary stays. A part
// whose path holds anything but a regular file (a link too: it is not
// followed), or a file the user may not write, is refused.
bool replaceFilesTogether(const std::vector<FilePart>& parts, std::string* reason);
