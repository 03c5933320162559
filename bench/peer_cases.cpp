// Loading the same mesh three ways, side by side: our model file with our
// reader, and the mesh written as Wavefront OBJ read by Assimp and by
// tinyobjloader. The three loads alternate within each run, so a change of
// machine load hits them alike. Each row notes triangles and megabytes per
// second and, for the peers, how many times faster our load is.

#include <assimp/scene.h>
#include <tiny_obj_loader.h>
#include <assimp/Importer.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_registry.h"
#include "bench_util.h"
#include "formats/model_file.h"
#include "test_meshes.h"

namespace {

double msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string rates(int triangles, double megabytes, double ms) {
  char text[96];
  std::snprintf(text, sizeof text, "%.2f Mtri/s; %.0f MB/s of %.1f MB", triangles / ms / 1000,
                megabytes / ms * 1000, megabytes);
  return text;
}

}  // namespace

BENCH_CASE(60, "peers") {
  bench::ScratchDirectory scratch;
  const std::string ours = scratch.file("ball.mdl"), obj = scratch.file("ball.obj");
  int triangles = 0;
  {
    Model model(ours, nullptr);
    bench::buildBall(model, context.size, /*extras=*/true);
    triangles = model.polygonCount();
    if (!save(model) || !bench::writeObj(model, obj)) return;
  }

  std::vector<double> oursMs, assimpMs, tinyMs;
  int counted[3] = {0, 0, 0};
  for (int run = 0; run < context.runs; ++run) {
    {
      auto model = std::make_unique<Model>("loaded", nullptr);
      auto start = std::chrono::steady_clock::now();
      load(*model, ours);
      oursMs.push_back(msSince(start));
      counted[0] = model->polygonCount();
    }
    {
      Assimp::Importer importer;
      auto start = std::chrono::steady_clock::now();
      const aiScene* scene = importer.ReadFile(obj, 0);
      assimpMs.push_back(msSince(start));
      counted[1] = scene && scene->mNumMeshes ? scene->mMeshes[0]->mNumFaces : 0;
    }
    {
      tinyobj::attrib_t attrib;
      std::vector<tinyobj::shape_t> shapes;
      std::vector<tinyobj::material_t> materials;
      std::string warning, error;
      auto start = std::chrono::steady_clock::now();
      tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &error, obj.c_str());
      tinyMs.push_back(msSince(start));
      counted[2] = shapes.empty() ? 0 : shapes[0].mesh.num_face_vertices.size();
    }
  }
  const double mine = median(oursMs), assimp = median(assimpMs), tiny = median(tinyMs);
  const double oursMb = bench::fileMb(ours), objMb = bench::fileMb(obj);
  auto faster = [&](double theirs, int count) {
    char text[64];
    std::snprintf(text, sizeof text, "; ours %.1fx faster%s", theirs / mine,
                  count == triangles ? "" : " (TRIANGLE COUNT DIFFERS)");
    return std::string(text);
  };
  report.row("load, ours (model file)", "ms", mine,
             rates(triangles, oursMb, mine) + (counted[0] == triangles ? "" : " (COUNT DIFFERS)"));
  report.row("load OBJ, Assimp 5.2 (ReadFile, no post-processing)", "ms", assimp,
             rates(triangles, objMb, assimp) + faster(assimp, counted[1]));
  report.row("load OBJ, tinyobjloader 2.0 (LoadObj)", "ms", tiny,
             rates(triangles, objMb, tiny) + faster(tiny, counted[2]));
}
