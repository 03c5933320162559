#include "model/seam_image.h"

#include <algorithm>

#include "model/model.h"

void captureSeams(const Model& model, ModelImage& image, const std::vector<Vertex*>& byNumber) {
  auto number = [&](const Vertex* vertex) {
    const int n = vertex->fileIndex;
    const bool listed = n >= 0 && static_cast<size_t>(n) < byNumber.size() && byNumber[n] == vertex;
    return listed ? n : -1;
  };
  image.seams.clear();
  image.seams.reserve(model.seams.size());
  for (const auto& [a, b] : model.seams) {
    const int first = number(a), second = number(b);
    if (first >= 0 && second >= 0 && first != second)
      image.seams.emplace_back(std::min(first, second), std::max(first, second));
  }
  std::sort(image.seams.begin(), image.seams.end());
}

std::string seamFault(const ModelImage& image, size_t i) {
  const auto [a, b] = image.seams[i];
  if (a < 0 || static_cast<size_t>(b) >= image.vertices.size()) return "a seam vertex out of range";
  if (a >= b) return "a seam whose first vertex is not the smaller";
  if (i > 0 && image.seams[i - 1] >= image.seams[i]) return "seams out of order";
  return "";
}

void buildSeams(const ModelImage& image, Model& model, const std::vector<Vertex*>& vertices) {
  model.seams = SeamSet();
  model.seams.reserve(image.seams.size());
  for (const auto& [a, b] : image.seams) model.seams.mark(vertices[a], vertices[b]);
}
