#pragma once
// TCanvas: the engine's canvas drawing model over a QPainter. It carries a pen, a brush and a
// font with their colours and styles, a pen position for MoveTo/LineTo and the drawing
// primitives the shapes use; Painter() gives the QPainter for everything else.
//
// Coordinates are device pixels after the canvas transform. Rectangles exclude their right and
// bottom edges, as the engine's drawing model has it. Pen modes map to raster operations, which work on
// QImage buffers (XOR feedback drawing); other devices fall back to plain copying.

#include "vorn/common/Color.h"
#include "vorn/common/Graphics.h"
#include "vorn/common/Records.h"

#include <QFont>
#include <QPainter>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QImage;
class QPaintDevice;

namespace vorn {

class TCanvas;

// Shared by pen, brush and font: a change tells the owning canvas to refresh its painter state.
class TGraphicsObject {
 public:
  virtual ~TGraphicsObject() = default;
  std::function<void()> OnChange;

 protected:
  void Changed() { if (OnChange) OnChange(); }
};

// The canvas pen: colour, width in pixels, style and raster operation.
class TPen : public TGraphicsObject {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { if (FColor != Value) { FColor = Value; Changed(); } }
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value) { if (FStyle != Value) { FStyle = Value; Changed(); } }
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value) { if (FMode != Value) { FMode = Value; Changed(); } }
  // Width in device pixels; 0 and 1 both draw one pixel wide.
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t Value) { if (Value < 0) Value = 0; if (FWidth != Value) { FWidth = Value; Changed(); } }
  void Assign(const TPen& Source);
  // A custom pen (geometric pens with their own caps, joins and dashes); it replaces colour,
  // style and width until cleared with ClearCustom().
  void SetCustom(const QPen& Pen) { FCustom = std::make_unique<QPen>(Pen); Changed(); }
  void ClearCustom() { if (FCustom) { FCustom.reset(); Changed(); } }
  // The Qt pen that draws like this one.
  QPen ToQPen() const;

 private:
  TColor FColor = clBlack;
  TPenStyle FStyle = TPenStyle::psSolid;
  TPenMode FMode = TPenMode::pmCopy;
  int32_t FWidth = 1;
  std::unique_ptr<QPen> FCustom;
};

// The canvas brush: a fill colour and pattern.
class TBrush : public TGraphicsObject {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) {
    if (FColor != Value) {
      FColor = Value;
      if (FStyle == TBrushStyle::bsClear && Value != clNone) FStyle = TBrushStyle::bsSolid;
      Changed();
    }
  }
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value) { if (FStyle != Value) { FStyle = Value; Changed(); } }
  void Assign(const TBrush& Source) { FColor = Source.FColor; FStyle = Source.FStyle; Changed(); }
  QBrush ToQBrush() const;

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = TBrushStyle::bsSolid;
};

// The canvas font: family, size in points, colour, style and charset.
class TFont : public TGraphicsObject {
 public:
  QString Name() const { return FName; }
  void SetName(const QString& Value) { if (FName != Value) { FName = Value; Changed(); } }
  // Size in points; setting it clears a pixel height.
  int32_t Size() const;
  void SetSize(int32_t Value);
  // Height in pixels: negative for the character height, positive for the cell height; 0 = use Size.
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Value) { if (FHeight != Value) { FHeight = Value; Changed(); } }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { if (FColor != Value) { FColor = Value; Changed(); } }
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value) { if (FStyle != Value) { FStyle = Value; Changed(); } }
  // Escapement in tenths of a degree, counter-clockwise.
  int32_t Orientation() const { return FOrientation; }
  void SetOrientation(int32_t Value) { if (FOrientation != Value) { FOrientation = Value; Changed(); } }
  void Assign(const TFont& Source);
  QFont ToQFont() const;

 private:
  QString FName = QStringLiteral("DejaVu Sans");
  int32_t FSize = 8;
  int32_t FHeight = 0;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  int32_t FOrientation = 0;
};

