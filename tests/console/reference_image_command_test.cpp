// "/refimage": an image behind a flat view, kept with the views and never in the model.

#include <sys/stat.h>

#include "support/bmp_file.h"
#include "support/format_fixtures.h"
#include "tools/tool_fixture.h"

namespace {

// Side, Front and Top: "-", or the right and top edges of what the image covers.
std::string shown(const Editor& editor) {
  std::string text;
  for (int kind : {kSideView, kFrontView, kTopView}) {
    const ReferenceImage& image = editor.viewSet.views[kind].reference;
    const ReferenceRect r = referenceRect(image);
    text += image.shown ? num(r.right) + "x" + num(r.top) + " " : "- ";
  }
  return text.substr(0, text.size() - 1);
}

using ReferenceImageCommandTest = ToolTest;

TEST_F(ReferenceImageCommandTest, ShowsAnImageBehindAFlatViewUntilTurnedOff) {
  ScratchCwd dir;
  writeFile("wide.bmp", bmpFile(4, 2, 24, std::string(24, '\x40')));  // twice as wide as high
  writeFile("junk.png", "no image");
  mkfifo("pipe.png", 0600);
  const std::string kUsage = "Error! /refimage takes side, front or top, then a file or off!|",
                    kShown = "Reference image wide.bmp behind the ",
                    kFailed = "Error! Reference image ", kLoad = " failed to load!|",
                    kNone = "No such file or directory|", kAll = "5x2.5 2x1 0.25x0.125";
  const std::string cases[][3] = {
      {"side wide.bmp", kShown + "Side view, 10 units wide.|", "5x2.5 - -"},
      {"FRONT wide.bmp 4", kShown + "Front view, 4 units wide.|", "5x2.5 2x1 -"},
      {"Top wide.bmp 0.5", kShown + "Top view, 0.5 units wide.|", kAll},
      {"side no.bmp", kFailed + "no.bmp" + kLoad + kNone, kAll},
      {"top sk\x1Bin.bmp", kFailed + "sk\\x1Bin.bmp" + kLoad + kNone, kAll},
      {"front junk.png", kFailed + "junk.png" + kLoad + "not a BMP, PNG, TGA or JPEG image|", kAll},
      {"top pipe.png", kFailed + "pipe.png" + kLoad + "not a regular file|", kAll},
      {"top wide.bmp 0", "Error! /refimage takes a scale above 0 and at most 100000!|", kAll},
      {"full wide.bmp", kUsage, kAll},
      {"side wide.bmp 2 3", kUsage, kAll},
      {"side", "Error! Not right # of parameters!|", kAll},
      {"side off", "Reference image off in the Side view.|", "- 2x1 0.25x0.125"},
  };
  for (const auto& [words, message, after] : cases) {
    EXPECT_EQ(said("/refimage " + words), message) << words;
    EXPECT_EQ(shown(editor), after) << words;
  }
  // View state: no undo step, nothing unsaved, kept as another model opens, allowed animating.
  EXPECT_EQ(snapshots(), 0);
  EXPECT_FALSE(editor.doc.unsavedChanges());
  said("/save m.vantorel"), said("/open m.vantorel");
  said("/anim"), said("/refimage side wide.bmp 2");
  EXPECT_EQ(shown(editor), "1x0.5 2x1 0.25x0.125");
}

}  // namespace
