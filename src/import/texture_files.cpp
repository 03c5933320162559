#include "import/texture_files.h"

#include <assimp/scene.h>
#include <stb_image_write.h>
#include <sys/stat.h>

#include <cctype>
#include <filesystem>

#include "files/file_paths.h"
#include "files/file_replace.h"
#include "files/regular_file.h"
#include "images/texture_cache.h"
#include "import/foreign_import.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxCopiedBytes = size_t{512} << 20;

bool readWhole(const std::string& path, std::string& bytes) {
  std::FILE* file = openRegularFile(path);
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

bool samePicture(const std::string& file, const std::string& bytes) {
  DecodedImage existing, embedded;
  return decodeImageFile(file, existing) &&
         decodeImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                     embedded) &&
         existing.width == embedded.width && existing.height == embedded.height &&
         existing.rgba == embedded.rgba;
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

TextureFiles::TextureFiles(const std::string& modelPath)
    : directory_(directoryOf(modelPath)), stem_(stemOf(modelPath)) {}

std::string TextureFiles::besideModel(const std::string& relative) const {
  const fs::path path(relative);
  if (path.is_absolute() || directory_ == ".") return path.lexically_normal().string();
  return (fs::path(directory_) / path).lexically_normal().string();
}

// The shortest way to name a file from the working directory, when it fits.
std::string TextureFiles::fittingName(const std::string& file) const {
  if (fitsModelFile(file)) return file;
  std::error_code error;
  const fs::path relative = fs::path(file).lexically_proximate(fs::current_path(error));
  if (!error && fitsModelFile(relative.string())) return relative.string();
  return "";
}

std::string TextureFiles::writeBeside(const std::string& bytes, const std::string& extension) {
  const std::string stem = stem_.substr(0, 16);
  for (int k = 0; k < 100; ++k) {
    const std::string name = fittingName(besideModel(stem + "_" + std::to_string(k) + extension));
    if (name.empty()) return "";
    std::string existing;
    if (fs::exists(name)) {
      if (readWhole(name, existing) && existing == bytes) return name;
      continue;
    }
    return replaceFileContents(name, bytes, {}, nullptr) ? name : "";
  }
  return "";
}

std::string TextureFiles::nameFor(const aiScene& scene, const std::string& texturePath) {
  auto known = names_.find(texturePath);
  if (known != names_.end()) return known->second;
  std::string name;
  if (const aiTexture* embedded = scene.GetEmbeddedTexture(texturePath.c_str())) {
    std::string extension;
    const std::string bytes = bytesOf(*embedded, extension);
    const std::string own = embedded->mFilename.length ? embedded->mFilename.C_Str() : "";
    const std::string ownFile = own.empty() ? "" : fittingName(besideModel(own));
    name =
        !ownFile.empty() && samePicture(ownFile, bytes) ? ownFile : writeBeside(bytes, extension);
  } else {
    const std::string file = besideModel(texturePath);
    name = fittingName(file);
    std::string bytes;
    if (name.empty() && readWhole(file, bytes)) name = writeBeside(bytes, extensionOf(file));
  }
  if (name.empty()) dropped_ = true;
  names_[texturePath] = name;
  return name;
}
