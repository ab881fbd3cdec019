// The painting side of the surface: the layer and client buffers, what goes into them, and the
// copy of the client buffer to the window.
//
// Positions inside the buffers are logical pixels relative to the client area's top-left corner;
// the buffers themselves hold device pixels (their device pixel ratio is the widget's), which
// QPainter maps for us.

#include "vorn/surface/KxDeSurface.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/CommonLib.h"
#include "vorn/common/Units.h"
#include "vorn/common/Exceptions.h"
#include "vorn/common/Finally_p.h"
#include "vorn/common/Graphic.h"
#include "vorn/common/KxDePicture.h"
#include "vorn/common/Rounding.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/raster/KxDeBitmap.h"
#include "vorn/surface/KxDeShapePainter.h"
#include "vorn/surface/KxDeSurfaceIndex_p.h"
#include "vorn/surface/SurfaceLog_p.h"

#include <QEvent>
#include <QMetaObject>
#include <QPaintEvent>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

// How far, in pixels, the ink of a shape may reach beyond the extent its layer's index holds
// (smoothed edges, hairlines drawn on the outline): a partial repaint and the search for shapes
// to paint are widened by it.
constexpr int32_t kInkMargin = 3;

TColor ControlColor(TColor C) { return C == clNone ? clGray : C; }

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

TRect Intersection(const TRect& A, const TRect& B) {
  TRect r{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
  if (r.IsEmpty()) return TRect{};
  return r;
}

// What of a layer changes how its shapes look, beside the shapes themselves.
uint32_t LayerLook(const TKxDeLayer* L) {
  return (L->Visible() ? 1u : 0u) | (L->InDestroy() ? 2u : 0u) | (L->PrintingAllowed() ? 4u : 0u) |
         static_cast<uint32_t>(L->KindOfLayer()) << 3;
}

}  // namespace

// ---- Requests -------------------------------------------------------------------------------------

void TKxDeSurface::RefreshBuffers(bool ForceLayers, bool KeepLayerBuffer) {
  if (!FLayerProperties || InControlUpdate() || Loading() || FDestroying) return;
  if (FUpdatingBuffer > 0) {
    FReupdateBuffers = true;
    return;
  }
  if (ForceLayers && FShapeDriven == 0) FLayersChanged = true;
  FPendingForce = FPendingForce || ForceLayers;
  FPendingKeep = FPendingKeep && KeepLayerBuffer;
  if (FRefreshPending) return;
  FRefreshPending = true;
  // Carried out when the events that are being handled are done (every change they make is
  // then known, to the spatial index as well), or by the next paint, whichever comes first.
  QMetaObject::invokeMethod(this, [this] { FlushBuffers(); }, Qt::QueuedConnection);
}

void TKxDeSurface::RefreshClientBuffer() {
  FComposeAll = true;
  RefreshBuffers(false, true);
}

void TKxDeSurface::FlushBuffers() {
  if (!FRefreshPending || FDestroying) return;
  if (FUpdatingBuffer > 0) return;
  FRefreshPending = false;
  const bool force = std::exchange(FPendingForce, false);
  const bool keep = std::exchange(FPendingKeep, true);
  RebuildBuffers(force, keep);
  if (FReupdateBuffers) {
    // A request made while the buffers were being painted: carried out once, now. Requests made
    // during that second rebuild wait for the next paint.
    FReupdateBuffers = false;
    RebuildBuffers(true, false);
    if (std::exchange(FReupdateBuffers, false)) RefreshBuffers(true, false);
  }
}

void TKxDeSurface::SetBufferedPaint(bool Value) {
  if (FBufferedPaint == Value) return;
  FBufferedPaint = Value;
  UpdatePaintBuffer();
}

TCanvas* TKxDeSurface::GetLayerCanvas() {
  FlushBuffers();
  return FLayerBuffer->Empty() ? nullptr : FLayerBuffer->Canvas();
}

TCanvas* TKxDeSurface::GetClientCanvas() {
  FlushBuffers();
  return FClientBuffer->Empty() ? nullptr : FClientBuffer->Canvas();
}

