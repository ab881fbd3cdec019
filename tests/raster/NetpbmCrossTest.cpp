// Cross-checks with netpbm: files written by pbmtogem decode to the same pixels, and files we
// write come out of gemtopnm as the same picture.
#include "RasterTestUtil.h"

#include <QProcess>
#include <QStandardPaths>

using namespace vorn;
using namespace rastertest;

namespace {

// Runs a netpbm tool on a file and returns its standard output (empty on failure).
QByteArray RunTool(const QString& Tool, const QString& Input) {
  QProcess process;
  process.start(QStandardPaths::findExecutable(Tool), {Input});
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    ADD_FAILURE() << Tool.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return process.readAllStandardOutput();
}

class Netpbm : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("pbmtogem")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("gemtopnm")).isEmpty())
      GTEST_SKIP() << "netpbm (pbmtogem, gemtopnm) is not installed";
  }
  QTemporaryDir Dir;
};

// Pictures of the widths and shapes that stress the coders.
std::vector<QImage> Samples() {
  std::vector<QImage> images;
  for (int w : {1, 7, 8, 9, 100, 333, 1030}) images.push_back(PatternImage(w, 61, 1000 + w));
  QImage black = MonoImage(77, 300);
  black.fill(0);
  images.push_back(black);
  images.push_back(MonoImage(1000, 5));  // all white
  return images;
}

}  // namespace

TEST_F(Netpbm, GemtopnmReadsWhatWeWrite) {
  std::vector<QImage> images = Samples();
  images.push_back(MonoImage(2041, 5));  // white runs longer than pbmtogem itself writes
  for (const QImage& original : images) {
    for (bool blackFirst : {true, false}) {
      const QImage image = blackFirst ? original : SwapColourTable(original);
      const QString img = vorn::test::WriteFile(Dir.filePath("ours.img"), IMGEncodeBytes(image));
      const QImage pbm = QImage::fromData(RunTool(QStringLiteral("gemtopnm"), img), "pbm");
      ASSERT_FALSE(pbm.isNull());
      EXPECT_TRUE(SamePixels(pbm, original))
          << original.width() << "x" << original.height() << " blackFirst " << blackFirst;
    }
  }
}

TEST_F(Netpbm, WeReadWhatPbmtogemWrites) {
  for (const QImage& original : Samples()) {
    const QString pbm = Dir.filePath(QStringLiteral("in.pbm"));
    ASSERT_TRUE(original.save(pbm, "pbm"));
    const QByteArray gem = RunTool(QStringLiteral("pbmtogem"), pbm);
    const TIMGDecodeResult r = IMGDecodeBytes(gem.constData(), gem.size());
    ASSERT_TRUE(r.Decoded);
    EXPECT_TRUE(SamePixels(r.Image, original)) << original.width() << "x" << original.height();
  }
}
