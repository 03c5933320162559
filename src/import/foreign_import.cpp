// Assimp's scene to a model image. Meshes are placed by their nodes' global
// transforms; positions are welded by value across the whole scene, as the
// editor's corners share vertices. A skin's joints become bones in the node
// tree's order: a joint node sits at its bone's start (as the exporter writes
// it), so a bone ends where its first child node sits, or at its own node when
// it has none.

#include "import/foreign_import.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <memory>

#include <absl/container/flat_hash_map.h>

#include "files/file_paths.h"
#include "files/regular_file.h"
#include "formats/model_file.h"
#include "import/confined_io.h"
#include "import/glb_lengths.h"
#include "import/texture_files.h"

namespace {

// Held here, where a leak checker still sees it, until the process exits.
// Volatile, or an optimising build drops the store nobody reads, and the
// leak checker of a sanitizer build fails every import child at its exit.
Assimp::Importer* volatile importerLeftForExit = nullptr;

enum Change {
  kQuadsSplit,
  kPointsAndLines,
  kAnimations,
  kWeights,
  kUvSets,
  kTextures,
  kChangeCount
};
const char* const kChangeText[kChangeCount] = {"quads split into triangles",
                                               "points and lines dropped",
                                               "animations dropped",
                                               "weights below the largest dropped",
                                               "UV sets past the first dropped",
                                               "textures without a usable name dropped"};

struct Joint {
  const aiNode* node = nullptr;
  aiMatrix4x4 bindWorld;  // the joint's placement in the bind pose
};

class Converter {
 public:
  Converter(const aiScene& scene, const std::string& path, const std::string& modelPath)
      : scene_(scene), textures_(path, modelPath) {
    size_t vertices = 0;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) vertices += scene.mMeshes[m]->mNumVertices;
    vertexOf_.reserve(vertices);
  }

  bool run(ForeignModel& result, std::string* reason) {
    collectJoints(*scene_.mRootNode, aiMatrix4x4());
    orderBones(*scene_.mRootNode, 0);
    if (!placeMeshes(*scene_.mRootNode, aiMatrix4x4(), reason)) return false;
    if (image_.groups.empty()) image_.groups.emplace_back();
    if (scene_.mNumAnimations > 0) changed_[kAnimations] = true;
    if (textures_.droppedAny()) changed_[kTextures] = true;
    result.image = std::move(image_);
    for (int c = 0; c < kChangeCount; ++c)
      if (changed_[c]) result.changes.push_back(kChangeText[c]);
    for (const std::string& refusal : textures_.refusals()) result.changes.push_back(refusal);
    return true;
  }

  bool changed_[kChangeCount] = {};

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
    const std::vector<int> faceBones = assignBones(mesh);
    ModelImage::GroupRecord& group = image_.groups.emplace_back();
    group.polygons.reserve(mesh.mNumFaces);
    const aiVector3D* uvs = mesh.mTextureCoords[0];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3) continue;
      ModelImage::PolygonRecord& polygon = group.polygons.emplace_back();
      for (int k = 0; k < 3; ++k) {
        const unsigned index = face.mIndices[k];
        polygon.corners[k] = vertexNumber[index];
        const double u = uvs ? roundAsWritten(uvs[index].x) : 0;
        const double v = uvs ? roundAsWritten(uvs[index].y) : 0;
        polygon.u[k] = std::isfinite(u) ? u : 0;
        polygon.v[k] = std::isfinite(v) ? v : 0;
      }
      if (faceBones[f] >= 0) image_.bones[faceBones[f]].polygons.push_back(polygonNumber_);
      ++polygonNumber_;
    }
    setMaterial(*scene_.mMaterials[mesh.mMaterialIndex], group);
    return true;
  }

  // Each face's bone: the one with the largest weight summed over its
  // corners, -1 for none.
  std::vector<int> assignBones(const aiMesh& mesh) {
    std::vector<int> faceBone(mesh.mNumFaces, -1);
    if (mesh.mNumBones == 0 || boneOf_.empty()) return faceBone;
    std::vector<std::vector<std::pair<int, float>>> weights(mesh.mNumVertices);
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
      const aiBone& bone = *mesh.mBones[b];
      auto found = boneOf_.find(scene_.mRootNode->FindNode(bone.mName));
      if (found == boneOf_.end()) continue;
      for (unsigned w = 0; w < bone.mNumWeights; ++w) {
        const aiVertexWeight& weight = bone.mWeights[w];
        if (weight.mVertexId < mesh.mNumVertices && weight.mWeight > 0)
          weights[weight.mVertexId].emplace_back(found->second, weight.mWeight);
      }
    }
    std::vector<std::pair<int, float>> sums;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      sums.clear();
      for (unsigned k = 0; k < face.mNumIndices; ++k) {
        for (const auto& [boneIndex, weight] : weights[face.mIndices[k]]) {
          const int bone = boneIndex;  // structured bindings cannot be captured before C++20
          auto it =
              std::find_if(sums.begin(), sums.end(), [&](auto& s) { return s.first == bone; });
          if (it == sums.end())
            sums.emplace_back(bone, weight);
          else
            it->second += weight;
        }
      }
      if (sums.empty()) continue;
      if (sums.size() > 1) changed_[kWeights] = true;
      const auto best = std::max_element(sums.begin(), sums.end(), [](auto& a, auto& b) {
        return a.second < b.second || (a.second == b.second && a.first > b.first);
      });
      faceBone[f] = best->first;
    }
    return faceBone;
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
  TextureFiles textures_;
  ModelImage image_;
  absl::flat_hash_map<const aiNode*, Joint> joints_;
  absl::flat_hash_map<const aiNode*, int> boneOf_;
  absl::flat_hash_map<Key, int, KeyHash> vertexOf_;
  int polygonNumber_ = 0;
};

