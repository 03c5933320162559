#include "app/command_line.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "files/file_paths.h"
#include "formats/model_export.h"
#include "formats/model_file.h"
#include "import/foreign_import.h"
#include "import/open_model.h"
#include "model/animation.h"
#include "model/pose_bake.h"
#include "model/rig.h"
#include "model/skin.h"

namespace {

// VANTOREL_VERSION is the CMake project version, which the package carries too.
constexpr const char* kVersion = "Vantorel " VANTOREL_VERSION;
constexpr const char* kUsage =
    "Usage: vantorel [--] [FILE]\n"
    "       vantorel --convert IN OUT [--pose CLIP FRAME]\n"
    "       vantorel --help | --version\n"
    "\n"
    "Opens the editor, with FILE if given: a model file, or a file of any format\n"
    "the importer reads (OBJ, glTF, GLB, FBX, Collada, 3DS, PLY, STL and more).\n"
    "--convert reads IN the same way and writes OUT without opening a window, in\n"
    "the format OUT's extension names: .glb, .gltf, .obj, or else a model file.\n"
    "--pose writes the model as the clip CLIP poses it at FRAME, without clips.\n";

// GLUT's options, with the number of values each takes.
struct GlutOption {
  const char* name;
  int values;
};
constexpr GlutOption kGlutOptions[] = {{"-display", 1},  {"-geometry", 1}, {"-direct", 0},
                                       {"-indirect", 0}, {"-iconic", 0},   {"-gldebug", 0},
                                       {"-sync", 0}};

CommandLine mistake(const std::string& what) {
  CommandLine command;
  command.action = CommandLine::kMistake;
  command.mistake = what;
  return command;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine command;
  command.glutArguments.push_back(arguments.empty() ? "vantorel" : arguments[0]);
  const size_t count = arguments.size();
  if (count >= 2 && arguments[1] == "--import-child") {
    if (count != 5) return mistake("--import-child needs FILE, BYTES and MODEL");
    command.action = CommandLine::kImportChild;
    command.input = arguments[2];
    command.memoryBytes = std::strtoull(arguments[3].c_str(), nullptr, 10);
    command.output = arguments[4];
    return command;
  }
  if (count >= 2 && arguments[1] == "--convert") {
    const bool posed = count == 7 && arguments[4] == "--pose";
    if (count != 4 && !posed) return mistake("--convert needs IN and OUT");
    command.action = CommandLine::kConvert;
    command.input = arguments[2];
    command.output = arguments[3];
    if (posed) {
      char* end = nullptr;
      command.poseClip = arguments[5];
      command.poseFrame = std::strtod(arguments[6].c_str(), &end);
      if (arguments[6].empty() || *end != '\0' || !std::isfinite(command.poseFrame))
        return mistake("--pose needs CLIP and a FRAME number");
    }
    return command;
  }
  bool options = true;  // until "--", after which a FILE may start with "-"
  for (size_t i = 1; i < count; ++i) {
    const std::string& a = arguments[i];
    if (options && a == "--") {
      options = false;
      continue;
    }
    if (options && (a == "--help" || a == "-h"))
      return command.action = CommandLine::kHelp, command;
    if (options && a == "--version") return command.action = CommandLine::kVersion, command;
    bool glut = false;
    for (const GlutOption& option : kGlutOptions) {
      if (!options || a != option.name) continue;
      if (i + option.values >= count) return mistake(a + " needs a value");
      for (int k = 0; k <= option.values; ++k) command.glutArguments.push_back(arguments[i + k]);
      i += option.values;
      glut = true;
    }
    if (glut) continue;
    if (options && a.size() > 1 && a[0] == '-') return mistake("unknown option " + a);
    if (!command.input.empty()) return mistake("more than one FILE");
    command.input = a;
  }
  return command;
}

bool convertModel(const std::string& in, const std::string& out, const ImportSettings& settings,
                  std::string* reason, const std::string& poseClip, double poseFrame) {
  // Textures an import writes go beside OUT, where the user asked for files,
  // not beside IN, whose folder may be no place to write.
  OpenedModel opened = openModelFile(in, nullptr, settings, out);
  if (!opened.model) {
    *reason = in + ": " + opened.reason;
    return false;
  }
  if (!poseClip.empty()) {
    const Clip* clip = opened.model->animation->find(poseClip);
    if (!clip) {
      *reason = in + ": no clip named " + poseClip;
      return false;
    }
    if (const std::string why = poseRefusal(flattenRig(*opened.model)); !why.empty()) {
      *reason = in + ": " + why;
      return false;
    }
    bakePose(*opened.model, clip, poseFrame);
  }
  for (const std::string& change : opened.changes)
    std::fprintf(stderr, "vantorel: %s: %s\n", shownName(in).c_str(), shownName(change).c_str());
  if (isExportFormat(out)) {
    std::vector<std::string> leftOut;
    if (!exportModel(*opened.model, out, reason, &leftOut)) return false;
    for (const std::string& line : leftOut)
      std::fprintf(stderr, "vantorel: %s: %s\n", shownName(out).c_str(), shownName(line).c_str());
    return true;
  }
  if (isForeignFormat(out)) {
    *reason = out + ": cannot write " + extensionOf(out) +
              " files; write .glb, .gltf, .obj or a model file";
    return false;
  }
  if (saveAs(*opened.model, out)) return true;
  *reason = out + ": cannot be written";
  return false;
}

int runWithoutWindow(const CommandLine& command, const ImportSettings& settings) {
  switch (command.action) {
    case CommandLine::kHelp:
      std::fputs(kUsage, stdout);
      return 0;
    case CommandLine::kVersion:
      std::printf("%s\n", kVersion);
      return 0;
    case CommandLine::kImportChild:
      return runImportChild(command.input, command.memoryBytes, command.output);
    case CommandLine::kConvert: {
      std::string reason;
      if (convertModel(command.input, command.output, settings, &reason, command.poseClip,
                       command.poseFrame))
        return 0;
      std::fprintf(stderr, "vantorel: %s\n", shownName(reason).c_str());
      return 1;
    }
    case CommandLine::kMistake:
      std::fprintf(stderr, "vantorel: %s (see vantorel --help)\n",
                   shownName(command.mistake).c_str());
      return 1;
    case CommandLine::kOpenEditor:
      break;
  }
  return 1;
}
