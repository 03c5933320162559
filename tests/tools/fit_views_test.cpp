// Fit in view by key, menu and console, on the selection or the whole model.

#include "tools/fit_views.h"
#include "tools/tool_fixture.h"

namespace {

class FitViewsTest : public EditorTest {
 protected:
  std::string views() {
    std::string text;
    for (int i = kSideView; i <= kFullView; ++i) text += viewState(editor.viewSet.views[i]) + "|";
    const Vec3& pivot = editor.viewSet.views[kFullView].pivot;
    return text + vec(pivot);
  }
};

// Vertices from (10, 20, 30) to (14, 23, 38) and a bone joint above them at (10, 25, 30): each
// flat view centres their shadow with a tenth to spare on the side that limits; the Full view
// turns about their centre and shows the ball around them. With a vertex selected, that vertex
// is framed, at the smallest zoom.
TEST_F(FitViewsTest, KeyMenuAndConsoleFitEveryViewToTheSelectionOrTheModel) {
  const std::string start = views();
  printedBy([&] { runConsoleCommand(editor, "/fit"); });
  EXPECT_EQ(views(), start) << "nothing to fit";
  Vertex* corner = addVertex(*editor.doc.model, 10, 20, 30);
  addVertex(*editor.doc.model, 14, 20, 38);
  addVertex(*editor.doc.model, 12, 23, 34);
  editor.doc.model->createRoot(10, 25, 30);
  const std::string fitted =
      "0,0-400,300 400x300 [8.33333:15.6667 x 19.75:25.25]|"
      "400,0-800,300 400x300 [29.6:38.4 x 19.2:25.8]|"
      "0,300-400,600 400x300 [29.6:38.4 x 8.7:15.3]|"
      "400,300-800,600 400x300 [-7.51443:7.51443 x -5.63582:5.63582]|12,22.5,34";
  const std::function<void()> ways[] = {[&] { key('a'); },
                                        [&] { editor.ui->pushCommand(30), editor.framePump(); },
                                        [&] {
                                          editor.ui->setFocusedEntry(editor.consolePrompt);
                                          for (char c : std::string("/fit\r\x1b"))
                                            key(c);  // Escape leaves the prompt
                                          printedBy([&] { editor.framePump(); });
                                        }};
  for (const auto& way : ways) {
    for (int i = kSideView; i <= kFullView; ++i) editor.viewSet.views[i] = Viewport(i);
    editor.layoutViews();
    way();
    EXPECT_EQ(views(), fitted);
  }
  editor.doc.selectedVertices.pushFront(corner);
  key('a');
  EXPECT_EQ(
      views(),
      "0,0-400,300 400x300 [9:11 x 19.25:20.75]|400,0-800,300 400x300 [29:31 x 19.25:20.75]|"
      "0,300-400,600 400x300 [29:31 x 9.25:10.75]|400,300-800,600 400x300 [-1:1 x -0.75:0.75]|"
      "10,20,30");
}

}  // namespace
