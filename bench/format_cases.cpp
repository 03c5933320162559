// Models leaving and entering the editor, beside Assimp doing the same work:
// exporting the ball (without skeleton) as .glb and .obj, ours against
// Assimp's exporters given the same mesh; importing the files through our
// path (the import child, Assimp inside it, and building the model) against
// Assimp's ReadFile alone, which is the floor our path stands on.

#include <assimp/scene.h>
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_registry.h"
#include "bench_util.h"
#include "formats/export_mesh.h"
#include "formats/model_export.h"
#include "import/import_child.h"
#include "test_meshes.h"

namespace {

// The exported mesh as an Assimp scene: one mesh, one material.
std::unique_ptr<aiScene> sceneOf(const ExportPrimitive& p) {
  auto scene = std::make_unique<aiScene>();
  scene->mRootNode = new aiNode("ball");
  scene->mRootNode->mNumMeshes = 1;
  scene->mRootNode->mMeshes = new unsigned[1]{0};
  scene->mNumMaterials = 1;
  scene->mMaterials = new aiMaterial* [1] { new aiMaterial() };
  aiMesh* mesh = new aiMesh();
  scene->mNumMeshes = 1;
  scene->mMeshes = new aiMesh* [1] { mesh };
  const unsigned n = static_cast<unsigned>(p.vertexCount());
  mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
  mesh->mNumVertices = n;
  mesh->mVertices = new aiVector3D[n];
  mesh->mNormals = new aiVector3D[n];
  mesh->mTextureCoords[0] = new aiVector3D[n];
  mesh->mNumUVComponents[0] = 2;
  for (unsigned i = 0; i < n; ++i) {
    mesh->mVertices[i] =
        aiVector3D(p.positions[3 * i], p.positions[3 * i + 1], p.positions[3 * i + 2]);
    mesh->mNormals[i] = aiVector3D(p.normals[3 * i], p.normals[3 * i + 1], p.normals[3 * i + 2]);
    mesh->mTextureCoords[0][i] = aiVector3D(p.uvs[2 * i], p.uvs[2 * i + 1], 0);
  }
  mesh->mNumFaces = static_cast<unsigned>(p.indices.size() / 3);
  mesh->mFaces = new aiFace[mesh->mNumFaces];
  for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
    mesh->mFaces[f].mNumIndices = 3;
    mesh->mFaces[f].mIndices =
        new unsigned[3]{p.indices[3 * f], p.indices[3 * f + 1], p.indices[3 * f + 2]};
  }
  return scene;
}

std::string times(double slower, double faster) {
  char text[48];
  std::snprintf(text, sizeof text, "ours %.1fx faster", slower / faster);
  return text;
}

std::string added(double ours, double assimp) {
  char text[48];
  std::snprintf(text, sizeof text, "adds %.0f%% to Assimp's read", 100 * (ours - assimp) / assimp);
  return text;
}

}  // namespace

BENCH_CASE(65, "formats") {
  bench::ScratchDirectory scratch;
  Model model("ball", nullptr);
  bench::buildBall(model, context.size, /*extras=*/false);
  ExportMesh mesh;
  if (!buildExportMesh(model, mesh, nullptr) || mesh.primitives.size() != 1) return;
  const std::unique_ptr<aiScene> scene = sceneOf(mesh.primitives[0]);
  const std::string glb = scratch.file("ball.glb"), obj = scratch.file("ball.obj");
  const std::string theirGlb = scratch.file("assimp.glb"), theirObj = scratch.file("assimp.obj");
  scratch.file("ball.mtl");
  scratch.file("assimp.mtl");
  // Ours and theirs alternate within each run, so that a change of machine
  // load hits both alike.
  auto alternate = [&](const std::function<void()>& ours, const std::function<void()>& theirs) {
    std::vector<double> oursMs, theirsMs;
    for (int run = 0; run < context.runs; ++run) {
      oursMs.push_back(bench::medianMs(
          1, [] {}, ours));
      theirsMs.push_back(bench::medianMs(
          1, [] {}, theirs));
    }
    std::sort(oursMs.begin(), oursMs.end());
    std::sort(theirsMs.begin(), theirsMs.end());
    return std::pair{oursMs[oursMs.size() / 2], theirsMs[theirsMs.size() / 2]};
  };

  for (const auto& [format, ours, theirs, assimpFormat] :
       {std::tuple{"glb", glb, theirGlb, "glb2"}, std::tuple{"obj", obj, theirObj, "obj"}}) {
    const auto [oursMs, assimpMs] =
        alternate([&] { exportModel(model, ours, nullptr); },
                  [&] { Assimp::Exporter().Export(scene.get(), assimpFormat, theirs); });
    report.row(std::string("export .") + format + ", ours", "ms", oursMs, times(assimpMs, oursMs));
    report.row(std::string("export .") + format + ", Assimp 5.2 exporter", "ms", assimpMs);
  }

  const ImportSettings settings{VANTOREL_PROGRAM, 600, 0};
  for (const auto& [format, path] : {std::pair{"OBJ", obj}, std::pair{"GLB", glb}}) {
    int counted = 0;
    const auto [oursMs, assimpMs] = alternate(
        [&] {
          ImportResult result = importInChild(path, "ball.vantorel", nullptr, settings);
          counted = result.model ? result.model->polygonCount() : -1;
        },
        [&] { Assimp::Importer().ReadFile(path, 0); });
    const std::string check = counted == model.polygonCount() ? "" : " (TRIANGLE COUNT DIFFERS)";
    report.row(std::string("import ") + format + ", ours (child process, model built)", "ms",
               oursMs, added(oursMs, assimpMs) + check);
    report.row(std::string("import ") + format + ", Assimp 5.2 ReadFile alone", "ms", assimpMs);
  }
}
