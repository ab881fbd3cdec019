#include "vorn/shapes/VornDocumentRenderer.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/Exceptions.h>
#include <vorn/common/Units.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeShapeBase.h>
#include <vorn/surface/KxDeShapePainter.h>

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

// How often progress is reported, in shapes.
constexpr int64_t kProgressStep = 1000;

QString DocumentTitle(const QString& FileName, const QString& Title) {
  return Title.isEmpty() ? QFileInfo(FileName).completeBaseName() : Title;
}

}  // namespace

TVornDocumentRenderer::TVornDocumentRenderer(std::vector<TKxDeLayer*> Layers, const TRectF& Page, TColor PageColor)
    : FLayers(std::move(Layers)), FPage(Page), FPageColor(PageColor) {
  // A layer's drawing area is its surface's page; a layer read from a file has no surface, and
  // its groups and packages paint only what lies within the layer's own rectangle: make that
  // the page.
  for (TKxDeLayer* layer : FLayers) {
    if (!layer || layer->GetSurface()) continue;
    const TRectF b = layer->GetBounds();
    if (b.Width() != FPage.Width() || b.Height() != FPage.Height()) layer->Resize(FPage.Width(), FPage.Height());
  }
}

namespace {
// World units per inch, in the precision the unit setting is stored in: at the default setting
// exactly 96, so that 96 dpi is zoom 1 exactly, as the surface paints at zoom 100.
double UnitsPerInch() { return static_cast<double>(CoordsPixelsPerMMConvertValue * 25.4f); }
}  // namespace

double TVornDocumentRenderer::ZoomForDpi(double Dpi) { return Dpi / UnitsPerInch(); }
double TVornDocumentRenderer::DpiForZoom(double Zoom) { return Zoom * UnitsPerInch(); }

TmekDeviceCapsInfo TVornDocumentRenderer::CapsFor(const QPaintDevice* Device, int32_t Technology) {
  TmekDeviceCapsInfo caps;
  caps.Init();
  caps.Technology = Technology;
  if (Device) {
    caps.LogPixelsX = Device->logicalDpiX();
    caps.LogPixelsY = Device->logicalDpiY();
    caps.BitsPixel = Device->depth();
  }
  caps.Planes = 1;
  // Raster targets copy and stretch bitmaps themselves; vector targets take bitmaps as they are.
  caps.RasterCaps = RC_BITBLT | RC_STRETCHBLT | RC_STRETCHDIB;
  caps.IsGDIPrinting = false;
  return caps;
}

QSize TVornDocumentRenderer::ImageSize(double Zoom) const {
  const double w = std::ceil(std::max(0.0f, FPage.Width()) * Zoom);
  const double h = std::ceil(std::max(0.0f, FPage.Height()) * Zoom);
  return QSize(static_cast<int>(std::clamp(w, 1.0, 1e9)), static_cast<int>(std::clamp(h, 1.0, 1e9)));
}

void TVornDocumentRenderer::Paint(TCanvas* C, float X, float Y, double Zoom, PmekDeviceCapsInfo Caps,
                                  bool PrintedOnly) const {
  FPainted = 0;
  if (!C || !(Zoom > 0)) return;
  // The page's top-left corner lands on (X, Y).
  const float ox = X - static_cast<float>(FPage.Left * Zoom);
  const float oy = Y - static_cast<float>(FPage.Top * Zoom);
  if (FPageColor != clNone) {
    QPainter* p = C->Painter();
    p->fillRect(QRectF(X, Y, FPage.Width() * Zoom, FPage.Height() * Zoom), ToQColor(FPageColor));
  }
  int64_t total = 0;
  for (const TKxDeLayer* layer : FLayers)
    if (layer) total += layer->ItemCount();
  int64_t done = 0;
  // The surface paints its layers through the same painter: the page looks alike on screen.
  TKxDeShapePainter painter(C, ox, oy, Zoom, FPage, Caps);
  for (TKxDeLayer* layer : FLayers) {
    if (!layer || !layer->Visible() || layer->InDestroy() || (PrintedOnly && !layer->PrintingAllowed())) {
      done += layer ? layer->ItemCount() : 0;
      continue;
    }
    for (int32_t i = 0; i < layer->ItemCount(); ++i) {
      ++done;
      if (OnProgress && done % kProgressStep == 0) OnProgress(done, total);
      painter.Paint(layer->Items(i));
    }
  }
  FPainted = painter.Painted();
  if (OnProgress) OnProgress(total, total);
}

