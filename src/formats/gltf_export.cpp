// The glTF writer. Nodes: 0 the mesh (a root, untransformed, as a skinned mesh
// must be), then one joint per bone in the skeleton's depth-first order, then
// one end node under each leaf bone's joint: a joint sits at its bone's start,
// so a leaf's end would otherwise be lost. Inverse bind matrices are plain
// translations, because the editor's bones carry no rotation; a bone's pose
// is its joint node's rotation, so the clips animate the joint nodes
// (formats/gltf_animation.h) and the vertices follow their weights.

#include "formats/gltf_export.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>

#include "files/file_paths.h"
#include "formats/export_mesh.h"
#include "formats/gltf_animation.h"
#include "images/texture_cache.h"

namespace {

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

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string list(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ",") + item;
  return out;
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
    std::string v = "{\"buffer\":0,\"byteOffset\":" + std::to_string(buffer_.size()) +
                    ",\"byteLength\":" + std::to_string(bytes);
    if (target) v += ",\"target\":" + std::to_string(target);
    views_.push_back(v + "}");
    buffer_.append(static_cast<const char*>(data), bytes);
    return static_cast<int>(views_.size()) - 1;
  }

  int accessor(const void* data, size_t bytes, int target, int componentType, size_t count,
               const char* type, const std::string& extra = "") {
    const int v = view(data, bytes, target);
    accessors_.push_back("{\"bufferView\":" + std::to_string(v) + ",\"componentType\":" +
                         std::to_string(componentType) + ",\"count\":" + std::to_string(count) +
                         ",\"type\":\"" + type + "\"" + extra + "}");
    return static_cast<int>(accessors_.size()) - 1;
  }

  int floats(const std::vector<float>& values, int width, const char* type, bool bounds = false,
             int target = kArrayBuffer) {
    std::string extra;
    if (bounds) {
      std::vector<std::string> low, high;
      for (int k = 0; k < width; ++k) {
        float lo = values[k], hi = values[k];
        for (size_t i = k; i < values.size(); i += width) {
          lo = std::min(lo, values[i]);
          hi = std::max(hi, values[i]);
        }
        low.push_back(number(lo));
        high.push_back(number(hi));
      }
      extra = ",\"min\":[" + list(low) + "],\"max\":[" + list(high) + "]";
    }
    return accessor(values.data(), values.size() * sizeof(float), target, kFloat,
                    values.size() / width, type, extra);
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
    std::string entry = "{\"name\":" + quoted(fileNameOfPath(textureName));
    if (binary_) {
      entry += ",\"bufferView\":" + std::to_string(view(png.data(), png.size(), 0)) +
               ",\"mimeType\":\"image/png\"}";
    } else {
      const std::string file = baseName_ + "_" + std::to_string(number) + ".png";
      entry += ",\"uri\":" + quoted(uriOf(file)) + "}";
      sideFiles_.emplace_back(file, std::move(png));
    }
    images_.push_back(entry);
    textures_.push_back("{\"sampler\":0,\"source\":" + std::to_string(number) + "}");
    imageOf_[textureName] = number;
    return number;
  }

  bool binary_;
  std::string baseName_;
  std::string buffer_;
  std::vector<std::string> views_, accessors_, images_, textures_;
  std::vector<std::pair<std::string, std::string>> sideFiles_;
  std::vector<std::string> leftOut_;
  std::map<std::string, int> imageOf_;
};

std::string material(const PolygonGroup& group, int index, int texture) {
  const Material& m = group.material;
  // glTF colour factors lie in 0..1; the editor lets a colour go outside.
  auto factor = [](double c) { return number(std::clamp(c, 0.0, 1.0)); };
  std::string pbr = "\"baseColorFactor\":[" + factor(m.red) + "," + factor(m.green) + "," +
                    factor(m.blue) + "," + factor(m.alpha) + "]";
  if (texture >= 0) pbr += ",\"baseColorTexture\":{\"index\":" + std::to_string(texture) + "}";
  std::string out = "{\"name\":\"group" + std::to_string(index) + "\",\"pbrMetallicRoughness\":{" +
                    pbr + ",\"metallicFactor\":0,\"roughnessFactor\":1},\"doubleSided\":true";
  if (m.alpha < 1) out += ",\"alphaMode\":\"BLEND\"";
  return out + "}";
}

