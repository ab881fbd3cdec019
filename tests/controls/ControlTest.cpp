// The control base and its scroll bars: the non-client area around the client area, the published state
// as text; range and position rules of the bars, the information record, the geometry of buttons, track
// and thumb, scroll messages with smooth steps, auto-repeat and thumb dragging.

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimerEvent>

namespace vorn::test {
namespace {

using Kind = TKxDeScrollbarKind;
using Part = TKxDeScrollerHitPart;

// A scrolling control that records what reaches its hooks and opens its bar handlers.
class TProbeControl : public TKxDeCustomScrollControl {
 public:
  TProbeControl() {
    BorderProps()->SetBorder(TKxDeBorder::kxdcbNone);
    Scrollbars()->SetHeight(17);
    resize(220, 120);
  }
  using TKxDeCustomScrollControl::ScrollbarMouseDown;
  using TKxDeCustomScrollControl::ScrollbarMouseMove;
  using TKxDeCustomScrollControl::ScrollbarMouseUp;

  TKxDeCustomControlScrollbar* H() const { return Scrollbar(Kind::kxdskHorizontal); }
  void Tick() {
    QTimerEvent e(AutoRepeatTimerId());
    QCoreApplication::sendEvent(this, &e);
  }
  void SmoothTick() {
    QTimerEvent e(H()->SmoothTimerId());
    QCoreApplication::sendEvent(this, &e);
  }

  std::function<bool(int32_t&)> Allow;
  std::vector<std::string> Log;
  int Redraws = 0;

  void RedrawScrollbar(Kind K) override {
    ++Redraws;
    TKxDeCustomScrollControl::RedrawScrollbar(K);
  }

