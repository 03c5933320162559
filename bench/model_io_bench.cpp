// Model persistence at 100,000 triangles: save, load, copy (the undo
// snapshot) and its parts. The model is a textured grid with a small skeleton
// and awkward coordinates, so every real takes the full rounding path.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_util.h"
#include "model/model.h"
#include "model/model_image.h"
#include "model/skeleton.h"

namespace {

constexpr int kColumns = 250;
constexpr int kRows = 200;  // 2 * 250 * 200 = 100,000 triangles

void buildGrid(Model& model) {
  std::vector<Vertex*> grid((kColumns + 1) * (kRows + 1));
  for (int r = 0; r <= kRows; ++r) {
    for (int c = 0; c <= kColumns; ++c) {
      Vertex* vertex = model.newVertex(c / 3.0, r / 7.0, (c * r) % 11 / 13.0);
      model.vertices.pushFront(vertex);
      grid[r * (kColumns + 1) + c] = vertex;
    }
  }
  Bone* root = model.createRoot(0, 0, 0);
  Bone* arm = model.addBone(root, 10, 10, 0);
  auto at = [&](int r, int c) { return grid[r * (kColumns + 1) + c]; };
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const double u = double(c) / kColumns, v = double(r) / kRows;
      const double du = 1.0 / kColumns, dv = 1.0 / kRows;
      Polygon* lower =
          model.newPolygon(at(r, c), at(r, c + 1), at(r + 1, c), u, u + du, u, v, v, v + dv);
      Polygon* upper = model.newPolygon(at(r, c + 1), at(r + 1, c + 1), at(r + 1, c), u + du,
                                        u + du, u, v, v + dv, v + dv);
      for (Polygon* polygon : {lower, upper}) {
        polygon->uvMapped = 1;
        if (c < kColumns / 2) polygon->bone = arm;
        model.currentGroup->polygons.pushFront(polygon);
      }
    }
  }
  model.currentGroup->material.textured = 1;
  model.currentGroup->material.textureName = "grid.bmp";
}

}  // namespace

int main() {
  char directory[] = "/tmp/model-bench-XXXXXX";
  if (!mkdtemp(directory)) return 1;
  const std::string path = std::string(directory) + "/grid.mdl";

  Model model(path, nullptr);
  buildGrid(model);
  std::printf("model: %d triangles, %d vertices\n", model.polygonCount(), model.vertices.count());

  // The trace lines of save and load would drown the table.
  std::fflush(stdout);
  const int terminal = dup(STDOUT_FILENO);
  const int devNull = open("/dev/null", O_WRONLY);
  dup2(devNull, STDOUT_FILENO);
  int saved = 0, loaded = 0;
  const double saveMs = bench::medianMs(
      7, [] {}, [&] { saved += model.save(); });
  std::unique_ptr<Model> target;
  const double loadMs = bench::medianMs(
      7, [&] { target = std::make_unique<Model>("loaded", nullptr); },
      [&] { loaded += target->load(path); });
  std::fflush(stdout);
  dup2(terminal, STDOUT_FILENO);
  close(devNull);
  close(terminal);

  ModelImage image;
  std::string text;
  std::unique_ptr<Model> copy;
  bench::row("save (write, fsync, rename)", saveMs);
  bench::row("load (read, parse, build)", loadMs);
  bench::row("copy", bench::medianMs(
                         7, [&] { copy.reset(); }, [&] { copy = model.copy(); }));
  bench::row("  captureImage", bench::medianMs(
                                   7, [] {}, [&] { image = captureImage(model); }));
  bench::row("  buildModel", bench::medianMs(
                                 7, [&] { target = std::make_unique<Model>("built", nullptr); },
                                 [&] { buildModel(image, *target, false); }));
  bench::row("formatModelFile", bench::medianMs(
                                    7, [] {}, [&] { text = formatModelFile(image); }));
  bench::row("parseModelFile", bench::medianMs(
                                   7, [] {}, [&] { parseModelFile(text, image); }));
  std::printf("file: %.1f MB; image: %.1f MB\n", text.size() / 1e6, image.memoryBytes() / 1e6);

  std::remove(path.c_str());
  rmdir(directory);
  return saved == 7 && loaded == 7 ? 0 : 1;
}
