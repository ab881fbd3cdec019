#pragma once
// Helpers every test area uses, and the headers tests need (every public header of the engine): files in a
// temporary folder, debug messages caught while a test runs, XML child lists and geometry compared with a tolerance.

#include <vorn/VornDrawEngR.h>

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QMetaProperty>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace vorn::test {

inline QByteArray ReadFile(const QString& Path) {
  QFile f(Path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QString WriteFile(const QString& Path, const QByteArray& Bytes) {
  QFile f(Path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << Path.toStdString();
  f.write(Bytes);
  return Path;
}

// A W x H PNG (or another format Qt writes) of one colour, or of two halves when Right is given:
// the left half Left, the right half Right.
inline QString WriteImage(const QTemporaryDir& Dir, const QString& Name, int W, int H, QColor Left = Qt::red,
                          QColor Right = QColor(), const char* Format = "PNG") {
  QImage img(W, H, QImage::Format_ARGB32);
  img.fill(Left);
  if (Right.isValid())
    for (int y = 0; y < H; ++y)
      for (int x = W / 2; x < W; ++x) img.setPixelColor(x, y, Right);
  const QString path = Dir.filePath(Name);
  EXPECT_TRUE(img.save(path, Format)) << path.toStdString();
  return path;
}

// The smallest rectangle holding every pixel whose colour (alpha aside) is not Background's.
inline QRect InkBounds(const QImage& Image, QRgb Background = qRgb(255, 255, 255)) {
  QRect r;
  for (int y = 0; y < Image.height(); ++y)
    for (int x = 0; x < Image.width(); ++x)
      if ((Image.pixel(x, y) ^ Background) & 0xFFFFFFu) r |= QRect(x, y, 1, 1);
  return r;
}

// How many pixels of two images of one size differ by more than Tolerance in a colour channel.
inline int DifferingPixels(const QImage& A, const QImage& B, int Tolerance = 0) {
  int n = 0;
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x) {
      const QRgb a = A.pixel(x, y), b = B.pixel(x, y);
      n += std::abs(qRed(a) - qRed(b)) > Tolerance || std::abs(qGreen(a) - qGreen(b)) > Tolerance ||
           std::abs(qBlue(a) - qBlue(b)) > Tolerance;
    }
  return n;
}

// One log shared by everything a test watches, so that the order across objects shows.
struct TCallLog {
  std::vector<std::string> Entries;
  std::map<const void*, std::string> Names;

  std::string NameOf(const void* Object) const {
    if (!Object) return "none";
    auto it = Names.find(Object);
    return it == Names.end() ? "?" : it->second;
  }
  void Add(const std::string& Entry) { Entries.push_back(Entry); }
  void Clear() { Entries.clear(); }
  // The entries, then an empty log.
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(Entries);
    return out;
  }
  // Entries that start with Prefix.
  std::vector<std::string> Only(const std::string& Prefix) const {
    std::vector<std::string> out;
    for (const auto& e : Entries)
      if (e.rfind(Prefix, 0) == 0) out.push_back(e);
    return out;
  }
  size_t Count(const std::string& Entry) const {
    size_t n = 0;
    for (const auto& e : Entries) n += e == Entry ? 1 : 0;
    return n;
  }
};

using Strings = std::vector<std::string>;

inline std::string ActionText(TKxDeAction Action) { return EnumToText(Action).toStdString(); }

// A white W x H image with what Draw painted on it through a canvas.
inline QImage Drawn(const std::function<void(TCanvas&)>& Draw, int W = 40, int H = 30) {
  QImage img(W, H, QImage::Format_RGB32);
  img.fill(Qt::white);
  TCanvas c(&img);
  Draw(c);
  return img;
}

// Collects the debug messages posted while it lives.
class TMessageSinkGuard {
 public:
  TMessageSinkGuard() {
    FPrevious = SetDebugMessageSink([this](const QString& M) { Messages << M; });
  }
  ~TMessageSinkGuard() { SetDebugMessageSink(FPrevious); }
  TMessageSinkGuard(const TMessageSinkGuard&) = delete;
  TMessageSinkGuard& operator=(const TMessageSinkGuard&) = delete;
  QStringList Messages;

 private:
  TDebugMessageSink FPrevious;
};

// The names of a node's children, in order.
inline std::vector<std::string> ChildNames(TXmlNode Node) {
  std::vector<std::string> names;
  for (TXmlNode c : Node.children()) names.emplace_back(c.name());
  return names;
}

// Turned or scaled geometry leaves rounding noise.
inline void ExpectNear(const TRectF& Actual, const TRectF& Expected, double Tolerance = 1e-3) {
  EXPECT_NEAR(Actual.Left, Expected.Left, Tolerance);
  EXPECT_NEAR(Actual.Top, Expected.Top, Tolerance);
  EXPECT_NEAR(Actual.Right, Expected.Right, Tolerance);
  EXPECT_NEAR(Actual.Bottom, Expected.Bottom, Tolerance);
}

inline void ExpectNear(const TPointF& Actual, const TPointF& Expected, double Tolerance = 1e-3) {
  EXPECT_NEAR(Actual.X, Expected.X, Tolerance);
  EXPECT_NEAR(Actual.Y, Expected.Y, Tolerance);
}

}  // namespace vorn::test
