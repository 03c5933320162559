#include "model/bone_names.h"

#include <absl/container/flat_hash_set.h>

#include "model/animation.h"
#include "model/skeleton.h"

bool isBoneName(std::string_view name) {
  return isClipName(name);
}

std::string swappedSide(std::string_view name) {
  std::string swapped(name);
  const size_t n = swapped.size();
  if (n < 3 || (swapped[n - 2] != '.' && swapped[n - 2] != '_')) return swapped;
  static constexpr char kSides[][2] = {{'L', 'R'}, {'R', 'L'}, {'l', 'r'}, {'r', 'l'}};
  for (const auto& [side, other] : kSides)
    if (swapped[n - 1] == side) {
      swapped[n - 1] = other;
      break;
    }
  return swapped;
}

Bone* boneNamed(Bone* root, std::string_view name) {
  Bone* found = nullptr;
  if (name.empty()) return found;
  forEachBone(root, [&](Bone* bone, int) {
    if (!found && bone->name == name) found = bone;
  });
  return found;
}

std::string boneNameFault(const ModelImage& image, size_t i) {
  const auto& [bone, name] = image.boneNames[i];
  if (bone < 0 || static_cast<size_t>(bone) >= image.bones.size())
    return "a bone name's bone out of range";
  if (i > 0 && image.boneNames[i - 1].first >= bone) return "bone names out of order";
  if (!isBoneName(name)) return "an unusable bone name";
  return "";
}

std::string boneNamesFault(const ModelImage& image) {
  absl::flat_hash_set<std::string_view> seen;
  for (size_t i = 0; i < image.boneNames.size(); ++i) {
    if (std::string fault = boneNameFault(image, i); !fault.empty()) return fault;
    if (!seen.insert(image.boneNames[i].second).second) return "a bone name given twice";
  }
  return "";
}
