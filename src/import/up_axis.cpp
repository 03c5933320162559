#include "import/up_axis.h"

#include <assimp/commonMetaData.h>
#include <assimp/scene.h>

#include <cmath>
#include <optional>
#include <string>

namespace {

std::string sourceFormat(const aiScene& scene) {
  aiString format;
  return scene.mMetaData && scene.mMetaData->Get(AI_METADATA_SOURCE_FORMAT, format)
             ? std::string(format.C_Str())
             : std::string();
}

// The turn of a transform, its scale divided out.
aiMatrix3x3 turnOf(const aiMatrix4x4& m) {
  aiMatrix3x3 r(m);
  for (int column = 0; column < 3; ++column) {
    const float length = std::sqrt(r[0][column] * r[0][column] + r[1][column] * r[1][column] +
                                   r[2][column] * r[2][column]);
    if (length > 0)
      for (int row = 0; row < 3; ++row) r[row][column] /= length;
  }
  return r;
}

bool sameTurn(const aiMatrix3x3& a, const aiMatrix3x3& b) {
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      if (std::fabs(a[row][column] - b[row][column]) > 1e-4f) return false;
  return true;
}

// The turns of the nodes that hold meshes, placed in the world; false as soon
// as two differ.
bool meshTurns(const aiNode& node, const aiMatrix4x4& parent, std::optional<aiMatrix3x3>& turn) {
  const aiMatrix4x4 world = parent * node.mTransformation;
  if (node.mNumMeshes > 0) {
    const aiMatrix3x3 own = turnOf(world);
    if (turn && !sameTurn(*turn, own)) return false;
    turn = own;
  }
  for (unsigned c = 0; c < node.mNumChildren; ++c)
    if (!meshTurns(*node.mChildren[c], world, turn)) return false;
  return true;
}

// A DirectX file's meshes are Y up; when every mesh's frame turns their Y to
// the Z axis by the same turn (no mirror), the file's world is Z up.
std::optional<UpAxis> directXUp(const aiScene& scene) {
  std::optional<aiMatrix3x3> turn;
  if (!meshTurns(*scene.mRootNode, aiMatrix4x4(), turn) || !turn || turn->Determinant() <= 0)
    return std::nullopt;
  const float z = (*turn)[2][1];  // where the meshes' +Y goes: the turn's second column
  if (std::fabs(std::fabs(z) - 1) > 1e-4f) return std::nullopt;
  return UpAxis{2, z > 0 ? 1 : -1};
}

}  // namespace

UpAxis statedUpAxis(const aiScene& scene) {
  int32_t axis = 1, sign = 1;
  if (scene.mMetaData && scene.mMetaData->Get("UpAxis", axis)) {
    if (!scene.mMetaData->Get("UpAxisSign", sign)) sign = 1;
    if (axis >= 0 && axis <= 2) return UpAxis{axis, sign < 0 ? -1 : 1};
  }
  const std::string format = sourceFormat(scene);
  if (format.rfind("Blender", 0) == 0) return UpAxis{2, 1};
  if (format.find("XFile") != std::string::npos && scene.mRootNode)
    if (const std::optional<UpAxis> up = directXUp(scene)) return *up;
  return UpAxis{};
}

aiMatrix4x4 uprightTurn(UpAxis up) {
  const float s = static_cast<float>(up.sign);
  switch (up.axis) {
    case 0:  // X up: a quarter turn about Z takes (s, 0, 0) to (0, 1, 0)
      return aiMatrix4x4(0, -s, 0, 0, s, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    case 2:  // Z up: a quarter turn about X takes (0, 0, s) to (0, 1, 0)
      return aiMatrix4x4(1, 0, 0, 0, 0, 0, s, 0, 0, -s, 0, 0, 0, 0, 0, 1);
    default:  // Y up stays; -Y turns half about X
      return aiMatrix4x4(1, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, 0, 0, 0, 1);
  }
}

void turnUpright(aiScene& scene) {
  const UpAxis up = statedUpAxis(scene);
  if (up.axis == 1 && up.sign == 1) return;
  scene.mRootNode->mTransformation = uprightTurn(up) * scene.mRootNode->mTransformation;
}
