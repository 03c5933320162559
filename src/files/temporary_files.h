#pragma once
// The temporaries a save writes beside its target before renaming one into
// place, and the clean-up of those that a killed save left there.
//
// A temporary is named ".NAME." (the target's name cut to fit the file-name
// limit), six random characters, "~" and twelve hexadecimal digits that check
// the rest of the name: a name no user picks. The clean-up removes only files
// of such names whose check holds, and only regular files with a single link
// that no running save holds locked, so that a file the editor did not make
// (".NAME.backup", ".NAME.notes1", a link the user made to a temporary)
// always stays.

#include <cstddef>
#include <string>

// What follows ".NAME." in a temporary's name: the random part, "~", the check.
inline constexpr size_t kTemporaryRandomPart = 6;
inline constexpr size_t kTemporarySuffix = kTemporaryRandomPart + 1 + 12;

// ".NAME.", the target's name cut so that a temporary's whole name fits the limit.
std::string temporaryPrefix(const std::string& target);

// Makes a new temporary beside `target` (readable and writable by the user
// alone, locked with flock for as long as the descriptor is open) and puts
// its path in `path`; -1 with errno set when none can be made.
int createTemporary(const std::string& target, std::string& path);

// Removes the temporaries beside `target` that no running save holds.
void removeLeftoverTemporaries(const std::string& target);