class TCanvas {
 public:
  // Paints on a device with a painter of its own (ended when the canvas is destroyed).
  explicit TCanvas(QPaintDevice* Device);
  // Paints through a painter that someone else began (a widget's paint event, a PDF writer).
  explicit TCanvas(QPainter* Painter);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen* Pen() { return &FPen; }
  TBrush* Brush() { return &FBrush; }
  TFont* Font() { return &FFont; }
  QPainter* Painter();
  // The painter with the canvas font and raster operation applied, its pen and brush left as they
  // are: for painting that sets its own pen and brush before every figure.
  QPainter* DevicePainter();
  QPaintDevice* Device() const;
  // The image being painted, when the device is one (null otherwise).
  QImage* Image() const;

  // Smooth edges for shapes; off by default so that feedback drawing and pixel work stay exact.
  bool Antialiasing() const { return FAntialiasing; }
  void SetAntialiasing(bool Value);

  TPoint PenPos() const { return FPenPos; }
  void SetPenPos(TPoint Value) { FPenPos = Value; }
  void MoveTo(int32_t X, int32_t Y) { FPenPos = {X, Y}; }
  // Draws from the pen position to (X, Y), which becomes the pen position.
  void LineTo(int32_t X, int32_t Y);

  // Rectangles, rounded rectangles and ellipses keep the whole width of an inside-frame pen
  // (psInsideFrame, wider than one pixel) inside their rectangle; other pens are centred on it.
  void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3);
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void Polygon(const TPointArray& Points);
  void Polyline(const TPointArray& Points);
  void PolyBezier(const TPointArray& Points);
  // World-precision versions for shapes that paint through a transform.
  void Polygon(const TDPointArray& Points);
  void Polyline(const TDPointArray& Points);
  // Fills with the brush, no outline.
  void FillRect(const TRect& R);
  // A one-pixel frame in the brush colour.
  void FrameRect(const TRect& R);
  // Text with its top-left corner at (X, Y); an opaque brush fills the text cell first.
  void TextOut(int32_t X, int32_t Y, const QString& Text);
  // Text clipped to R, starting at (X, Y).
  void TextRect(const TRect& R, int32_t X, int32_t Y, const QString& Text);
  TPoint TextExtent(const QString& Text);
  int32_t TextWidth(const QString& Text) { return TextExtent(Text).X; }
  int32_t TextHeight(const QString& Text) { return TextExtent(Text).Y; }
  void Draw(int32_t X, int32_t Y, const QImage& Image);
  void StretchDraw(const TRect& R, const QImage& Image);

  // Pixel access on image devices (other devices read clNone and ignore writes).
  TColor Pixel(int32_t X, int32_t Y) const;
  void SetPixel(int32_t X, int32_t Y, TColor Color);

  // Clipping in device coordinates.
  void SetClipRect(const TRect& R);
  void IntersectClipRect(const TRect& R);
  void ResetClip();
  bool HasClip() const;
  TRect ClipRect() const;

  // The world transform applied to everything drawn.
  QTransform Transform() const;
  void SetTransform(const QTransform& Transform);

  // Locking brackets a sequence of drawing; the count is what callers test.
  void Lock() { ++FLockCount; }
  void Unlock() { if (FLockCount > 0) --FLockCount; }
  int32_t LockCount() const { return FLockCount; }

 private:
  void Init();
  // Brings the painter's pen, brush, font and raster operation up to date.
  void RequireState(bool UsePen, bool UseBrush);
  // Brings the painter's font and raster operation up to date.
  void RequireModes();
  bool SkipDrawing() const;
  // For an inside-frame pen: the outline its centre follows so that its ink fills the rectangle's
  // edge inwards (the painter's pen narrowed when the figure is thinner than it); none otherwise.
  std::optional<QRectF> InsideFrame(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  QPainter::CompositionMode CompositionFor(TPenMode Mode) const;

  std::unique_ptr<QPainter> FOwnPainter;
  QPainter* FPainter = nullptr;
  TPen FPen;
  TBrush FBrush;
  TFont FFont;
  TPoint FPenPos;
  bool FAntialiasing = false;
  bool FStateDirty = true;
  int32_t FLockCount = 0;
};

}  // namespace vorn
