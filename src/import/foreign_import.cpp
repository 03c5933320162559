// Assimp's scene to a model image. Meshes are placed by their nodes' global
// transforms; positions are welded by value across the whole scene, as the
// editor's corners share vertices. A skin's joints become bones in the node
// tree's order: a joint node sits at its bone's start (as the exporter writes
// it), so a bone ends where its first child node sits, or at its own node when
// it has none. The skin's weights give each triangle its bone and, where the
// triangles' bones would give other weights, stay as weights set by hand
// (import/skin_import.h); skeletal animations become clips
// (import/animation_import.h).

#include "import/foreign_import.h"

#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>
#include <assimp/ProgressHandler.hpp>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <memory>

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>

#include "files/file_paths.h"
#include "files/regular_file.h"
#include "formats/model_file.h"
#include "import/animation_import.h"
#include "import/confined_io.h"
#include "import/glb_lengths.h"
#include "import/scene_checks.h"
#include "import/skin_import.h"
#include "import/texture_files.h"
#include "import/up_axis.h"
#include "model/bone_names.h"

namespace {

// Held here, where a leak checker still sees it, until the process exits.
// Volatile, or an optimising build drops the store nobody reads, and the
// leak checker of a sanitizer build fails every import child at its exit.
Assimp::Importer* volatile importerLeftForExit = nullptr;

enum Change {
  kQuadsSplit,
  kDropped,  // points, lines and degenerate triangles, counted
  kUvSets,
  kTextures,
  kChangeCount
};
const char* const kChangeText[kChangeCount] = {"quads split into triangles", "",
                                               "UV sets past the first dropped",
                                               "textures without a usable name dropped"};

// What was dropped for having no area: points, lines (faces of one or two
// corners in the file) and triangles with a repeated corner or no area.
struct Dropped {
  size_t points = 0, lines = 0, triangles = 0;
};

std::string counted(size_t count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// "28 lines and 3 degenerate triangles dropped"; "" when nothing was.
std::string droppedText(const Dropped& dropped) {
  std::vector<std::string> parts;
  if (dropped.points) parts.push_back(counted(dropped.points, "point"));
  if (dropped.lines) parts.push_back(counted(dropped.lines, "line"));
  if (dropped.triangles) parts.push_back(counted(dropped.triangles, "degenerate triangle"));
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i)
    text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
  return text.empty() ? text : text + " dropped";
}

// Twice the area's square is zero: the corners lie on one line.
bool withoutArea(const Vec3& a, const Vec3& b, const Vec3& c) {
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
  return uy * vz - uz * vy == 0 && uz * vx - ux * vz == 0 && ux * vy - uy * vx == 0;
}

struct Joint {
  const aiNode* node = nullptr;
  aiMatrix4x4 bindWorld;  // the joint's placement in the bind pose
};

class Converter {
 public:
  Converter(const aiScene& scene, const std::string& path, const std::string& modelPath)
      : scene_(scene), path_(path), textures_(path, modelPath) {
    size_t vertices = 0;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) vertices += scene.mMeshes[m]->mNumVertices;
    vertexOf_.reserve(vertices);
  }

  bool run(ForeignModel& result, std::string* reason) {
    collectJoints(*scene_.mRootNode, aiMatrix4x4());
    orderBones(*scene_.mRootNode, 0);
    nameBones();
    if (!placeMeshes(*scene_.mRootNode, aiMatrix4x4(), reason)) return false;
    if (image_.groups.empty()) image_.groups.emplace_back();
    if (dropped.triangles) dropUnusedVertices();
    weights_.resize(image_.vertices.size());
    if (!image_.bones.empty()) assignSkin(image_, weights_);
    if (textures_.droppedAny()) changed_[kTextures] = true;
    changed_[kDropped] = dropped.points || dropped.lines || dropped.triangles;
    std::vector<std::string> animationChanges;
    const std::vector<NodeInterpolations> interpolations =
        scene_.mNumAnimations ? gltfInterpolations(path_) : std::vector<NodeInterpolations>();
    importAnimations(scene_, jointsByLine(), interpolations, image_, animationChanges);
    result.image = std::move(image_);
    for (int c = 0; c < kChangeCount; ++c)
      if (changed_[c])
        result.changes.push_back(c == kDropped ? droppedText(dropped) : kChangeText[c]);
    for (const std::string& note : textures_.notes()) result.changes.push_back(note);
    if (!unnamed_.empty()) result.changes.push_back(unnamedText());
    result.changes.insert(result.changes.end(), animationChanges.begin(), animationChanges.end());
    return true;
  }

