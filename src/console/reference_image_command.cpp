#include "console/reference_image_command.h"

#include <cstdio>

#include "console/command_context.h"
#include "console/number_conversion.h"
#include "files/file_paths.h"
#include "view/reference_image.h"

namespace {
constexpr double kMostScale = 100000;
}  // namespace

void referenceImageCommand(CommandContext& e, const std::vector<std::string>& words) {
  const int kind = flatViewNamed(words[1]);
  const bool off = words[2] == "off";
  if (kind < 0 || words.size() > (off ? 3u : 4u)) {
    e.consoleMessage("Error! /refimage takes side, front or top, then a file or off!");
    return;
  }
  Viewport& view = e.viewSet.views[kind];
  const std::string where = std::string(" the ") + view.caption() + " view";
  if (off) {
    view.reference.shown = false;
    e.viewSet.sceneChanged();
    e.consoleMessage("Reference image off in" + where + ".");
    return;
  }
  double width = kDefaultReferenceWidth;
  if (words.size() > 3) {
    width = realParameter(words[3]);
    if (!(width > 0 && width <= kMostScale)) {
      e.consoleMessage("Error! /refimage takes a scale above 0 and at most 100000!");
      return;
    }
  }
  const std::string name = shownName(words[2]);
  const int id = e.textures.acquire(words[2], /*retryFailed=*/true);
  if (id == -1) {
    e.consoleMessage("Error! Reference image " + name + " failed to load!");
    e.consoleMessage(e.textures.lastFailure());
    return;
  }
  const auto [pixelWidth, pixelHeight] = e.textures.imageSize(id);
  view.reference = {true, id, pixelWidth, pixelHeight, width};
  e.viewSet.sceneChanged();
  char units[32];
  std::snprintf(units, sizeof units, "%g", width);
  e.consoleMessage("Reference image " + name + " behind" + where + ", " + units + " units wide.");
}
