// `vorn view`: its screenshot shows the document exactly as `vorn render` draws it, and documents
// it cannot show end it with one line.

#include "support/ToolRun.h"

#include <vorn/surface/KxDeViewer.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>

namespace vorn::test {
namespace {

class ViewCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFileInfo::exists(VornTool())) GTEST_SKIP() << "the vorn tool is not built";
    ASSERT_TRUE(Dir.isValid());
  }
  QString Path(const QString& Name) const { return Dir.filePath(Name); }
  QTemporaryDir Dir;
};

TEST_F(ViewCommand, ScreenshotShowsThePageAsRenderDrawsIt) {
  const QString doc = QStringLiteral(VORN_SOURCE_DIR "/samples/shipping-label.vorn");
  const TToolRun shot = RunVornTool({"view", doc, "--screenshot", Path("view.png"), "--size", "520x700"});
  ASSERT_EQ(shot.Status, 0) << shot.Err.toStdString();
  const TToolRun render = RunVornTool({"render", doc, "-o", Path("render.png"), "--dpi", "96"});
  ASSERT_EQ(render.Status, 0) << render.Err.toStdString();
  const QImage view = QImage(Path("view.png")).convertToFormat(QImage::Format_RGB32);
  const QImage page = QImage(Path("render.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(view.size(), QSize(520, 700));
  ASSERT_FALSE(page.isNull());

  // Where a viewer of that size puts the page (its buffer at the rounded corner).
  TKxDeViewer layout;
  layout.resize(520, 700);
  layout.SetShowStatusBar(true);
  layout.Layer()->SetBounds(page.width(), page.height());
  layout.show();
  const TPointF origin = layout.LayerToScreen(TPointF{0, 0});
  const QImage area = view.copy(static_cast<int>(std::nearbyint(origin.X)), static_cast<int>(std::nearbyint(origin.Y)),
                                page.width(), page.height());
  int differing = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) differing += area.pixel(x, y) != page.pixel(x, y);
  EXPECT_EQ(differing, 0) << "of " << page.width() * page.height() << " pixels";
}

TEST_F(ViewCommand, WhatCannotBeShownEndsWithOneLine) {
  QFile damaged(Path("damaged.vorn"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("<VornDocument Version=\"1.0\"><Layers><o Class=");
  damaged.close();
  QImage(8, 8, QImage::Format_RGB32).save(Path("picture.png"));
  for (const QString& input : {Path("missing.vorn"), Path("damaged.vorn"), Path("picture.png")}) {
    const TToolRun run = RunVornTool({"view", input, "--screenshot", Path("out.png")});
    EXPECT_EQ(run.Status, 1) << input.toStdString();
    const QString err = QString::fromUtf8(run.Err).trimmed();
    EXPECT_EQ(err.count(QLatin1Char('\n')), 0) << err.toStdString();
    EXPECT_TRUE(err.startsWith(QLatin1String("vorn: "))) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("out.png")));
  }
}

}  // namespace
}  // namespace vorn::test
