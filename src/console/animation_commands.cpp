#include "console/animation_commands.h"

#include <chrono>

#include "console/command_context.h"
#include "console/number_conversion.h"
#include "tools/animation_mode.h"
#include "tools/weight_paint.h"

namespace {

// A whole number written as one, digits with an optional sign and nothing
// after: a typo must not become frame 0 or a weight of 0.
bool isNumber(const std::string& word, bool whole) {
  size_t i = word[0] == '-' || word[0] == '+' ? 1 : 0;
  bool digits = false, point = false;
  for (; i < word.size(); ++i) {
    if (word[i] >= '0' && word[i] <= '9') {
      digits = true;
    } else if (word[i] == '.' && !whole && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

bool numberGiven(CommandContext& e, const std::string& word, bool whole) {
  if (isNumber(word, whole)) return true;
  e.consoleMessage("Error! " + word + " is not a " + (whole ? "whole number" : "number") + "!");
  return false;
}

}  // namespace

void animCommand(CommandContext& e, const CommandWords&) {
  toggleAnimationMode(e);
}

void clipCommand(CommandContext& e, const CommandWords& w) {
  chooseClip(e, w[1]);
}

void frameCommand(CommandContext& e, const CommandWords& w) {
  if (numberGiven(e, w[1], true)) setFrame(e, integerParameter(w[1]));
}

void keyCommand(CommandContext& e, const CommandWords&) {
  keySelectedBone(e);
}

void unkeyCommand(CommandContext& e, const CommandWords&) {
  unkeySelectedBone(e);
}

void playCommand(CommandContext& e, const CommandWords&) {
  startPlayback(e, std::chrono::steady_clock::now());
}

void stopCommand(CommandContext& e, const CommandWords&) {
  stopPlayback(e);
}

void fpsCommand(CommandContext& e, const CommandWords& w) {
  if (numberGiven(e, w[1], true)) setClipFps(e, integerParameter(w[1]));
}

void lengthCommand(CommandContext& e, const CommandWords& w) {
  if (numberGiven(e, w[1], true)) setClipLength(e, integerParameter(w[1]));
}

void weightCommand(CommandContext& e, const CommandWords& w) {
  if (w[1] == "auto") {
    clearSelectedWeights(e);
  } else if (numberGiven(e, w[1], false)) {
    setSelectedWeights(e, realParameter(w[1]));
  }
}

void interpCommand(CommandContext& e, const CommandWords& w) {
  for (int i = 0; i < 3; ++i)
    if (w[1] == kInterpolationNames[i])
      return interpolateSelectedKey(e, static_cast<Interpolation>(i));
  e.consoleMessage("Error! The interpolation must be step, linear or smooth!");
}

void brushCommand(CommandContext& e, const CommandWords& w) {
  if (numberGiven(e, w[1], false) && numberGiven(e, w[2], false))
    setBrush(e, realParameter(w[1]), realParameter(w[2]));
}

void weightsCommand(CommandContext& e, const CommandWords& w) {
  if (w[1] == "normalize") {
    normalizeSelectedWeights(e);
  } else if (w[1] == "auto") {
    autoSelectedWeights(e);
  } else if (w[1] == "smooth") {
    if (w.size() < 3) {
      e.consoleMessage("Error! /weights smooth needs the number of passes!");
    } else if (numberGiven(e, w[2], true)) {
      smoothSelectedWeights(e, integerParameter(w[2]));
    }
  } else {
    e.consoleMessage("Error! /weights takes normalize, smooth N or auto!");
  }
}

void ikCommand(CommandContext& e, const CommandWords& w) {
  if (w.size() < 2) {
    setIkBones(e, 2);
  } else if (w[1] == "off") {
    setIkBones(e, 0);
  } else if (numberGiven(e, w[1], true)) {
    setIkBones(e, integerParameter(w[1]));  // clamped: a huge N is a chain up to the root
  }
}
