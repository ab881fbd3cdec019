// The surface's buffered painting: what reaches the screen (pixels of grab()), how often the
// buffers are made, painting again only where shapes changed, and shapes that fail to paint.

#include <vorn/common/Canvas.h>
#include <vorn/common/KxDePicture.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/model/KxDeShapePen.h>
#include <vorn/shapes/VornShapes.h>
#include <vorn/surface/KxDeSurface.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace vorn::test {
namespace {

// Counts its rebuilds of the buffers.
class TCountingSurface : public TKxDeSurface {
 public:
  int ClientBuilds = 0;
  int LayerBuilds = 0;

 protected:
  void BeforeUpdateBuffers(TCanvas*) override { ++ClientBuilds; }
  void BeforeLayerPaint(TCanvas*) override { ++LayerBuilds; }
};

// A rectangle that counts its paintings and can be told to fail or to ask for a refresh.
class TProbeRectangle : public TVornRectangle {
 public:
  using TVornRectangle::TVornRectangle;
  int Paints = 0;
  bool Fail = false;
  TKxDeSurface* RefreshOnce = nullptr;

  void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation, PmekDeviceCapsInfo Caps) override {
    ++Paints;
    if (TKxDeSurface* s = std::exchange(RefreshOnce, nullptr)) s->RefreshBuffers(true, false);
    if (Fail) {
      // Leaves the canvas turned and clipped, as a shape that fails half-way would.
      C->SetTransform(QTransform().rotate(30));
      C->SetClipRect(TRect{0, 0, 1, 1});
      throw std::runtime_error("cannot paint");
    }
    TVornRectangle::Paint(C, X, Y, Zoom, GDIRotation, Caps);
  }
};

struct TPage {
  std::unique_ptr<TCountingSurface> Surface = std::make_unique<TCountingSurface>();
  TKxDeLayer* Layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(Surface.get()));
  std::vector<TProbeRectangle*> Shapes;

  // A page of Count x Count filled squares of 10 units, 20 units apart.
  explicit TPage(int Count = 10) {
    Surface->resize(400, 350);
    Surface->Layer()->SetBounds(300, 250);
    Surface->Grid()->SetGridType(TKxDeGridType::kxgtNone);
    for (int i = 0; i < Count * Count; ++i) {
      auto* s = Create<TProbeRectangle>(nullptr, Layer);
      s->SetBounds(static_cast<float>(10 + (i % Count) * 20), static_cast<float>(10 + (i / Count) * 20), 10, 10);
      s->Brush()->SetStyle(TBrushStyle::bsSolid);
      s->Brush()->SetColor(i % 2 ? 0x0000C0 : 0xC00000);
      s->Pen()->SetStyle(TPenStyle::psClear);
      Shapes.push_back(s);
    }
    Surface->show();
  }
  // The buffers brought up to date; the counters start again.
  void Settle() {
    Surface->GetClientCanvas();
    Surface->ClientBuilds = Surface->LayerBuilds = 0;
    for (TProbeRectangle* s : Shapes) s->Paints = 0;
  }
  int Painted() const {
    int n = 0;
    for (const TProbeRectangle* s : Shapes) n += s->Paints;
    return n;
  }
  // The pixel of the client buffer at the window pixel of world point (X, Y).
  QRgb At(float X, float Y) {
    const TPointF p = Surface->LayerToScreen(TPointF{X, Y});
    const TRect c = Surface->GetClientRect();
    return Surface->ClientBufferImage().pixel(static_cast<int>(p.X) - c.Left, static_cast<int>(p.Y) - c.Top);
  }
};

