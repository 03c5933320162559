// The seam section's text, written and read.

#include "formats/seam_section.h"

#include <charconv>

#include "formats/model_scanner.h"
#include "model/seam_image.h"

namespace {

constexpr const char* kSectionWord = "seams";
constexpr size_t kMinSeamBytes = 4;  // "0 1\n"

void appendNumber(std::string& text, int value) {
  char digits[16];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

}  // namespace

size_t seamSectionBytes(const ModelImage& image) {
  return image.seams.empty() ? 0 : 32 + image.seams.size() * 16;
}

void appendSeamSection(const ModelImage& image, std::string& text) {
  if (image.seams.empty()) return;
  text.reserve(text.size() + seamSectionBytes(image));
  text += kSectionWord;
  text += ' ';
  appendNumber(text, static_cast<int>(image.seams.size()));
  text += '\n';
  for (const auto& [a, b] : image.seams) {
    appendNumber(text, a);
    text += ' ';
    appendNumber(text, b);
    text += '\n';
  }
}

bool readSeamSection(Scanner& in, ModelImage& image) {
  if (!in.nextWordIs(kSectionWord)) return true;
  int count;
  if (!in.count(count, "seam count", kMinSeamBytes)) return false;
  image.seams.resize(count);
  for (size_t i = 0; i < image.seams.size(); ++i) {
    auto& [a, b] = image.seams[i];
    if (!in.integer(a, "seam vertex") || !in.integer(b, "seam vertex")) return false;
    if (const std::string fault = seamFault(image, i); !fault.empty()) return in.fail(fault);
  }
  return true;
}