std::string translation(const Vec3& to, const Vec3& from) {
  const float d[3] = {static_cast<float>(to.x) - static_cast<float>(from.x),
                      static_cast<float>(to.y) - static_cast<float>(from.y),
                      static_cast<float>(to.z) - static_cast<float>(from.z)};
  if (d[0] == 0 && d[1] == 0 && d[2] == 0) return "";
  return ",\"translation\":[" + number(d[0]) + "," + number(d[1]) + "," + number(d[2]) + "]";
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
  std::vector<std::string> primitives, materials, nodes;

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
    std::string attributes = "\"POSITION\":" + std::to_string(position) +
                             ",\"NORMAL\":" + std::to_string(normal) +
                             ",\"TEXCOORD_0\":" + std::to_string(uv);
    if (skinned) {
      const int joints = mesh.bones.size() <= 256 ? w.joints<uint8_t>(p.joints, kUnsignedByte)
                                                  : w.joints<uint16_t>(p.joints, kUnsignedShort);
      std::vector<float> weights;
      weights.reserve(p.vertexCount() * 4);
      for (const auto& four : p.weights) weights.insert(weights.end(), four.begin(), four.end());
      const int weightAccessor = w.floats(weights, 4, "VEC4");
      attributes += ",\"JOINTS_0\":" + std::to_string(joints) +
                    ",\"WEIGHTS_0\":" + std::to_string(weightAccessor);
    }
    // 65535 is the primitive-restart value, which 16-bit indices must not hold.
    const int indices = p.vertexCount() <= 65535 ? w.indices<uint16_t>(p.indices, kUnsignedShort)
                                                 : w.indices<uint32_t>(p.indices, kUnsignedInt);
    primitives.push_back("{\"attributes\":{" + attributes + "},\"indices\":" +
                         std::to_string(indices) + ",\"material\":" + std::to_string(g) + "}");
  }

  std::string skin;
  if (skinned) {
    const int firstJoint = 1;
    std::vector<std::vector<int>> children(mesh.bones.size());
    for (size_t b = 1; b < mesh.bones.size(); ++b) children[mesh.bones[b].parent].push_back(b);
    std::vector<float> inverseBind;
    std::vector<std::string> jointNodes, endNodes;
    for (size_t b = 0; b < mesh.bones.size(); ++b) {
      const ExportBone& bone = mesh.bones[b];
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
      std::vector<std::string> kids;
      for (int c : children[b]) kids.push_back(std::to_string(firstJoint + c));
      if (children[b].empty()) {
        kids.push_back(std::to_string(firstJoint + mesh.bones.size() + endNodes.size()));
        endNodes.push_back("{\"name\":\"bone" + std::to_string(b) + "_end\"" +
                           translation(bone.end, bone.start) + "}");
      }
      const Vec3 origin = bone.parent < 0 ? Vec3{} : mesh.bones[bone.parent].start;
      jointNodes.push_back("{\"name\":\"bone" + std::to_string(b) + "\"" +
                           translation(bone.start, origin) + ",\"children\":[" + list(kids) + "]}");
    }
    nodes.push_back("{\"name\":\"mesh\",\"mesh\":0,\"skin\":0}");
    nodes.insert(nodes.end(), jointNodes.begin(), jointNodes.end());
    nodes.insert(nodes.end(), endNodes.begin(), endNodes.end());
    std::vector<std::string> jointList;
    for (size_t b = 0; b < mesh.bones.size(); ++b)
      jointList.push_back(std::to_string(firstJoint + b));
    const int ibm = w.accessor(inverseBind.data(), inverseBind.size() * sizeof(float), 0, kFloat,
                               mesh.bones.size(), "MAT4");
    skin = "\"skins\":[{\"inverseBindMatrices\":" + std::to_string(ibm) +
           ",\"skeleton\":1,\"joints\":[" + list(jointList) + "]}],";
    std::vector<std::string> animations;
    for (const GltfClip& clip : clips) {
      std::vector<std::string> channels, samplers;
      for (const GltfChannel& c : clip.channels) {
        const int input = w.floats(c.times, 1, "SCALAR", true, 0);
        const int output =
            w.floats(c.values, c.translation ? 3 : 4, c.translation ? "VEC3" : "VEC4", false, 0);
        channels.push_back("{\"sampler\":" + std::to_string(samplers.size()) +
                           ",\"target\":{\"node\":" + std::to_string(firstJoint + c.bone) +
                           ",\"path\":\"" + (c.translation ? "translation" : "rotation") + "\"}}");
        samplers.push_back("{\"input\":" + std::to_string(input) + ",\"output\":" +
                           std::to_string(output) + ",\"interpolation\":\"LINEAR\"}");
      }
      animations.push_back("{\"name\":" + quoted(clip.name) + ",\"channels\":[" + list(channels) +
                           "],\"samplers\":[" + list(samplers) + "]}");
    }
    if (!animations.empty()) skin += "\"animations\":[" + list(animations) + "],";
  } else if (!mesh.primitives.empty()) {
    nodes.push_back("{\"name\":\"mesh\",\"mesh\":0}");
  }

  std::string json = "{\"asset\":{\"version\":\"2.0\",\"generator\":\"Vantorel\"},\"scene\":0,";
  if (nodes.empty()) {
    json += "\"scenes\":[{}]";
  } else {
    json += "\"scenes\":[{\"nodes\":[0" + std::string(skinned ? ",1" : "") + "]}],\"nodes\":[" +
            list(nodes) + "],\"meshes\":[{\"name\":\"mesh\",\"primitives\":[" + list(primitives) +
            "]}]," + skin + "\"materials\":[" + list(materials) + "]";
  }
  if (!w.images_.empty()) {
    json += ",\"samplers\":[{\"magFilter\":" + std::to_string(kLinear) +
            ",\"minFilter\":" + std::to_string(kLinearMipmapNearest) + "}],\"images\":[" +
            list(w.images_) + "],\"textures\":[" + list(w.textures_) + "]";
  }
  asset = GltfAsset{};
  if (!w.buffer_.empty()) {
    while (w.buffer_.size() % 4) w.buffer_ += '\0';
    std::string buffer = "{\"byteLength\":" + std::to_string(w.buffer_.size());
    if (!binary) {
      const std::string file = baseName + ".bin";
      buffer += ",\"uri\":" + quoted(uriOf(file));
      asset.sideFiles.emplace_back(file, w.buffer_);
    }
    json += ",\"buffers\":[" + buffer + "}],\"bufferViews\":[" + list(w.views_) +
            "],\"accessors\":[" + list(w.accessors_) + "]";
  }
  asset.json = json + "}";
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
