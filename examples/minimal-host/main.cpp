// The smallest host: links the engine, uses its geometry and draws through its canvas.
#include <vorn/VornDrawEngR.h>

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  // Rotate a point a quarter turn about the origin.
  const vorn::TPointF p = vorn::TKxDeUtils::RotatePoint({1, 0}, 90, {0, 0});

  // Draw a red rectangle into an image through the engine's canvas.
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    vorn::TCanvas canvas(&image);
    canvas.Brush()->SetColor(vorn::clRed);
    canvas.Rectangle(5, 5, 35, 25);
  }
  const bool red = image.pixelColor(20, 15) == QColor(Qt::red);

  std::printf("%s: rotated (1, 0) to (%.2f, %.2f); canvas drew %s\n", vorn::kVornProductName, p.X, p.Y,
              red ? "red" : "nothing");
  return red ? 0 : 1;
}
