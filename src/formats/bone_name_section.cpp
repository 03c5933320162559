// The bone name section's text, written and read.

#include "formats/bone_name_section.h"

#include <charconv>

#include <absl/container/flat_hash_set.h>

#include "formats/model_scanner.h"
#include "model/bone_names.h"

namespace {

constexpr const char* kSectionWord = "bonenames";
constexpr size_t kMinNameBytes = 4;  // "0 a\n"

}  // namespace

size_t boneNameSectionBytes(const ModelImage& image) {
  size_t bytes = image.boneNames.empty() ? 0 : 32;
  for (const auto& [bone, name] : image.boneNames) bytes += 16 + name.size();
  return bytes;
}

void appendBoneNameSection(const ModelImage& image, std::string& text) {
  if (image.boneNames.empty()) return;
  text.reserve(text.size() + boneNameSectionBytes(image));
  char digits[16];
  auto number = [&](size_t value) {
    text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
  };
  text += kSectionWord;
  text += ' ';
  number(image.boneNames.size());
  text += '\n';
  for (const auto& [bone, name] : image.boneNames) {
    number(static_cast<size_t>(bone));
    text += ' ';
    text += name;
    text += '\n';
  }
}

bool readBoneNameSection(Scanner& in, ModelImage& image) {
  if (!in.nextWordIs(kSectionWord)) return true;
  int count;
  if (!in.count(count, "bone name count", kMinNameBytes)) return false;
  image.boneNames.resize(count);
  absl::flat_hash_set<std::string_view> seen;
  for (size_t i = 0; i < image.boneNames.size(); ++i) {
    auto& [bone, name] = image.boneNames[i];
    if (!in.integer(bone, "bone number") || !in.word(name, "bone name")) return false;
    if (const std::string fault = boneNameFault(image, i); !fault.empty()) return in.fail(fault);
    if (!seen.insert(name).second) return in.fail("a bone name given twice");
  }
  return true;
}
