#include <filesystem>
#include <string>

#include "console/command_context.h"
#include "console/model_commands.h"
#include "files/file_paths.h"
#include "formats/model_export.h"
#include "import/open_model.h"
#include "recovery/recovery_session.h"
#include "tools/fit_views.h"

bool openModel(CommandContext& e, const std::string& path, std::string* reason) {
  return takeOpenedModel(
      e, openModelFile(path, e.doc.model->textures, e.commandState.importSettings), reason);
}

bool takeOpenedModel(CommandContext& e, OpenedModel opened, std::string* reason) {
  if (reason) *reason = opened.reason;
  if (!opened.model) {
    e.consoleMessage("Error! Model failed to load!");
    e.consoleMessage(opened.reason);
    return false;
  }
  modelClosing(e.recovery);
  e.doc.replaceModel(std::move(opened.model));
  e.consoleMessage("Model successfully loaded!");
  // An imported model is named in the working directory, which the user may
  // not have in mind: F5 would write there.
  if (opened.imported) {
    std::error_code error;
    const std::filesystem::path saved = std::filesystem::absolute(e.doc.model->name, error);
    e.consoleMessage("F5 saves the model as " +
                     shownName(error ? e.doc.model->name : saved.string()) + ".");
  }
  std::string changes;
  for (const std::string& change : opened.changes)
    changes += (changes.empty() ? "" : ", ") + change;
  // A model file's own notes (what it held that the model cannot keep) stand alone.
  if (!changes.empty()) e.consoleMessage((opened.imported ? "Import: " : "") + changes);
  // Opening a model is an explicit request, like /loadtex: a texture that
  // failed before (the user may have put the file in place since) gets one
  // fresh attempt now. Drawing never retries.
  TextureCache& textures = e.textures;
  for (PolygonGroup* group : e.doc.model->groups) {
    const Material& g = group->material;
    if (g.textured && textures.failed(g.textureName)) textures.acquire(g.textureName, true);
  }
  Material& m = e.doc.model->currentGroup->material;
  if (m.textured) {
    e.viewSet.uvTexture = textures.acquire(m.textureName);
    e.viewSet.showUvTexture = true;
  }
  // A model from another tool may be of any size and anywhere: it is shown
  // whole. The model file's own keeps the views the user had.
  if (opened.imported) fitViews(e);
  modelOpened(e.recovery);
  return true;
}

void exportModelTo(CommandContext& e, const std::string& path) {
  std::string reason;
  std::vector<std::string> leftOut;
  if (exportModel(*e.doc.model, path, &reason, &leftOut)) {
    e.consoleMessage("Model exported!");
    for (const std::string& line : leftOut) e.consoleMessage(line);
    return;
  }
  e.consoleMessage("Error! Model failed to export!");
  e.consoleMessage(reason);
}