QImage TKxDeSurface::LayerBufferImage() {
  FlushBuffers();
  return FLayerBuffer->Image().copy();
}

QImage TKxDeSurface::ClientBufferImage() {
  FlushBuffers();
  return FClientBuffer->Image().copy();
}

void TKxDeSurface::SizeBuffer(TKxDeBitmap* Buffer, int32_t Width, int32_t Height) const {
  const qreal ratio = devicePixelRatioF();
  const int32_t w = Width > 0 ? static_cast<int32_t>(std::ceil(Width * ratio - 1e-6)) : 0;
  const int32_t h = Height > 0 ? static_cast<int32_t>(std::ceil(Height * ratio - 1e-6)) : 0;
  const QImage& now = Buffer->Image();
  if (now.width() == w && now.height() == h && (now.isNull() || now.devicePixelRatio() == ratio)) return;
  if (w == 0 || h == 0) {
    Buffer->SetImage(QImage());
    return;
  }
  QImage image(w, h, QImage::Format_RGB32);
  if (image.isNull()) throw Exception(QStringLiteral("Not enough memory for a buffer of %1 x %2 pixels").arg(w).arg(h));
  image.setDevicePixelRatio(ratio);
  Buffer->SetImage(image);
}

// ---- Rebuilding -----------------------------------------------------------------------------------

void TKxDeSurface::RebuildBuffers(bool ForceLayers, bool KeepLayerBuffer) {
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  // Client coordinates from here on.
  const TRect client{0, 0, r.Width(), r.Height()};
  rf = TRectF{rf.Left - r.Left, rf.Top - r.Top, rf.Right - r.Left, rf.Bottom - r.Top};
  TRect invalid = client;
  {
    ++FUpdatingBuffer;
    TFinally down([this] { --FUpdatingBuffer; });
    const QSize before = FClientBuffer->Image().size();
    SizeBuffer(FClientBuffer.get(), client.Width(), client.Height());
    const bool resized = FClientBuffer->Image().size() != before;
    TCanvas* cc = FClientBuffer->Empty() ? nullptr : FClientBuffer->Canvas();
    BeforeUpdateBuffers(cc);
    TRect layerDirty;  // the part of the layer buffer painted again (client coordinates)
    bool layerPainted = false;
    TRect v;
    if (!rf.IsEmpty()) {
      const TRectF clipped{std::max(rf.Left, 0.0f), std::max(rf.Top, 0.0f),
                           std::min(rf.Right, static_cast<float>(client.Right + 1)),
                           std::min(rf.Bottom, static_cast<float>(client.Bottom + 1))};
      v = TRect{Round32(clipped.Left), Round32(clipped.Top), Round32(clipped.Right), Round32(clipped.Bottom)};
      const QImage& lb = FLayerBuffer->Image();
      const bool sizeDiffers = qRound(lb.width() / std::max<qreal>(lb.devicePixelRatio(), 1e-6)) != v.Width() ||
                               qRound(lb.height() / std::max<qreal>(lb.devicePixelRatio(), 1e-6)) != v.Height() ||
                               lb.devicePixelRatio() != devicePixelRatioF();
      if (!KeepLayerBuffer && (ForceLayers || sizeDiffers)) {
        UpdateLayerBuffer();
        layerPainted = true;
        layerDirty = FLayerDirty;
        layerDirty = TRect{layerDirty.Left + v.Left, layerDirty.Top + v.Top, layerDirty.Right + v.Left,
                           layerDirty.Bottom + v.Top};
      }
    }
    // Only what the layer buffer changed in is composed again, unless more may have moved.
    const bool partial = layerPainted && FLayerPartial && !resized && v == FComposedLayerRect && !FComposeAll;
    if (partial) invalid = Intersection(layerDirty, client);
    FComposeAll = false;
    FComposedLayerRect = v;
    if (cc && !(partial && invalid.IsEmpty())) {
      QPainter* p = cc->Painter();
      if (partial) cc->SetClipRect(invalid);
      p->setRenderHint(QPainter::Antialiasing, false);
      // The control colour goes only where the layer buffer does not cover the client area.
      const TRect shown = Intersection(v, client);
      QRegion bare(0, 0, client.Width(), client.Height());
      if (!shown.IsEmpty() && !FLayerBuffer->Empty()) {
        const QImage& lb = FLayerBuffer->Image();
        const qreal ratio = lb.devicePixelRatio();
        const TRect covered = Intersection(
            shown, TRect{shown.Left, shown.Top, shown.Left + static_cast<int32_t>(std::floor(lb.width() / ratio)),
                         shown.Top + static_cast<int32_t>(std::floor(lb.height() / ratio))});
        bare -= ToQRect(covered);
        p->drawImage(QPointF(shown.Left, shown.Top), lb);
      }
      const QColor control = ToQColor(ControlColor(FColor));
      for (const QRect& b : bare) p->fillRect(b, control);
      if (!v.IsEmpty()) DrawLayerFrame(cc);
      if (partial) cc->ResetClip();
    }
    if (!FReupdateBuffers) {
      DrawSelection(cc);
      AfterUpdateBuffers(cc);
    }
  }
  if (!FReupdateBuffers && !invalid.IsEmpty())
    update(QRect(r.Left + invalid.Left, r.Top + invalid.Top, invalid.Width(), invalid.Height()));
}

