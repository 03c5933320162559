// The glTF writer. Nodes: 0 the mesh (a root, untransformed, as a skinned mesh
// must be), then one joint per bone in the skeleton's depth-first order, then
// one end node under each leaf bone's joint: a joint sits at its bone's start,
// so a leaf's end would otherwise be lost. Inverse bind matrices are plain
// translations, because the editor's bones carry no rotation; a bone's pose
// is its joint node's rotation, so the clips animate the joint nodes
// (formats/gltf_animation.h) and the vertices follow their weights.

#include "formats/gltf_export.h"

#include <stb_image_write.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>

#include "files/file_paths.h"
#include "formats/export_mesh.h"
#include "formats/gltf_animation.h"
#include "images/texture_cache.h"

namespace {

// Keys stay in the order they are added, which is the order a reader of the
// file meets them in.
using Json = nlohmann::ordered_json;

enum : int {
  kFloat = 5126,
  kUnsignedByte = 5121,
  kUnsignedShort = 5123,
  kUnsignedInt = 5125,
  kArrayBuffer = 34962,
  kElementArrayBuffer = 34963,
  kLinear = 9729,
  kLinearMipmapNearest = 9985,
};

// A number as the file gives it back: rounded to nine significant digits,
// which bring every single-precision value back exactly.
// A whole number goes out as an integer, as "%.9g" writes it ("1", not "1.0").
Json number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  const double rounded = std::strtod(text, nullptr);
  const bool whole = std::abs(rounded) < 1e15 && rounded == std::trunc(rounded);
  if (whole && !(rounded == 0 && std::signbit(rounded))) return static_cast<int64_t>(rounded);
  return rounded;
}

