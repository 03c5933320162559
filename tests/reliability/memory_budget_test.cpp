// Under an address-space cap (what `prlimit --as` sets), the undo history keeps to its budget and
// says so once, and an edit that cannot get memory is refused with the model unchanged.

#include <fstream>

#include "formats/model_file.h"
#include "images/image_decode.h"
#include "support/bmp_file.h"
#include "support/child_process.h"
#include "support/editor_fixture.h"
#include "support/fixtures.h"
#include "support/model_invariants.h"

namespace {

size_t addressSpaceBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string word; status >> word;)
    if (word == "VmSize:") return (status >> word, std::stoul(word) * 1024);
  return 0;
}

using MemoryBudgetTest = EditorTest;

TEST_F(MemoryBudgetTest, TheHistoryKeepsToItsBudgetAndAnEditWithoutMemoryIsRefused) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve terabytes of address space";
#endif
  const size_t cap = addressSpaceBytes() + (700u << 20);
  const ChildResult child = runInChild(
      [&] {
        SilencedStdout quiet;
        auto cylinder = [&](int sides, int levels) {
          runConsoleCommand(editor,
                            "/setcylinder " + std::to_string(sides) + " " + std::to_string(levels));
          key('c');
          drag(kLeftButton, 150, 400, 250, 300);
        };
        if (defaultUndoMemoryBudget() > cap / 4) return 1;  // a quarter of the cap
        // Each step below holds its vertices, about 2 MB, beside the newest's 14 MB.
        editor.doc.undoMemoryBudget = 40u << 20;
        cylinder(300, 300);  // 180,600 triangles: about 14 MB a step
        for (int x = 0; x < 30; ++x) {
          special(kKeyF1, kShift);
          runConsoleCommand(editor, "/setx " + std::to_string(x));
        }
        const UndoHistory& history = editor.doc.undoHistory;
        if (history.heldBytes() > editor.doc.undoMemoryBudget || history.undoCount() >= 31)
          return 2;
        if (consoleLinesStartingWith("Undo history is over its memory budget of ") != 1) return 3;
        const ModelImage before = captureImage(*editor.doc.model);
        const size_t steps = history.undoCount();
        cylinder(1000, 1000);  // two million triangles do not fit
        if (lastConsoleMessage() != "Not enough memory for this edit: the model is unchanged.")
          return 4;
        // Put back from the snapshot the edit took: the same model file, lists in reverse.
        if (!(captureImage(*editor.doc.model) == rebuiltImage(before)) ||
            history.undoCount() != steps)
          return 5;
        key('z');
        return editor.doc.model->vertices.at(0)->x == 28 ? 0 : 6;
      },
      120, 0, cap);
  EXPECT_EQ(child.code, 0);
}

// A file of a few bytes that declares 16384 x 16384 pixels would take 3 GB to decode: under a cap
// of 1.8 GB more than the process holds it is refused with the reason, before any of it is
// allocated, instead of ending the process on bad_alloc.
TEST(ImageMemoryTest, AnImageLargerThanTheMemoryAtHandIsRefusedWithTheReason) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve terabytes of address space";
#endif
  ScratchDir dir;
  writeFile(dir.file("huge.bmp"), bmpFile(16384, 16384, 8, std::string(1024, '\0')));
  const std::string why =
      "image of 16384 x 16384 needs 3072 MB to decode, more than the memory "
      "at hand";
  const ChildResult child = runInChild(
      [&] {
        DecodedImage image;
        std::string reason;
        return decodeImageFile(dir.file("huge.bmp"), image, &reason) || reason != why;
      },
      60, 0, addressSpaceBytes() + (1800u << 20));
  EXPECT_EQ(child.code, 0);
}

}  // namespace