bool TKxDeSurface::ChangedShapesArea(std::optional<TRectF>& Area) {
  bool all = false;
  for (TKxDeLayer* layer : FLayers) {
    const TKxDeLayerIndex::TChanges c = FIndex->ForLayer(layer).TakeChanges();
    if (!c.Any) {
      // A layer that announced a change none of its shapes accounts for.
      if (std::find(FChangedLayers.begin(), FChangedLayers.end(), layer) != FChangedLayers.end()) all = true;
      continue;
    }
    all = all || c.All;
    Area = Area ? Area->Union(c.Area) : c.Area;
  }
  return !all;
}

void TKxDeSurface::ForgetShapeChanges() {
  for (TKxDeLayer* layer : FLayers) FIndex->ForLayer(layer).TakeChanges();
}

void TKxDeSurface::UpdateLayerBuffer() {
  if (FDestroying) return;
  FLayerDirty = TRect{};
  FLayerPartial = false;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  rf = TRectF{rf.Left - r.Left, rf.Top - r.Top, rf.Right - r.Left, rf.Bottom - r.Top};
  TCanvas* before = FLayerBuffer->Empty() ? nullptr : FLayerBuffer->Canvas();
  BeforeLayerPaint(before);
  ++FUpdatingBuffer;
  TFinally down([this] { --FUpdatingBuffer; });
  if (rf.IsEmpty()) return;
  const double z = GetZoom();
  const int32_t offX = rf.Left < 0 ? Round32(rf.Left) : 0;
  const int32_t offY = rf.Top < 0 ? Round32(rf.Top) : 0;
  const TRectF clipped{std::max(rf.Left, 0.0f), std::max(rf.Top, 0.0f),
                       std::min(rf.Right, static_cast<float>(r.Width() + 1)),
                       std::min(rf.Bottom, static_cast<float>(r.Height() + 1))};
  const int32_t w = std::max(Round32(clipped.Right) - Round32(clipped.Left), 0);
  const int32_t h = std::max(Round32(clipped.Bottom) - Round32(clipped.Top), 0);
  const QSize sizeBefore = FLayerBuffer->Image().size();
  SizeBuffer(FLayerBuffer.get(), w, h);
  if (FLayerBuffer->Empty()) return;
  TCanvas* c = FLayerBuffer->Canvas();
  const TRect buffer{0, 0, w, h};

  // Painting only where shapes changed needs everything else as it was last time.
  TLayerPaintState state;
  state.Valid = true;
  state.OffX = offX;
  state.OffY = offY;
  state.Zoom = z;
  state.Ratio = devicePixelRatioF();
  state.Layers = FLayers;
  state.LayerLooks.reserve(FLayers.size());
  for (const TKxDeLayer* l : FLayers) state.LayerLooks.push_back(LayerLook(l));
  const bool same = FPainted.Valid && !FLayersChanged && FLayerBuffer->Image().size() == sizeBefore &&
                    state.OffX == FPainted.OffX && state.OffY == FPainted.OffY && state.Zoom == FPainted.Zoom &&
                    state.Ratio == FPainted.Ratio && state.Layers == FPainted.Layers &&
                    state.LayerLooks == FPainted.LayerLooks;
  std::optional<TRectF> changed;
  const bool partial = same && ChangedShapesArea(changed);
  if (!partial) ForgetShapeChanges();
  FPainted = std::move(state);
  FLayersChanged = false;
  FChangedLayers.clear();

  TRect dirty = buffer;
  if (partial) {
    // Nothing changed: nothing to paint.
    dirty = TRect{};
    if (changed)
      dirty = Intersection(TRect{static_cast<int32_t>(std::floor(offX + changed->Left * z)) - kInkMargin,
                                 static_cast<int32_t>(std::floor(offY + changed->Top * z)) - kInkMargin,
                                 static_cast<int32_t>(std::ceil(offX + changed->Right * z)) + kInkMargin + 1,
                                 static_cast<int32_t>(std::ceil(offY + changed->Bottom * z)) + kInkMargin + 1},
                           buffer);
    FLayerPartial = true;
  }
  FLayerDirty = dirty;
  if (!dirty.IsEmpty()) {
    c->Lock();
    TFinally unlock([c] {
      c->ResetClip();
      c->Unlock();
    });
    if (partial) c->SetClipRect(dirty);
    PaintLayerBackground(c, buffer, offX, offY);
    // The page (world units) shown in the part painted, widened by the ink margin.
    const double m = kInkMargin / z;
    const TRectF area{static_cast<float>((dirty.Left - offX) / z - m), static_cast<float>((dirty.Top - offY) / z - m),
                      static_cast<float>((dirty.Right - offX) / z + m),
                      static_cast<float>((dirty.Bottom - offY) / z + m)};
    PaintLayers(c, offX, offY, area);
  }
  AfterLayerPaint(c);
}

