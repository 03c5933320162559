#include "console/modelling_commands.h"

#include <cmath>
#include <cstdio>

#include "images/texture_cache.h"

#include "console/command_context.h"
#include "console/number_conversion.h"
#include "document/undo.h"
#include "tools/bone_edits.h"
#include "tools/mirror.h"
#include "tools/polygon_ops.h"
#include "tools/selected_triangles.h"
#include "tools/snapping.h"
#include "tools/unwrap.h"
#include "tools/uv_charts.h"
#include "tools/uv_projection.h"

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

int textureSizeFor(CommandContext& e) {
  const Material& look = e.doc.model->currentGroup->material;
  const int side = look.textured ? e.textures.largerSide(e.textures.find(look.textureName)) : 0;
  return side > 0 ? side : 1024;
}

void projectCommand(CommandContext& e, const std::vector<std::string>& words) {
  static const std::pair<const char*, Projection> kKinds[] = {{"box", Projection::kBox},
                                                              {"cylinder", Projection::kCylinder},
                                                              {"sphere", Projection::kSphere},
                                                              {"view", Projection::kView}};
  for (const auto& [name, kind] : kKinds) {
    if (words[1] != name) continue;
    projectSelection(e, kind, e.viewSet.views[e.viewSet.activeView], textureSizeFor(e));
    return;
  }
  e.consoleMessage("Error! /project takes box, cylinder, sphere or view!");
}

void unwrapCommand(CommandContext& e, const std::vector<std::string>& words) {
  double angle = kDefaultUnwrapAngle;
  if (words.size() > 1) {
    angle = realParameter(words[1]);
    if (!(angle > 0 && angle <= 180)) {
      e.consoleMessage("Error! /unwrap takes an angle above 0 and at most 180 degrees!");
      return;
    }
  }
  unwrapSelection(e, angle, textureSizeFor(e));
}

void packCommand(CommandContext& e, const std::vector<std::string>&) {
  takeSnapshot(e.doc);
  std::vector<UvChart> charts = chartsAsMapped(selectedTriangles(e.doc));
  if (charts.empty()) {
    e.consoleMessage("Pack: no selected triangle.");
    return;
  }
  packCharts(charts, 2, textureSizeFor(e));
  e.consoleMessage("Pack: " + std::to_string(charts.size()) + " charts packed.");
}

void mirrorCommand(CommandContext& e, const std::vector<std::string>& words) {
  const std::string said = setMirror(e, words[1]);
  e.consoleMessage(said.empty() ? "Error! /mirror takes x, y, z or off!" : said);
}

namespace {

// The axis of "/mirrorbones" and "/mirrorweights", -1 (said) when the word is none.
int mirrorAxisWord(CommandContext& e, const std::vector<std::string>& words) {
  const std::string& word = words[1];
  if (word.size() == 1 && word[0] >= 'x' && word[0] <= 'z') return word[0] - 'x';
  e.consoleMessage("Error! " + words[0] + " takes x, y or z!");
  return -1;
}

}  // namespace

void mirrorBonesCommand(CommandContext& e, const std::vector<std::string>& words) {
  if (const int axis = mirrorAxisWord(e, words); axis >= 0) mirrorBones(e, axis);
}

void mirrorWeightsCommand(CommandContext& e, const std::vector<std::string>& words) {
  if (const int axis = mirrorAxisWord(e, words); axis >= 0) mirrorWeights(e, axis);
}

void symmetrizeCommand(CommandContext& e, const std::vector<std::string>& words) {
  const std::string& word = words[1];
  const bool negative = word.size() == 2 && word[0] == '-';
  const char axis = word.empty() ? 0 : word.back();
  if (word.size() != (negative ? 2u : 1u) || axis < 'x' || axis > 'z') {
    e.consoleMessage("Error! /symmetrize takes x, y or z, or -x, -y or -z!");
    return;
  }
  symmetrize(e, axis - 'x', negative);
}
