// `vorn edit`: the window edits the document and Ctrl+S writes it back; the command draws the
// editor into a picture with --screenshot and ends documents it cannot open with one line.

#include "EditWindow.h"
#include "support/ToolRun.h"

#include <vorn/editor/KxDeEditor.h>
#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeLayer.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace vorn::test {
namespace {

const char* const kSample = VORN_SOURCE_DIR "/samples/shipping-label.vorn";

class EditCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
  QString Path(const QString& Name) const { return Dir.filePath(Name); }
  // The top-level shapes of a document file, with their bounds.
  static std::vector<TRectF> Bounds(const QString& FileName) {
    TKxDeLayerList layers;
    TKxDeDocumentSettings settings;
    TKxDeDocumentFile::LoadLayersFromFile(FileName, layers, settings);
    std::vector<TRectF> out;
    for (TKxDeLayer* layer : layers) {
      for (int32_t i = 0; i < layer->ItemCount(); ++i) out.push_back(layer->Items(i)->GetBounds());
      Free(layer);
    }
    return out;
  }
  QTemporaryDir Dir;
};

TEST_F(EditCommand, WindowMovesAShapeAndCtrlSSavesTheDocument) {
  const QString doc = Path("label.vorn");
  ASSERT_TRUE(QFile::copy(QString::fromUtf8(kSample), doc));
  vorncli::TEditWindow window;
  QString error;
  ASSERT_TRUE(window.Open(doc, error)) << error.toStdString();
  window.resize(700, 900);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  TKxDeEditor* e = window.Editor();
  const std::vector<TRectF> before = Bounds(doc);
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(window.SaveAction()->shortcut(), QKeySequence(QKeySequence::Save));

  // Drag the topmost shape of the top layer at its middle by (10, 20) world units.
  TKxDeLayer* layer = e->GetLayer(e->LayerCount() - 1);
  const TRectF b = layer->Items(layer->ItemCount() - 1)->GetBounds();
  const TPointF from = e->LayerToScreen(TPointF{(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2});
  const TPointF to = e->LayerToScreen(TPointF{(b.Left + b.Right) / 2 + 10, (b.Top + b.Bottom) / 2 + 20});
  const QPoint p(qRound(from.X), qRound(from.Y)), q(qRound(to.X), qRound(to.Y));
  QTest::mousePress(e, Qt::LeftButton, {}, p);
  QTest::mouseMove(e, (p + q) / 2);
  QTest::mouseMove(e, q);
  QTest::mouseRelease(e, Qt::LeftButton, {}, q);
  ASSERT_EQ(e->SelectionCount(), 1);
  EXPECT_EQ(e->StatusText(), QStringLiteral("1 shape selected"));
  EXPECT_TRUE(window.Modified());
  EXPECT_EQ(Bounds(doc), before);  // nothing is written before the user saves

  // What is saved is what the editor shows: one shape moved (by the grid-snapped offset).
  std::vector<TRectF> shown;
  for (int32_t l = 0; l < e->LayerCount(); ++l)
    for (int32_t i = 0; i < e->GetLayer(l)->ItemCount(); ++i) shown.push_back(e->GetLayer(l)->Items(i)->GetBounds());
  QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(window.Modified());
  const std::vector<TRectF> after = Bounds(doc);
  EXPECT_EQ(after, shown);
  ASSERT_EQ(after.size(), before.size());
  int moved = 0;
  for (size_t i = 0; i < after.size(); ++i) moved += !(after[i] == before[i]);
  EXPECT_EQ(moved, 1);
}

TEST_F(EditCommand, ScreenshotShowsTheEditorAndBadDocumentsEndWithOneLine) {
  if (!QFileInfo::exists(VornTool())) GTEST_SKIP() << "the vorn tool is not built";
  const TToolRun shot =
      RunVornTool({"edit", QString::fromUtf8(kSample), "--screenshot", Path("edit.png"), "--size", "500x640"});
  ASSERT_EQ(shot.Status, 0) << shot.Err.toStdString();
  // The editor shows the document as the viewer does, with its grid over the page as the only
  // difference.
  const TToolRun view =
      RunVornTool({"view", QString::fromUtf8(kSample), "--screenshot", Path("view.png"), "--size", "500x640"});
  ASSERT_EQ(view.Status, 0) << view.Err.toStdString();
  const QImage edited = QImage(Path("edit.png")).convertToFormat(QImage::Format_RGB32);
  const QImage viewed = QImage(Path("view.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(edited.size(), QSize(500, 640));
  ASSERT_EQ(viewed.size(), edited.size());
  int differing = 0;
  for (int y = 0; y < edited.height(); ++y)
    for (int x = 0; x < edited.width(); ++x) differing += edited.pixel(x, y) != viewed.pixel(x, y);
  EXPECT_GT(differing, 0);
  EXPECT_LT(differing, edited.width() * edited.height() / 20);

  QFile damaged(Path("damaged.vorn"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("<VornDocument Version=\"1.0\"><Layers><o Class=");
  damaged.close();
  for (const QString& input : {Path("missing.vorn"), Path("damaged.vorn")}) {
    const TToolRun run = RunVornTool({"edit", input, "--screenshot", Path("out.png")});
    EXPECT_EQ(run.Status, 1) << input.toStdString();
    EXPECT_EQ(run.Errors().size(), 1) << run.Err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("out.png")));
  }
}

}  // namespace
}  // namespace vorn::test