 protected:
  bool CanScrollToPos(Kind, int32_t& Pos) override { return Allow ? Allow(Pos) : true; }
  void DoScrollerPositionChanged(Kind K) override {
    Log.push_back("moved " + std::to_string(Scrollbar(K)->Position()));
    TKxDeCustomScrollControl::DoScrollerPositionChanged(K);
  }
  void DoScrollMessage(Kind K, int32_t Code, int32_t Pos) override {
    Log.push_back("message " + std::to_string(Code) + " " + std::to_string(Pos));
    TKxDeCustomScrollControl::DoScrollMessage(K, Code, Pos);
  }
};

// Min, max and page of a bar in one go.
void Range(TKxDeCustomControlScrollbar* B, int32_t Min, int32_t Max, int32_t Page, bool Trim = true) {
  B->SetTrimPageSize(Trim);
  B->SetMax(std::max(Max, B->Max()));
  B->SetMin(Min);
  B->SetMax(Max);
  B->SetPageSize(Page);
}

TEST(ScrollbarRules, RangeAndPositionFollowTheRules) {
  struct Row {
    const char* What;
    int32_t Min, Max, Page;
    bool Trim;
    int32_t Start;
    std::function<void(TKxDeCustomControlScrollbar*)> Act;
    int32_t WantMin, WantMax, WantPos;
  };
  const std::vector<Row> rows = {
      {"a trimmed page stops at Max - Page", 0, 100, 20, true, 0, [](auto* B) { B->SetPosition(95); }, 0, 100, 80},
      {"untrimmed reaches Max", 0, 100, 20, false, 0, [](auto* B) { B->SetPosition(95); }, 0, 100, 95},
      {"no page: Max", 0, 100, 0, true, 0, [](auto* B) { B->SetPosition(95); }, 0, 100, 95},
      {"below Min", 10, 100, 0, true, 50, [](auto* B) { B->SetPosition(5); }, 10, 100, 10},
      {"a page beyond the range: only Min", 0, 100, 150, true, 0, [](auto* B) { B->SetPosition(40); }, 0, 100, 0},
      {"a lower Max pulls the position", 0, 100, 20, true, 80, [](auto* B) { B->SetMax(50); }, 0, 50, 30},
      {"Max below Min is raised", 10, 100, 0, true, 60, [](auto* B) { B->SetMax(-10); }, 10, 10, 10},
      {"Min above Max is lowered", 0, 100, 0, true, 40, [](auto* B) { B->SetMin(200); }, 100, 100, 100},
      {"a larger page pulls the position", 0, 100, 20, true, 80, [](auto* B) { B->SetPageSize(50); }, 0, 100, 50},
      {"a negative range is 0", 5, 100, 0, true, 50, [](auto* B) { B->SetRange(-5); }, 0, 0, 0},
      {"trimming pulls the position", 0, 100, 20, false, 95, [](auto* B) { B->SetTrimPageSize(true); }, 0, 100, 80},
      {"bottom is the reachable range", 0, 100, 30, true, 0, [](auto* B) { B->ScrollMessage(SB_BOTTOM); }, 0, 100, 70},
      {"top", 0, 100, 30, true, 50, [](auto* B) { B->ScrollMessage(SB_TOP); }, 0, 100, 0},
  };
  for (const Row& r : rows) {
    TProbeControl c;
    Range(c.H(), r.Min, r.Max, r.Page, r.Trim);
    c.H()->SetPosition(r.Start);
    c.Log.clear();
    r.Act(c.H());
    EXPECT_EQ(c.H()->Min(), r.WantMin) << r.What;
    EXPECT_EQ(c.H()->Max(), r.WantMax) << r.What;
    EXPECT_EQ(c.H()->Position(), r.WantPos) << r.What;
    // The owner hears of a move exactly when the position moved.
    std::vector<std::string> moved;
    if (r.Start != r.WantPos) moved.push_back("moved " + std::to_string(r.WantPos));
    std::vector<std::string> heard;
    for (const auto& e : c.Log)
      if (e.rfind("moved", 0) == 0) heard.push_back(e);
    EXPECT_EQ(heard, moved) << r.What;
  }
}

TEST(ScrollbarRules, TheBarAndThenTheOwnerMayChangeOrRefuseAPosition) {
  TProbeControl c;
  Range(c.H(), 0, 100, 0);
  // The control keeps positions on multiples of 10; the host refuses anything past 50.
  c.Allow = [](int32_t& Pos) {
    Pos = Pos / 10 * 10;
    return true;
  };
  std::vector<int32_t> offered;
  c.OnScroll = [&](TObject*, Kind, int32_t, int32_t& ScrollPos, bool& CanScroll) {
    offered.push_back(ScrollPos);
    CanScroll = ScrollPos <= 50;
  };
  c.H()->SetPosition(37);
  EXPECT_EQ(c.H()->Position(), 30);
  c.H()->SetPosition(66);
  EXPECT_EQ(c.H()->Position(), 30) << "the host refused 60";
  EXPECT_EQ(offered, (std::vector<int32_t>{30, 60})) << "the host sees the bar's correction";
  c.Allow = [](int32_t&) { return false; };
  c.H()->SetPosition(10);
  EXPECT_EQ(c.H()->Position(), 30);
  EXPECT_EQ(offered.size(), 2u) << "a refusal by the control reaches no host";
}

TEST(ScrollbarRules, ARecordIsAppliedOnceWithItsStepsClamped) {
  TProbeControl c;
  TKxDeScrollInfo info;
  c.GetScrollbarInfo(Kind::kxdskHorizontal, info);
  info.Max = 300;
  info.Min = 100;
  info.Page = 50;
  info.Pos = 400;
  info.SmallChange = 0;
  info.LargeChange = 40000;
  c.Redraws = 0;
  c.SetScrollbarInfo(Kind::kxdskHorizontal, info);
  EXPECT_EQ(c.Redraws, 1) << "one repaint for the whole record";
  c.SetScrollbarInfo(Kind::kxdskHorizontal, info);
  EXPECT_EQ(c.Redraws, 1) << "an unchanged record is not applied again";
  TKxDeScrollInfo back;
  c.GetScrollbarInfo(Kind::kxdskHorizontal, back);
  EXPECT_EQ(back.SmallChange, 1);
  EXPECT_EQ(back.LargeChange, 32767);
  EXPECT_EQ(back.Pos, 250);
  EXPECT_EQ(back.Range, 200);
}

// ---- Geometry ---------------------------------------------------------------------------------------

// Left and right ends of a rectangle along a horizontal bar.
std::pair<int32_t, int32_t> Span(const TRect& R) { return {R.Left, R.Right}; }

TEST(ScrollbarGeometry, ButtonsAndTrackFollowTheLayout) {
  struct Row {
    TKxDeScrollButtonLayout Layout;
    std::pair<int32_t, int32_t> Left, Extra, Right, Track;
  };
  const Row rows[] = {
      {TKxDeScrollButtonLayout::kxdsbDefault, {0, 17}, {169, 186}, {186, 203}, {17, 169}},
      {TKxDeScrollButtonLayout::kxdsbLeftTop, {0, 17}, {17, 34}, {34, 51}, {51, 203}},
      {TKxDeScrollButtonLayout::kxdsbRightBottom, {152, 169}, {169, 186}, {186, 203}, {0, 152}},
  };
  for (const Row& r : rows) {
    TProbeControl c;
    c.Scrollbars()->SetExtraButton(true);
    c.Scrollbars()->SetLayout(r.Layout);
    c.H()->SetButtonSize(17);
    EXPECT_EQ(Span(c.H()->GetLeftButtonRect()), r.Left) << EnumToText(r.Layout).toStdString();
    EXPECT_EQ(Span(c.H()->GetExtraButtonRect()), r.Extra) << EnumToText(r.Layout).toStdString();
    EXPECT_EQ(Span(c.H()->GetRightButtonRect()), r.Right) << EnumToText(r.Layout).toStdString();
    EXPECT_EQ(Span(c.H()->GetTrackRect()), r.Track) << EnumToText(r.Layout).toStdString();
  }
  TProbeControl small;
  small.Scrollbars()->SetExtraButton(true);
  small.resize(17 + 40, 120);
  small.H()->SetButtonSize(17);
  EXPECT_EQ(small.H()->GetButtonLength(), 13) << "three buttons share 40 pixels";
}

TEST(ScrollbarGeometry, TheThumbShowsPageAndPosition) {
  TProbeControl c;
  c.H()->SetButtonSize(17);  // track 17..186, 169 pixels
  Range(c.H(), 0, 100, 20);
  EXPECT_EQ(c.H()->GetThumbLength(), 33) << "20 x 169 / 101, rounded";
  for (auto [pos, left] : {std::pair{0, 17}, {40, 85}, {80, 153}}) {
    c.H()->SetPosition(pos);
    EXPECT_EQ(Span(c.H()->GetThumbRect()), (std::pair{left, left + 33})) << pos;
  }
  const int32_t system = TKxDeCustomScrollControl::SystemThumbSize();
  Range(c.H(), 0, 100, 0);
  EXPECT_EQ(c.H()->GetThumbLength(), system) << "no page: the system's thumb";
  Range(c.H(), 0, 1000, 1);
  EXPECT_EQ(c.H()->GetThumbLength(), std::max(system * 2 / 3, 3)) << "a tiny page: two thirds of it";
  c.H()->SetThumbSize(500);
  EXPECT_EQ(c.H()->GetThumbLength(), 169) << "never longer than the track";
  c.H()->SetThumbSize(-1);
  c.H()->SetButtonSize(101);  // a track of 1 pixel
  EXPECT_EQ(c.H()->GetThumbLength(), 0);
  c.H()->SetButtonSize(17);
  Range(c.H(), 0, 20, 20);
  EXPECT_TRUE(c.H()->GetThumbRect().Width() == 0) << "a range of 0 shows no thumb";
  Range(c.H(), 0, 100, 20);
  c.H()->SetEnabled(false);
  EXPECT_EQ(c.H()->GetThumbLength(), 0) << "a disabled bar shows no thumb";
}

TEST(ScrollbarGeometry, PositionsUnderThePointerMatchTheThumb) {
  TProbeControl c;
  c.H()->SetButtonSize(17);
  // Fewer positions than pixels: every thumb start maps back to its own position.
  Range(c.H(), 0, 100, 20);
  for (int32_t pos = 0; pos <= 80; ++pos) {
    c.H()->SetPosition(pos);
    ASSERT_EQ(c.H()->GetPositionAtPos(c.H()->GetThumbRect().Left, 110), pos);
  }
  EXPECT_EQ(c.H()->GetPositionAtPos(5, 110), 0) << "before the track";
  EXPECT_EQ(c.H()->GetPositionAtPos(17 + 136 + 10, 110), 80) << "under the last thumb length";
  EXPECT_EQ(c.H()->GetPositionAtPos(195, 110), 80) << "after the track";
  // More positions than pixels: the position found draws its thumb at the pointer, and
  // positions grow with the pointer.
  Range(c.H(), 0, 5000, 0);
  int32_t last = -1;
  for (int32_t x = 17; x < 186 - c.H()->GetThumbLength(); ++x) {
    const int32_t pos = c.H()->GetPositionAtPos(x, 110);
    ASSERT_GT(pos, last) << x;
    last = pos;
    c.H()->SetPosition(pos);
    ASSERT_EQ(c.H()->GetThumbRect().Left, x);
  }
}

// ---- Scrolling ---------------------------------------------------------------------------------------

TEST(ScrollbarScrolling, SmoothScrollsRunInStepsOfTheTimer) {
  TProbeControl c;
  Range(c.H(), 0, 100, 0);
  c.H()->SetSmallChange(10);
  c.H()->SetLargeChange(30);
  c.H()->SetSmooth(true);
  c.H()->ScrollMessage(SB_PAGEDOWN);
  // A page in twelve steps of the timer and the rest.
  std::vector<int32_t> seen{c.H()->Position()};
  while (c.H()->SmoothScrolling() && seen.size() < 20) {
    c.SmoothTick();
    seen.push_back(c.H()->Position());
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 30}));
  EXPECT_EQ(c.H()->SmoothTimerId(), 0);
  c.H()->ScrollMessage(SB_LINEUP);
  c.H()->ScrollMessage(SB_LINEUP);
  c.H()->FinishSmoothScroll();
  EXPECT_EQ(c.H()->Position(), 10) << "a new scroll completes the running one first";
}

