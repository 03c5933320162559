#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

class UndoTest : public EditorTest {
 protected:
  Model& model() { return *editor.model; }

  // The model file the model would be saved as.
  std::string fileOf(Model& m) { return formatModelFile(captureImage(m)); }
  // The file saved after reading `text` back: the reader reverses list order,
  // so an undone model is compared with this.
  std::string readBack(const std::string& text) {
    ModelImage image;
    EXPECT_TRUE(parseModelFile(text, image));
    Model scratch("scratch", model().textures);
    buildModel(image, scratch, /*printNames=*/false);
    return fileOf(scratch);
  }

  // Starts over with the square and its wing, p1 with texture coordinates
  // and p3 owned by a child bone.
  SquareWithWing freshMesh() {
    editor.replaceModel(std::make_unique<Model>("figure.mdl", model().textures));
    SquareWithWing m(model());
    for (int i = 0; i < 3; ++i) {
      m.p1->uvs[i].u = 0.25 * i;
      m.p1->uvs[i].v = 1 - 0.5 * i;
      m.p1->uvs[i].mapped = 1;
    }
    m.p1->uvMapped = 1;
    m.p3->bone = model().addBone(model().createRoot(0, 0, 0), 1, 1, 1);
    editor.selectedBone = m.p3->bone;
    return m;
  }
};

TEST_F(UndoTest, UndoAtStartUpDoesNothing) {
  Model* before = editor.model.get();
  key('z');
  EXPECT_EQ(editor.model.get(), before);
  EXPECT_EQ(model().name, "testmodel");
  EXPECT_EQ(model().vertices.count(), 0);
}

TEST_F(UndoTest, UndoAfterEachEditRestoresTheModelAsSaved) {
  struct Edit {
    const char* name;
    std::function<void(SquareWithWing&)> run;
  };
  const Edit edits[] = {
      {"flatten on X",
       [&](SquareWithWing& m) {
         editor.selectedVertices.pushFront(m.a);
         editor.selectedVertices.pushFront(m.e);
         editor.flattenSelection(kAxisX);
       }},
      {"flatten on U",
       [&](SquareWithWing& m) {
         editor.selectedUvs.pushFront(&m.p1->uvs[0]);
         editor.selectedUvs.pushFront(&m.p1->uvs[1]);
         editor.flattenSelection(kAxisU);
       }},
      {"UV map",
       [&](SquareWithWing& m) {
         editor.selectedPolygons.pushFront(m.p1);
         editor.selectedPolygons.pushFront(m.p3);
         editor.uvMapSelected(editor.views[kSideView]);
       }},
      {"weld",
       [&](SquareWithWing& m) {
         editor.selectedVertices.pushFront(m.c);
         editor.selectedVertices.pushFront(m.d);
         key('n');
       }},
      {"delete",
       [&](SquareWithWing& m) {
         editor.selectedVertices.pushFront(m.a);
         editor.selectedPolygons.pushFront(m.p3);
         key(127);
       }},
      {"clamp", [&](SquareWithWing&) { key('`'); }},
  };
  for (const Edit& edit : edits) {
    SquareWithWing m = freshMesh();
    const std::string before = fileOf(model());
    testing::internal::CaptureStdout();
    edit.run(m);
    testing::internal::GetCapturedStdout();
    ASSERT_NE(fileOf(model()), before) << edit.name << " changed nothing";
    ASSERT_EQ(editor.undoStack.size(), 1u) << edit.name;

    key('z');
    EXPECT_EQ(fileOf(model()), readBack(before)) << edit.name;
    EXPECT_EQ(model().name, "figure.mdl") << edit.name;
    EXPECT_EQ(editor.selectedVertices.count(), 0) << edit.name;
    EXPECT_EQ(editor.selectedPolygons.count(), 0) << edit.name;
    EXPECT_EQ(editor.selectedUvs.count(), 0) << edit.name;
    EXPECT_EQ(editor.selectedBone, nullptr) << edit.name;
    EXPECT_TRUE(editor.undoStack.empty()) << edit.name;
    special(kKeyF3, kShift);  // the restored model's own root
    EXPECT_EQ(editor.selectedBone, model().rootBone()) << edit.name;
  }
}

TEST_F(UndoTest, SixtyEditsGiveFiftyEffectiveUndos) {
  Vertex* v = addVertex(model(), 100, 0, 0);
  const int edits = 60;
  for (int i = 1; i <= edits; ++i) {
    editor.boundingBox.maxX = 100 - i;  // each clamp pulls the vertex one unit further in
    editor.clampAllVertices();
  }
  ASSERT_EQ(model().vertices.headItem(), v);
  ASSERT_EQ(v->x, 100 - edits);
  ASSERT_EQ(editor.undoStack.size(), static_cast<size_t>(editor.undoLimit));

  for (int i = 1; i <= editor.undoLimit; ++i) {
    key('z');
    EXPECT_EQ(model().vertices.headItem()->x, 100 - edits + i) << i;
  }
  Model* last = editor.model.get();
  key('z');
  EXPECT_EQ(editor.model.get(), last);
  EXPECT_EQ(model().vertices.headItem()->x, 100 - edits + editor.undoLimit);
}

TEST_F(UndoTest, SnapshotsStayBoundedAndCompact) {
  addUnitBox(model(), true);
  const size_t oneSnapshot = captureImage(model()).memoryBytes();
  for (int i = 0; i < 1000; ++i) editor.clampAllVertices();  // the box is inside: no change
  ASSERT_EQ(editor.undoStack.size(), static_cast<size_t>(editor.undoLimit));
  size_t total = 0;
  for (const Snapshot& s : editor.undoStack) total += s.image.memoryBytes();
  EXPECT_EQ(total, editor.undoLimit * oneSnapshot);

  // Each undo releases the model it replaces (the sanitizer build checks it).
  while (!editor.undoStack.empty()) key('z');
  EXPECT_EQ(model().vertices.count(), 8);
}

}  // namespace
