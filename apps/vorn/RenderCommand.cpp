// vorn render DOC -o OUT [--dpi N] [--zoom PERCENT]: draws a document's page into an image (any
// raster format Qt writes, chosen by OUT's extension), a PDF (vectors, the document's page size)
// or an SVG drawing, without a window.
#include "Commands.h"
#include "DocumentIO.h"

#include <vorn/common/Exceptions.h>
#include <vorn/common/Units.h>
#include <vorn/shapes/VornDocumentRenderer.h>

#include <QFileInfo>
#include <QImageWriter>

#include <cstdio>

namespace vorncli {
namespace {

constexpr const char* kName = "render";

bool ParseNumber(const QString& Text, double Low, double High, double& Value) {
  bool ok = false;
  const double v = Text.toDouble(&ok);
  if (!ok || !(v >= Low && v <= High)) return false;
  Value = v;
  return true;
}

}  // namespace

int RunRender(const QStringList& Args) {
  QString in, out;
  double dpi = 0, zoom = 0;
  for (qsizetype i = 0; i < Args.size(); ++i) {
    const QString& a = Args[i];
    const bool hasValue = i + 1 < Args.size();
    if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
      if (!hasValue) return UsageError(kName, QStringLiteral("%1 needs a file name").arg(a));
      out = Args[++i];
    } else if (a == QLatin1String("--dpi")) {
      if (!hasValue || !ParseNumber(Args[++i], 1, 4800, dpi))
        return UsageError(kName, QStringLiteral("--dpi takes a resolution from 1 to 4800"));
    } else if (a == QLatin1String("--zoom")) {
      if (!hasValue || !ParseNumber(Args[++i], 1, 10000, zoom))
        return UsageError(kName, QStringLiteral("--zoom takes a percentage from 1 to 10000"));
    } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
      return UsageError(kName, QStringLiteral("unknown option '%1'").arg(a));
    } else if (in.isEmpty()) {
      in = a;
    } else {
      return UsageError(kName, QStringLiteral("more than one document given"));
    }
  }
  if (in.isEmpty()) return UsageError(kName, QStringLiteral("no document given"));
  if (out.isEmpty()) return UsageError(kName, QStringLiteral("no output file given (-o OUT)"));
  const QString suffix = QFileInfo(out).suffix().toLower();
  const bool vector = suffix == QLatin1String("pdf") || suffix == QLatin1String("svg");
  if (!vector && (suffix.isEmpty() || !QImageWriter::supportedImageFormats().contains(suffix.toLatin1())))
    return UsageError(kName, QStringLiteral("cannot write files of type '%1' (use .png, .pdf or .svg)").arg(suffix));
  if (vector && (dpi > 0 || zoom > 0)) return UsageError(kName, QStringLiteral("--dpi and --zoom apply to images"));

  LoadedDocument doc;
  QString error;
  if (!doc.Load(in, error)) return InputError(error);
  for (const QString& w : doc.Warnings) std::fprintf(stderr, "vorn: %s: %s\n", qPrintable(in), qPrintable(w));

  const vorn::TRectF page{0, 0, static_cast<float>(doc.Settings.PageWidth),
                          static_cast<float>(doc.Settings.PageHeight)};
  vorn::TVornDocumentRenderer renderer(doc.Layers, page, doc.Settings.PageColor);
  renderer.OnProgress = TerminalProgress("drawing");
  try {
    if (suffix == QLatin1String("pdf")) {
      renderer.RenderPdf(out);
      std::printf("%s: PDF page of %.1f x %.1f mm\n", qPrintable(out),
                  page.Width() / vorn::CoordsPixelsPerMMConvertValue,
                  page.Height() / vorn::CoordsPixelsPerMMConvertValue);
    } else if (suffix == QLatin1String("svg")) {
      renderer.RenderSvg(out);
      std::printf("%s: SVG drawing\n", qPrintable(out));
    } else {
      // The engine's zoom 100 is one world unit per pixel; a resolution asks for that many pixels
      // per inch of the page, and both together multiply.
      double factor = dpi > 0 ? vorn::TVornDocumentRenderer::ZoomForDpi(dpi) : 1.0;
      if (zoom > 0) factor *= zoom / 100.0;
      const QImage image = renderer.RenderImage(factor);
      QImageWriter writer(out, suffix.toLatin1());
      if (!writer.write(image)) return InputError(QStringLiteral("%1: %2").arg(out, writer.errorString()));
      std::printf("%s: %d x %d pixels at %.0f dpi\n", qPrintable(out), image.width(), image.height(),
                  vorn::TVornDocumentRenderer::DpiForZoom(factor));
    }
  } catch (const vorn::Exception& e) {
    return InputError(e.Message());
  }
  return 0;
}

}  // namespace vorncli
