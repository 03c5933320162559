#pragma once
// Pieces of a path, taken apart by its text alone.

#include <string>

// The directory part of a path ("." for a bare name) and the name without
// directory and without its last extension.
std::string directoryOf(const std::string& path);
std::string stemOf(const std::string& path);
// The extension with its dot, in lower case ("" when there is none).
std::string extensionOf(const std::string& path);
