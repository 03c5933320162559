#pragma once
// Pieces of a path, taken apart by its text alone.

#include <string>

// The directory part of a path ("." for a bare name), the name without
// directory, and the name without directory and without its last extension.
std::string directoryOf(const std::string& path);
std::string fileNameOfPath(const std::string& path);
std::string stemOf(const std::string& path);
// The extension with its dot, in lower case ("" when there is none).
std::string extensionOf(const std::string& path);

// True when `name` holds a control character (a byte below 32, or 127),
// which no name written into a file may hold: a line break in an OBJ's
// "mtllib" line would start a line the name chose.
bool hasControlCharacter(const std::string& name);
// `name` for a message of one line or a line of the trace, safe for a
// terminal: control characters (also U+0080..U+009F) shown as "\xNN".
std::string shownName(const std::string& name);
