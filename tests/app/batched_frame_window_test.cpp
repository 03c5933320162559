// A frame drawn in batches (vertex arrays, only the marker faces that can
// show) must be exactly the frame drawn the plain way, one call per vertex and
// one cube per marker: in every layout and render mode, with the Full view
// turned every which way, flat views zoomed and scrolled, selected triangles
// in another colour, vertex points (in whatever colour and normal the model's
// drawing left current) in sight, and whatever changed since the last frame.

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "app/editor.h"
#include "support/editor_window.h"
#include "support/fixtures.h"
#include "tools/polygon_ops.h"
#include "view/view_layout.h"

namespace {

using BatchedFrameTest = EditorWindowTest;

TEST_F(BatchedFrameTest, MatchesThePlainFrameInRandomStates) {
  std::mt19937 random(3);
  auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  auto below = [&](int n) { return static_cast<int>(random() % n); };
  // Random triangles over the views, every fifth one selected, every fourth
  // in a second group of its own colour.
  Model& m = *editor->model;
  PolygonGroup* second = m.newGroup();
  second->material.red = 0.2, second->material.green = 0.6, second->material.blue = 0.9;
  m.groups.pushBack(second);
  std::vector<Vertex*> made;
  for (int i = 0; i < 450; ++i) {
    made.push_back(addVertex(m, uniform(-3.2, 3.2), uniform(-2.5, 2.5), uniform(-3.2, 3.2)));
    if (i % 3 < 2) continue;
    Polygon* p = addTriangle(m, made[i - 2], made[i - 1], made[i], i % 4 == 2 ? second : nullptr);
    p->selected = i % 5 == 2;
    p->smooth = i % 2;
  }
  rebuildNormals(*editor);
  editor->showGrid = 0;  // its blue axis would pass for the second group
  const std::vector<std::function<void()>> edits = {
      [&] { Model::setPolygonsSelected(m.currentGroup->polygons, below(2)); },
      [&] { made[below(450)]->x += uniform(-1, 1); },
      [&] { m.currentGroup->material.green = uniform(0, 1); },
      [&] { m.currentGroup->polygons.remove(m.currentGroup->polygons.headItem()); },
      [&] { rebuildNormals(*editor); },
  };
  // First the Full view alone, filled, at turns whose zeros put marker faces
  // edge-on, or nearly (a sliver of a face can still own a row of pixels);
  // then random states.
  const double turns[][3] = {{0, 0, 0},   {90, 0, 0},   {0, 90, 0},   {0, 0, 90},  {180, 0, 0},
                             {45, 45, 0}, {0, -90, 30}, {89.7, 0, 0}, {0, 90.3, 0}};
  auto frame = [&](int batched) {
    editor->batchDrawing = batched;
    editor->drawFrame();
    return testwindow::readFrame();
  };
  for (int round = 0; round < 30; ++round) {
    const bool turned = round < 9;
    editor->layoutMode = turned ? 0 : below(3) ? 1 : 0;
    editor->singleView = turned ? kFullView : below(4);
    editor->layoutViews();
    double* turn[] = {&editor->views[kFullView].rotX, &editor->views[kFullView].rotY,
                      &editor->views[kFullView].rotZ};
    for (int k = 0; k < 3; ++k) *turn[k] = turned ? turns[round][k] : uniform(-360, 360);
    for (int k = 0; k < 4; ++k) {
      Viewport& v = editor->views[k];
      v.renderMode = turned ? kFlatShaded : below(3);
      v.left = v.right = uniform(-1, 1);
      v.bottom = v.top = uniform(-1, 1);
      v.zoom = uniform(1, 6);
      applyZoom(v);
    }
    editor->vertexMarkerScale = below(3) == 0 ? 0 : 1;  // without markers the points show
    frame(1);                                           // arrays of the model before the edit
    edits[below(static_cast<int>(edits.size()))]();
    const std::vector<unsigned char> batched = frame(1), plain = frame(0);
    ASSERT_EQ(plain.size(), 800u * 600 * 3);
    int differing = 0, secondGroup = 0;
    for (size_t i = 0; i < plain.size(); i += 3) {
      differing += plain[i] != batched[i] || plain[i + 1] != batched[i + 1] ||
                   plain[i + 2] != batched[i + 2];
      secondGroup += plain[i + 2] > plain[i] + 40 && plain[i + 1] > plain[i] + 20;
    }
    EXPECT_EQ(differing, 0) << "round " << round;
    EXPECT_GT(secondGroup, 200) << "round " << round << ": the model is on screen";
  }
}

}  // namespace
