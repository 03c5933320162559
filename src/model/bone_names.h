#pragma once
// Bone names: one word of printable characters, as clip names are, that no
// other bone of the skeleton has. A name may say which side of the body its
// bone is on by a suffix (".L", "_R", ".l", "_r"): the mirrored bone's name
// has the other side's.

#include <string>
#include <string_view>

#include "model/model_image.h"

struct Bone;

// One word of at most kMaxClipName printable characters (model/animation.h).
bool isBoneName(std::string_view name);

// The name with its side suffix swapped (".L" <-> ".R", "_L" <-> "_R", the
// same in lower case); the name itself when it has no such suffix.
std::string swappedSide(std::string_view name);

// The bone of the tree below `root` (the root included) named `name`, null
// when none; "" names no bone.
Bone* boneNamed(Bone* root, std::string_view name);

// What is wrong with bone name `i` of the image against those before it, ""
// when nothing: a bone number out of range or out of order, a name that is
// not a bone name. (A name given twice is the whole list's fault.)
std::string boneNameFault(const ModelImage& image, size_t i);
// The first fault of any of the image's bone names, also a name given twice.
std::string boneNamesFault(const ModelImage& image);
