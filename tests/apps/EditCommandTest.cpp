// `vorn view` and `vorn edit`: the view screenshot shows the document exactly as `vorn render` draws
// it; the edit window edits the document and Ctrl+S writes it back, its screenshot differs from the
// view by its rulers and grid, and guides it shows are saved; documents either command cannot show
// end it with one line.

#include "EditWindow.h"
#include "support/TestSupport.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace vorn::test {
namespace {

const char* const kSample = VORN_SOURCE_DIR "/samples/shipping-label.vorn";

// The window test needs no built tool; the others skip without one.
class EditCommand : public TToolTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
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

TEST_F(EditCommand, GuidesPulledOutOfTheRulersAreSavedAndComeBack) {
  const QString doc = Path("guides.vorn");
  ASSERT_TRUE(QFile::copy(QString::fromUtf8(kSample), doc));
  QString error;
  {
    vorncli::TEditWindow window;
    ASSERT_TRUE(window.Open(doc, error)) << error.toStdString();
    window.resize(700, 900);
    window.show();
    TKxDeEditor* e = window.Editor();
    ASSERT_EQ(e->Guides()->GetCount(), 0);
    const TPointF to = e->LayerToScreen(TPointF{40, 30});
    const QPoint ruler(qRound(to.X), 8);
    const QPoint end(qRound(to.X), qRound(to.Y));
    QTest::mousePress(e, Qt::LeftButton, {}, ruler);
    QTest::mouseMove(e, end);
    QTest::mouseRelease(e, Qt::LeftButton, {}, end);
    ASSERT_EQ(e->Guides()->GetCount(), 1);
    EXPECT_TRUE(window.Modified());
    ASSERT_TRUE(window.Save(error)) << error.toStdString();
  }
  vorncli::TEditWindow reopened;
  ASSERT_TRUE(reopened.Open(doc, error)) << error.toStdString();
  const std::vector<TKxDeDocumentGuide> guides = reopened.Editor()->Guides()->SaveToDocument();
  ASSERT_EQ(guides.size(), 1u);
  EXPECT_NEAR(guides[0].Position, 30, 0.5);
  EXPECT_EQ(guides[0].GuideType, TKxDeGuideType::kxgtHorizontal);
  EXPECT_FALSE(reopened.Modified());
}

TEST_F(EditCommand, ScreenshotsShowWhatRenderDrawsTheEditorAddsRulersAndGrid) {
  if (!QFileInfo::exists(VornTool())) GTEST_SKIP() << "the vorn tool is not built";
  const QString doc = QString::fromUtf8(kSample);
  for (const char* command : {"view", "edit"}) {
    const TToolRun shot = RunVornTool({command, doc, "--screenshot", Path(command + QStringLiteral(".png")), "--size",
                                       "520x700"});
    ASSERT_EQ(shot.Status, 0) << command << ": " << shot.Err.toStdString();
  }
  const TToolRun render = RunVornTool({"render", doc, "-o", Path("render.png"), "--dpi", "96"});
  ASSERT_EQ(render.Status, 0) << render.Err.toStdString();
  const QImage viewed = QImage(Path("view.png")).convertToFormat(QImage::Format_RGB32);
  const QImage edited = QImage(Path("edit.png")).convertToFormat(QImage::Format_RGB32);
  const QImage page = QImage(Path("render.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(viewed.size(), QSize(520, 700));
  ASSERT_EQ(edited.size(), viewed.size());
  ASSERT_FALSE(page.isNull());

  // Where a viewer of that size puts the page (its buffer at the rounded corner).
  TKxDeViewer layout;
  layout.resize(520, 700);
  layout.SetShowStatusBar(true);
  layout.Layer()->SetBounds(page.width(), page.height());
  layout.show();
  const TPointF origin = layout.LayerToScreen(TPointF{0, 0});
  const QImage area = viewed.copy(static_cast<int>(std::nearbyint(origin.X)),
                                  static_cast<int>(std::nearbyint(origin.Y)), page.width(), page.height());
  EXPECT_EQ(DifferingPixels(area, page), 0) << "of " << page.width() * page.height() << " pixels";
  // The editor shows the page as the viewer does, beside its rulers, with its grid over the page
  // as the only difference.
  TKxDeEditor editor;
  editor.resize(520, 700);
  editor.SetShowStatusBar(true);
  editor.Layer()->SetBounds(page.width(), page.height());
  editor.show();
  const TPointF corner = editor.LayerToScreen(TPointF{0, 0});
  ASSERT_GT(corner.X, origin.X);
  const QImage editedArea = edited.copy(static_cast<int>(std::nearbyint(corner.X)),
                                        static_cast<int>(std::nearbyint(corner.Y)), page.width(), page.height());
  const int gridded = DifferingPixels(editedArea, area);
  EXPECT_GT(gridded, 0);
  EXPECT_LT(gridded, page.width() * page.height() / 20);
}

TEST_F(EditCommand, WhatCannotBeShownEndsWithOneLine) {
  if (!QFileInfo::exists(VornTool())) GTEST_SKIP() << "the vorn tool is not built";
  QFile damaged(Path("damaged.vorn"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("<VornDocument Version=\"1.0\"><Layers><o Class=");
  damaged.close();
  QImage(8, 8, QImage::Format_RGB32).save(Path("picture.png"));
  for (const char* command : {"view", "edit"}) {
    for (const QString& input : {Path("missing.vorn"), Path("damaged.vorn"), Path("picture.png")}) {
      const TToolRun run = RunVornTool({command, input, "--screenshot", Path("out.png")});
      EXPECT_EQ(run.Status, 1) << command << " " << input.toStdString();
      const QString err = QString::fromUtf8(run.Err).trimmed();
      EXPECT_EQ(err.count(QLatin1Char('\n')), 0) << command << ": " << err.toStdString();
      EXPECT_TRUE(err.startsWith(QLatin1String("vorn: "))) << command << ": " << err.toStdString();
      EXPECT_FALSE(QFileInfo::exists(Path("out.png")));
    }
  }
}

}  // namespace
}  // namespace vorn::test
