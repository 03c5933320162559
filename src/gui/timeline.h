#pragma once
// The timeline strip of the animation panel: frames 0 .. length from left to
// right, a mark at every key of the selected bone, the current frame as a
// cursor, and above it a line naming the clip, the frame, the frame rate and
// whether it plays. A click posts the frame under the pointer as the command
// code kFrameCommandBase + frame. The strip only shows what it is told.

#include <string>
#include <vector>

#include "gui/widget.h"

constexpr int kFrameCommandBase = 1000;

class TimelineStrip : public Widget {
 public:
  TimelineStrip(std::string name, double x, double y, double width, double height);

  struct State {
    std::string clip;  // "" when there is none
    int length = 24;
    int frame = 0;
    int fps = 24;
    bool playing = false;
    std::vector<int> keys;  // frames of the selected bone's keys
    bool operator==(const State&) const = default;
  };
  void show(const State& state) { state_ = state; }
  const State& state() const { return state_; }

  // The line above the strip: "clip1  frame 10 / 24  24 fps  playing".
  std::string caption() const;
  // The frame nearest to a point at `px` in the holder's coordinates.
  int frameAt(double px) const;
  // Where frame `frame` lies, in the holder's coordinates.
  double xOf(int frame) const;

  // Draws the strip offset by the holder's corner (timeline_draw.cpp).
  void draw(double ox, double oy) const;

 private:
  State state_;
};
