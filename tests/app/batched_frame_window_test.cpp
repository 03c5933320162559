// A frame drawn in batches (vertex arrays, only the marker faces that can
// show) must be exactly the frame drawn the plain way, one call per vertex and
// one cube per marker: in every render mode and layout, with the Full view
// turned every which way, with selected triangles in another colour, and with
// the vertex points (drawn in whatever colour and normal the model's drawing
// left current) in sight.

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "app/editor.h"
#include "support/editor_window.h"

namespace {

constexpr int kFlatViewRounds = 12;

class BatchedFrameTest : public EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    if (editor) editor->mouseMoved(790, 590);
  }

  // Random triangles over the views, every fifth one selected; a second
  // group in its own colour.
  void addRandomModel(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-3.2, 3.2);
    Model& m = *editor->model;
    std::vector<Vertex*> made;
    for (int i = 0; i < count; ++i) {
      made.push_back(m.newVertex(coordinate(random), coordinate(random) * 0.8, coordinate(random)));
      m.vertices.pushFront(made.back());
    }
    PolygonGroup* second = m.newGroup();
    second->material.red = 0.2, second->material.green = 0.6, second->material.blue = 0.9;
    m.groups.pushBack(second);
    for (int i = 0; i + 2 < count; i += 3) {
      Polygon* p = m.newPolygon(made[i], made[i + 1], made[i + 2]);
      p->selected = i % 5 == 0;
      p->smooth = i % 2;
      (i % 4 == 0 ? second : m.currentGroup)->polygons.pushFront(p);
    }
    editor->rebuildNormals();
  }

  std::vector<unsigned char> frame(int batched) {
    editor->batchDrawing = batched;
    editor->drawFrame();
    return testwindow::readFrame();
  }

  int differingPixels() {
    const std::vector<unsigned char> plain = frame(0), batched = frame(1);
    return differing(plain, batched);
  }

  static int differing(const std::vector<unsigned char>& plain,
                       const std::vector<unsigned char>& batched) {
    int n = 0;
    for (size_t i = 0; i < plain.size(); i += 3) {
      n += plain[i] != batched[i] || plain[i + 1] != batched[i + 1] ||
           plain[i + 2] != batched[i + 2];
    }
    return n;
  }
};

TEST_F(BatchedFrameTest, EveryRenderModeAndLayoutMatchesThePlainFrame) {
  addRandomModel(3, 600);
  for (int layout : {1, 0}) {
    editor->layoutMode = layout;
    for (int mode : {kWireframe, kFlatShaded, kSmoothShaded}) {
      for (Viewport& v : editor->views) v.renderMode = mode;
      EXPECT_EQ(differingPixels(), 0) << "layout " << layout << ", render mode " << mode;
    }
  }
}

TEST_F(BatchedFrameTest, TurnedFullViewMatchesThePlainFrame) {
  addRandomModel(5, 300);
  editor->layoutMode = 0;  // the Full view alone, large
  editor->zoomViewBy(-20, editor->views[kFullView]);
  std::mt19937 random(9);
  std::uniform_real_distribution<double> angle(-360, 360);
  const double fixed[][3] = {{0, 0, 0},   {90, 0, 0},  {0, 90, 0},  {0, 0, 90},
                             {180, 0, 0}, {45, 45, 0}, {0, -90, 30}};
  for (int i = 0; i < 19; ++i) {
    Viewport& full = editor->views[kFullView];
    if (i < 7) {
      full.rotX = fixed[i][0], full.rotY = fixed[i][1], full.rotZ = fixed[i][2];
    } else {
      full.rotX = angle(random), full.rotY = angle(random), full.rotZ = angle(random);
    }
    for (int mode : {kFlatShaded, kWireframe}) {
      full.renderMode = mode;
      EXPECT_EQ(differingPixels(), 0) << "rotation " << full.rotX << " " << full.rotY << " "
                                      << full.rotZ << ", render mode " << mode;
    }
  }
}

TEST_F(BatchedFrameTest, ZoomedAndScrolledFlatViewsMatchThePlainFrame) {
  addRandomModel(12, 300);
  std::mt19937 random(4);
  for (int i = 0; i < kFlatViewRounds; ++i) {
    for (int k = 0; k < 3; ++k) {
      editor->zoomViewBy(static_cast<int>(random() % 9) - 4, editor->views[k]);
      editor->scrollViewBy(static_cast<int>(random() % 41) - 20,
                           static_cast<int>(random() % 41) - 20, editor->views[k]);
    }
    for (int mode : {kFlatShaded, kWireframe}) {
      for (Viewport& v : editor->views) v.renderMode = mode;
      EXPECT_EQ(differingPixels(), 0) << "round " << i << ", render mode " << mode;
    }
  }
}

TEST_F(BatchedFrameTest, VertexPointsKeepTheColourAndNormalTheTrianglesLeft) {
  addRandomModel(8, 300);
  editor->vertexMarkerScale = 0;  // markers would hide the points
  for (int mode : {kWireframe, kFlatShaded, kSmoothShaded}) {
    for (Viewport& v : editor->views) v.renderMode = mode;
    EXPECT_EQ(differingPixels(), 0) << "render mode " << mode;
  }
  int lit = 0;
  const std::vector<unsigned char> shot = frame(1);
  for (size_t i = 0; i < shot.size(); i += 3) lit += shot[i] != 0 || shot[i + 1] != 0;
  EXPECT_GT(lit, 1000) << "the model is on screen at all";
}

// Views in different modes share the arrays of a frame; the next frame shows
// what changed since, whatever the change.
TEST_F(BatchedFrameTest, MixedViewsShareAFrameAndEditsShowInTheNext) {
  addRandomModel(21, 600);
  const int modes[4] = {kWireframe, kFlatShaded, kSmoothShaded, kFlatShaded};
  for (int i = 0; i < 4; ++i) editor->views[i].renderMode = modes[i];
  EXPECT_EQ(differingPixels(), 0) << "before any edit";

  Model& m = *editor->model;
  PolygonGroup* group = m.currentGroup;
  const std::vector<std::function<void()>> edits = {
      [&] { Model::setPolygonsSelected(group->polygons, 1); },
      [&] { m.vertices.headItem()->x += 1.5; },
      [&] { group->material.green = 0.1; },
      [&] { group->polygons.remove(group->polygons.headItem()); },
      [&] { editor->rebuildNormals(); },
  };
  for (size_t i = 0; i < edits.size(); ++i) {
    frame(1);  // arrays of the model before the edit
    edits[i]();
    const std::vector<unsigned char> batched = frame(1);
    EXPECT_EQ(differing(frame(0), batched), 0) << "after edit " << i;
  }
}

}  // namespace
