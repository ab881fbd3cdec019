// The surface's view: the page's place, scroll bars and offsets, mapping both ways at every zoom,
// zooming, the wheel and the keys; and the widget as a user sees it.

#include "SurfaceTestSupport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>

namespace vorn::test {
namespace {

// A shown surface of the given widget size with a page of the given size.
struct TView {
  TCallLog Log;
  TLoggedSurface S{&Log};
  // Border: a lowered border 2 pixels wide, so that the client area does not start at (0, 0).
  TView(int W, int H, int PageW, int PageH, bool Bars = true, bool Border = false) {
    if (Border) S.BorderProps()->SetBorder(TKxDeBorder::kxdcb3DLowered);
    S.SetShowScrollbars(Bars);
    S.Layer()->SetBounds(PageW, PageH);
    S.resize(W, H);
    S.show();
  }
  TRectF Page() const {
    TRect r;
    TRectF rf;
    S.LayerBounds(r, rf);
    return rf;
  }
  // The farthest the page scrolls, as a positive pair.
  std::pair<int32_t, int32_t> MaxScroll() {
    const int32_t h = S.HorizontalPos();
    const int32_t v = S.VerticalPos();
    S.SetLayerOffset(-100000, -100000);
    const std::pair<int32_t, int32_t> out{-S.HorizontalPos(), -S.VerticalPos()};
    S.SetLayerOffset(h, v);
    return out;
  }
  void Wheel(int Delta, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    const QPointF at(50, 50);
    QWheelEvent e(at, S.mapToGlobal(at), QPoint(), QPoint(0, Delta), Qt::NoButton, Mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&S, &e);
  }
};

TEST(SurfaceView, ThePageIsCentredOrIndentedAndScrollsAsFarAsItReachesOut) {
  const struct {
    const char* What;
    int W, H, PageW, PageH, Zoom;
    bool Bars;
    bool Border;
    TRectF Want;
    std::pair<int32_t, int32_t> MaxScroll;
  } rows[] = {
      {"centred in a larger client", 1000, 800, 400, 400, 100, true, false, {300, 200, 700, 600}, {0, 0}},
      {"indented in a smaller client", 300, 300, 400, 400, 100, false, false, {20, 20, 420, 420}, {140, 140}},
      {"the same client beside two bars", 316, 316, 400, 400, 100, true, false, {20, 20, 420, 420}, {140, 140}},
      {"and inside a border", 320, 320, 400, 400, 100, true, true, {22, 22, 422, 422}, {140, 140}},
      {"zoomed out it fits again", 300, 300, 400, 400, 50, true, false, {50, 50, 250, 250}, {0, 0}},
      {"wide page, tall client", 300, 600, 900, 100, 100, true, false, {20, 242, 920, 342}, {640, 0}},
      {"a 1 % view of a large page", 300, 300, 20000, 10000, 1, true, false, {50, 100, 250, 200}, {0, 0}},
  };
  for (const auto& r : rows) {
    TView v(r.W, r.H, r.PageW, r.PageH, r.Bars, r.Border);
    v.S.SetZoom(r.Zoom);
    EXPECT_EQ(v.Page(), r.Want) << r.What;
    EXPECT_EQ(v.MaxScroll(), r.MaxScroll) << r.What;
  }
  TView v(300, 300, 400, 400);
  v.S.SetLayerOffset(50, 50);
  EXPECT_EQ(v.S.HorizontalPos(), 0) << "the page never scrolls the other way";
  EXPECT_EQ(v.S.VerticalPos(), 0);
}

TEST(SurfaceView, BarsAppearWhereThePageDoesNotFitAndTakeRoomFromEachOther) {
  // A 500 x 400 widget: 460 x 360 for the page without bars (indent 20), bars 16 thick.
  const struct {
    int PageW, PageH;
    bool H, V;
  } rows[] = {
      {460, 360, false, false}, {461, 300, true, false}, {461, 344, true, false}, {461, 345, true, true},
      {300, 361, false, true},  {444, 361, false, true}, {445, 361, true, true},
  };
  for (const auto& r : rows) {
    TView v(500, 400, r.PageW, r.PageH);
    const std::string what = std::to_string(r.PageW) + " x " + std::to_string(r.PageH);
    EXPECT_EQ(v.S.IsHorzScrollBarVisible(), r.H) << what;
    EXPECT_EQ(v.S.IsVertScrollBarVisible(), r.V) << what;
    TKxDeScrollInfo h, vert;
    v.S.GetScrollbarInfo(TKxDeScrollbarKind::kxdskHorizontal, h);
    v.S.GetScrollbarInfo(TKxDeScrollbarKind::kxdskVertical, vert);
    if (r.H) {
      EXPECT_EQ(h.Max, r.PageW) << what;
      EXPECT_EQ(h.Page, v.S.GetClientRect().Width() - 40) << what << ": the page is the client less the indent";
      EXPECT_EQ(h.Max - h.Page, v.MaxScroll().first) << what << ": the bar reaches as far as the offset";
    }
    if (r.V) {
      EXPECT_EQ(vert.Max, r.PageH) << what;
      EXPECT_EQ(vert.Max - vert.Page, v.MaxScroll().second) << what;
    }
  }
  TView v(500, 400, 1000, 1000);
  v.S.SetLayerOffset(-100, -200);
  v.S.SetShowScrollbars(false);
  EXPECT_FALSE(v.S.IsHorzScrollBarVisible());
  EXPECT_FALSE(v.S.IsVertScrollBarVisible());
  EXPECT_EQ(v.S.HorizontalPos(), 0);
  EXPECT_EQ(v.S.VerticalPos(), 0);
}

TEST(SurfaceView, WorldAndScreenPointsRoundTripAtEveryZoomAndOffset) {
  TView v(600, 400, 2000, 1500);
  for (int zoom : {1, 33, 100, 250, 10000}) {
    v.S.SetZoom(zoom);
    v.S.SetLayerOffset(-37, -55);
    if (zoom >= 100) {
      EXPECT_EQ(v.S.HorizontalPos(), -37) << zoom;
      EXPECT_EQ(v.S.VerticalPos(), -55) << zoom;
    }
    const TRectF page = v.Page();
    for (TPointF w : {TPointF{0, 0}, TPointF{123.25f, 77.5f}, TPointF{1999, 1499}, TPointF{-50, 10}}) {
      const TPointF p = v.S.LayerToScreen(w);
      EXPECT_NEAR(p.X, page.Left + w.X * zoom / 100.0, 0.05) << zoom;
      const TPointF back = v.S.ScreenToLayer(p);
      EXPECT_NEAR(back.X, w.X, 0.01) << zoom;
      EXPECT_NEAR(back.Y, w.Y, 0.01) << zoom;
    }
    // A view point is the page's corner plus the world point.
    const TPointF w = v.S.ScreenToLayer(TPointF{583, 383}), view = v.S.ScreenToWorld(TPointF{583, 383});
    EXPECT_NEAR(view.X, page.Left + w.X, 0.02) << zoom;
    EXPECT_NEAR(view.Y, page.Top + w.Y, 0.02) << zoom;
    const TRectF seen = v.S.GetViewRect();
    const TPointF corner = v.S.ScreenToLayer(TPointF{0, 0});
    EXPECT_NEAR(seen.Left, corner.X, 0.01) << zoom;
    EXPECT_NEAR(seen.Top, corner.Y, 0.01) << zoom;
    EXPECT_EQ(seen.Width(), v.S.GetClientRect().Width()) << zoom;
  }
}

TEST(SurfaceView, ZoomingKeepsThePointAtTheClientsCorner) {
  TView v(400, 300, 1000, 1000, true, true);
  v.S.SetLayerOffset(-100, -100);
  const TPointF corner{2, 2};  // inside the border
  for (int zoom : {200, 150, 10000, 250, 100}) {
    const TPointF before = v.S.ScreenToLayer(corner);
    v.S.SetZoom(zoom);
    const TPointF after = v.S.ScreenToLayer(corner);
    // Offsets are whole pixels: the point stays within one pixel.
    EXPECT_NEAR(after.X, before.X, 100.0 / zoom) << zoom;
    EXPECT_NEAR(after.Y, before.Y, 100.0 / zoom) << zoom;
  }
  v.S.SetZoom(0);
  EXPECT_EQ(v.S.GetZoom(), 0.01);
  v.S.SetZoom(20000);
  EXPECT_EQ(v.S.Zoom(), 10000);
}

TEST(SurfaceView, ZoomRectBringsTheRectangleToTheClientsCorner) {
  TView v(404, 304, 1000, 1000, false, true);
  v.S.ZoomRect(TRectF{100, 100, 300, 250});
  EXPECT_EQ(v.S.Zoom(), 200);
  const TPointF corner = v.S.LayerToScreen(TPointF{100, 100});
  EXPECT_NEAR(corner.X, 2, 1);
  EXPECT_NEAR(corner.Y, 2, 1);
  v.S.ZoomRect(TRectF{2, 2, 402, 302});
  EXPECT_EQ(v.S.Zoom(), 200) << "the client rectangle itself does nothing";
  v.S.ZoomRect(TRectF{10, 10, 10, 200});
  EXPECT_EQ(v.S.Zoom(), 200) << "a rectangle without width does nothing";
}

TEST(SurfaceView, WheelKeysAndBarsScrollWithinTheRange) {
  TView v(400, 300, 1000, 800);
  // Client 384 x 284 beside the bars: the page reaches 1000 - 344 and 800 - 244 past it.
  ASSERT_EQ(v.MaxScroll(), (std::pair{656, 556}));
  using Act = std::function<void()>;
  auto key = [&](Qt::Key K, Qt::KeyboardModifiers M = Qt::NoModifier) {
    return Act([&, K, M] { QTest::keyClick(&v.S, K, M); });
  };
  auto wheel = [&](int D, Qt::KeyboardModifiers M = Qt::NoModifier) { return Act([&, D, M] { v.Wheel(D, M); }); };
  const Qt::KeyboardModifiers sideways = Qt::ControlModifier | Qt::ShiftModifier;
  const struct {
    const char* What;
    Act Do;
    int32_t H, V;
  } steps[] = {
      {"wheel down", wheel(-120), 0, -30},
      {"line down", key(Qt::Key_Down), 0, -40},
      {"wheel up", wheel(120), 0, -10},
      {"page down", key(Qt::Key_PageDown), 0, -34},
      {"to the end", key(Qt::Key_End), 0, -556},
      {"wheel past the end", wheel(-120), 0, -556},
      {"home", key(Qt::Key_Home), 0, 0},
      {"wheel past the start", wheel(120), 0, 0},
      {"line right", key(Qt::Key_Right), -10, 0},
      {"wheel sideways", wheel(-120, sideways), -40, 0},
      {"to the right end", key(Qt::Key_End, Qt::ShiftModifier), -656, 0},
      {"wheel sideways past the end", wheel(-120, sideways), -656, 0},
      {"Ctrl + wheel zooms (here: nothing)", wheel(-120, Qt::ControlModifier), -656, 0},
      {"a third of a notch", wheel(-40), -656, 0},
      {"two thirds", wheel(-40), -656, 0},
      {"a whole notch at last", wheel(-40), -656, -30},
      {"the bar's down button", [&] { QTest::mouseClick(&v.S, Qt::LeftButton, {}, QPoint(390, 280)); }, -656, -40},
      {"the bar moved by its owner", [&] { v.S.Scrollbar(TKxDeScrollbarKind::kxdskVertical)->SetPosition(300); }, -656,
       -300},
  };
  for (const auto& s : steps) {
    s.Do();
    EXPECT_EQ(v.S.HorizontalPos(), s.H) << s.What;
    EXPECT_EQ(v.S.VerticalPos(), s.V) << s.What;
    EXPECT_EQ(v.S.Scrollbar(TKxDeScrollbarKind::kxdskHorizontal)->Position(), -v.S.HorizontalPos()) << s.What;
    EXPECT_EQ(v.S.Scrollbar(TKxDeScrollbarKind::kxdskVertical)->Position(), -v.S.VerticalPos()) << s.What;
  }
  EXPECT_EQ(v.S.WheelZooms, 1);
  v.Log.Take();
  v.S.grab();
  EXPECT_EQ(v.Log.Take(), (Strings{"before paint", "paint buffer", "after paint"}));
}

// ---- The widget as a user sees it -----------------------------------------------------------------

// The colour of a pixel of an image as a TColor.
TColor At(const QImage& I, int X, int Y) { return FromQColor(I.pixelColor(X, Y)); }

// Beside a list that wants all the room it can get, a surface still takes its share.
TEST(SurfaceWidget, TakesItsShareOfALayout) {
  QWidget window;
  auto* row = new QHBoxLayout(&window);
  auto* surface = new TKxDeSurface;
  row->addWidget(surface);
  row->addWidget(new QTreeView);
  window.resize(800, 400);
  window.show();
  EXPECT_GE(surface->width(), 300);
  EXPECT_GE(surface->height(), 350);
}

// Scrolled to the far corner: a lowered border (shadow at the top-left, light at the bottom-right),
// the control's colour right of the page, the square between the bars, and both thumbs in their
// colour at the far ends of their tracks. Made large enough, the bars go and the view returns to
// the start.
TEST(SurfaceWidget, FrameCornerAndThumbsArePaintedAndTheBarsGoWhenThePageFits) {
  TView v(500, 350, 1000, 800, true, true);
  QTest::keyClick(&v.S, Qt::Key_End);
  QTest::keyClick(&v.S, Qt::Key_End, Qt::ShiftModifier);
  const QImage grab = v.S.grab().toImage();
  ASSERT_EQ(grab.width(), 500);
  EXPECT_EQ(At(grab, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(grab, 499, 349), ColorToRGB(clBtnHighlight));
  const TRect client = v.S.GetClientRect();
  EXPECT_EQ(At(grab, client.Right - 5, client.Top + 10), clGray);
  const TRect corner = v.S.GetScrollbarCornerRect();
  EXPECT_EQ(At(grab, corner.Left + 5, corner.Top + 5), ColorToRGB(clBtnFace));
  for (auto kind : {TKxDeScrollbarKind::kxdskHorizontal, TKxDeScrollbarKind::kxdskVertical}) {
    const TKxDeCustomControlScrollbar* bar = v.S.Scrollbar(kind);
    const TRect thumb = bar->GetThumbRect(), track = bar->GetTrackRect();
    const bool h = kind == TKxDeScrollbarKind::kxdskHorizontal;
    EXPECT_EQ(h ? thumb.Right : thumb.Bottom, h ? track.Right : track.Bottom);
    EXPECT_EQ(At(grab, (thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2),
              ColorToRGB(bar->GetThumbColor()));
  }
  v.S.resize(1100, 900);
  QCoreApplication::processEvents();
  EXPECT_FALSE(v.S.IsHorzScrollBarVisible() || v.S.IsVertScrollBarVisible());
  EXPECT_EQ(v.S.HorizontalPos(), 0);
  EXPECT_EQ(v.S.VerticalPos(), 0);
}

}  // namespace
}  // namespace vorn::test
