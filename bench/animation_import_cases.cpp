// Importing the animated files of the test data, per key of the clips that come in: the file is
// read by Assimp and every bone sampled at its key frames.

#include <cstdio>
#include <string>

#include "bench_registry.h"
#include "bench_util.h"
#include "import/foreign_import.h"

BENCH_CASE(83, "animation import") {
  // The files do not grow with the size.
  for (const char* file : {"arm_three.glb", "arm_assimp.glb", "arm_assimp.fbx"}) {
    const std::string path = std::string(VANTOREL_TEST_DATA_DIR "/animated/") + file;
    size_t keys = 0;
    const double ms = bench::medianMs(
        context.runs, [] {},
        [&] {
          ForeignModel imported;
          if (!importForeignModel(path, imported, nullptr)) return;
          keys = 0;
          for (const auto& clip : imported.image.clips)
            for (const auto& track : clip.tracks) keys += track.keys.size();
        });
    char note[64];
    std::snprintf(note, sizeof note, "%zu keys", keys);
    report.row(std::string("import ") + file + ", per key", "us",
               keys ? ms * 1000 / static_cast<double>(keys) : 0, note);
  }
}
