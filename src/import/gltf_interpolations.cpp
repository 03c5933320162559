#include "import/gltf_interpolations.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include <nlohmann/json.hpp>

#include "files/regular_file.h"
#include "import/glb_lengths.h"

namespace {

constexpr size_t kLargestJson = size_t{256} << 20;

// The JSON of a .gltf file, or the first chunk of a .glb one; "" otherwise.
std::string jsonOf(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openRegularFile(path), std::fclose);
  if (!file) return "";
  unsigned char header[20];
  const size_t got = std::fread(header, 1, sizeof header, file.get());
  size_t length = 0;
  if (got == sizeof header && std::memcmp(header, "glTF", 4) == 0) {
    if (glbWord(header + 4) != 2 || std::memcmp(header + 16, "JSON", 4) != 0) return "";
    length = glbWord(header + 12);
  } else {
    std::fseek(file.get(), 0, SEEK_END);
    const long size = std::ftell(file.get());
    std::rewind(file.get());
    if (size <= 0 || (got > 0 && header[0] != '{' && header[0] > ' ')) return "";
    length = static_cast<size_t>(size);
  }
  if (length > kLargestJson) return "";
  std::string text(length, '\0');
  if (std::fread(text.data(), 1, length, file.get()) != length) return "";
  return text;
}

bool interpolationOf(const nlohmann::json& sampler, Interpolation& how) {
  if (!sampler.is_object()) return false;
  const auto given = sampler.find("interpolation");
  if (given == sampler.end()) {
    how = Interpolation::kLinear;  // the format's default
    return true;
  }
  if (!given->is_string()) return false;
  const std::string& name = given->get_ref<const std::string&>();
  if (name == "STEP")
    how = Interpolation::kStep;
  else if (name == "LINEAR")
    how = Interpolation::kLinear;
  else if (name == "CUBICSPLINE")
    how = Interpolation::kSmooth;
  else
    return false;
  return true;
}

// Assimp names an unnamed node by its place in the file.
std::string nodeName(const nlohmann::json& nodes, size_t index) {
  if (index < nodes.size() && nodes[index].is_object()) {
    const auto name = nodes[index].find("name");
    if (name != nodes[index].end() && name->is_string() &&
        !name->get_ref<const std::string&>().empty())
      return name->get_ref<const std::string&>();
  }
  return "nodes_" + std::to_string(index);
}

}  // namespace

std::vector<NodeInterpolations> gltfInterpolations(const std::string& path) {
  const std::string text = jsonOf(path);
  // Without either name every sampler is linear, as imported keys are anyway:
  // most files are, and parsing costs more than the rest of a small import.
  if (text.find("STEP") == std::string::npos && text.find("CUBICSPLINE") == std::string::npos)
    return {};
  // Only the animations and the nodes' names are kept: building the rest
  // (meshes, accessors, materials) would cost more than reading it.
  const auto wanted = [](int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
    if (event != nlohmann::json::parse_event_t::key) return true;
    if (depth == 1) return parsed == "animations" || parsed == "nodes";
    return true;
  };
  const nlohmann::json root = nlohmann::json::parse(text, wanted, /*allow_exceptions=*/false);
  if (!root.is_object()) return {};
  const auto animations = root.find("animations");
  if (animations == root.end() || !animations->is_array()) return {};
  static const nlohmann::json kNone = nlohmann::json::array();
  const auto nodesAt = root.find("nodes");
  const nlohmann::json& nodes = nodesAt != root.end() && nodesAt->is_array() ? *nodesAt : kNone;
  std::vector<NodeInterpolations> found;
  for (const nlohmann::json& animation : *animations) {
    NodeInterpolations& modes = found.emplace_back();
    if (!animation.is_object()) continue;
    const auto channels = animation.find("channels"), samplers = animation.find("samplers");
    if (channels == animation.end() || samplers == animation.end() || !channels->is_array() ||
        !samplers->is_array())
      continue;
    for (const nlohmann::json& channel : *channels) {
      if (!channel.is_object()) continue;
      const auto sampler = channel.find("sampler"), target = channel.find("target");
      if (sampler == channel.end() || !sampler->is_number_unsigned() || target == channel.end() ||
          !target->is_object())
        continue;
      const auto node = target->find("node"), what = target->find("path");
      if (node == target->end() || !node->is_number_unsigned() || what == target->end() ||
          *what == "weights")
        continue;
      const auto s = sampler->get<uint64_t>();
      Interpolation how;
      if (s >= samplers->size() || !interpolationOf((*samplers)[s], how)) continue;
      const auto [at, added] = modes.try_emplace(nodeName(nodes, node->get<uint64_t>()), how);
      if (!added && at->second != how) at->second = Interpolation::kLinear;
    }
  }
  return found;
}
