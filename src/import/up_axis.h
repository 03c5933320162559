#pragma once
// Models stand up: glTF and the editor's views have Y up, and a file that
// states another up axis is turned so that its up becomes Y. Assimp's
// readers leave most such files as they are: FBX names its up axis in its
// global settings (which Assimp hands on as the scene's "UpAxis" and
// "UpAxisSign"), Blender's world is always Z up, and 3ds Max's exporters of
// DirectX files keep Max's Z up in the frame of every mesh. Collada's
// up_axis Assimp's reader turns itself.

#include <assimp/matrix4x4.h>

struct aiScene;

// The up axis a file states, as an axis (0 X, 1 Y, 2 Z) and a sign.
struct UpAxis {
  int axis = 1;
  int sign = 1;
};

// What the scene's file states; Y up when it states nothing.
UpAxis statedUpAxis(const aiScene& scene);

// The shortest turn that takes `up` to +Y: a quarter turn about X for a Z
// axis, about Z for an X axis, a half turn about X for -Y.
aiMatrix4x4 uprightTurn(UpAxis up);

// Turns the whole scene (its root node, so meshes, bones and animations
// alike) by uprightTurn(statedUpAxis(scene)).
void turnUpright(aiScene& scene);
