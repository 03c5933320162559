#include "formats/model_export.h"

#include "files/file_paths.h"
#include "files/file_replace.h"
#include "formats/gltf_export.h"
#include "formats/obj_export.h"

bool isExportFormat(const std::string& path) {
  const std::string ext = extensionOf(path);
  return ext == ".glb" || ext == ".gltf" || ext == ".obj";
}

bool exportModel(Model& model, const std::string& path, std::string* reason) {
  const std::string ext = extensionOf(path);
  const std::string directory = directoryOf(path);
  if (ext == ".obj") {
    const std::string mtlName = stemOf(path) + ".mtl";
    const ObjFiles files = buildObj(model, mtlName, directory);
    return replaceFileContents(directory + "/" + mtlName, files.mtl, {}, reason) &&
           replaceFileContents(path, files.obj, {}, reason);
  }
  if (ext == ".glb" || ext == ".gltf") {
    const bool binary = ext == ".glb";
    GltfAsset asset;
    if (!buildGltf(model, binary, stemOf(path), asset, reason)) return false;
    if (binary) return replaceFileContents(path, glbBytes(asset), {}, reason);
    for (const auto& [name, bytes] : asset.sideFiles)
      if (!replaceFileContents(directory + "/" + name, bytes, {}, reason)) return false;
    return replaceFileContents(path, asset.json, {}, reason);
  }
  if (reason) *reason = "Export writes .glb, .gltf and .obj files.";
  return false;
}
