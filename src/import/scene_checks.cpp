#include "import/scene_checks.h"

#include <assimp/scene.h>

#include <algorithm>
#include <vector>

#include "files/file_paths.h"

namespace {

bool refuse(std::string* reason, const std::string& why) {
  if (reason) *reason = why;
  return false;
}

bool incomplete(std::string* reason, const std::string& what) {
  return refuse(reason, "The file's scene is incomplete: " + what + " is missing.");
}

std::string countOf(unsigned count, const char* what) {
  return std::to_string(count) + " " + what;
}

// The node tree: null children taken out (`dropped` says whether any were),
// every mesh a node names in range, and which meshes some node places.
bool checkNodes(const aiScene& scene, aiNode& node, std::vector<char>& placed, bool& dropped,
                std::string* reason) {
  if (node.mNumMeshes && !node.mMeshes) return incomplete(reason, "a node's mesh list");
  for (unsigned i = 0; i < node.mNumMeshes; ++i) {
    if (node.mMeshes[i] >= scene.mNumMeshes)
      return refuse(reason, "Node " + shownName(node.mName.C_Str()) + " names mesh " +
                                std::to_string(node.mMeshes[i]) + ", but the file has " +
                                countOf(scene.mNumMeshes, "meshes."));
    placed[node.mMeshes[i]] = 1;
  }
  if (!node.mChildren) node.mNumChildren = 0;
  aiNode** const end = node.mChildren + node.mNumChildren;
  aiNode** const kept = std::remove(node.mChildren, end, nullptr);
  dropped |= kept != end;
  node.mNumChildren = static_cast<unsigned>(kept - node.mChildren);
  for (unsigned c = 0; c < node.mNumChildren; ++c)
    if (!checkNodes(scene, *node.mChildren[c], placed, dropped, reason)) return false;
  return true;
}

// The root node also places the meshes no node does, once nodes were lost.
void placeAtRoot(aiNode& root, const std::vector<char>& placed) {
  std::vector<unsigned> meshes(root.mMeshes, root.mMeshes + root.mNumMeshes);
  for (unsigned m = 0; m < placed.size(); ++m)
    if (!placed[m]) meshes.push_back(m);
  if (meshes.size() == root.mNumMeshes) return;
  unsigned* list = new unsigned[meshes.size()];  // the node frees it with delete[]
  std::copy(meshes.begin(), meshes.end(), list);
  delete[] root.mMeshes;
  root.mMeshes = list;
  root.mNumMeshes = static_cast<unsigned>(meshes.size());
}

bool checkMesh(const aiScene& scene, const aiMesh& mesh, unsigned m, std::string* reason) {
  const std::string name = "mesh " + std::to_string(m);
  if (mesh.mNumVertices && !mesh.mVertices) return incomplete(reason, "the vertices of " + name);
  if (mesh.mNumFaces && !mesh.mFaces) return incomplete(reason, "the faces of " + name);
  if (mesh.mNumBones && !mesh.mBones) return incomplete(reason, "the bones of " + name);
  if (mesh.mMaterialIndex >= scene.mNumMaterials)
    return refuse(reason, "The " + name + " names material " + std::to_string(mesh.mMaterialIndex) +
                              ", but the file has " + countOf(scene.mNumMaterials, "materials."));
  const std::string count = ", but the mesh has " + countOf(mesh.mNumVertices, "vertices.");
  for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
    const aiFace& face = mesh.mFaces[f];
    if (face.mNumIndices && !face.mIndices)
      return incomplete(reason, "face " + std::to_string(f) + " of " + name);
    for (unsigned k = 0; k < face.mNumIndices; ++k)
      if (face.mIndices[k] >= mesh.mNumVertices)
        return refuse(reason, "Face " + std::to_string(f) + " of " + name + " uses vertex " +
                                  std::to_string(face.mIndices[k]) + count);
  }
  for (unsigned b = 0; b < mesh.mNumBones; ++b) {
    const aiBone* bone = mesh.mBones[b];
    if (!bone || (bone->mNumWeights && !bone->mWeights))
      return incomplete(reason, "bone " + std::to_string(b) + " of " + name);
    for (unsigned w = 0; w < bone->mNumWeights; ++w)
      if (bone->mWeights[w].mVertexId >= mesh.mNumVertices)
        return refuse(reason, "Bone " + std::to_string(b) + " of " + name + " weights vertex " +
                                  std::to_string(bone->mWeights[w].mVertexId) + count);
  }
  return true;
}

bool checkAnimations(const aiScene& scene, std::string* reason) {
  if (scene.mNumAnimations && !scene.mAnimations) return incomplete(reason, "the animations");
  for (unsigned a = 0; a < scene.mNumAnimations; ++a) {
    const aiAnimation* animation = scene.mAnimations[a];
    const std::string name = "animation " + std::to_string(a);
    if (!animation || (animation->mNumChannels && !animation->mChannels))
      return incomplete(reason, name);
    for (unsigned c = 0; c < animation->mNumChannels; ++c) {
      const aiNodeAnim* channel = animation->mChannels[c];
      if (!channel || (channel->mNumPositionKeys && !channel->mPositionKeys) ||
          (channel->mNumRotationKeys && !channel->mRotationKeys) ||
          (channel->mNumScalingKeys && !channel->mScalingKeys))
        return incomplete(reason, "channel " + std::to_string(c) + " of " + name);
    }
  }
  return true;
}

bool checkTextures(const aiScene& scene, std::string* reason) {
  if (scene.mNumTextures && !scene.mTextures) return incomplete(reason, "the embedded images");
  for (unsigned t = 0; t < scene.mNumTextures; ++t) {
    const aiTexture* texture = scene.mTextures[t];
    if (!texture || (texture->mWidth && !texture->pcData))
      return incomplete(reason, "embedded image " + std::to_string(t));
  }
  return true;
}

}  // namespace

bool checkScene(aiScene& scene, std::string* reason) {
  if (!scene.mRootNode) return incomplete(reason, "the root node");
  if (scene.mNumMeshes && !scene.mMeshes) return incomplete(reason, "the meshes");
  if (scene.mNumMaterials && !scene.mMaterials) return incomplete(reason, "the materials");
  for (unsigned m = 0; m < scene.mNumMaterials; ++m)
    if (!scene.mMaterials[m]) return incomplete(reason, "material " + std::to_string(m));
  for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
    if (!scene.mMeshes[m]) return incomplete(reason, "mesh " + std::to_string(m));
    if (!checkMesh(scene, *scene.mMeshes[m], m, reason)) return false;
  }
  std::vector<char> placed(scene.mNumMeshes, 0);
  bool dropped = false;
  if (!checkNodes(scene, *scene.mRootNode, placed, dropped, reason)) return false;
  if (dropped) placeAtRoot(*scene.mRootNode, placed);
  return checkAnimations(scene, reason) && checkTextures(scene, reason);
}
