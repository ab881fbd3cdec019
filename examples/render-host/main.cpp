// A host that uses the standard shape kit as it is: registers the kit's shapes, loads a document
// and renders its page to a PNG image.
//
//   render-host DOCUMENT.vorn OUT.png [DPI]
#include <vorn/VornDrawEngR.h>
#include <vorn/shapes/VornDocumentRenderer.h>
#include <vorn/shapes/VornShapes.h>

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  using namespace vorn;
  if (argc < 3) {
    std::fprintf(stderr, "usage: render-host DOCUMENT.vorn OUT.png [DPI]\n");
    return 2;
  }
  const double dpi = argc > 3 ? std::atof(argv[3]) : 96;

  RegisterVornShapes();  // documents name their shapes by class

  TKxDeLayerList layers;
  TKxDeDocumentSettings page;
  try {
    // A damaged or unknown element is skipped, not fatal: the report says what was left out.
    const TKxDeXmlReadReport report =
        TKxDeDocumentFile::LoadLayersFromFile(QString::fromLocal8Bit(argv[1]), layers, page);
    for (const QString& line : report.Messages) std::fprintf(stderr, "render-host: skipped %s\n", qPrintable(line));
  } catch (const Exception& e) {
    std::fprintf(stderr, "render-host: %s\n", qPrintable(e.Message()));
    return 1;
  }

  const TVornDocumentRenderer renderer(
      layers, TRectF{0, 0, static_cast<float>(page.PageWidth), static_cast<float>(page.PageHeight)}, page.PageColor);
  const QImage image = renderer.RenderImage(TVornDocumentRenderer::ZoomForDpi(dpi));
  const bool saved = image.save(QString::fromLocal8Bit(argv[2]));
  std::printf("%s: %zu layers, %lld shapes painted, %d x %d pixels %s %s\n", kVornProductName, layers.size(),
              static_cast<long long>(renderer.PaintedShapes()), image.width(), image.height(),
              saved ? "written to" : "NOT written to", argv[2]);
  for (TKxDeLayer* layer : layers) Free(layer);
  return saved && renderer.PaintedShapes() > 0 ? 0 : 1;
}
