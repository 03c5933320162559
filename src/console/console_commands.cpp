// The console's slash commands. A typed line is split into words; the first
// word picks the command, the others are its parameters. Answers for the user
// go to the console's message list; diagnostics to standard output.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "console/animation_commands.h"
#include "console/command_context.h"
#include "console/console_commands.h"
#include "console/help_and_info.h"
#include "console/model_commands.h"
#include "console/modelling_commands.h"
#include "console/number_conversion.h"
#include "console/open_request.h"
#include "console/reference_image_command.h"
#include "console/tokenizer.h"
#include "console/transform_commands.h"
#include "document/undo.h"
#include "files/file_paths.h"
#include "formats/model_file.h"
#include "recovery/recovery_session.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/bone_edits.h"
#include "tools/fit_views.h"
#include "tools/polygon_ops.h"

namespace {

constexpr const char* kWrongCount = "Error! Not right # of parameters!";
constexpr int kMaxCylinderSides = 1000;
constexpr int kMaxCylinderLevels = 1000;

using Words = std::vector<std::string>;

struct Command {
  const char* name;
  int minimumWords;  // parameters required; fewer is refused with kWrongCount
  void (*run)(CommandContext&, const Words&);
};

void openCommand(CommandContext& e, const Words& w) {
  requestOpen(e, w[1], OpenRequest::kConsole);
}

void saveModel(CommandContext& e, const Words& w) {
  const std::string name = e.doc.model->name;
  if (!saveAs(*e.doc.model, w[1])) {
    // The model and its recovery file stay where the next start-up looks.
    e.doc.model->name = name;
    e.consoleMessage("Error! Model failed to save!");
    return;
  }
  modelSaved(e.recovery);
  e.consoleMessage("Model saved!");
}

void loadTexture(CommandContext& e, const Words& w) {
  // The model file keeps a texture name as one word: a name holding a tab or a
  // line break would be saved as several and make the model unreadable, and
  // no control character may reach a file the editor writes.
  if (hasControlCharacter(w[1])) {
    e.consoleMessage("Error! Texture file names cannot hold control characters!");
    return;
  }
  int id = e.textures.acquire(w[1], /*retryFailed=*/true);
  if (id == -1) {
    e.consoleMessage("Error! Texture failed to load!");
    e.consoleMessage(e.textures.lastFailure());
    return;
  }
  e.viewSet.uvTexture = id;
  e.viewSet.showUvTexture = true;
  Material& m = e.doc.model->currentGroup->material;
  const bool changed = !m.textured || m.textureName != w[1];
  m.textured = 1;
  m.textureName = w[1];
  m.textureId = id;
  m.textureLoaded = 1;
  if (changed) e.doc.changedWithoutUndoStep();  // no undo step, still unsaved work
  e.consoleMessage("Texture Loaded!");
}

void setBoundingBox(CommandContext& e, const Words& w) {
  if (w.size() != 7) {
    e.consoleMessage(kWrongCount);
    return;
  }
  double p[6];
  for (int i = 0; i < 6; ++i) p[i] = integerParameter(w[i + 1]);
  e.toolState.setBoundingBox(p[0], p[1], p[2], p[3], p[4], p[5]);
  e.consoleMessage("Bounding Box Set!");
}

void showTexture(CommandContext& e, const Words&) {
  if (!e.doc.model->currentGroup->material.textured) return;
  e.viewSet.showUvTexture = true;
  e.consoleMessage("Showing UV Texture.");
}

void hideTexture(CommandContext& e, const Words&) {
  e.viewSet.showUvTexture = false;
  e.consoleMessage("Hiding UV Texture.");
}

template <double Vertex::*coordinate>
void setCoordinate(CommandContext& e, const Words& w) {
  double value = realParameter(w[1]);
  takeSnapshot(e.doc);
  for (Vertex* v : e.doc.selectedVertices) v->*coordinate = value;
  rebuildNormals(e);
}

void printPositions(CommandContext& e, const Words&) {
  for (Vertex* v : e.doc.selectedVertices)
    std::printf("Vertex: [%lf, %lf, %lf]\n", v->x, v->y, v->z);
}

void setCylinder(CommandContext& e, const Words& w) {
  e.toolState.cylinderSides = std::clamp(integerParameter(w[1]), 3, kMaxCylinderSides);
  e.toolState.cylinderLevels = std::clamp(integerParameter(w[2]), 1, kMaxCylinderLevels);
}

void smoothSelected(CommandContext& e, const Words&) {
  smoothPolygons(e.doc.selectedPolygons);
}

void flattenSelected(CommandContext& e, const Words&) {
  flattenPolygons(e);
}

void setColour(CommandContext& e, const Words& w) {
  if (w.size() != 5) return;
  Material& m = e.doc.model->currentGroup->material;
  m.red = realParameter(w[1]);
  m.green = realParameter(w[2]);
  m.blue = realParameter(w[3]);
  m.alpha = realParameter(w[4]);
  e.doc.changedWithoutUndoStep();  // no undo step, still unsaved work
}

void countPolygons(CommandContext& e, const Words&) {
  e.consoleMessage(std::to_string(e.doc.model->currentGroup->polygons.count()));
}

// In this order; the index is printed in the trace.
const Command kCommands[] = {
    {"/open", 1, openCommand},
    {"/save", 1, saveModel},
    {"/loadtex", 1, loadTexture},
    {"/setbb", 0, setBoundingBox},
    {"/showtex", 0, showTexture},
    {"/hidetex", 0, hideTexture},
    {"/setx", 1, setCoordinate<&Vertex::x>},
    {"/sety", 1, setCoordinate<&Vertex::y>},
    {"/setz", 1, setCoordinate<&Vertex::z>},
    {"/getpos", 0, printPositions},
    {"/setcylinder", 2, setCylinder},
    {"/smoothpolys", 0, smoothSelected},
    {"/flattenpolys", 0, flattenSelected},
    {"/setcolor", 0, setColour},
    {"/polycount", 0, countPolygons},
    {"/export", 1, [](CommandContext& e, const Words& w) { exportModelTo(e, w[1]); }},
    {"/recover", 0, [](CommandContext& e, const Words&) { recoverUnsavedChanges(e.recovery); }},
    {"/discard", 0, [](CommandContext& e, const Words&) { discardUnsavedChanges(e.recovery); }},
    {"/fit", 0, [](CommandContext& e, const Words&) { fitViews(e); }},
    {"/move", 3, moveCommand},
    {"/rotate", 2, rotateCommand},
    {"/scale", 3, scaleCommand},
    {"/info", 0, [](CommandContext& e, const Words&) { describeModel(e); }},
    {"/help", 0, [](CommandContext& e, const Words&) { listCommands(e, consoleCommandNames()); }},
    {"/anim", 0, animCommand},
    {"/clip", 1, clipCommand},
    {"/frame", 1, frameCommand},
    {"/key", 0, keyCommand},
    {"/unkey", 0, unkeyCommand},
    {"/play", 0, playCommand},
    {"/stop", 0, stopCommand},
    {"/fps", 1, fpsCommand},
    {"/length", 1, lengthCommand},
    {"/weight", 1, weightCommand},
    {"/brush", 2, brushCommand},
    {"/weights", 1, weightsCommand},
    {"/quit", 0, [](CommandContext& e, const Words&) { e.commandState.quitRequested = true; }},
    {"/snap", 1, snapCommand},
    {"/subdivide", 0, subdivideCommand},
    {"/merge", 1, mergeCommand},
    {"/project", 1, projectCommand},
    {"/unwrap", 0, unwrapCommand},
    {"/pack", 0, packCommand},
    {"/mirror", 1, mirrorCommand},
    {"/symmetrize", 1, symmetrizeCommand},
    {"/seam", 0, [](CommandContext& e, const Words&) { markSeamsOfSelection(e); }},
    {"/bonename", 1, [](CommandContext& e, const Words& w) { nameSelectedBone(e, w[1]); }},
    {"/mirrorbones", 1, mirrorBonesCommand},
    {"/mirrorweights", 1, mirrorWeightsCommand},
    {"/refimage", 2, referenceImageCommand},
    {"/interp", 1, interpCommand},
    {"/ik", 0, ikCommand},
};

}  // namespace

std::vector<std::string> consoleCommandNames() {
  std::vector<std::string> names;
  for (const Command& command : kCommands) names.push_back(command.name);
  return names;
}

void runConsoleCommand(CommandContext& e, const std::string& line) {
  if (line.empty() || line[0] != '/') return;
  Words words = e.commandState.tokenizer.split(line);
  const int parameters = static_cast<int>(words.size()) - 1;
  std::printf("numparams: %d\n", parameters);
  int index = 0;
  bool known = false;
  for (const Command& command : kCommands) {
    if (words[0] == command.name) {
      known = true;
      std::printf("%s %s %s %d\n", words[0].c_str(), command.name,
                  words.size() > 1 ? shownName(words[1]).c_str() : "(null)", index);
      if (parameters < command.minimumWords) {
        e.consoleMessage(kWrongCount);
      } else if (refusedByMode(e, ModeRule::kCommand, 0, command.name)) {
      } else {
        command.run(e, words);
      }
    }
    ++index;
  }
  if (!known) e.consoleMessage("Unknown command: " + words[0] + " (type /help)");
}