QImage TVornDocumentRenderer::RenderImage(double Zoom) const {
  // An opaque page is painted as the surface paints its buffers, on opaque pixels: the same
  // blending, so the same pixels as on screen.
  const bool opaque = FPageColor != clNone;
  QImage image(ImageSize(Zoom), opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
  if (image.isNull())
    throw Exception(QStringLiteral("an image of %1 x %2 pixels is too large")
                        .arg(ImageSize(Zoom).width())
                        .arg(ImageSize(Zoom).height()));
  image.fill(opaque ? ToQColor(FPageColor) : QColor(Qt::transparent));
  const double dpi = DpiForZoom(Zoom);
  image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
  image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
  {
    TCanvas canvas(&image);
    canvas.SetAntialiasing(true);
    TmekDeviceCapsInfo caps = CapsFor(&image, DT_RASDISPLAY);
    caps.LogPixelsX = caps.LogPixelsY = static_cast<int32_t>(std::lround(dpi));
    Paint(&canvas, 0, 0, Zoom, &caps);
  }
  return image;
}

void TVornDocumentRenderer::RenderPdf(const QString& FileName, int32_t Dpi, const QString& Title) const {
  TVornPdfPages pdf(FileName, FPage, Title, Dpi);
  pdf.AddPage(*this);
  pdf.Finish();
}

void TVornDocumentRenderer::RenderSvg(const QString& FileName, const QString& Title) const {
  const double zoom = 1.0;
  const QSize size = ImageSize(zoom);
  QSvgGenerator generator;
  generator.setFileName(FileName);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(static_cast<int>(std::lround(DpiForZoom(zoom))));
  generator.setTitle(DocumentTitle(FileName, Title));
  generator.setDescription(QStringLiteral("Drawn by the Vorn Drawing Engine"));
  QPainter painter;
  if (!painter.begin(&generator)) throw Exception(QStringLiteral("%1: cannot be written").arg(FileName));
  {
    TCanvas canvas(&painter);
    canvas.SetAntialiasing(true);
    TmekDeviceCapsInfo caps = CapsFor(&generator, DT_METAFILE);
    caps.BitsPixel = 24;
    Paint(&canvas, 0, 0, zoom, &caps);
  }
  if (!painter.end()) throw Exception(QStringLiteral("%1: cannot be written").arg(FileName));
}

TVornPdfPages::TVornPdfPages(const QString& FileName, const TRectF& Page, const QString& Title, int32_t Dpi)
    : FFileName(FileName), FWriter(std::make_unique<QPdfWriter>(FileName)) {
  FWriter->setCreator(QStringLiteral("Vorn Drawing Engine"));
  FWriter->setTitle(DocumentTitle(FileName, Title));
  FWriter->setResolution(std::clamp(Dpi, 72, 9600));
  const double mmW = Page.Width() / CoordsPixelsPerMMConvertValue;
  const double mmH = Page.Height() / CoordsPixelsPerMMConvertValue;
  if (!(mmW > 0 && mmH > 0)) throw Exception(QStringLiteral("the page has no size"));
  FWriter->setPageLayout(
      QPageLayout(QPageSize(QSizeF(mmW, mmH), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                  QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  FPainter = std::make_unique<QPainter>();
  if (!FPainter->begin(FWriter.get())) throw Exception(QStringLiteral("%1: cannot be written").arg(FileName));
  FCanvas = std::make_unique<TCanvas>(FPainter.get());
  FCanvas->SetAntialiasing(true);
  FCaps = TVornDocumentRenderer::CapsFor(FWriter.get(), DT_METAFILE);
  FCaps.LogPixelsX = FCaps.LogPixelsY = FWriter->resolution();
  FCaps.BitsPixel = 24;
  FZoom = TVornDocumentRenderer::ZoomForDpi(FWriter->resolution());
}

TVornPdfPages::~TVornPdfPages() {
  FCanvas.reset();
  if (FPainter && FPainter->isActive()) FPainter->end();
}

void TVornPdfPages::AddPage(const TVornDocumentRenderer& Renderer) {
  // The writer starts with one page; every page after it is asked for.
  if (FPages > 0 && !FWriter->newPage()) throw Exception(QStringLiteral("%1: cannot be written").arg(FFileName));
  Renderer.Paint(FCanvas.get(), 0, 0, FZoom, &FCaps, true);
  ++FPages;
}

void TVornPdfPages::Finish() {
  FCanvas.reset();
  if (!FPainter->end()) throw Exception(QStringLiteral("%1: cannot be written").arg(FFileName));
}

}  // namespace vorn
