// The smallest host: a shape class of its own, registered with the engine, placed on a layer,
// saved as a document, loaded back into new objects and painted into an image.
#include <vorn/VornDrawEngR.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <utility>

// A polygon through the shape's points, filled with the shape brush and framed with its pen.
// The engine stores, moves, sizes, saves and loads the points; the host only says how the shape
// looks. (The kit in shapes/ shows the rest: rotation, hit testing of the real outline,
// selection feedback, properties of its own in the XML.)
class TDiamond : public vorn::TKxDeShape {
  VORN_OBJECT(TDiamond, vorn::TKxDeShape)

 public:
  TDiamond(vorn::TKxDeSurface* ASurface, vorn::TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {
    vorn::TKxDeShapeStyles styles = ShapeStyle();
    styles += vorn::TKxDeShapeStyle::kxssUsesBrush;  // so the brush is painted, saved and loaded
    SetShapeStyle(styles);
  }

  void Paint(vorn::TCanvas* C, float X, float Y, double Zoom, int32_t, vorn::PmekDeviceCapsInfo) override {
    vorn::TPointArray device;  // world to device
    for (int32_t i = 0; i < PointCount(); ++i) {
      const vorn::TPointF w = PointValue(i);
      device.push_back({vorn::Round32(X + w.X * Zoom), vorn::Round32(Y + w.Y * Zoom)});
    }
    Brush()->AssignTo(C->Brush());
    Pen()->AssignTo(C->Pen());
    C->Polygon(device);
  }

 protected:
  ~TDiamond() override = default;
};

#include "main.moc"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  using namespace vorn;

  // Documents name shapes by class: the loader makes registered classes only.
  TKxDeRegister::RegisterShape(ClassOf<TDiamond>(), QStringLiteral("Diamond"), QStringLiteral("A diamond in a box"));

  TKxDeLayerList layers{Create<TKxDeLayer>(static_cast<TKxDeSurface*>(nullptr))};
  TDiamond* diamond = Create<TDiamond>(static_cast<TKxDeSurface*>(nullptr), layers[0]);
  for (const auto [x, y] : {std::pair{40, 10}, {70, 30}, {40, 50}, {10, 30}}) diamond->Add(x, y);  // world units
  diamond->Brush()->SetColor(clRed);

  const QString file = QDir::temp().filePath(QStringLiteral("vorn-minimal-host.vorn"));
  TKxDeLayerList loaded;
  try {
    TKxDeDocumentFile::SaveLayersToFile(file, layers);
    TKxDeDocumentSettings settings;
    TKxDeDocumentFile::LoadLayersFromFile(file, loaded, settings);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
    return 1;
  }
  QFile::remove(file);

  // Paint what came back: the diamond's centre is at (40, 30).
  QImage image(80, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TCanvas canvas(&image);
    for (TKxDeLayer* layer : loaded) layer->PaintIn(&canvas, 0, 0, 1.0, TRectF{0, 0, 80, 60});
  }
  const bool red = image.pixelColor(40, 30) == QColor(Qt::red);
  const bool white = image.pixelColor(12, 12) == QColor(Qt::white);

  std::printf("%s: %zu layer(s) with %d shape(s) loaded; the diamond painted %s\n", kVornProductName,
              loaded.size(), loaded.empty() ? 0 : loaded[0]->ItemCount(), red && white ? "red" : "wrong");
  for (TKxDeLayer* layer : layers) Free(layer);
  for (TKxDeLayer* layer : loaded) Free(layer);
  return red && white ? 0 : 1;
}
