#pragma once
// Writing a whole file the user named, without ever leaving it half-written
// or taking it from its owner.
//
// The usual way: the text goes to a temporary file beside the target (named
// as files/temporary_files.h says, ".NAME." and a random part), which gets the
// target's permissions, owner and group and replaces the target by rename
// only once it is completely on disk. A symbolic link keeps pointing at the
// saved file.
//
// In place instead, when a rename would break something: the target has more
// than one hard link, the folder takes no new file, or the target's owner
// cannot be given to a new file. The old content is kept (in memory, and in
// a backup beside the target where the folder allows) and written back if
// the new text cannot be written.
//
// Refused, with the target untouched: a target that is not a regular file, a
// file the user may not write, a folder where the file cannot be made.
//
// Temporaries and backups that a killed save left beside the target are
// removed by the next successful save to it; files that a running save holds,
// and every file of a name the editor does not give its temporaries, are left
// alone.

#include <functional>
#include <string>
#include <string_view>

class HeldFile;

// Writes `text` to `path`; true once it is durably there. `starting` runs
// once, just before the first byte of the new text is written (never for a
// refused target). On failure `reason` (when given) says why.
bool replaceFileContents(const std::string& path, std::string_view text,
                         const std::function<void()>& starting = {}, std::string* reason = nullptr);

// A file of the editor's own (not one the user named), put in place without
// ever writing into an existing file or through a link: the text goes to a
// new temporary beside `path` (readable by the user alone), which
// is renamed into place once completely on disk. Only the file `held` holds at
// `path` is replaced; when anything else is there (another editor's file, a
// link, a fifo) it is left alone and the answer is kTaken. Once placed,
// `held` holds the new file, locked as HeldFile says.
enum class Placement { kPlaced, kTaken, kFailed };
Placement placeNewFile(const std::string& path, std::string_view text, HeldFile& held,
                       std::string* reason = nullptr);
