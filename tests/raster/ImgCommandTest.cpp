// The `vorn img` command: conversions and exit statuses.
#include "RasterTestUtil.h"
#include "support/ToolRun.h"

#include <QFileInfo>

using namespace vorn;
using namespace rastertest;

namespace {

using TRun = vorn::test::TToolRun;

using ImgCommand = vorn::test::TToolTest;

using vorn::test::ReadFile;
}  // namespace

// Batches of files are checked against netpbm with the command line's other tests; here the forms
// with one input and one output file.
TEST_F(ImgCommand, OneFileConvertsToTheFormOfItsExtensionAndFailuresLeaveNoFile) {
  const QImage original = PatternImage(90, 33, 12);
  ASSERT_TRUE(original.save(Path("in.png")));
  ASSERT_EQ(Run({"img", "encode", Path("in.png"), Path("out.asc")}).Status, 0);
  EXPECT_EQ(ReadFile(Path("out.asc")), IMGBytesToText(IMGEncodeBytes(IMGMonoBitmap(QImage(Path("in.png"))))));
  ASSERT_EQ(Run({"img", "decode", Path("out.asc"), Path("back.png")}).Status, 0);
  EXPECT_TRUE(SamePixels(QImage(Path("back.png")), original));

  vorn::test::WriteFile(Path("bad.img"), IMGHeaderBytes({1, 8, 1, 1, 0, 0, 0, 4}));
  TRun run = Run({"img", "decode", Path("bad.img"), Path("x.png")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_TRUE(run.Err.contains("Input file is not valid")) << run.Err.toStdString();
  // One line of ours (Qt may add its own diagnostics).
  EXPECT_EQ(run.Err.count("vorn"), 1) << run.Err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Path("x.png")));
}

TEST_F(ImgCommand, WrongUsageGivesStatusTwo) {
  EXPECT_EQ(Run({"img"}).Status, 2);
  EXPECT_EQ(Run({"img", "encode", Path("a.png")}).Status, 2);
  EXPECT_EQ(Run({"img", "rotate", Path("a.png"), Path("b.img")}).Status, 2);
  EXPECT_EQ(Run({"img", "encode", Path("a.png"), Path("b.png")}).Status, 2);
  EXPECT_EQ(Run({"img", "decode", Path("a.png"), Path("b.png")}).Status, 2);
  EXPECT_EQ(Run({"img", "decode", Path("a.img"), Path("b.unknownformat")}).Status, 2);
}
