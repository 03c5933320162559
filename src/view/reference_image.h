#pragma once
// A picture shown behind a flat view to model from a sketch ("/refimage"):
// the texture it was read into, its size in pixels and how wide it shows in
// model units. It is kept with the view, never in the model file, and lies
// centred on the model's origin, its height following the image's shape.

#include <string>

constexpr double kDefaultReferenceWidth = 10;  // model units, when /refimage names none

struct ReferenceImage {
  bool shown = false;
  int texture = 0;  // the texture cache's id
  int pixelWidth = 0, pixelHeight = 0;
  double width = kDefaultReferenceWidth;
};

// What the image covers, in the view's own coordinates (those of its
// captions: across to the right, up the screen).
struct ReferenceRect {
  double left = 0, right = 0, bottom = 0, top = 0;
};
ReferenceRect referenceRect(const ReferenceImage& image);

// The flat view a word names, in any case ("side", "Front", "TOP"): its kind,
// or -1 for any other word.
int flatViewNamed(const std::string& word);