// ---- Layer buffer parts ---------------------------------------------------------------------------

void TKxDeSurface::PaintLayerBackground(TCanvas* C, const TRect& Buffer, int32_t OffX, int32_t OffY) {
  QPainter* p = C->Painter();
  p->setRenderHint(QPainter::Antialiasing, false);
  const TKxDeLayerProperties* lp = FLayerProperties.get();
  const TKxDeCheckersProperties* checkers = lp->Checkers();
  const TColor control = ControlColor(FColor);
  TColor b = lp->Color();
  TColor k = checkers->ColorOdd();
  if (lp->Color() == clNone || lp->Transparency() == TKxDeLayerTransparency::kxltFull) {
    b = control;
  } else if (lp->Transparency() == TKxDeLayerTransparency::kxltChecked) {
    b = checkers->ColorEven() == clNone ? control : checkers->ColorEven();
    if (k == clNone) k = b;
  }
  const QImage& image = FLayerBuffer->Image();
  p->fillRect(QRectF(0, 0, image.width() / image.devicePixelRatio(), image.height() / image.devicePixelRatio()),
              ToQColor(b));

  const double z = GetZoom();
  if (lp->Transparency() == TKxDeLayerTransparency::kxltChecked && k != b) {
    const int32_t cw = Round32(checkers->Width() * z);
    const int32_t ch = Round32(checkers->Height() * z);
    if (cw > 1 && ch > 1) {
      // Cells anchored at the page's origin; only the columns and rows that reach into the
      // buffer are visited. A cell cut by the buffer's left or top edge is drawn as well, so
      // that the board stays whole while the page scrolls.
      const QColor odd = ToQColor(k);
      const int32_t cols = Round32(static_cast<double>(Buffer.Width() - OffX) / cw);
      const int32_t rows = Round32(static_cast<double>(Buffer.Height() - OffY) / ch);
      const int32_t i0 = std::max(0, -OffX / cw);
      const int32_t j0 = std::max(0, -OffY / ch);
      for (int32_t j = j0; j <= rows; ++j) {
        const int32_t y = j * ch + OffY;
        if (y >= Buffer.Bottom) break;
        for (int32_t i = i0 + ((i0 + j + 1) & 1); i <= cols; i += 2) {
          const int32_t x = i * cw + OffX;
          if (x >= Buffer.Right) break;
          p->fillRect(x, y, cw, ch, odd);
        }
      }
    }
  }
  DrawPicture(C);
  PaintGrid(C, Buffer, OffX, OffY, b);
}