TEST(ScrollbarScrolling, AHeldButtonRepeatsAfterTheDelayAtTheRateUntilTheEnd) {
  TProbeControl c;
  Range(c.H(), 0, 100, 20);
  c.H()->SetButtonSize(17);
  c.H()->SetSmallChange(5);
  ASSERT_TRUE(c.ScrollbarMouseDown(195, 110));  // the right button
  EXPECT_EQ(c.H()->Position(), 5) << "the press scrolls once";
  EXPECT_NE(c.AutoRepeatTimerId(), 0);
  EXPECT_EQ(c.AutoRepeatInterval(), TKxDeCustomScrollControl::KeyboardRepeatDelay());
  EXPECT_EQ(c.DownHittest().HitPart, Part::kxspRightButton);
  c.Tick();
  EXPECT_EQ(c.H()->Position(), 10);
  EXPECT_EQ(c.AutoRepeatInterval(), TKxDeCustomScrollControl::KeyboardRepeatInterval());
  int ticks = 1;
  while (c.AutoRepeatTimerId() != 0 && ticks < 100) {
    c.Tick();
    ++ticks;
  }
  EXPECT_EQ(c.H()->Position(), 80);
  EXPECT_EQ(ticks, 15) << "the tick that reaches the end stops the repeat";
  EXPECT_EQ(c.DownHittest().Kind, TKxDeScrollbarHitKind::kxshkNone);
  // Holding the left button, paused, a tick does nothing; resumed, the repeat goes on; released, it stops.
  ASSERT_TRUE(c.ScrollbarMouseDown(5, 110));
  c.PauseScrollingBars();
  c.Tick();
  EXPECT_EQ(c.H()->Position(), 75);
  c.ResumeScrollingBars();
  c.Tick();
  EXPECT_EQ(c.H()->Position(), 70);
  EXPECT_TRUE(c.ScrollbarMouseUp(5, 110));
  EXPECT_EQ(c.AutoRepeatTimerId(), 0);
}

