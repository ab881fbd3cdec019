#pragma once
// TKxDeShapePainter: paints top-level shapes of layers onto a canvas, one at a time. The surface
// paints its layer buffer through it and a document renderer (images, PDF, SVG) does the same,
// so a document looks alike on screen and on file.
//
// World point w lands on (X + w.X * Zoom, Y + w.Y * Zoom). A shape is painted when it is shown
// (visible, not being destroyed) and may show in Area (world units). A shape whose painting
// raises is left out: the error goes to the "vorn.surface" debug channel, the canvas is brought
// back to the state it had before that shape, and the other shapes are painted.

#include "vorn/common/Records.h"
#include "vorn/common/mekDeviceCapsInfo.h"

#include <QPainter>
#include <QRegion>
#include <QTransform>

#include <cstdint>

namespace vorn {

class TCanvas;
class TKxDeShapeBase;

class TKxDeShapePainter {
 public:
  TKxDeShapePainter(TCanvas* C, float X, float Y, double Zoom, const TRectF& Area, PmekDeviceCapsInfo Caps);

  // Paints S when it is shown and reaches into the area; True when it was painted.
  bool Paint(TKxDeShapeBase* S);

  int64_t Painted() const { return FPainted; }
  // Shapes whose painting raised.
  int64_t Failed() const { return FFailed; }

 private:
  // The canvas as it was before the shape that raised.
  void Restore();

  TCanvas* FCanvas;
  float FX;
  float FY;
  double FZoom;
  TRectF FArea;
  PmekDeviceCapsInfo FCaps;
  QTransform FTransform;
  QPainter::RenderHints FHints;
  bool FClipping = false;
  QRegion FClip;
  int64_t FPainted = 0;
  int64_t FFailed = 0;
};

}  // namespace vorn