bool refuse(std::string* reason, const std::string& why) {
  if (reason) *reason = why;
  return false;
}

bool nodesFit(const aiScene& scene, const aiNode& node, std::string* reason) {
  for (unsigned i = 0; i < node.mNumMeshes; ++i)
    if (node.mMeshes[i] >= scene.mNumMeshes)
      return refuse(reason, "Node " + shownName(node.mName.C_Str()) + " names mesh " +
                                std::to_string(node.mMeshes[i]) + ", but the file has " +
                                std::to_string(scene.mNumMeshes) + " meshes.");
  for (unsigned c = 0; c < node.mNumChildren; ++c)
    if (!nodesFit(scene, *node.mChildren[c], reason)) return false;
  return true;
}

// Every index the importer handed over, against what it counts: the
// post-processing and the conversion take them as they are.
bool indicesFit(const aiScene& scene, std::string* reason) {
  if (!nodesFit(scene, *scene.mRootNode, reason)) return false;
  for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
    const aiMesh& mesh = *scene.mMeshes[m];
    const std::string name = "mesh " + std::to_string(m);
    const std::string count =
        ", but the mesh has " + std::to_string(mesh.mNumVertices) + " vertices.";
    if (mesh.mMaterialIndex >= scene.mNumMaterials)
      return refuse(reason, "The " + name + " names material " +
                                std::to_string(mesh.mMaterialIndex) + ", but the file has " +
                                std::to_string(scene.mNumMaterials) + " materials.");
    for (unsigned f = 0; f < mesh.mNumFaces; ++f)
      for (unsigned k = 0; k < mesh.mFaces[f].mNumIndices; ++k)
        if (mesh.mFaces[f].mIndices[k] >= mesh.mNumVertices)
          return refuse(reason, "Face " + std::to_string(f) + " of " + name + " uses vertex " +
                                    std::to_string(mesh.mFaces[f].mIndices[k]) + count);
    for (unsigned b = 0; b < mesh.mNumBones; ++b)
      for (unsigned w = 0; w < mesh.mBones[b]->mNumWeights; ++w)
        if (mesh.mBones[b]->mWeights[w].mVertexId >= mesh.mNumVertices)
          return refuse(reason, "Bone " + std::to_string(b) + " of " + name + " weights vertex " +
                                    std::to_string(mesh.mBones[b]->mWeights[w].mVertexId) + count);
  }
  return true;
}

}  // namespace

bool isForeignFormat(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
  // The editor's own model files have long been named .mdl, which Assimp takes
  // for Quake's models: a damaged one must stay a damaged model file.
  if (extensionOf(path) == ".mdl") return false;
  Assimp::Importer importer;
  return importer.IsExtensionSupported(path.substr(dot));
}

bool fitsModelFile(const std::string& textureName) {
  if (textureName.empty() || textureName.size() > 31) return false;
  for (unsigned char c : textureName)
    if (c <= ' ' || c == 0x7F) return false;
  return true;
}

bool importForeignModel(const std::string& path, ForeignModel& result, std::string* reason,
                        SceneAfterImport after, const std::string& modelPath) {
  if (std::FILE* file = openRegularFile(path)) {
    const bool fit = glbLengthsFit(file, reason);
    std::fclose(file);
    if (!fit) return false;
  }
  auto owned = std::make_unique<Assimp::Importer>();
  Assimp::Importer& importer = *owned;
  if (after == SceneAfterImport::kLeftForExit) importerLeftForExit = owned.release();
  auto* files = new ConfinedIOSystem(path);
  importer.SetIOHandler(files);  // the importer owns it
  // Points and lines have no place in the model; the rest is triangulated
  // after the faces have been looked at, so that split quads can be named.
  importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE,
                              aiPrimitiveType_POINT | aiPrimitiveType_LINE);
  const aiScene* scene = importer.ReadFile(path, 0);
  if (!scene || !scene->mRootNode) {
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
  if (!indicesFit(*scene, reason)) return false;
  bool quads = false, pointsOrLines = false;
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
    const aiMesh& mesh = *scene->mMeshes[m];
    pointsOrLines |= (mesh.mPrimitiveTypes & (aiPrimitiveType_POINT | aiPrimitiveType_LINE)) != 0;
    quads |= (mesh.mPrimitiveTypes & aiPrimitiveType_POLYGON) != 0;
  }
  scene = importer.ApplyPostProcessing(aiProcess_Triangulate | aiProcess_SortByPType);
  if (!scene) {
    if (reason) *reason = importer.GetErrorString();
    return false;
  }
  Converter converter(*scene, path, modelPath.empty() ? path : modelPath);
  converter.changed_[kQuadsSplit] = quads;
  converter.changed_[kPointsAndLines] = pointsOrLines;
  if (!converter.run(result, reason)) return false;
  result.changes.insert(result.changes.end(), files->refusals().begin(), files->refusals().end());
  return true;
}
