#include "console/transform_commands.h"

#include "console/command_context.h"
#include "console/number_conversion.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/transforms.h"

namespace {

Vec3 threeNumbers(const std::vector<std::string>& words) {
  return {realParameter(words[1]), realParameter(words[2]), realParameter(words[3])};
}

}  // namespace

void moveCommand(CommandContext& e, const std::vector<std::string>& words) {
  if (modeRule(e, ModeRule::kCommand, 0, "/move")) {
    translatePose(e, threeNumbers(words));
    return;
  }
  moveSelectionBy(e, threeNumbers(words));
}

void rotateCommand(CommandContext& e, const std::vector<std::string>& words) {
  const std::string& axis = words[1];
  if (axis.size() != 1 || std::string("xyzXYZ").find(axis[0]) == std::string::npos) {
    e.consoleMessage("Error! The axis must be x, y or z!");
    return;
  }
  const int index = (axis[0] | 0x20) - 'x';  // lower case, then 0 to 2
  rotateSelectionAbout(e, static_cast<Axis>(kAxisX + index), realParameter(words[2]));
}

void scaleCommand(CommandContext& e, const std::vector<std::string>& words) {
  scaleSelectionBy(e, threeNumbers(words));
}