void appendPng(std::string* out, void* data, int size) {
  out->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

// The PNG of a texture file, rows top first as image files have them; false
// with the reason when the file cannot be read or memory runs out.
bool pngOf(const std::string& textureName, std::string& png, std::string* why) {
  try {
    DecodedImage image;
    if (!decodeImageFile(textureName, image, why)) return false;
    const size_t row = size_t{4} * image.width;
    for (int y = 0; y < image.height / 2; ++y)  // turned in place: a large image has no copy
      std::swap_ranges(image.rgba.begin() + row * y, image.rgba.begin() + row * (y + 1),
                       image.rgba.begin() + row * (image.height - 1 - y));
    png.clear();
    if (stbi_write_png_to_func(
            [](void* context, void* data, int size) {
              appendPng(static_cast<std::string*>(context), data, size);
            },
            &png, image.width, image.height, 4, image.rgba.data(), static_cast<int>(row)) != 0)
      return true;
  } catch (const std::bad_alloc&) {
  }
  *why = "not enough memory for the image";
  return false;
}

class Writer {
 public:
  Writer(bool binary, std::string baseName) : binary_(binary), baseName_(std::move(baseName)) {}

  // A buffer view of `bytes` bytes, aligned to 4; returns its index.
  int view(const void* data, size_t bytes, int target) {
    while (buffer_.size() % 4) buffer_ += '\0';
    Json v = {{"buffer", 0}, {"byteOffset", buffer_.size()}, {"byteLength", bytes}};
    if (target) v["target"] = target;
    views_.push_back(std::move(v));
    buffer_.append(static_cast<const char*>(data), bytes);
    return static_cast<int>(views_.size()) - 1;
  }

  int accessor(const void* data, size_t bytes, int target, int componentType, size_t count,
               const char* type) {
    const int v = view(data, bytes, target);
    accessors_.push_back(
        {{"bufferView", v}, {"componentType", componentType}, {"count", count}, {"type", type}});
    return static_cast<int>(accessors_.size()) - 1;
  }

  int floats(const std::vector<float>& values, int width, const char* type, bool bounds = false,
             int target = kArrayBuffer) {
    const int index = accessor(values.data(), values.size() * sizeof(float), target, kFloat,
                               values.size() / width, type);
    if (bounds) {
      Json low = Json::array(), high = Json::array();
      for (int k = 0; k < width; ++k) {
        float lo = values[k], hi = values[k];
        for (size_t i = k; i < values.size(); i += width) {
          lo = std::min(lo, values[i]);
          hi = std::max(hi, values[i]);
        }
        low.push_back(number(lo));
        high.push_back(number(hi));
      }
      accessors_[index]["min"] = std::move(low);
      accessors_[index]["max"] = std::move(high);
    }
    return index;
  }

  template <class Index>
  int indices(const std::vector<uint32_t>& values, int componentType) {
    std::vector<Index> narrow(values.begin(), values.end());
    return accessor(narrow.data(), narrow.size() * sizeof(Index), kElementArrayBuffer,
                    componentType, narrow.size(), "SCALAR");
  }

  template <class Joint>
  int joints(const std::vector<std::array<uint16_t, 4>>& bones, int componentType) {
    std::vector<Joint> data;
    data.reserve(bones.size() * 4);
    for (const auto& four : bones)
      for (uint16_t bone : four) data.push_back(static_cast<Joint>(bone));
    return accessor(data.data(), data.size() * sizeof(Joint), kArrayBuffer, componentType,
                    bones.size(), "VEC4");
  }

  // The image of a texture, once per name; -1 when the file cannot be read,
  // which is said once.
  int image(const std::string& textureName) {
    auto found = imageOf_.find(textureName);
    if (found != imageOf_.end()) return found->second;
    std::string png, why;
    if (!pngOf(textureName, png, &why)) {
      leftOut_.push_back("The texture " + shownName(textureName) + " cannot be read (" + why +
                         "): the export leaves it out.");
      return imageOf_[textureName] = -1;
    }
    const int number = static_cast<int>(images_.size());
    // The file's name alone: the folders it lay in on this machine are nobody's business.
    Json entry = {{"name", fileNameOfPath(textureName)}};
    if (binary_) {
      entry["bufferView"] = view(png.data(), png.size(), 0);
      entry["mimeType"] = "image/png";
    } else {
      const std::string file = baseName_ + "_" + std::to_string(number) + ".png";
      entry["uri"] = uriOf(file);
      sideFiles_.emplace_back(file, std::move(png));
    }
    images_.push_back(std::move(entry));
    textures_.push_back({{"sampler", 0}, {"source", number}});
    imageOf_[textureName] = number;
    return number;
  }

  bool binary_;
  std::string baseName_;
  std::string buffer_;
  Json views_ = Json::array(), accessors_ = Json::array(), images_ = Json::array(),
       textures_ = Json::array();
  std::vector<std::pair<std::string, std::string>> sideFiles_;
  std::vector<std::string> leftOut_;
  std::map<std::string, int> imageOf_;
};

Json material(const PolygonGroup& group, int index, int texture) {
  const Material& m = group.material;
  // glTF colour factors lie in 0..1; the editor lets a colour go outside.
  auto factor = [](double c) { return number(std::clamp(c, 0.0, 1.0)); };
  Json pbr = {
      {"baseColorFactor", {factor(m.red), factor(m.green), factor(m.blue), factor(m.alpha)}}};
  if (texture >= 0) pbr["baseColorTexture"] = {{"index", texture}};
  pbr["metallicFactor"] = 0;
  pbr["roughnessFactor"] = 1;
  Json out = {{"name", "group" + std::to_string(index)},
              {"pbrMetallicRoughness", std::move(pbr)},
              {"doubleSided", true}};
  if (m.alpha < 1) out["alphaMode"] = "BLEND";
  return out;
}

// A node's move from `from` to `to`, left out when it is none.
void translate(Json& node, const Vec3& to, const Vec3& from) {
  const float d[3] = {static_cast<float>(to.x) - static_cast<float>(from.x),
                      static_cast<float>(to.y) - static_cast<float>(from.y),
                      static_cast<float>(to.z) - static_cast<float>(from.z)};
  if (d[0] == 0 && d[1] == 0 && d[2] == 0) return;
  node["translation"] = {number(d[0]), number(d[1]), number(d[2])};
}

bool finiteJoints(const std::vector<ExportBone>& bones) {
  for (const ExportBone& b : bones) {
    const double values[3] = {b.end.x, b.end.y, b.end.z};
    for (double v : values)
      if (!std::isfinite(static_cast<float>(v))) return false;
  }
  return true;
}

}  // namespace

std::string uriOf(const std::string& fileName) {
  std::string out;
  for (unsigned char c : fileName) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      out += escape;
    }
  }
  return out;
}

