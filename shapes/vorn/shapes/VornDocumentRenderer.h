#pragma once
// TVornDocumentRenderer: paints a document (its layers on a page) without a window, onto any
// canvas, into an image, a PDF file (vectors, the page size of the document) or an SVG file.
//
// Layers are painted bottom first, each visible shape of a visible layer that lies on the page,
// as a layer paints its children for the surface; every shape is given a device-capabilities
// record that describes the target (resolution, raster or vector, colour depth), so shapes can
// adapt to it.

#include <vorn/common/Color.h>
#include <vorn/common/Records.h>
#include <vorn/common/mekDeviceCapsInfo.h>

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;
class QPdfWriter;

namespace vorn {

class TCanvas;
class TKxDeLayer;

class TVornDocumentRenderer {
 public:
  // Called after each painted top-level shape with the number done and the total.
  using TProgress = std::function<void(int64_t Done, int64_t Total)>;

  // Layers bottom first; the page in world units (its top-left is the origin of the output).
  // Layers without a surface get the page's size as their drawing area.
  TVornDocumentRenderer(std::vector<TKxDeLayer*> Layers, const TRectF& Page, TColor PageColor = clWhite);

  const TRectF& Page() const { return FPage; }
  TColor PageColor() const { return FPageColor; }
  TProgress OnProgress;

  // The zoom factor that puts Dpi device pixels on an inch of the page.
  static double ZoomForDpi(double Dpi);
  // The resolution of a zoom factor (its inverse).
  static double DpiForZoom(double Zoom);
  // The record that describes a device: its technology, resolution, depth and raster abilities.
  static TmekDeviceCapsInfo CapsFor(const QPaintDevice* Device, int32_t Technology);
  // The size in pixels of the page at Zoom (at least 1 x 1).
  QSize ImageSize(double Zoom) const;

  // Paints the page background (unless the page colour is clNone) and the layers onto C: world
  // point w lands on (X + w.X * Zoom, Y + w.Y * Zoom). PrintedOnly leaves out the layers whose
  // printing is not allowed (notes, guides a user keeps off paper).
  void Paint(TCanvas* C, float X, float Y, double Zoom, PmekDeviceCapsInfo Caps, bool PrintedOnly = false) const;
  // The page as an image at Zoom (smoothed edges); the image carries the resolution.
  QImage RenderImage(double Zoom) const;
  // Writes the page as a one-page PDF of the page's size, as it would be printed (layers that are
  // not printed are left out); Dpi is the resolution of the drawing coordinates. The title stored
  // in the file is Title, or the file's base name when Title is empty. Raises vorn::Exception
  // when the file cannot be written.
  void RenderPdf(const QString& FileName, int32_t Dpi = 1200, const QString& Title = QString()) const;
  // Writes the page as an SVG drawing at 96 dots per inch, titled as RenderPdf does. Raises when
  // it cannot be written.
  void RenderSvg(const QString& FileName, const QString& Title = QString()) const;

  // The number of shapes painted by the last call (top-level shapes of the layers).
  int64_t PaintedShapes() const { return FPainted; }

 private:
  std::vector<TKxDeLayer*> FLayers;
  TRectF FPage;
  TColor FPageColor;
  mutable int64_t FPainted = 0;
};

// A PDF file of pages of one size written one after the other, as a data merge writes a page per
// row: each AddPage paints a renderer's page as it would be printed. Raises vorn::Exception when
// the file cannot be written.
class TVornPdfPages {
 public:
  // Page is the page in world units; Title as TVornDocumentRenderer::RenderPdf takes it.
  TVornPdfPages(const QString& FileName, const TRectF& Page, const QString& Title = QString(), int32_t Dpi = 1200);
  ~TVornPdfPages();
  TVornPdfPages(const TVornPdfPages&) = delete;
  TVornPdfPages& operator=(const TVornPdfPages&) = delete;

  void AddPage(const TVornDocumentRenderer& Renderer);
  int32_t PageCount() const { return FPages; }
  // Completes the file.
  void Finish();

 private:
  QString FFileName;
  std::unique_ptr<QPdfWriter> FWriter;
  std::unique_ptr<QPainter> FPainter;
  std::unique_ptr<TCanvas> FCanvas;
  TmekDeviceCapsInfo FCaps;
  double FZoom = 1;
  int32_t FPages = 0;
};

}  // namespace vorn
