#pragma once
// Writes a whole file the way a save does: the bytes go to a temporary file
// beside the target, which replaces the target only once it is completely on
// disk, so the target is never half written. A symbolic link keeps pointing
// at the replaced file; a target that is no regular file is refused.

#include <string>

// False with a reason (the system's words) when the file cannot be written.
bool replaceFile(const std::string& path, const std::string& bytes, std::string* reason);

// The directory part of a path ("." for a bare name) and the name without
// directory and without its last extension.
std::string directoryOf(const std::string& path);
std::string stemOf(const std::string& path);
// The extension with its dot, in lower case ("" when there is none).
std::string extensionOf(const std::string& path);
