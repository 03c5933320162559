#pragma once
// The editor's animation mode: whether it is on, which clip and frame the
// views show, and playback. None of it belongs to the model: undo and saving
// leave it alone.

#include <chrono>
#include <cstdint>
#include <string>

#include "model/posed_model.h"

struct AnimationState {
  bool on = false;
  std::string clip;  // the current clip's name; "" until there is one
  int frame = 0;
  bool playing = false;
  std::chrono::steady_clock::time_point playStart{};
  int playStartFrame = 0;
  // /ik: how many bones a Move drag turns so the selected bone's end reaches
  // the pointer; 0 while off.
  int ikBones = 0;
  // Moves on whenever the rest mesh, the skeleton or the weights the posed
  // views follow may have changed (entering the mode, /weight).
  uint64_t rigRevision = 0;
  PosedModel posedModel;  // the pose the views show (poseForViews)
};
