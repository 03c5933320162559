#include "formats/model_export.h"

#include "files/file_paths.h"
#include "files/file_replace.h"
#include "files/new_files.h"
#include "formats/gltf_export.h"
#include "formats/obj_export.h"

namespace {

bool fail(std::string* reason, const std::string& why) {
  if (reason) *reason = why;
  return false;
}

std::string besideIt(const std::string& directory, const std::string& name) {
  return directory == "." ? name : directory + "/" + name;
}

// The names the export writes into its files: the side files' (derived
// from the named file's) and the textures'.
std::vector<std::string> writtenNames(Model& model, const std::string& ext,
                                      const std::string& target) {
  std::vector<std::string> names;
  if (ext != ".glb") names.push_back(stemOf(target));
  for (PolygonGroup* group : model.groups) {
    const Material& m = group->material;
    if (!m.textured || m.textureName.empty()) continue;
    names.push_back(ext == ".obj" ? objTextureReference(m.textureName, directoryOf(target))
                                  : m.textureName);
  }
  return names;
}

}  // namespace

bool isExportFormat(const std::string& path) {
  const std::string ext = extensionOf(path);
  return ext == ".glb" || ext == ".gltf" || ext == ".obj";
}

bool exportModel(Model& model, const std::string& path, std::string* reason,
                 std::vector<std::string>* leftOut) {
  const std::string ext = extensionOf(path);
  if (!isExportFormat(path)) return fail(reason, "Export writes .glb, .gltf and .obj files.");
  // A link at the named file keeps pointing at the export, as at a saved
  // model, and the files that go with it lie beside the file it leads to.
  const std::string target = linkTarget(path);
  if (target.empty()) return fail(reason, "too many symbolic links");
  for (const std::string& name : writtenNames(model, ext, target))
    if (hasControlCharacter(name))
      return fail(reason,
                  "A name written into a file cannot hold control characters: " + shownName(name));
  const std::string directory = directoryOf(target);
  if (ext == ".obj") {
    const std::string mtlName = stemOf(target) + ".mtl";
    ObjFiles files = buildObj(model, mtlName, directory);
    return replaceFilesTogether(
        {{besideIt(directory, mtlName), std::move(files.mtl)}, {target, std::move(files.obj)}},
        reason);
  }
  const bool binary = ext == ".glb";
  GltfAsset asset;
  if (!buildGltf(model, binary, stemOf(target), asset, reason)) return false;
  if (leftOut) *leftOut = asset.leftOut;
  if (binary) return replaceFileContents(path, glbBytes(asset), {}, reason);
  std::vector<FilePart> parts;
  for (auto& [name, bytes] : asset.sideFiles)
    parts.push_back({besideIt(directory, name), std::move(bytes)});
  parts.push_back({target, std::move(asset.json)});
  return replaceFilesTogether(parts, reason);
}