void TKxDeSurface::PaintGrid(TCanvas* C, const TRect& Buffer, int32_t OffX, int32_t OffY, TColor Background) {
  const TKxDeGridProperties* g = FGridProperties.get();
  if (g->GridType() == TKxDeGridType::kxgtNone) return;
  const double z = GetZoom();
  const double gx = z * g->X() * CoordsPixelsPerMMConvertValue;
  const double gy = z * g->Y() * CoordsPixelsPerMMConvertValue;
  const auto ix = static_cast<int64_t>(gx);
  const auto iy = static_cast<int64_t>(gy);
  if (!((ix > 1 && iy > 1) || (z < 1 && ix >= 1 && iy >= 1))) return;
  // The grid covers the whole page; its lines are shifted with the page's hidden part.
  const TRectF page = GetLayerRect();
  const int32_t fw = Round32(page.Width() * z);
  const int32_t fh = Round32(page.Height() * z);
  const int32_t cols = Round32(fw / gx);
  const int32_t rows = Round32(fh / gy);
  // The indexes whose line can fall inside the buffer.
  const int32_t i0 = std::max(0, static_cast<int32_t>(std::floor(-OffX / gx)) - 1);
  const int32_t i1 = std::min(cols, static_cast<int32_t>(std::ceil((Buffer.Right - OffX) / gx)) + 1);
  const int32_t j0 = std::max(0, static_cast<int32_t>(std::floor(-OffY / gy)) - 1);
  const int32_t j1 = std::min(rows, static_cast<int32_t>(std::ceil((Buffer.Bottom - OffY) / gy)) + 1);
  QPainter* p = C->Painter();
  p->setRenderHint(QPainter::Antialiasing, false);
  if (g->GridType() == TKxDeGridType::kxgtDot) {
    std::vector<QRect> dots;
    for (int32_t j = j0; j <= j1; ++j) {
      const int32_t y = Round32(j * gy) + OffY;
      if (y < 0 || y >= fh) continue;
      for (int32_t i = i0; i <= i1; ++i) {
        const int32_t x = Round32(i * gx) + OffX;
        if (x >= 0 && x <= fw) dots.emplace_back(x, y, 1, 1);
      }
    }
    p->save();
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->setPen(Qt::NoPen);
    p->setBrush(ToQColor(g->Color()));
    p->drawRects(dots.data(), static_cast<int>(dots.size()));
    p->restore();
    return;
  }
  if (g->Color() == Background || (g->Color() == clNone && g->GroupColor() == clNone)) return;
  const bool grouping = g->GroupColor() != clNone;
  const TColor outline = grouping ? g->GroupColor() : g->Color();
  // The outline marks the page's edge, where the page is.
  p->setPen(QPen(ToQColor(outline), 0));
  p->setBrush(Qt::NoBrush);
  p->drawRect(OffX, OffY, fw - 1, fh - 1);
  auto colorOf = [&](int32_t Index) { return grouping && Index % g->GroupCount() == 0 ? g->GroupColor() : g->Color(); };
  for (int32_t i = i0; i <= i1; ++i) {
    const int32_t x = Round32(i * gx) + OffX;
    const TColor color = colorOf(i);
    if (color == clNone || x < 0 || x >= fw) continue;
    p->fillRect(x, 0, 1, fh, ToQColor(color));
  }
  for (int32_t j = j0; j <= j1; ++j) {
    const int32_t y = Round32(j * gy) + OffY;
    const TColor color = colorOf(j);
    if (color == clNone || y < 0 || y >= fh) continue;
    p->fillRect(0, y, fw, 1, ToQColor(color));
  }
}

