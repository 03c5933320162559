#include "import/texture_files.h"

#include <assimp/scene.h>
#include <stb_image_write.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "files/file_paths.h"
#include "files/new_files.h"
#include "images/texture_cache.h"
#include "import/foreign_import.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxCopiedBytes = size_t{512} << 20;

bool readWhole(std::FILE* file, std::string& bytes) {
  if (!file) return false;
  struct stat info;
  bool ok = fstat(fileno(file), &info) == 0 && static_cast<size_t>(info.st_size) <= kMaxCopiedBytes;
  if (ok) {
    bytes.resize(static_cast<size_t>(info.st_size));
    ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  return ok;
}

// True when `path` is a regular file of the user's own holding `bytes`: an
// image written there by an earlier import of the same file.
bool ownFileHolds(const std::string& path, const std::string& bytes) {
  std::string existing;
  return readWhole(openOwnFile(path), existing) && existing == bytes;
}

// An embedded image as a file: compressed ones as they are, raw texels as PNG.
std::string bytesOf(const aiTexture& texture, std::string& extension) {
  if (texture.mHeight == 0) {
    // The format hint ("png", "jpg") as the extension; PNG when there is none.
    char hinted[sizeof texture.achFormatHint + 1] = ".png";
    size_t length = 1;
    for (char c : texture.achFormatHint) {
      if (c == '\0') break;
      if (std::isalnum(static_cast<unsigned char>(c))) hinted[length++] = c;
    }
    if (length > 1) hinted[length] = '\0';
    extension = hinted;
    return std::string(reinterpret_cast<const char*>(texture.pcData), texture.mWidth);
  }
  extension = ".png";
  std::vector<unsigned char> rgba(size_t{4} * texture.mWidth * texture.mHeight);
  for (size_t i = 0; i < size_t{texture.mWidth} * texture.mHeight; ++i) {
    const aiTexel& t = texture.pcData[i];
    rgba[4 * i] = t.r;
    rgba[4 * i + 1] = t.g;
    rgba[4 * i + 2] = t.b;
    rgba[4 * i + 3] = t.a;
  }
  std::string png;
  stbi_write_png_to_func(
      [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
      },
      &png, texture.mWidth, texture.mHeight, 4, rgba.data(), 4 * texture.mWidth);
  return png;
}

}  // namespace

TextureFiles::TextureFiles(const std::string& importedFile, const std::string& modelPath)
    : bounds_(importedFile),
      importedDirectory_(directoryOf(importedFile)),
      folderFiles_(importedDirectory_),
      modelDirectory_(directoryOf(modelPath)),
      stem_(stemOf(modelPath)) {}

std::string TextureFiles::fromImported(const std::string& relative) const {
  const fs::path path(relative);
  if (path.is_absolute() || importedDirectory_ == ".") return path.lexically_normal().string();
  return (fs::path(importedDirectory_) / path).lexically_normal().string();
}

// The shortest way to name a file from the working directory, when it fits.
std::string TextureFiles::fittingName(const std::string& file) const {
  if (fitsModelFile(file)) return file;
  std::error_code error;
  const fs::path relative = fs::path(file).lexically_proximate(fs::current_path(error));
  if (!error && fitsModelFile(relative.string())) return relative.string();
  return "";
}

// A name that fits, or else the file's whole path: longer than a model file's
// names are meant to be, but found from any working directory.
std::string TextureFiles::keptName(const std::string& file) const {
  const std::string name = fittingName(file);
  if (!name.empty()) return name;
  std::error_code error;
  const std::string whole = fs::absolute(file, error).lexically_normal().string();
  return !error && isOneWord(whole) ? whole : "";
}

