#include "view/viewport.h"

const char* Viewport::caption() const {
  static const char* const kCaptions[] = {"Side", "Front", "Top", "Full", ""};
  return (kind >= 0 && kind <= 4) ? kCaptions[kind] : "";
}
