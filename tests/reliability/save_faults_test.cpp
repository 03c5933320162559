// Saving to what is no regular file fails, links followed or not.

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "formats/model_file.h"
#include "model/model_image.h"
#include "support/fixtures.h"

namespace {

TEST(SaveFaultTest, TargetsThatAreNoRegularFilesAreRefusedAlsoThroughLinks) {
  ScratchDir dir;
  // Our own device node where we may: a save as root must not replace /dev/full itself.
  const bool node = mknod(dir.file("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
  const std::string device = node ? dir.file("full") : "/dev/full";
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0644) + mkdir(dir.file("folder").c_str(), 0755), 0);
  // Links absolute and relative; "loop" names itself, "file" is yet to be made.
  for (const auto& [link, to] : {std::pair{"device-link", device},
                                 {"fifo-link", "fifo"},
                                 {"folder-link", "folder"},
                                 {"loop", "loop"},
                                 {"file-link", "file"}})
    ASSERT_EQ(symlink(to.c_str(), dir.file(link).c_str()), 0) << link;
  for (const std::string& target :
       {device, dir.file("fifo"), dir.file("folder"), dir.file("device-link"),
        dir.file("fifo-link"), dir.file("folder-link"), dir.file("loop"),
        dir.file("missing/model.mdl"), std::string()}) {
    Model model(target, nullptr);
    EXPECT_EQ(printedBy([&] { EXPECT_EQ(save(model), 0) << target; }), "") << target;
  }
  Model linked(dir.file("file-link"), nullptr);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(save(linked), 1); }),
            "Saving model to file: " + dir.file("file-link") + "\n");
  EXPECT_EQ(readFile(dir.file("file")), formatModelFile(captureImage(linked)));
  EXPECT_EQ(dir.entryCount(), 8 + node);
}

}  // namespace
