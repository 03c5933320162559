// The batched vertex markers must draw exactly the picture of one cube per
// vertex, in every flat view, over shaded and wireframe models.

#include <gtest/gtest.h>

#include <random>

#include "app/editor.h"
#include "support/editor_window.h"

namespace {

class MarkerTest : public EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    if (editor) pointAt(790, 10);
  }

  void addRandomModel(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-3.5, 3.5);
    std::vector<Vertex*> made;
    for (int i = 0; i < count; ++i) {
      Vertex* v = editor->model->newVertex(coordinate(random), coordinate(random) * 0.8,
                                           coordinate(random));
      editor->model->vertices.pushFront(v);
      made.push_back(v);
    }
    for (int i = 0; i + 2 < count; i += 7) {
      Polygon* p = editor->model->newPolygon(made[i], made[i + 1], made[i + 2]);
      editor->model->currentGroup->polygons.pushFront(p);
    }
  }

  std::vector<unsigned char> frame(int batched) {
    editor->batchMarkers = batched;
    editor->drawFrame();
    return testwindow::readFrame();
  }

  static int differingPixels(const std::vector<unsigned char>& a,
                             const std::vector<unsigned char>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); i += 3) {
      n += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    }
    return n;
  }
};

TEST_F(MarkerTest, BatchedMarkersMatchOneCubePerVertex) {
  addRandomModel(7, 400);
  for (int mode : {kFlatShaded, kSmoothShaded, kWireframe}) {
    for (Viewport& v : editor->views) v.renderMode = mode;
    std::vector<unsigned char> reference = frame(0);
    std::vector<unsigned char> batched = frame(1);
    EXPECT_EQ(differingPixels(reference, batched), 0) << "render mode " << mode;
  }
}

TEST_F(MarkerTest, BatchedMarkersMatchAfterZoomAndScroll) {
  addRandomModel(11, 150);
  for (int i = 0; i < 3; ++i) {
    editor->zoomViewBy(-13, editor->views[i]);
    editor->scrollViewBy(17, -9, editor->views[i]);
  }
  EXPECT_EQ(differingPixels(frame(0), frame(1)), 0);
  int markers = 0;
  std::vector<unsigned char> shot = frame(1);
  for (size_t i = 0; i < shot.size(); i += 3) markers += shot[i] == 255 && shot[i + 2] == 255;
  EXPECT_GT(markers, 100) << "markers are on screen at all";
}

}  // namespace
