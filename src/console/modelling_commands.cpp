#include "console/modelling_commands.h"

#include <cmath>
#include <cstdio>

#include "console/command_context.h"
#include "console/number_conversion.h"
#include "tools/polygon_ops.h"
#include "tools/snapping.h"

void snapCommand(CommandContext& e, const std::vector<std::string>& words) {
  Snapping& s = e.toolState.snapping;
  const std::string& word = words[1];
  if (word == "off") {
    if (s.mode != SnapMode::kOff) s.lastOn = s.mode;
    s.mode = SnapMode::kOff;
    e.consoleMessage("Snapping off.");
    return;
  }
  if (word == "vertex") {
    s.mode = SnapMode::kVertex;
    e.consoleMessage("Snapping to the nearest vertex.");
    return;
  }
  const double step = realParameter(word);
  if (!(step > 0)) {
    e.consoleMessage("Error! /snap takes a step above 0, vertex or off!");
    return;
  }
  s.mode = SnapMode::kGrid;
  s.step = step;
  e.consoleMessage("Snapping to a grid of " + snappingLabel(s).substr(5) + " units.");
}

void subdivideCommand(CommandContext& e, const std::vector<std::string>&) {
  subdivideSelection(e);
}

void mergeCommand(CommandContext& e, const std::vector<std::string>& words) {
  const double distance = realParameter(words[1]);
  if (!(distance >= 0)) {
    e.consoleMessage("Error! /merge takes a distance of 0 or more!");
    return;
  }
  e.toolState.mergeDistance = distance;
  mergeSelectedVertices(e, distance);
}
