#include "recovery/recovery_names.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "files/file_paths.h"

namespace {

constexpr size_t kNameMax = 255;
// Room left in a state-folder name for ".recover", a number after it and the
// dots and six random characters temporaries had when this was chosen (kept,
// so that the names of files written then are found; today's longer
// temporaries cut the name they start with to fit); a cut name is one
// longer, so that it is never the name of a path that was not cut.
constexpr size_t kLongestStateName = kNameMax - 8 - 4 - 9;

std::string fileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string hashOf(std::string_view text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

}  // namespace

std::string absoluteModelPath(const std::string& modelPath) {
  std::error_code ignored;
  return std::filesystem::absolute(modelPath, ignored).lexically_normal().string();
}

std::string recoveryPathBeside(const std::string& modelPath) {
  const std::string directory = directoryOf(modelPath);
  return (directory == "." && modelPath.find('/') == std::string::npos ? "" : directory + "/") +
         "." + fileNameOf(modelPath) + ".recover";
}

std::string recoveryPathIn(const std::string& stateDir, const std::string& modelPath) {
  const std::string path = absoluteModelPath(modelPath);
  std::string name;
  for (char c : path) {
    if (c == '/') {
      name += '%';
    } else {
      if (c == '%' || c == '^') name += '^';
      name += c;
    }
  }
  if (name.size() > kLongestStateName)
    name = name.substr(0, kLongestStateName - 16) + "^" + hashOf(path);
  return stateDir + "/" + name + ".recover";
}

std::string recoveryStateDir() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && *state == '/') return std::string(state) + "/vantorel";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.local/state/vantorel";
}

std::string numberedRecoveryPath(const std::string& first, int n) {
  return n <= 1 ? first : first + "." + std::to_string(n);
}

bool isRecoveryName(std::string_view name, std::string_view firstName) {
  if (!name.starts_with(firstName)) return false;
  name.remove_prefix(firstName.size());
  if (name.empty() || name == ".found") return true;
  if (name.size() < 2 || name[0] != '.' || name[1] == '0') return false;
  return name.substr(1).find_first_not_of("0123456789") == std::string_view::npos;
}

bool recoveryBelongsTo(const RecoveryContents& contents, const std::string& modelPath) {
  const std::string path = absoluteModelPath(modelPath);
  if (!contents.modelPath.empty()) return contents.modelPath == path;
  const std::string& name = contents.model.name;
  if (!name.empty() && name[0] == '/') return absoluteModelPath(name) == path;
  return !name.empty() && fileNameOf(name) == fileNameOf(path);
}

std::string recoveryOwnerName(const RecoveryContents& contents) {
  return contents.modelPath.empty() ? contents.model.name : contents.modelPath;
}
