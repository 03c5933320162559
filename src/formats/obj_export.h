#pragma once
// Wavefront OBJ export: every vertex as "v", distinct texture coordinates as
// "vt", distinct shading normals as "vn", one "g" and "usemtl" per group and
// "f v/vt/vn" per triangle; the MTL gives each group's colour as "Kd" and "d"
// and its texture as "map_Kd". OBJ has no skeleton: bones are not written.

#include <string>

#include "model/model.h"

struct ObjFiles {
  std::string obj;
  std::string mtl;
};

// `mtlName` is the MTL file's name as the OBJ refers to it; `objDirectory`
// is where the OBJ goes, to which texture paths are made relative.
ObjFiles buildObj(Model& model, const std::string& mtlName, const std::string& objDirectory);

// A texture as the MTL names it: its path from the OBJ's directory.
std::string objTextureReference(const std::string& textureName, const std::string& objDirectory);
