#pragma once
// Assimp's scene is checked before the conversion reads it: a reader of a
// malformed file may leave a null where a count promises an item, or an
// index beyond what it indexes, and the post-processing and the conversion
// take them as they are.

#include <string>

struct aiScene;

// Checks every pointer and index of the scene against the counts beside
// them. Null entries among a node's children, which Assimp's RAW reader
// leaves, are taken out, and the meshes they would have placed then hang
// from the root node; anything else missing or out of range refuses the
// file, false with the reason ("Face 0 of mesh 0 uses vertex 5, but the mesh
// has 5 vertices.").
bool checkScene(aiScene& scene, std::string* reason);
