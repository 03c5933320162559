// "/open" and "/export": models coming in from files of any format the editor
// reads, and going out in the exchange formats, the model itself untouched.

#include <string>

#include "app/editor.h"
#include "model/model_export.h"
#include "model/open_model.h"

bool Editor::openModel(const std::string& path, std::string* reason) {
  OpenedModel opened = openModelFile(path, model->textures, importSettings);
  if (reason) *reason = opened.reason;
  if (!opened.model) {
    consoleMessage("Error! Model failed to load!");
    consoleMessage(opened.reason);
    return false;
  }
  replaceModel(std::move(opened.model));
  consoleMessage("Model successfully loaded!");
  std::string changes;
  for (const std::string& change : opened.changes)
    changes += (changes.empty() ? "" : ", ") + change;
  if (!changes.empty()) consoleMessage("Import: " + changes);
  // Opening a model is an explicit request, like /loadtex: a texture that
  // failed before (the user may have put the file in place since) gets one
  // fresh attempt now. Drawing never retries.
  TextureCache& textures = *ui->textures();
  for (PolygonGroup* group : model->groups) {
    const Material& g = group->material;
    if (g.textured && textures.failed(g.textureName)) textures.acquire(g.textureName, true);
  }
  Material& m = model->currentGroup->material;
  if (m.textured) {
    uvTexture = textures.acquire(m.textureName);
    showUvTexture = 1;
  }
  return true;
}

void Editor::exportModelTo(const std::string& path) {
  std::string reason;
  if (exportModel(*model, path, &reason)) {
    consoleMessage("Model exported!");
    return;
  }
  consoleMessage("Error! Model failed to export!");
  consoleMessage(reason);
}
