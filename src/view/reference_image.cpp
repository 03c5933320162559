#include "view/reference_image.h"

#include <cctype>

#include "view/viewport.h"

ReferenceRect referenceRect(const ReferenceImage& image) {
  const double halfWidth = image.width / 2;
  const double halfHeight =
      image.pixelWidth > 0 ? halfWidth * image.pixelHeight / image.pixelWidth : 0;
  return {-halfWidth, halfWidth, -halfHeight, halfHeight};
}

int flatViewNamed(const std::string& word) {
  std::string lower;
  for (char c : word) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int kind : {kSideView, kFrontView, kTopView}) {
    std::string name = Viewport(kind).caption();
    name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    if (lower == name) return kind;
  }
  return -1;
}