QImage Grab(QWidget& W) { return W.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST(SurfaceBuffers, ChangesAreGatheredIntoOneRebuild) {
  TPage page;
  page.Settle();
  // Inside a bracket and out of it: the buffers are made once for all the changes before the
  // next paint, and the layers painted once.
  page.Surface->BeginUpdate();
  for (int i = 0; i < 20; ++i) page.Shapes[static_cast<size_t>(i)]->MoveBy(1, 0);
  page.Surface->EndUpdate();
  for (int i = 20; i < 25; ++i) page.Shapes[static_cast<size_t>(i)]->MoveBy(0, 1);
  EXPECT_EQ(page.Surface->ClientBuilds, 0) << "nothing is painted before it is needed";
  Grab(*page.Surface);
  EXPECT_EQ(page.Surface->ClientBuilds, 1);
  EXPECT_EQ(page.Surface->LayerBuilds, 1);

  // A refresh asked for while the shapes are being painted runs once more, right after.
  page.Settle();
  page.Shapes[0]->RefreshOnce = page.Surface.get();
  page.Surface->RefreshBuffers(true, false);
  page.Surface->GetClientCanvas();
  EXPECT_EQ(page.Surface->ClientBuilds, 2);
  EXPECT_EQ(page.Surface->LayerBuilds, 2);
  page.Settle();
  Grab(*page.Surface);
  EXPECT_EQ(page.Surface->LayerBuilds, 0) << "the window is painted from the buffers";
}

TEST(SurfaceBuffers, AChangedShapeIsPaintedAgainOnlyWhereItWasAndIs) {
  TPage page;
  page.Settle();
  TProbeRectangle* moved = page.Shapes[55];
  moved->MoveBy(5, 5);
  const QImage partial = page.Surface->LayerBufferImage();
  // The moved shape and its neighbours within the ink margin; not the hundred shapes.
  EXPECT_GE(moved->Paints, 1);
  EXPECT_LE(page.Painted(), 9);
  EXPECT_EQ(page.At(moved->GetBounds().Left + 5, moved->GetBounds().Top + 5), qRgb(0xC0, 0, 0));
  EXPECT_EQ(page.At(moved->GetBounds().Left - 2, moved->GetBounds().Top - 2), qRgb(255, 255, 255))
      << "where the shape was is page again";

  // The same pixels as painting everything.
  page.Settle();
  page.Surface->RefreshBuffers(true, false);
  const QImage full = page.Surface->LayerBufferImage();
  EXPECT_EQ(page.Painted(), 100);
  EXPECT_EQ(partial, full);

  // Changes that are not the shapes' own paint everything: a hidden layer, a new zoom.
  for (auto change : {+[](TPage& P) { P.Layer->SetVisible(false); }, +[](TPage& P) { P.Surface->SetZoom(110); }}) {
    page.Layer->SetVisible(true);
    page.Settle();
    page.Shapes[0]->MoveBy(1, 0);
    change(page);
    page.Surface->GetClientCanvas();
    EXPECT_EQ(page.Surface->LayerBuilds, 1);
    EXPECT_EQ(page.Painted(), page.Layer->Visible() ? 100 : 0);
  }
}

TEST(SurfaceBuffers, AShapeThatFailsToPaintLeavesTheOthersPainted) {
  TPage page(2);
  page.Shapes[0]->Fail = true;
  page.Settle();
  page.Surface->RefreshBuffers(true, false);
  page.Surface->GetClientCanvas();
  EXPECT_EQ(page.Shapes[0]->Paints, 1);
  for (size_t i = 1; i < 4; ++i) {
    const TRectF b = page.Shapes[i]->GetBounds();
    EXPECT_EQ(page.At(b.Left + 5, b.Top + 5), i % 2 ? qRgb(0xC0, 0, 0) : qRgb(0, 0, 0xC0)) << "shape " << i;
  }
}

TEST(SurfacePicture, PageFrameCheckerboardGridAndBackgroundPictureOnScreen) {
  TKxDeSurface surface;
  surface.resize(420, 360);
  surface.Layer()->SetBounds(200, 160);
  surface.Layer()->SetTransparency(TKxDeLayerTransparency::kxltChecked);
  surface.Layer()->Checkers()->SetColorEven(0xFFFFFF);
  surface.Layer()->Checkers()->SetColorOdd(0xC0C0C0);
  surface.Grid()->SetGridType(TKxDeGridType::kxgtLine);
  surface.Grid()->SetX(10);  // 37.8 pixels at zoom 100
  surface.Grid()->SetY(10);
  // A 10 x 10 picture, blue, in the bottom right corner of the page.
  QImage tile(10, 10, QImage::Format_RGB32);
  tile.fill(qRgb(0, 0, 255));
  const QString tileFile = QDir::temp().filePath(QStringLiteral("vorn-surface-tile.png"));
  ASSERT_TRUE(tile.save(tileFile));
  surface.PictureProps()->LoadFromFile(tileFile);
  surface.PictureProps()->SetOrient(TKxDePictureOrient::kxdpoBottomRight);
  surface.show();
  const QImage shot = Grab(surface);
  shot.save(QDir::temp().filePath(QStringLiteral("vorn-surface-paint.png")));

  const TPointF o = surface.LayerToScreen(TPointF{0, 0});
  const int x0 = static_cast<int>(o.X), y0 = static_cast<int>(o.Y);
  auto at = [&](int X, int Y) { return shot.pixel(x0 + X, y0 + Y); };
  // Checkerboard: cell (0, 0) even (white), cell (1, 0) odd (silver), 20 pixels a cell.
  EXPECT_EQ(at(5, 5), qRgb(255, 255, 255));
  EXPECT_EQ(at(25, 5), qRgb(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(at(25, 25), qRgb(255, 255, 255));
  // Grid: the page's outline and every fifth line in the group colour, the others in the line
  // colour (colours are stored blue-green-red).
  const QRgb group = qRgb(0xFF, 0xC5, 0x3C), line = qRgb(0xFF, 0xE4, 0xA6);
  EXPECT_EQ(at(0, 10), group);
  EXPECT_EQ(at(38, 10), line) << "first line at 37.8 pixels, rounded";
  EXPECT_EQ(at(10, 38), line);
  EXPECT_NE(at(37, 10), line);
  // The picture in the bottom right corner, its 10 x 10 pixels above the grid's right edge.
  EXPECT_EQ(at(195, 155), qRgb(0, 0, 255));
  EXPECT_NE(at(185, 145), qRgb(0, 0, 255));
  // The frame: no outline by default, a black shadow of 3 pixels right of and below the page.
  EXPECT_EQ(at(201, 10), qRgb(0, 0, 0));
  EXPECT_EQ(at(202, 10), qRgb(0, 0, 0));
  EXPECT_EQ(at(203, 10), qRgb(0x80, 0x80, 0x80));
  EXPECT_EQ(at(10, 161), qRgb(0, 0, 0));
  EXPECT_EQ(at(1, 161), qRgb(0x80, 0x80, 0x80)) << "the shadow starts 3 pixels in";

  // Zoomed out until the cells are one pixel: no board; the grid only from one pixel on.
  surface.SetZoom(5);
  const QImage small = Grab(surface);
  const TPointF s = surface.LayerToScreen(TPointF{0, 0});
  EXPECT_EQ(small.pixel(static_cast<int>(s.X) + 1, static_cast<int>(s.Y) + 1), qRgb(255, 255, 255));
}

TEST(SurfacePicture, DotGridInvertsOnePixelPerPoint) {
  TKxDeSurface surface;
  surface.resize(300, 300);
  surface.Layer()->SetBounds(100, 100);
  surface.Grid()->SetGridType(TKxDeGridType::kxgtDot);
  surface.Grid()->SetColor(0xFFFFFF);
  surface.show();
  const QImage shot = Grab(surface);
  const TPointF o = surface.LayerToScreen(TPointF{0, 0});
  const int x0 = static_cast<int>(o.X), y0 = static_cast<int>(o.Y);
  // White xor white: black dots on the white page, 37.8 pixels apart.
  EXPECT_EQ(shot.pixel(x0, y0), qRgb(0, 0, 0));
  EXPECT_EQ(shot.pixel(x0 + 38, y0 + 38), qRgb(0, 0, 0));
  EXPECT_EQ(shot.pixel(x0 + 37, y0 + 38), qRgb(255, 255, 255));
}

// A borderless surface with a 200 x 160 page and a red box of Width x Height world units at (X, Y),
// shown; its device pixel ratio, checked against the one the run asked for
// (VORN_TEST_DEVICE_RATIO, set by the runs with QT_SCALE_FACTOR).
qreal ShowWithRedBox(TKxDeSurface& Surface, float X, float Y, float Width, float Height) {
  Surface.BorderProps()->SetBorder(TKxDeBorder::kxdcbNone);
  Surface.Layer()->SetBounds(200, 160);
  auto* box = Create<TVornRectangle>(nullptr, Create<TKxDeLayer>(&Surface));
  box->SetBounds(X, Y, Width, Height);
  box->Brush()->SetColor(0x0000FF);
  box->Pen()->SetStyle(TPenStyle::psClear);
  Surface.show();
  const QByteArray expected = qgetenv("VORN_TEST_DEVICE_RATIO");
  if (!expected.isEmpty()) {
    EXPECT_EQ(Surface.devicePixelRatioF(), expected.toDouble());
  }
  return Surface.devicePixelRatioF();
}

// The buffers hold device pixels: at a device pixel ratio of 2 (the run with QT_SCALE_FACTOR=2,
// which also sets VORN_TEST_DEVICE_RATIO) a line one logical pixel wide covers exactly two device
// pixels and a shape's edge on a whole logical pixel stays sharp.
TEST(SurfaceDeviceRatio, BuffersInDevicePixelsKeepLinesSharp) {
  TKxDeSurface surface;
  surface.resize(300, 240);
  surface.Grid()->SetGridType(TKxDeGridType::kxgtLine);
  const qreal ratio = ShowWithRedBox(surface, 100, 40, 50, 30);
  const auto r = static_cast<int>(ratio);
  if (ratio != r) GTEST_SKIP() << "whole ratios only here";
  const QImage shot = Grab(surface);
  shot.save(QDir::temp().filePath(QStringLiteral("vorn-surface-ratio.png")));
  ASSERT_EQ(shot.size(), surface.size() * r);
  EXPECT_EQ(surface.ClientBufferImage().size(), QSize(surface.GetClientRect().Width(), surface.GetClientRect().Height()) * r);

  const TPointF o = surface.LayerToScreen(TPointF{0, 0});
  const int x0 = static_cast<int>(o.X), y0 = static_cast<int>(o.Y);
  // Device pixel k (0 .. r - 1) of logical pixel (X, Y) of the page.
  auto at = [&](int X, int Y, int K = 0) { return shot.pixel((x0 + X) * r + K, (y0 + Y) * r + K); };
  const QRgb line = qRgb(0xFF, 0xE4, 0xA6), white = qRgb(255, 255, 255), red = qRgb(255, 0, 0);
  // The grid line at logical x 38: all its device pixels in the line colour, none beside it.
  for (int k = 0; k < r; ++k) EXPECT_EQ(at(38, 10, k), line) << k;
  EXPECT_EQ(shot.pixel((x0 + 38) * r - 1, (y0 + 10) * r), white);
  EXPECT_EQ(shot.pixel((x0 + 39) * r, (y0 + 10) * r), white);
  // The filled box's left edge at logical x 100: inside it red to its first device pixel, the
  // device pixel before it untouched.
  EXPECT_EQ(at(100, 50), red);
  EXPECT_EQ(shot.pixel((x0 + 100) * r - 1, (y0 + 50) * r), white);
  // The shadow: 3 logical pixels wide, 3 * r device pixels.
  EXPECT_EQ(shot.pixel((x0 + 200) * r, (y0 + 10) * r), qRgb(0, 0, 0));
  EXPECT_EQ(shot.pixel((x0 + 203) * r - 1, (y0 + 10) * r), qRgb(0, 0, 0));
  EXPECT_EQ(shot.pixel((x0 + 203) * r, (y0 + 10) * r), qRgb(0x80, 0x80, 0x80));
}

// At any device pixel ratio, fractional ones included (the run with QT_SCALE_FACTOR=1.5), the
// buffers hold the client area in device pixels, rounded up, and the shapes are painted at device
// resolution: at zoom 200 a box one world unit wide whose edges fall on whole device pixels covers
// exactly 2 * ratio device pixels, with no smoothed edge bleeding into the pixels beside it.
TEST(SurfaceDeviceRatio, FractionalRatiosPaintSharpAtDeviceResolution) {
  TKxDeSurface surface;
  surface.SetShowScrollbars(false);
  surface.SetIndent(0);
  surface.resize(301, 201);  // odd sizes: 451.5 x 301.5 device pixels at 1.5
  surface.SetZoom(200);
  surface.Grid()->SetGridType(TKxDeGridType::kxgtNone);
  const qreal ratio = ShowWithRedBox(surface, 10, 5, 1, 40);  // a bar one world unit wide

  const TRect client = surface.GetClientRect();
  EXPECT_EQ(surface.ClientBufferImage().size(),
            QSize(static_cast<int>(std::ceil(client.Width() * ratio)), static_cast<int>(std::ceil(client.Height() * ratio))));
  const QImage shot = Grab(surface);
  shot.save(QDir::temp().filePath(QStringLiteral("vorn-surface-fractional-ratio.png")));

  // The bar in device pixels: world x 10 .. 11 is logical x 20 .. 22 from the page's origin.
  const TPointF o = surface.LayerToScreen(TPointF{0, 0});
  const double left = (o.X + 20) * ratio, right = (o.X + 22) * ratio;
  ASSERT_EQ(left, std::round(left)) << "the bar's left edge falls between device pixels";
  ASSERT_EQ(right, std::round(right)) << "the bar's right edge falls between device pixels";
  const int l = static_cast<int>(left), rr = static_cast<int>(right);
  EXPECT_EQ(rr - l, static_cast<int>(std::lround(2 * ratio)));
  const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
  for (const double y : {30.0, 60.0, 85.0}) {
    const int dy = static_cast<int>((o.Y + y) * ratio);
    for (int x = l; x < rr; ++x) EXPECT_EQ(shot.pixel(x, dy), red) << x << ", " << dy;
    EXPECT_EQ(shot.pixel(l - 1, dy), white) << dy;
    EXPECT_EQ(shot.pixel(rr, dy), white) << dy;
  }
}

}  // namespace
}  // namespace vorn::test
