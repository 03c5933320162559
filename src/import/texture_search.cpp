#include "import/texture_search.h"

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "files/file_paths.h"

namespace {

namespace fs = std::filesystem;

std::string lowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The folder names and the file name of a path, without "", "." and "..":
// what is left of another machine's layout to match against this one.
std::vector<std::string> partsOf(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t slash = std::min(path.find('/', start), path.size());
    const std::string part = path.substr(start, slash - start);
    if (!part.empty() && part != "." && part != "..") parts.push_back(lowerCase(part));
    start = slash + 1;
  }
  return parts;
}

// How many of `wanted`'s folder names, from the last, `candidate` lies under.
size_t sharedFolders(const std::vector<std::string>& wanted, const std::string& candidate) {
  const std::vector<std::string> have = partsOf(candidate);
  size_t shared = 0;
  while (shared + 1 < wanted.size() && shared + 1 < have.size() &&
         wanted[wanted.size() - 2 - shared] == have[have.size() - 2 - shared])
    ++shared;
  return shared;
}

}  // namespace

std::string portableTexturePath(const std::string& written) {
  std::string path = written;
  std::replace(path.begin(), path.end(), '\\', '/');
  const bool drive = path.size() >= 2 && path[1] == ':' &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  const bool share = written.rfind("\\\\", 0) == 0;
  return drive || share ? fileNameOfPath(path.substr(drive ? 2 : 0)) : path;
}

FolderIndex::FolderIndex(std::string folder, size_t maxEntries)
    : folder_(std::move(folder)), maxEntries_(maxEntries) {}

void FolderIndex::build() {
  built_ = true;
  std::error_code error;
  fs::recursive_directory_iterator walk(folder_, fs::directory_options::skip_permission_denied,
                                        error);
  size_t entries = 0;
  for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
    if (++entries > maxEntries_) break;
    std::error_code kind;
    if (walk->is_directory(kind)) {  // a link to a folder is not entered
      if (walk.depth() + 1 >= kMaxDepth) walk.disable_recursion_pending();
      continue;
    }
    const std::string relative = walk->path().lexically_relative(folder_).string();
    byName_[lowerCase(fileNameOfPath(relative))].push_back(relative);
  }
}

std::string FolderIndex::find(const std::string& path) {
  const std::vector<std::string> wanted = partsOf(path);
  if (wanted.empty()) return "";
  if (!built_) build();
  const auto found = byName_.find(wanted.back());
  if (found == byName_.end()) return "";
  const std::string exactName = fileNameOfPath(path);
  const bool anyExact =
      std::any_of(found->second.begin(), found->second.end(),
                  [&](const std::string& c) { return fileNameOfPath(c) == exactName; });
  // The best is the least of (fewer folders shared, depth, name).
  std::tuple<long, long, std::string> best;
  bool any = false;
  for (const std::string& candidate : found->second) {
    if (anyExact && fileNameOfPath(candidate) != exactName) continue;
    const auto rank = std::make_tuple(
        -static_cast<long>(sharedFolders(wanted, candidate)),
        static_cast<long>(std::count(candidate.begin(), candidate.end(), '/')), candidate);
    if (!any || rank < best) best = rank;
    any = true;
  }
  return std::get<2>(best);
}
