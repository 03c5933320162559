#include "gui/timeline.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kInset = 6;  // frame 0 and the last frame stay off the edges
}  // namespace

TimelineStrip::TimelineStrip(std::string name, double x, double y, double width, double height)
    : Widget(x, y, width, height, std::move(name)) {}

std::string TimelineStrip::caption() const {
  if (state_.clip.empty()) return "no clip: key a bone or type /clip NAME";
  return state_.clip + "  frame " + std::to_string(state_.frame) + " / " +
         std::to_string(state_.length) + "  " + std::to_string(state_.fps) + " fps" +
         (state_.playing ? "  playing" : "");
}

double TimelineStrip::xOf(int frame) const {
  const double span = std::max(1, state_.length);
  return x_ + kInset + (width_ - 2 * kInset) * frame / span;
}

int TimelineStrip::frameAt(double px) const {
  const double span = std::max(1, state_.length);
  const double at = (px - x_ - kInset) / (width_ - 2 * kInset) * span;
  return std::clamp(static_cast<int>(std::lround(at)), 0, std::max(0, state_.length));
}
