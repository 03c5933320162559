#include "tools/tool_fixture.h"
#include "tools/tool_menu.h"

namespace {

using UvTest = WingTest;

std::string uvText(const Polygon* p) {
  std::string text;
  for (const UvPoint& uv : p->uvs)
    text += " " + num(uv.u) + "," + num(uv.v) + (uv.selected ? "*" : "");
  return text.substr(1);
}

// On the wing with p1 mapped to (0.2, 0.2) (0.8, 0.2) (0.2, 0.8), its second
// and third UV points selected, and c, p1 and p3 selected: a menu code in a
// view, or a tool's code and a drag in the UV view from (0.5, 0.5) to
// (0.875, 0.125). Each row gives p1's and p3's UV points after it.
TEST_F(UvTest, MappingFlatteningMovingAndScalingGiveExactlyTheseUvs) {
  struct Case {
    int code, view;
    const char *trace, *uvs;
  };
  const Case cases[] = {
      // The box of the selected triangles spans the texture, along the view's axes.
      {8, kSideView,
       "view: 0\nU: 0.500000 V: 0.000000\nU: 1.000000 V: 0.000000\nU: 0.500000 V: 1.000000\n"
       "view: 0\nU: 0.000000 V: 0.000000\nU: 0.500000 V: 0.000000\nU: 0.500000 V: 1.000000\n",
       "0,0 0.5,0* 0.5,1* / 0.5,0 1,0 0.5,1"},
      {8, kFrontView,
       "view: 1\nU: 0.000000 V: 0.000000\nU: 1.000000 V: 0.000000\nU: 0.000000 V: 1.000000\n"
       "view: 1\nU: 0.000000 V: 0.000000\nU: 0.000000 V: 0.000000\nU: 0.000000 V: 1.000000\n",
       "0,0 0,0* 0,1* / 0,0 1,0 0,1"},  // p1 is flat in z: u is 0
      {8, kTopView,
       "view: 2\nU: 0.000000 V: 0.500000\nU: 1.000000 V: 1.000000\nU: 0.000000 V: 0.500000\n"
       "view: 2\nU: 0.000000 V: 0.000000\nU: 0.000000 V: 0.500000\nU: 0.000000 V: 0.500000\n",
       "0,0 0,0.5* 0,0.5* / 0,0.5 1,1 0,0.5"},
      {8, kFullView,  // marked as mapped, not moved
       "view: 3\nU: 0.000000 V: 0.000000\nU: 0.000000 V: 0.000000\nU: 0.000000 V: 0.000000\n"
       "view: 3\nU: 0.200000 V: 0.200000\nU: 0.800000 V: 0.200000\nU: 0.200000 V: 0.800000\n",
       "0.2,0.2 0.8,0.2* 0.2,0.8* / 0,0 0,0 0,0"},
      {12, kSideView, "", "0.2,0.2 0.5,0.2* 0.5,0.8* / 0,0 0,0 0,0"},  // to the middle of the box
      {13, kSideView, "", "0.2,0.2 0.8,0.5* 0.2,0.5* / 0,0 0,0 0,0"},
      {20, kUvView, "Clicked in UV Mapper\nClicked in UV Mapper\n",  // stopped at the edges
       "0.2,0.2 1,0* 0.575,0.425* / 0,0 0,0 0,0"},
      {22, kUvView, "Clicked in UV Mapper\nClicked in UV Mapper\n",  // about the box's middle
       "0.2,0.2 1.025,0.425* -0.025,0.575* / 0,0 0,0 0,0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << " in view " << c.view);
    startOver();
    const double u[3] = {0.2, 0.8, 0.2}, v[3] = {0.2, 0.2, 0.8};
    m.p1->uvMapped = 1;
    for (int i = 0; i < 3; ++i) m.p1->uvs[i] = {u[i], v[i], m.p1->vertices[i], i > 0, 1};
    editor.selectedUvs.pushFront(&m.p1->uvs[1]);
    editor.selectedUvs.pushFront(&m.p1->uvs[2]);
    select("c", "13");
    editor.panelsShown = c.view == kUvView;  // the UV Mapper shows the UV view
    editor.activeView = c.view;
    const std::string trace = printedBy([&] {
      toolMenuCommand(editor, c.code);
      if (c.view == kUvView) dragIn(kUvView, 0.5, 0.5, 0.875, 0.125);
    });
    EXPECT_EQ(trace, c.trace);
    EXPECT_EQ(uvText(m.p1) + " / " + uvText(m.p3), c.uvs);
    EXPECT_EQ(m.p3->uvMapped + m.p3->uvs[1].mapped + m.e->uvMapped, c.code == 8 ? 3 : 0);
    EXPECT_EQ(mesh(), "0,0,0 1,0,0 1,1,0* 0,1,0 2,0,2 | 0,1,2* 0,2,3 1,4,2* | 3,4,0");
    EXPECT_EQ(snapshots(), 1);
  }
}

}  // namespace
