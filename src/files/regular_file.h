#pragma once
// Opens a file the user named for reading, but only when it is a regular
// file: a named pipe would block the editor until some other program writes
// to it, and a device such as /dev/zero never ends.

#include <cstdio>
#include <string>

// The open file, or null when it cannot be opened or is no regular file;
// then `reason` (when given) says which.
std::FILE* openRegularFile(const std::string& path, std::string* reason = nullptr);
