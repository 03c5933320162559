#pragma once
// Texture names for an imported model. The model file keeps a texture as a
// name of one word and at most 31 characters, which the editor opens from its
// working directory; an importer finds paths relative to the imported file,
// or images embedded in it. Only images in the imported file's folder and
// below are taken.

#include <string>
#include <vector>

#include <absl/container/flat_hash_map.h>

#include "files/confined_paths.h"
#include "import/texture_search.h"

struct aiScene;
struct aiTexture;

class TextureFiles {
 public:
  // Textures are read from `importedFile`'s folder and below; new files go
  // beside `modelPath`, where the model will be saved.
  TextureFiles(const std::string& importedFile, const std::string& modelPath);

  // The texture name for a material's texture path ("*N" for an embedded
  // image), "" when none fits. A path as Windows tools write it is found too
  // (import/texture_search.h). A name that fits the model file (one word of at
  // most 31 characters, from the working directory) is preferred; else the
  // file's whole path, so that a texture is found whatever the working
  // directory. An embedded image is written beside the model
  // as a new file, unless a file of the image's own name beside the imported
  // file holds the same picture; an image file whose name does not fit is
  // copied beside the model under one that does. A name already taken by
  // anything but the user's own file of the same bytes is never written over
  // or followed: the next number is tried.
  std::string nameFor(const aiScene& scene, const std::string& texturePath);
  // True when a texture was dropped for want of a name that fits.
  bool droppedAny() const { return dropped_; }
  // One line per texture dropped for another reason, naming it: "texture
  // NAME dropped (REASON)", for one outside the folder or no image; and one
  // per texture missing, whose name the material keeps: "texture NAME not
  // found (REASON)".
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  std::string embeddedName(const aiTexture& texture, const std::string& texturePath);
  std::string fileName(const std::string& texturePath);
  std::string located(const std::string& texturePath);
  std::string fromImported(const std::string& relative) const;
  std::string fittingName(const std::string& file) const;
  std::string keptName(const std::string& file) const;
  std::string writeBeside(const std::string& bytes, const std::string& extension, std::string* why,
                          bool wholePath);
  std::string refuse(const std::string& texturePath, const std::string& why);

  FolderBounds bounds_;
  std::string importedDirectory_;
  FolderIndex folderFiles_;  // the imported file's folder tree
  std::string modelDirectory_;
  std::string stem_;  // the model's name without directory and extension
  absl::flat_hash_map<std::string, std::string> names_;
  std::vector<std::string> notes_;
  bool dropped_ = false;
};