bool buildGltf(Model& model, bool binary, const std::string& baseName, GltfAsset& asset,
               std::string* reason) {
  ExportMesh mesh;
  if (!buildExportMesh(model, mesh, reason)) return false;
  if (!finiteJoints(mesh.bones)) {
    if (reason) *reason = "The model holds numbers too large for an export.";
    return false;
  }
  const bool skinned = !mesh.bones.empty() && !mesh.primitives.empty();
  const std::vector<GltfClip> clips = skinned ? gltfClips(model) : std::vector<GltfClip>{};
  for (const GltfClip& clip : clips)
    for (const GltfChannel& c : clip.channels)
      for (float value : c.values)
        if (!std::isfinite(value)) {
          if (reason) *reason = "The model holds numbers too large for an export.";
          return false;
        }
  Writer w(binary, baseName);
  Json primitives = Json::array(), materials = Json::array(), nodes = Json::array();

  for (size_t g = 0; g < mesh.primitives.size(); ++g) {
    const ExportPrimitive& p = mesh.primitives[g];
    const Material& m = p.group->material;
    // A texture that cannot be read is left out; the material keeps its colour.
    const int texture = m.textured && !m.textureName.empty() ? w.image(m.textureName) : -1;
    materials.push_back(material(*p.group, static_cast<int>(g), texture));
    std::vector<float> uvs(p.uvs);  // glTF's v runs down the image
    for (size_t i = 1; i < uvs.size(); i += 2) uvs[i] = 1.0f - uvs[i];
    const int position = w.floats(p.positions, 3, "VEC3", true);
    const int normal = w.floats(p.normals, 3, "VEC3");
    const int uv = w.floats(uvs, 2, "VEC2");
    Json attributes = {{"POSITION", position}, {"NORMAL", normal}, {"TEXCOORD_0", uv}};
    if (skinned) {
      const int joints = mesh.bones.size() <= 256 ? w.joints<uint8_t>(p.joints, kUnsignedByte)
                                                  : w.joints<uint16_t>(p.joints, kUnsignedShort);
      std::vector<float> weights;
      weights.reserve(p.vertexCount() * 4);
      for (const auto& four : p.weights) weights.insert(weights.end(), four.begin(), four.end());
      attributes["JOINTS_0"] = joints;
      attributes["WEIGHTS_0"] = w.floats(weights, 4, "VEC4");
    }
    // 65535 is the primitive-restart value, which 16-bit indices must not hold.
    const int indices = p.vertexCount() <= 65535 ? w.indices<uint16_t>(p.indices, kUnsignedShort)
                                                 : w.indices<uint32_t>(p.indices, kUnsignedInt);
    primitives.push_back(
        {{"attributes", std::move(attributes)}, {"indices", indices}, {"material", g}});
  }

  Json skins, animations = Json::array();
  if (skinned) {
    const int firstJoint = 1;
    std::vector<std::vector<int>> children(mesh.bones.size());
    for (size_t b = 1; b < mesh.bones.size(); ++b) children[mesh.bones[b].parent].push_back(b);
    std::vector<float> inverseBind;
    Json jointNodes = Json::array(), endNodes = Json::array();
    for (size_t b = 0; b < mesh.bones.size(); ++b) {
      const ExportBone& bone = mesh.bones[b];
      // A named bone's joint node carries its name; the others keep the names of old.
      const std::string name = bone.name.empty() ? "bone" + std::to_string(b) : bone.name;
      const float m[16] = {1,
                           0,
                           0,
                           0,
                           0,
                           1,
                           0,
                           0,
                           0,
                           0,
                           1,
                           0,
                           -static_cast<float>(bone.start.x),
                           -static_cast<float>(bone.start.y),
                           -static_cast<float>(bone.start.z),
                           1};
      inverseBind.insert(inverseBind.end(), m, m + 16);
      Json kids = Json::array();
      for (int c : children[b]) kids.push_back(firstJoint + c);
      if (children[b].empty()) {
        kids.push_back(firstJoint + mesh.bones.size() + endNodes.size());
        Json end = {{"name", name + "_end"}};
        translate(end, bone.end, bone.start);
        endNodes.push_back(std::move(end));
      }
      const Vec3 origin = bone.parent < 0 ? Vec3{} : mesh.bones[bone.parent].start;
      Json joint = {{"name", name}};
      translate(joint, bone.start, origin);
      joint["children"] = std::move(kids);
      jointNodes.push_back(std::move(joint));
    }
    nodes.push_back({{"name", "mesh"}, {"mesh", 0}, {"skin", 0}});
    nodes.insert(nodes.end(), jointNodes.begin(), jointNodes.end());
    nodes.insert(nodes.end(), endNodes.begin(), endNodes.end());
    Json jointList = Json::array();
    for (size_t b = 0; b < mesh.bones.size(); ++b) jointList.push_back(firstJoint + b);
    const int ibm = w.accessor(inverseBind.data(), inverseBind.size() * sizeof(float), 0, kFloat,
                               mesh.bones.size(), "MAT4");
    skins = Json::array(
        {{{"inverseBindMatrices", ibm}, {"skeleton", 1}, {"joints", std::move(jointList)}}});
    for (const GltfClip& clip : clips) {
      Json channels = Json::array(), samplers = Json::array();
      for (const GltfChannel& c : clip.channels) {
        const int input = w.floats(c.times, 1, "SCALAR", true, 0);
        static const char* const kPaths[] = {"rotation", "translation", "scale"};
        const int output =
            w.floats(c.values, c.width(), c.width() == 4 ? "VEC4" : "VEC3", false, 0);
        channels.push_back({{"sampler", samplers.size()},
                            {"target", {{"node", firstJoint + c.bone}, {"path", kPaths[c.path]}}}});
        samplers.push_back(
            {{"input", input}, {"output", output}, {"interpolation", c.interpolation}});
      }
      animations.push_back({{"name", clip.name},
                            {"channels", std::move(channels)},
                            {"samplers", std::move(samplers)}});
    }
  } else if (!mesh.primitives.empty()) {
    nodes.push_back({{"name", "mesh"}, {"mesh", 0}});
  }

  Json json = {{"asset", {{"version", "2.0"}, {"generator", "Vantorel"}}}, {"scene", 0}};
  if (nodes.empty()) {
    json["scenes"] = Json::array({Json::object()});
  } else {
    Json roots = skinned ? Json::array({0, 1}) : Json::array({0});
    json["scenes"] = Json::array({{{"nodes", std::move(roots)}}});
    json["nodes"] = std::move(nodes);
    json["meshes"] = Json::array({{{"name", "mesh"}, {"primitives", std::move(primitives)}}});
    if (skinned) json["skins"] = std::move(skins);
    if (!animations.empty()) json["animations"] = std::move(animations);
    json["materials"] = std::move(materials);
  }
  if (!w.images_.empty()) {
    json["samplers"] = Json::array({{{"magFilter", kLinear}, {"minFilter", kLinearMipmapNearest}}});
    json["images"] = std::move(w.images_);
    json["textures"] = std::move(w.textures_);
  }
  asset = GltfAsset{};
  if (!w.buffer_.empty()) {
    while (w.buffer_.size() % 4) w.buffer_ += '\0';
    Json buffer = {{"byteLength", w.buffer_.size()}};
    if (!binary) {
      const std::string file = baseName + ".bin";
      buffer["uri"] = uriOf(file);
      asset.sideFiles.emplace_back(file, w.buffer_);
    }
    json["buffers"] = Json::array({std::move(buffer)});
    json["bufferViews"] = std::move(w.views_);
    json["accessors"] = std::move(w.accessors_);
  }
  // A name that is not UTF-8 (a texture file's name from another system)
  // goes out with U+FFFD in place of its bad bytes rather than failing.
  asset.json = json.dump(-1, ' ', false, Json::error_handler_t::replace);
  asset.buffer = std::move(w.buffer_);
  for (auto& file : w.sideFiles_) asset.sideFiles.push_back(std::move(file));
  asset.leftOut = std::move(w.leftOut_);
  return true;
}

std::string glbBytes(const GltfAsset& asset) {
  std::string json = asset.json;
  while (json.size() % 4) json += ' ';
  const bool hasBuffer = !asset.buffer.empty();
  const uint32_t total =
      static_cast<uint32_t>(12 + 8 + json.size() + (hasBuffer ? 8 + asset.buffer.size() : 0));
  std::string out;
  auto word = [&out](uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  word(0x46546C67);  // "glTF"
  word(2);
  word(total);
  word(static_cast<uint32_t>(json.size()));
  word(0x4E4F534A);  // "JSON"
  out += json;
  if (hasBuffer) {
    word(static_cast<uint32_t>(asset.buffer.size()));
    word(0x004E4942);  // "BIN"
    out += asset.buffer;
  }
  return out;
}
