#pragma once
// What the editor tests look at on screen: a grab of a widget, kept as a PNG under
// build/test-output for a person to look at, and the colour at a window point of it.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>

namespace vorn::test {

inline QImage GrabToFile(QWidget& W, const char* Name) {
  QImage image = W.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QString dir = QStringLiteral(VORN_BINARY_DIR "/test-output");
  QDir().mkpath(dir);
  image.save(dir + QLatin1Char('/') + QLatin1String(Name) + QStringLiteral(".png"));
  return image;
}

// The pixel at window point P (device pixels may be more than one per window point).
inline QColor PixelAt(const QImage& I, QPoint P) {
  const qreal r = I.devicePixelRatio();
  return I.pixelColor(qRound(P.x() * r), qRound(P.y() * r));
}

}  // namespace vorn::test