  bool changed_[kChangeCount] = {};
  Dropped dropped;

 private:
  // Corners are welded on their single-precision positions.
  using Key = std::array<uint32_t, 3>;
  struct KeyHash {
    size_t operator()(const Key& k) const {
      uint64_t h = (uint64_t{k[0]} << 32 | k[1]) ^ (uint64_t{k[2]} * 0x9E3779B97F4A7C15ull);
      h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCDull;
      h = (h ^ (h >> 33)) * 0xC4CEB9FE1A85EC53ull;
      return h ^ (h >> 33);
    }
  };

  void collectJoints(const aiNode& node, const aiMatrix4x4& parentWorld) {
    const aiMatrix4x4 world = parentWorld * node.mTransformation;
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
      const aiMesh& mesh = *scene_.mMeshes[node.mMeshes[i]];
      for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        const aiNode* jointNode = scene_.mRootNode->FindNode(bone.mName);
        if (!jointNode || joints_.contains(jointNode)) continue;
        aiMatrix4x4 bind = bone.mOffsetMatrix;
        joints_[jointNode] = Joint{jointNode, world * bind.Inverse()};
      }
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) collectJoints(*node.mChildren[c], world);
  }

  // Bones in depth-first order of the node tree; a joint's parent is its
  // nearest joint ancestor. Joints without one hang below the first.
  void orderBones(const aiNode& node, int depth) {
    int childDepth = depth;
    auto found = joints_.find(&node);
    if (found != joints_.end()) {
      const int boneDepth = depth == 0 && !image_.bones.empty() ? 2 : depth + 1;
      boneOf_[&node] = static_cast<int>(image_.bones.size());
      ModelImage::BoneRecord& bone = image_.bones.emplace_back();
      bone.depth = boneDepth;
      const aiVector3D end = endOf(found->second);
      bone.x = roundAsWritten(end.x);
      bone.y = roundAsWritten(end.y);
      bone.z = roundAsWritten(end.z);
      childDepth = boneDepth;
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) orderBones(*node.mChildren[c], childDepth);
  }

  // Each bone takes its joint node's name when that is a bone name no earlier
  // bone took; "boneN" on bone N is the editor's export of an unnamed bone.
  void nameBones() {
    std::vector<const aiNode*> byLine(image_.bones.size());
    for (const auto& [node, line] : boneOf_) byLine[line] = node;
    absl::flat_hash_set<std::string> taken;
    for (size_t line = 0; line < byLine.size(); ++line) {
      std::string name = byLine[line]->mName.C_Str();
      if (name.empty() || name == "bone" + std::to_string(line)) continue;
      if (!isBoneName(name) || !taken.insert(name).second) {
        unnamed_.push_back(std::move(name));
        continue;
      }
      image_.boneNames.emplace_back(static_cast<int>(line), std::move(name));
    }
  }

  // "bone name Upper arm not kept (...)", or with more of them, how many.
  std::string unnamedText() const {
    const char* const why =
        "not one word of at most 63 printable characters, or another bone's already";
    const std::string first = shownName(unnamed_.front());
    if (unnamed_.size() == 1) return "bone name " + first + " not kept (" + why + ")";
    return std::to_string(unnamed_.size()) + " bone names not kept (" + why + "), the first " +
           first;
  }

  // The joint nodes and their bind placements by bone line.
  std::vector<ImportedJoint> jointsByLine() const {
    std::vector<ImportedJoint> out(image_.bones.size());
    for (const auto& [node, line] : boneOf_) out[line] = {node, joints_.at(node).bindWorld};
    return out;
  }

  aiVector3D endOf(const Joint& joint) const {
    if (joint.node->mNumChildren == 0) return joint.bindWorld * aiVector3D();
    const aiNode* child = joint.node->mChildren[0];
    auto found = joints_.find(child);
    if (found != joints_.end()) return found->second.bindWorld * aiVector3D();
    return (joint.bindWorld * child->mTransformation) * aiVector3D();
  }

  bool placeMeshes(const aiNode& node, const aiMatrix4x4& parentWorld, std::string* reason) {
    const aiMatrix4x4 world = parentWorld * node.mTransformation;
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
      if (!placeMesh(*scene_.mMeshes[node.mMeshes[i]], world, reason)) return false;
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c)
      if (!placeMeshes(*node.mChildren[c], world, reason)) return false;
    return true;
  }

  bool placeMesh(const aiMesh& mesh, const aiMatrix4x4& world, std::string* reason) {
    if (!(mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) return true;
    if (mesh.GetNumUVChannels() > 1) changed_[kUvSets] = true;
    std::vector<int> vertexNumber(mesh.mNumVertices);
    const bool placed = !world.IsIdentity();
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
      const aiVector3D p = placed ? world * mesh.mVertices[v] : mesh.mVertices[v];
      const Key key{std::bit_cast<uint32_t>(p.x + 0.0f), std::bit_cast<uint32_t>(p.y + 0.0f),
                    std::bit_cast<uint32_t>(p.z + 0.0f)};
      auto [slot, added] = vertexOf_.try_emplace(key, static_cast<int>(image_.vertices.size()));
      if (added) {
        const Vec3 rounded{roundAsWritten(p.x), roundAsWritten(p.y), roundAsWritten(p.z)};
        if (!std::isfinite(rounded.x) || !std::isfinite(rounded.y) || !std::isfinite(rounded.z)) {
          if (reason) *reason = "The file holds coordinates that are not finite numbers.";
          return false;
        }
        image_.vertices.push_back(rounded);
      }
      vertexNumber[v] = slot->second;
    }
    collectWeights(mesh, vertexNumber);
    ModelImage::GroupRecord& group = image_.groups.emplace_back();
    group.polygons.reserve(mesh.mNumFaces);
    const aiVector3D* uvs = mesh.mTextureCoords[0];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3) continue;
      const int a = vertexNumber[face.mIndices[0]], b = vertexNumber[face.mIndices[1]],
                c = vertexNumber[face.mIndices[2]];
      if (a == b || b == c || a == c ||
          withoutArea(image_.vertices[a], image_.vertices[b], image_.vertices[c])) {
        ++dropped.triangles;
        continue;
      }
      ModelImage::PolygonRecord& polygon = group.polygons.emplace_back();
      for (int k = 0; k < 3; ++k) {
        const unsigned index = face.mIndices[k];
        polygon.corners[k] = vertexNumber[index];
        const double u = uvs ? roundAsWritten(uvs[index].x) : 0;
        const double v = uvs ? roundAsWritten(uvs[index].y) : 0;
        polygon.u[k] = std::isfinite(u) ? u : 0;
        polygon.v[k] = std::isfinite(v) ? v : 0;
      }
      ++polygonNumber_;
    }
    setMaterial(*scene_.mMaterials[mesh.mMaterialIndex], group);
    return true;
  }

  // The vertices that only dropped triangles used go with them.
  void dropUnusedVertices() {
    std::vector<int> renumbered(image_.vertices.size(), -1);
    for (const auto& group : image_.groups)
      for (const auto& polygon : group.polygons)
        for (int corner : polygon.corners) renumbered[corner] = 0;
    size_t kept = 0;
    for (size_t v = 0; v < renumbered.size(); ++v) {
      if (renumbered[v] < 0) continue;
      renumbered[v] = static_cast<int>(kept);
      if (kept < weights_.size() && kept != v) {  // weights follow their vertex
        if (v < weights_.size())
          weights_[kept] = std::move(weights_[v]);
        else
          weights_[kept].clear();
      }
      image_.vertices[kept++] = image_.vertices[v];
    }
    image_.vertices.resize(kept);
    if (weights_.size() > kept) weights_.resize(kept);
    for (auto& group : image_.groups)
      for (auto& polygon : group.polygons)
        for (int& corner : polygon.corners) corner = renumbered[corner];
  }

  // Each vertex's weights from the first mesh vertex welded into it.
  void collectWeights(const aiMesh& mesh, const std::vector<int>& vertexNumber) {
    if (mesh.mNumBones == 0 || boneOf_.empty()) return;
    if (weights_.size() < image_.vertices.size()) weights_.resize(image_.vertices.size());
    // Only the first mesh vertex of each welded vertex that has no weights yet.
    std::vector<char> fresh(mesh.mNumVertices, 0);
    absl::flat_hash_map<int, unsigned> sourceOf;
    for (unsigned v = 0; v < mesh.mNumVertices; ++v)
      if (weights_[vertexNumber[v]].empty())
        fresh[v] = sourceOf.try_emplace(vertexNumber[v], v).second;
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
      const aiBone& bone = *mesh.mBones[b];
      auto found = boneOf_.find(scene_.mRootNode->FindNode(bone.mName));
      if (found == boneOf_.end()) continue;
      for (unsigned w = 0; w < bone.mNumWeights; ++w) {
        const aiVertexWeight& weight = bone.mWeights[w];
        if (weight.mVertexId < mesh.mNumVertices && weight.mWeight > 0 && fresh[weight.mVertexId])
          weights_[vertexNumber[weight.mVertexId]].emplace_back(found->second, weight.mWeight);
      }
    }
  }

  void setMaterial(const aiMaterial& material, ModelImage::GroupRecord& group) {
    aiColor4D colour(1, 1, 1, 1);
    if (material.Get(AI_MATKEY_BASE_COLOR, colour) != AI_SUCCESS)
      material.Get(AI_MATKEY_COLOR_DIFFUSE, colour);
    float opacity = 1;
    if (material.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS && opacity < colour.a)
      colour.a = opacity;
    const double channels[4] = {colour.r, colour.g, colour.b, colour.a};
    for (int c = 0; c < 4; ++c)
      group.colour[c] = std::isfinite(channels[c]) ? roundAsWritten(channels[c]) : 1;
    aiString texture;
    if (material.GetTexture(aiTextureType_BASE_COLOR, 0, &texture) != AI_SUCCESS &&
        material.GetTexture(aiTextureType_DIFFUSE, 0, &texture) != AI_SUCCESS)
      return;
    const std::string name = textures_.nameFor(scene_, texture.C_Str());
    if (name.empty()) return;
    group.textured = 1;
    group.textureName = name;
  }

  const aiScene& scene_;
  std::string path_;  // the file, for what Assimp does not keep of it
  TextureFiles textures_;
  ModelImage image_;
  absl::flat_hash_map<const aiNode*, Joint> joints_;
  absl::flat_hash_map<const aiNode*, int> boneOf_;
  std::vector<std::string> unnamed_;  // joint node names no bone could keep
  absl::flat_hash_map<Key, int, KeyHash> vertexOf_;
  VertexWeights weights_;
  int polygonNumber_ = 0;
};

