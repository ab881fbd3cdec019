// Headless rendering with the shape kit: the 100,000-shape stress document painted into a
// 1600 x 1000 image (the whole page fitted), and the shipping label at 300 dpi.
//
// The label is the repository's samples/shipping-label.vorn (VORN_SAMPLES_DIR, or --samples=DIR
// on the command line, names another folder). The stress document is too large to keep in the
// repository: it is read from that folder when it is there, otherwise from the build folder's
// samples/, where vorn-make-samples writes it on first use.

#include "BenchMain.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/Exceptions.h>
#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/shapes/VornDocumentRenderer.h>
#include <vorn/shapes/VornShapes.h>

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

using namespace vorn;

namespace {

QString gSamples;

struct TDocument {
  TKxDeLayerList Layers;
  TKxDeDocumentSettings Settings;
  int64_t Shapes = 0;
  ~TDocument() {
    for (TKxDeLayer*& l : Layers) Free(l);
  }
};

constexpr const char* kStress = "stress-100k.vorn";

// Where a sample lies; the stress document is generated into the build folder when missing.
QString SamplePath(const char* Name) {
  const QString path = QDir(gSamples).filePath(QString::fromLatin1(Name));
  if (std::strcmp(Name, kStress) != 0 || QFileInfo::exists(path)) return path;
  const QString generated = QStringLiteral(VORN_BINARY_DIR "/samples/") + QString::fromLatin1(Name);
  if (QFileInfo::exists(generated)) return generated;
  std::fprintf(stderr, "bench_render: writing %s with vorn-make-samples (once)\n", qPrintable(generated));
  QDir().mkpath(QFileInfo(generated).path());
  const int status = QProcess::execute(QStringLiteral(VORN_BINARY_DIR "/bin/vorn-make-samples"),
                                       {QStringLiteral("stress"), generated});
  if (status != 0) std::fprintf(stderr, "bench_render: vorn-make-samples failed (%d)\n", status);
  return generated;
}

// Each sample is read once, on first use.
TDocument* Sample(const char* Name) {
  static std::map<std::string, std::unique_ptr<TDocument>> loaded;
  if (loaded.count(Name)) return loaded[Name].get();  // read, or failed, before
  auto& slot = loaded[Name];
  {
    slot = std::make_unique<TDocument>();
    const QString path = SamplePath(Name);
    try {
      TKxDeDocumentFile::LoadLayersFromFile(path, slot->Layers, slot->Settings);
    } catch (const Exception& e) {
      std::fprintf(stderr, "bench_render: %s: %s\n", qPrintable(path), qPrintable(e.Message()));
      slot.reset();
      return nullptr;
    }
    for (TKxDeLayer* l : slot->Layers) slot->Shapes += l->ItemCount();
  }
  return slot.get();
}

TRectF PageOf(const TDocument& D) {
  return TRectF{0, 0, static_cast<float>(D.Settings.PageWidth), static_cast<float>(D.Settings.PageHeight)};
}

void BM_RenderStress1600x1000(benchmark::State& State) {
  TDocument* doc = Sample(kStress);
  if (!doc) {
    State.SkipWithError("the stress document could not be read or written");
    return;
  }
  const TRectF page = PageOf(*doc);
  TVornDocumentRenderer renderer(doc->Layers, page, doc->Settings.PageColor);
  // The whole page fitted into 1600 x 1000 pixels.
  const double zoom = std::min(1600.0 / page.Width(), 1000.0 / page.Height());
  QImage image(1600, 1000, QImage::Format_ARGB32_Premultiplied);
  const bool smooth = State.range(0) != 0;
  for (auto _ : State) {
    image.fill(Qt::white);
    TCanvas canvas(&image);
    canvas.SetAntialiasing(smooth);
    TmekDeviceCapsInfo caps = TVornDocumentRenderer::CapsFor(&image, DT_RASDISPLAY);
    renderer.Paint(&canvas, 0, 0, zoom, &caps);
    benchmark::DoNotOptimize(image.constBits());
  }
  State.counters["shapes"] = static_cast<double>(doc->Shapes);
  State.counters["painted"] = static_cast<double>(renderer.PaintedShapes());
  State.counters["shapes/s"] =
      benchmark::Counter(static_cast<double>(renderer.PaintedShapes()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RenderStress1600x1000)->ArgName("smooth")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RenderLabel300dpi(benchmark::State& State) {
  TDocument* doc = Sample("shipping-label.vorn");
  if (!doc) {
    State.SkipWithError("samples/shipping-label.vorn could not be read");
    return;
  }
  TVornDocumentRenderer renderer(doc->Layers, PageOf(*doc), doc->Settings.PageColor);
  const double zoom = TVornDocumentRenderer::ZoomForDpi(300);
  for (auto _ : State) {
    const QImage image = renderer.RenderImage(zoom);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_RenderLabel300dpi)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  RegisterVornShapes();
  gSamples = qEnvironmentVariableIsEmpty("VORN_SAMPLES_DIR") ? QStringLiteral(VORN_SOURCE_DIR "/samples")
                                                             : qEnvironmentVariable("VORN_SAMPLES_DIR");
  // --samples=DIR is ours; everything else goes to the benchmark library.
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--samples=", 10) == 0) gSamples = QString::fromLocal8Bit(argv[i] + 10);
    else argv[kept++] = argv[i];
  }
  return RunVornBenchmarks(kept, argv);
}