TEST(ScrollbarScrolling, AHeldTrackPagesUntilTheThumbReachesThePointer) {
  TProbeControl c;
  Range(c.H(), 0, 100, 20);
  c.H()->SetButtonSize(17);
  c.H()->SetLargeChange(30);
  ASSERT_TRUE(c.ScrollbarMouseDown(150, 110));
  EXPECT_EQ(c.DownHittest().HitPart, Part::kxspRightSpare);
  EXPECT_EQ(c.H()->Position(), 30);
  c.Tick();
  EXPECT_EQ(c.H()->Position(), 60);
  ASSERT_EQ(c.H()->PartAt(150, 110), Part::kxspThumb);
  c.Tick();
  EXPECT_EQ(c.H()->Position(), 60) << "the thumb is under the pointer now";
  EXPECT_EQ(c.AutoRepeatTimerId(), 0);
}

TEST(ScrollbarScrolling, DraggingTheThumbTracksOrWaitsForTheRelease) {
  for (bool track : {true, false}) {
    TProbeControl c;
    Range(c.H(), 0, 100, 20);
    c.H()->SetButtonSize(17);
    c.H()->SetTrack(track);
    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
    // Hovering (a move without buttons, which the test mouse cannot send offscreen).
    QMouseEvent hover(QEvent::MouseMove, QPointF(30, 110), c.mapToGlobal(QPointF(30, 110)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&c, &hover);
    EXPECT_EQ(c.HotHittest().HitPart, Part::kxspThumb);
    c.Log.clear();
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(30, 110));
    QTest::mouseMove(&c, QPoint(30 + 34, 110));
    QTest::mouseMove(&c, QPoint(30 + 68, 110));
    if (track) {
      EXPECT_EQ(c.H()->Position(), 40);
    } else {
      EXPECT_EQ(c.H()->Position(), 0) << "without Track the position waits";
      EXPECT_EQ(Span(c.H()->GetThumbRect()), (std::pair{85, 118})) << "the thumb follows the pointer";
    }
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(30 + 68, 110));
    EXPECT_EQ(c.H()->Position(), 40);
    const std::vector<std::string> tracked{"message 5 20", "moved 20", "message 5 40", "moved 40", "message 4 40"};
    const std::vector<std::string> released{"message 4 40", "moved 40"};
    EXPECT_EQ(c.Log, track ? tracked : released);
    EXPECT_FALSE(c.ThumbDragging());
  }
}

// ---- The control base ------------------------------------------------------------------------------

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
}

TEST(ControlText, BadTextIsRefusedWithItsLineAndChangesNothing) {
  const QString good = "object S: TKxDeSurface\n  Zoom = 300\n  Layer.Width = 900\n";
  const struct {
    QString Text;
    const char* Message;
  } rows[] = {
      {good + "  Layer.Depth = 3\nend\n", "Line 4: unknown property \"Layer.Depth\""},
      {good + "  Grid.GridType = kxgtSquare\nend\n", "Line 4: \"kxgtSquare\" is not a value of \"Grid.GridType\""},
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
