// The control base: the non-client area (border, status bar, bars) around the client area, and
// the published state as text.

#include <vorn/common/Exceptions.h>
#include <vorn/surface/KxDeSurface.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace vorn::test {
namespace {

TEST(ControlLayout, BorderStatusBarAndBarsSurroundTheClientArea) {
  TKxDeCustomScrollControl c;
  c.resize(300, 200);
  c.BorderProps()->SetBorder(TKxDeBorder::kxdcb3DLowered);
  c.BorderProps()->SetWidth(3);
  c.BorderProps()->SetInnerBorder(TKxDeBorder::kxdcbFlat);
  c.Scrollbars()->SetHeight(17);
  EXPECT_EQ(c.CalculateBorder(), 6);
  c.SetShowStatusBar(true);
  const int32_t s = c.GetStatusBarRect().Height();
  ASSERT_GT(s, 0);
  EXPECT_EQ(c.GetStatusBarRect(), (TRect{6, 194 - s, 294, 194}));
  EXPECT_EQ(c.GetHorzScrollbarRect(), (TRect{6, 194 - s - 17, 277, 194 - s}));
  EXPECT_EQ(c.GetVertScrollbarRect(), (TRect{277, 6, 294, 194 - s - 17}));
  EXPECT_EQ(c.GetClientRect(), (TRect{6, 6, 277, 194 - s - 17}));
  // Too small for its frame, the client area is empty, never negative.
  c.resize(20, 20);
  const TRect r = c.GetClientRect();
  EXPECT_GE(r.Width(), 0);
  EXPECT_GE(r.Height(), 0);
}

// The published state of a surface with something changed at every level of sub-objects.
void ChangeEverything(TKxDeSurface& S) {
  S.setObjectName("Designer");
  S.SetColor(0x123456);
  S.SetIndent(7);
  S.SetZoom(250);
  S.SetShowScrollbars(false);
  S.SetShowStatusBar(true);
  S.SetStatusText("It's\nready");
  S.BorderProps()->SetBorder(TKxDeBorder::kxdcbEtched);
  S.BorderProps()->SetWidth(2);
  S.Scrollbars()->SetHeight(12);
  S.Scrollbars()->SetLayout(TKxDeScrollButtonLayout::kxdsbRightBottom);
  S.Scrollbars()->Horizontal()->Thumb()->SetHotColor(clRed);
  S.Scrollbars()->Vertical()->SetTrack(true);
  S.Frame()->SetShadowOffset(5);
  S.Grid()->SetX(2.5f);
  S.Grid()->SetGridType(TKxDeGridType::kxgtDot);
  S.Layer()->SetBounds(640, 480);
  S.Layer()->Checkers()->SetWidth(7);
  S.Layer()->SetTransparency(TKxDeLayerTransparency::kxltChecked);
  S.PictureProps()->SetOrient(TKxDePictureOrient::kxdpoStretch);
}

TEST(ControlText, PublishedStateGoesThroughAFileAndComesBackTheSame) {
  TKxDeSurface saved;
  const QString defaults = saved.SaveToText();
  ChangeEverything(saved);
  const QString text = saved.SaveToText();
  ASSERT_NE(text, defaults);
  EXPECT_TRUE(text.startsWith("object Designer: TKxDeSurface\n"));
  EXPECT_TRUE(text.contains("\n  BorderProps.Border = kxdcbEtched\n"));
  EXPECT_TRUE(text.contains("\n  Scrollbars.Horizontal.Thumb.HotColor = 255\n"));
  EXPECT_TRUE(text.contains("\n  StatusText = 'It''s'#10'ready'\n"));
  QTemporaryDir dir;
  const QString file = dir.filePath("surface.txt");
  saved.SaveToFile(file);
  TKxDeSurface copy;
  copy.LoadFromFile(file);
  EXPECT_EQ(copy.SaveToText().section('\n', 1), text.section('\n', 1)) << "every published value";
  EXPECT_EQ(copy.Zoom(), 250);
  EXPECT_EQ(copy.Layer()->Width(), 640);
  EXPECT_EQ(copy.StatusText(), "It's\nready");
}

TEST(ControlText, BadTextIsRefusedWithItsLineAndChangesNothing) {
  const QString good = "object S: TKxDeSurface\n  Zoom = 300\n  Layer.Width = 900\n";
  const struct {
    QString Text;
    const char* Message;
  } rows[] = {
      {good + "  Layer.Depth = 3\nend\n", "Line 4: unknown property \"Layer.Depth\""},
      {good + "  Grid.GridType = kxgtSquare\nend\n", "Line 4: \"kxgtSquare\" is not a value of \"Grid.GridType\""},
      {good + "  Zoom = 70000\nend\n", "Line 4: \"70000\" is not a value of \"Zoom\""},
      {good + "  Layer = 5\nend\n", "Line 4: \"Layer\" cannot be set from text"},
      {good + "  StatusText = 'open\nend\n", "Line 4: \"'open\" is not a value of \"StatusText\""},
      {good, "Line 4: \"end\" is missing"},
      {"object S: TKxDeLayerManager\nend\n", "Line 1: the settings of a TKxDeLayerManager do not fit a TKxDeSurface"},
  };
  for (const auto& r : rows) {
    TKxDeSurface s;
    const QString before = s.SaveToText();
    try {
      s.LoadFromText(r.Text);
      ADD_FAILURE() << "accepted: " << r.Message;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message().toStdString(), r.Message);
    }
    EXPECT_EQ(s.SaveToText(), before) << r.Message;
  }
  TKxDeSurface s;
  EXPECT_THROW(s.LoadFromFile(QStringLiteral("/nonexistent/settings.txt")), Exception);
}

}  // namespace
}  // namespace vorn::test
