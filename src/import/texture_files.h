#pragma once
// Texture names for an imported model. The model file keeps a texture as a
// name of one word and at most 31 characters, which the editor opens from its
// working directory; an importer finds paths relative to the imported file,
// or images embedded in it.

#include <string>

#include <absl/container/flat_hash_map.h>

struct aiScene;

class TextureFiles {
 public:
  explicit TextureFiles(const std::string& modelPath);

  // The texture name for a material's texture path ("*N" for an embedded
  // image), "" when none fits. An embedded image is written beside the model,
  // unless a file of the image's own name beside it holds the same picture;
  // an image file whose name does not fit is copied beside the model under
  // one that does.
  std::string nameFor(const aiScene& scene, const std::string& texturePath);
  bool droppedAny() const { return dropped_; }

 private:
  std::string besideModel(const std::string& relative) const;
  std::string fittingName(const std::string& relative) const;
  std::string writeBeside(const std::string& bytes, const std::string& extension);

  std::string directory_;  // the model's directory, as given
  std::string stem_;       // the model's name without directory and extension
  absl::flat_hash_map<std::string, std::string> names_;
  bool dropped_ = false;
};