// Hands Assimp's estimate of how far it has got on, in whole percents.
class PercentHandler : public Assimp::ProgressHandler {
 public:
  explicit PercentHandler(std::function<void(int)> report) : report_(std::move(report)) {}
  bool Update(float fraction) override {
    const int percent = std::clamp(static_cast<int>(fraction * 100), 0, 100);
    if (fraction >= 0 && percent != last_) report_(last_ = percent);
    return true;  // never cancels
  }

 private:
  std::function<void(int)> report_;
  int last_ = -1;
};

}  // namespace

bool isForeignFormat(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
  // The editor's own model files have long been named .mdl, which Assimp takes
  // for Quake's models: such a name is written as a model file.
  if (extensionOf(path) == ".mdl") return false;
  Assimp::Importer importer;
  return importer.IsExtensionSupported(path.substr(dot));
}

bool isOneWord(const std::string& textureName) {
  if (textureName.empty() || textureName.size() > kLongestTextureName) return false;
  for (unsigned char c : textureName)
    if (c <= ' ' || c == 0x7F) return false;
  return true;
}

bool fitsModelFile(const std::string& textureName) {
  return textureName.size() <= 31 && isOneWord(textureName);
}

bool importForeignModel(const std::string& path, ForeignModel& result, std::string* reason,
                        SceneAfterImport after, const std::string& modelPath,
                        const std::function<void(int)>& progress) {
  if (std::FILE* file = openRegularFile(path)) {
    const bool fit = glbLengthsFit(file, reason);
    std::fclose(file);
    if (!fit) return false;
  }
  auto owned = std::make_unique<Assimp::Importer>();
  Assimp::Importer& importer = *owned;
  if (after == SceneAfterImport::kLeftForExit) importerLeftForExit = owned.release();
  auto* files = new ConfinedIOSystem(path);
  importer.SetIOHandler(files);                                             // the importer owns it
  if (progress) importer.SetProgressHandler(new PercentHandler(progress));  // and this
  // Points and lines have no place in the model; the rest is triangulated
  // after the faces have been looked at, so that split quads can be named.
  importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE,
                              aiPrimitiveType_POINT | aiPrimitiveType_LINE);
  // A Quake model's palette is looked for beside it, where it may be read,
  // and not in the working directory; without one the importer has its own.
  importer.SetPropertyString(AI_CONFIG_IMPORT_MDL_COLORMAP, directoryOf(path) + "/colormap.lmp");
  const aiScene* scene = importer.ReadFile(path, 0);
  if (!scene) {
    if (reason) *reason = importer.GetErrorString();
    // A file the importer needed but was not given is the likelier cause,
    // unless memory ran out (which the import child tells apart).
    const bool outOfMemory =
        std::string(importer.GetErrorString()).find("bad_alloc") != std::string::npos;
    if (reason && !files->refusals().empty() && !outOfMemory) {
      *reason = files->refusals()[0] + ".";
      (*reason)[0] = 'F';  // "File NAME not read (REASON)."
    }
    return false;
  }
  // The importer's scene is its own to change until it hands it over.
  aiScene& ownScene = const_cast<aiScene&>(*scene);
  if (!checkScene(ownScene, reason)) return false;
  turnUpright(ownScene);
  bool quads = false;
  Dropped dropped;
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
    const aiMesh& mesh = *scene->mMeshes[m];
    quads |= (mesh.mPrimitiveTypes & aiPrimitiveType_POLYGON) != 0;
    if (!(mesh.mPrimitiveTypes & (aiPrimitiveType_POINT | aiPrimitiveType_LINE))) continue;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      dropped.points += mesh.mFaces[f].mNumIndices == 1;
      dropped.lines += mesh.mFaces[f].mNumIndices == 2;
    }
  }
  scene = importer.ApplyPostProcessing(aiProcess_Triangulate | aiProcess_SortByPType);
  if (!scene) {
    if (reason) *reason = importer.GetErrorString();
    return false;
  }
  Converter converter(*scene, path, modelPath.empty() ? path : modelPath);
  converter.changed_[kQuadsSplit] = quads;
  converter.dropped = dropped;
  if (!converter.run(result, reason)) return false;
  result.changes.insert(result.changes.end(), files->refusals().begin(), files->refusals().end());
  return true;
}
