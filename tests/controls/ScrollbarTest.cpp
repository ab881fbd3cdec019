// The custom scroll bars: range and position rules, the information record, the geometry of
// buttons, track and thumb, scroll messages with smooth steps, auto-repeat and thumb dragging.

#include <vorn/controls/KxDeCustomScrollControl.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimerEvent>

#include <functional>
#include <string>
#include <vector>

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
  EXPECT_EQ(info.Range, 100);
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

TEST(ScrollbarGeometry, TheBarsLieBesideTheClientArea) {
  TProbeControl c;
  EXPECT_EQ(c.GetHorzScrollbarRect(), (TRect{0, 103, 203, 120}));
  EXPECT_EQ(c.GetVertScrollbarRect(), (TRect{203, 0, 220, 103}));
  EXPECT_EQ(c.GetScrollbarCornerRect(), (TRect{203, 103, 220, 120}));
  EXPECT_EQ(c.GetClientRect(), (TRect{0, 0, 203, 103}));
  c.Scrollbar(Kind::kxdskVertical)->SetVisible(false);
  EXPECT_EQ(c.GetHorzScrollbarRect(), (TRect{0, 103, 220, 120}));
  EXPECT_EQ(c.GetClientRect(), (TRect{0, 0, 220, 103}));
}

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
  small.resize(17 + 8, 120);
  EXPECT_EQ(small.H()->GetButtonLength(), 0) << "2 pixels a button is no button";
  EXPECT_EQ(Span(small.H()->GetTrackRect()), (std::pair{0, 8}));
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
  struct Row {
    const char* What;
    int32_t Start;
    int32_t Code;
    std::vector<int32_t> Positions;  // after the message, then after each tick
  };
  const Row rows[] = {
      {"a line in four steps", 0, SB_LINEDOWN, {2, 4, 6, 8, 10}},
      {"a page in twelve steps and the rest", 0, SB_PAGEDOWN, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 30}},
      {"up, stopped at the start", 4, SB_LINEUP, {2, 0, 0}},
  };
  for (const Row& r : rows) {
    TProbeControl c;
    Range(c.H(), 0, 100, 0);
    c.H()->SetSmallChange(10);
    c.H()->SetLargeChange(30);
    c.H()->SetPosition(r.Start);
    c.H()->SetSmooth(true);
    c.H()->ScrollMessage(r.Code);
    std::vector<int32_t> seen{c.H()->Position()};
    while (c.H()->SmoothScrolling() && seen.size() < 20) {
      c.SmoothTick();
      seen.push_back(c.H()->Position());
    }
    EXPECT_EQ(seen, r.Positions) << r.What;
    EXPECT_EQ(c.H()->SmoothTimerId(), 0) << r.What;
  }
  TProbeControl c;
  Range(c.H(), 0, 100, 0);
  c.H()->SetSmallChange(10);
  c.H()->SetSmooth(true);
  c.H()->ScrollMessage(SB_LINEDOWN);
  c.H()->ScrollMessage(SB_LINEDOWN);
  c.H()->FinishSmoothScroll();
  EXPECT_EQ(c.H()->Position(), 20) << "a new scroll completes the running one first";
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
  // Holding the left button: released, the repeat stops.
  ASSERT_TRUE(c.ScrollbarMouseDown(5, 110));
  EXPECT_EQ(c.H()->Position(), 75);
  EXPECT_TRUE(c.ScrollbarMouseUp(5, 110));
  EXPECT_EQ(c.AutoRepeatTimerId(), 0);
  // Paused, a tick does nothing; resumed, the repeat goes on at the rate.
  ASSERT_TRUE(c.ScrollbarMouseDown(5, 110));
  c.PauseScrollingBars();
  c.Tick();
  EXPECT_EQ(c.H()->Position(), 70);
  c.ResumeScrollingBars();
  EXPECT_EQ(c.AutoRepeatInterval(), TKxDeCustomScrollControl::KeyboardRepeatInterval());
  c.Tick();
  EXPECT_EQ(c.H()->Position(), 65);
  c.ScrollbarMouseUp(5, 110);
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
    QMouseEvent hover(QEvent::MouseMove, QPointF(30, 110), c.mapToGlobal(QPointF(30, 110)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
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

}  // namespace
}  // namespace vorn::test