void TKxDeSurface::PaintLayers(TCanvas* C, int32_t OffX, int32_t OffY, const TRectF& Area) {
  C->SetAntialiasing(true);
  const TRectF page = GetLayerRect();
  std::vector<TKxDeShapeBase*> items;
  for (size_t i = 0; i < FLayers.size(); ++i) {
    TKxDeLayer* layer = FLayers[i];
    if (!layer->Visible() || layer->InDestroy()) continue;
    FIndex->ForLayer(layer).ItemsIn(Area, items);
    TKxDeShapePainter painter(C, static_cast<float>(OffX), static_cast<float>(OffY), GetZoom(), page, nullptr);
    for (TKxDeShapeBase* s : items) painter.Paint(s);
  }
  C->SetAntialiasing(false);
}

// ---- Frame and picture ----------------------------------------------------------------------------

void TKxDeSurface::DrawLayerFrame(TCanvas* C) {
  if (!C || !FFrameProperties->Visible()) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  if (r.IsEmpty() && rf.IsEmpty()) return;
  const TRect client{0, 0, r.Width(), r.Height()};
  const TRect f{Round32(rf.Left - r.Left), Round32(rf.Top - r.Top), Round32(rf.Right - r.Left),
                Round32(rf.Bottom - r.Top)};
  QPainter* p = C->Painter();
  p->setRenderHint(QPainter::Antialiasing, false);
  const int32_t o = FFrameProperties->ShadowOffset();
  const TColor shadow = FFrameProperties->ShadowColor();
  if (o > 0 && shadow != clNone) {
    const QColor sc = ToQColor(shadow);
    if (client.Right > f.Right) p->fillRect(ToQRect(TRect{f.Right, f.Top + o, f.Right + o, f.Bottom + o}), sc);
    if (client.Bottom > f.Bottom) p->fillRect(ToQRect(TRect{f.Left + o, f.Bottom, f.Right + o, f.Bottom + o}), sc);
  }
  const TColor color = FFrameProperties->Color();
  if (color == clNone) return;
  const QColor fc = ToQColor(color);
  // Each edge as a one-pixel line, where it lies inside the client area.
  if (f.Top >= client.Top && f.Top < client.Bottom) p->fillRect(f.Left, f.Top, f.Width(), 1, fc);
  if (f.Bottom - 1 >= client.Top && f.Bottom - 1 < client.Bottom) p->fillRect(f.Left, f.Bottom - 1, f.Width(), 1, fc);
  if (f.Left >= client.Left && f.Left < client.Right) p->fillRect(f.Left, f.Top, 1, f.Height(), fc);
  if (f.Right - 1 >= client.Left && f.Right - 1 < client.Right) p->fillRect(f.Right - 1, f.Top, 1, f.Height(), fc);
}

TRect TKxDeSurface::GetPictureRect(const TPicture*) const {
  const TKxDePictureProps* pp = PictureProps();
  if (!pp->Visible() || FLayerBuffer->Empty()) return TRect{};
  const QImage& image = FLayerBuffer->Image();
  const int32_t w = qRound(image.width() / image.devicePixelRatio());
  const int32_t h = qRound(image.height() / image.devicePixelRatio());
  TRect r{pp->HorizontalIndent(), pp->VerticalIndent(), w - pp->HorizontalIndent(), h - pp->VerticalIndent()};
  if (r.IsEmpty()) return TRect{};
  return r;
}