std::string TextureFiles::writeBeside(const std::string& bytes, const std::string& extension,
                                      std::string* why, bool wholePath) {
  const std::string stem = stem_.substr(0, 16);
  for (int k = 0; k < 100; ++k) {
    const fs::path file = fs::path(modelDirectory_) / (stem + "_" + std::to_string(k) + extension);
    const std::string normal = file.lexically_normal().string();
    const std::string name = wholePath ? keptName(normal) : fittingName(normal);
    if (name.empty()) return "";
    switch (createNewFile(name, bytes, why)) {
      case NewFile::kCreated:
        return name;
      case NewFile::kNameTaken:
        if (ownFileHolds(name, bytes)) return name;
        continue;
      case NewFile::kFailed:
        return "";
    }
  }
  return "";
}

std::string TextureFiles::refuse(const std::string& texturePath, const std::string& why) {
  notes_.push_back("texture " + shownName(texturePath) + " dropped (" + why + ")");
  return "";
}

std::string TextureFiles::embeddedName(const aiTexture& texture, const std::string& texturePath) {
  std::string extension, why;
  const std::string bytes = bytesOf(texture, extension);
  DecodedImage picture;
  if (!decodeImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), picture,
                   &why))
    return refuse(texturePath, why);
  // The image's own file beside the imported one, when it holds the same picture.
  const std::string own = texture.mFilename.length ? texture.mFilename.C_Str() : "";
  const std::string ownFile = own.empty() ? "" : fromImported(own);
  const std::string ownName = ownFile.empty() ? "" : fittingName(ownFile);
  const std::string ownReal = ownName.empty() ? "" : bounds_.inside(ownFile);
  DecodedImage existing;
  if (!ownReal.empty() && decodeImageFile(ownReal, existing) && existing.width == picture.width &&
      existing.height == picture.height && existing.rgba == picture.rgba)
    return ownName;
  why.clear();
  const std::string name = writeBeside(bytes, extension, &why, /*wholePath=*/true);
  if (name.empty() && !why.empty()) return refuse(texturePath, why);
  return name;
}

// The file a texture path names, from the imported file's folder: the path
// as written when a file is there, else the file of its name in the folder
// tree, else the path in portable form (which may lie outside the folder).
std::string TextureFiles::located(const std::string& texturePath) {
  const std::string portable = portableTexturePath(texturePath);
  for (const std::string& path : {texturePath, portable}) {
    const std::string real = bounds_.inside(fromImported(path));
    struct stat info;
    if (!real.empty() && stat(real.c_str(), &info) == 0) return fromImported(path);
  }
  const std::string found = folderFiles_.find(portable);
  return fromImported(found.empty() ? portable : found);
}

std::string TextureFiles::fileName(const std::string& texturePath) {
  const std::string file = located(texturePath);
  const std::string real = bounds_.inside(file);
  if (real.empty()) return refuse(texturePath, kOutsideFolder);
  DecodedImage picture;
  std::string why;
  if (!decodeImageFile(real, picture, &why)) {
    // A missing file keeps its name, for the user to put in place; the model
    // comes in all the same.
    if (why != std::strerror(ENOENT)) return refuse(texturePath, why);
    notes_.push_back("texture " + shownName(texturePath) + " not found (" + why + ")");
    return keptName(file);
  }
  std::string name = fittingName(file), bytes;
  why.clear();
  if (name.empty() && readWhole(bounds_.open(file, &why), bytes))
    name = writeBeside(bytes, extensionOf(file), &why, /*wholePath=*/false);
  if (name.empty()) name = keptName(file);
  if (name.empty() && !why.empty()) return refuse(texturePath, why);
  return name;
}

std::string TextureFiles::nameFor(const aiScene& scene, const std::string& texturePath) {
  auto known = names_.find(texturePath);
  if (known != names_.end()) return known->second;
  const size_t noted = notes_.size();
  const aiTexture* embedded = scene.GetEmbeddedTexture(texturePath.c_str());
  const std::string name = embedded ? embeddedName(*embedded, texturePath) : fileName(texturePath);
  if (name.empty() && notes_.size() == noted) dropped_ = true;
  names_[texturePath] = name;
  return name;
}
