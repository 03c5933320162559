#pragma once
// glTF 2.0 export: one mesh with a primitive and a material per group, a skin
// with one joint node per bone, PNG images of the textures. Either one binary
// .glb file or a .gltf JSON file with a .bin buffer and the images beside it.

#include <string>
#include <utility>
#include <vector>

#include "model/model.h"

struct GltfAsset {
  std::string json;
  std::string buffer;  // the binary buffer; in a .glb the images are part of it
  // Files that go beside a .gltf: (file name, bytes), the buffer's first.
  std::vector<std::pair<std::string, std::string>> sideFiles;
  // One line per texture that could not be read and was left out, its
  // material keeping its colour: "The texture NAME cannot be read (REASON):
  // the export leaves it out."
  std::vector<std::string> leftOut;
};

// The asset for `model`. With `binary` everything is in `json` and `buffer`;
// otherwise they refer to side files named after `baseName` (the .gltf file's
// name without its directory and extension). False with a reason when the
// model cannot be exported (numbers too large for single precision).
bool buildGltf(Model& model, bool binary, const std::string& baseName, GltfAsset& asset,
               std::string* reason);

// The .glb container of a binary asset.
std::string glbBytes(const GltfAsset& asset);

// A file name as a URI reference: bytes other than unreserved characters
// percent-encoded.
std::string uriOf(const std::string& fileName);