void TKxDeSurface::DrawPicture(TCanvas* C) {
  const TKxDePictureProps* pp = PictureProps();
  TPicture* picture = pp->GetPicture();
  if (!C || !picture || !pp->HasPicture(picture)) return;
  TGraphic* graphic = picture->Graphic();
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  // The area is anchored at the page's origin in the buffer, wherever the page has scrolled to.
  const int32_t offX = rf.Left - r.Left < 0 ? Round32(rf.Left - r.Left) : 0;
  const int32_t offY = rf.Top - r.Top < 0 ? Round32(rf.Top - r.Top) : 0;
  TRect t{offX + pp->HorizontalIndent(), offY + pp->VerticalIndent(),
          offX + Round32(rf.Width()) - pp->HorizontalIndent(), offY + Round32(rf.Height()) - pp->VerticalIndent()};
  if (t.IsEmpty()) return;
  const double z = GetZoom();
  const int32_t pw = Round32(graphic->Width() * z);
  const int32_t ph = Round32(graphic->Height() * z);
  if (pw <= 0 || ph <= 0) return;
  QPainter* p = C->Painter();
  p->save();
  const bool transparent = graphic->Transparent();
  TFinally restore([&] {
    graphic->SetTransparent(transparent);
    p->restore();
  });
  graphic->SetTransparent(pp->GetTransparent());
  p->setClipRect(ToQRect(t), Qt::IntersectClip);
  p->setRenderHint(QPainter::SmoothPixmapTransform, true);
  auto draw = [&](int32_t X, int32_t Y, int32_t W, int32_t H) { graphic->Draw(p, QRectF(X, Y, W, H)); };
  switch (pp->Orient()) {
    case TKxDePictureOrient::kxdpoTopLeft: draw(t.Left, t.Top, pw, ph); break;
    case TKxDePictureOrient::kxdpoTopRight: draw(t.Right - pw, t.Top, pw, ph); break;
    case TKxDePictureOrient::kxdpoBottomLeft: draw(t.Left, t.Bottom - ph, pw, ph); break;
    case TKxDePictureOrient::kxdpoBottomRight: draw(t.Right - pw, t.Bottom - ph, pw, ph); break;
    case TKxDePictureOrient::kxdpoCenter:
      draw(t.Left + (t.Width() - pw) / 2, t.Top + (t.Height() - ph) / 2, pw, ph);
      break;
    case TKxDePictureOrient::kxdpoStretch: draw(t.Left, t.Top, t.Width(), t.Height()); break;
    default: {
      // Tiled: one tile painted, repeated by a texture fill from the area's corner.
      QImage tile(QSize(pw, ph) * p->device()->devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
      if (tile.isNull()) return;
      tile.setDevicePixelRatio(p->device()->devicePixelRatio());
      tile.fill(Qt::transparent);
      {
        QPainter tp(&tile);
        tp.setRenderHint(QPainter::SmoothPixmapTransform, true);
        graphic->Draw(&tp, QRectF(0, 0, pw, ph));
      }
      p->setBrushOrigin(t.Left, t.Top);
      p->fillRect(ToQRect(t), QBrush(tile));
      break;
    }
  }
}

// ---- The window -----------------------------------------------------------------------------------

void TKxDeSurface::Paint(TCanvas* C) {
  const TRect r = GetClientRect();
  FlushBuffers();
  const QImage& image = FClientBuffer->Image();
  if (image.isNull() || qRound(image.width() / image.devicePixelRatio()) != r.Width() ||
      qRound(image.height() / image.devicePixelRatio()) != r.Height() ||
      image.devicePixelRatio() != devicePixelRatioF()) {
    // The window changed size (or screen) since the buffers were made: compose them again now.
    FComposeAll = true;
    const bool repaint = FLayerBuffer->Empty() || FLayerBuffer->Image().devicePixelRatio() != devicePixelRatioF();
    if (repaint) FLayersChanged = true;
    RebuildBuffers(repaint, !repaint);
  }
  if (FClientBuffer->Empty()) {
    TKxDeCustomScrollControl::Paint(C);
    return;
  }
  C->Painter()->drawImage(QPointF(r.Left, r.Top), FClientBuffer->Image());
}

void TKxDeSurface::paintEvent(QPaintEvent* Event) {
  {
    QPainter painter(this);
    TCanvas canvas(&painter);
    BeforePaint(&canvas);
  }
  if (!FDestroying) UpdatePaintBuffer();
  TKxDeCustomScrollControl::paintEvent(Event);
  QPainter painter(this);
  TCanvas canvas(&painter);
  AfterPaint(&canvas);
}

void TKxDeSurface::changeEvent(QEvent* Event) {
  TKxDeCustomScrollControl::changeEvent(Event);
  // The system colours behind the control's colour may have changed.
  if (Event->type() == QEvent::PaletteChange) RefreshBuffers(true, false);
}

}  // namespace vorn
