// Raster throughput: IMG encoding and decoding of a 600-dpi A4 page (MB/s of packed 1-bit pixels),
// and the parallel quarter turn against QImage::transformed on an 8000 x 8000 image.
#include "BenchMain.h"

#include <vorn/raster/BitmapRotation.h>
#include <vorn/raster/IMGCodec.h>
#include <vorn/raster/KxDeBitmap.h>

#include <benchmark/benchmark.h>

#include <QTransform>

#include <random>

namespace {

constexpr int kA4Width = 4960;   // 210 mm at 600 dpi
constexpr int kA4Height = 7016;  // 297 mm at 600 dpi
constexpr int kRotateSide = 8000;

// A text-like page: margins, lines of "glyphs" (short black runs), blank leading between lines.
QImage TextPage() {
  QImage page(kA4Width, kA4Height, QImage::Format_Mono);
  page.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  page.fill(1);
  std::mt19937 rng(42);
  const int margin = 600;
  for (int top = margin; top + 50 < kA4Height - margin; top += 80) {
    // Each text line has a row pattern reused for a few rows at a time, like glyph stems.
    for (int y = top; y < top + 50;) {
      const int repeat = 1 + static_cast<int>(rng() % 6);
      uint8_t* row = page.scanLine(y);
      for (int x = margin; x < kA4Width - margin;) {
        const int ink = 2 + static_cast<int>(rng() % 10);
        const int gap = 2 + static_cast<int>(rng() % 25);
        for (int k = 0; k < ink && x < kA4Width - margin; ++k, ++x)
          row[x >> 3] &= static_cast<uint8_t>(~(0x80 >> (x & 7)));
        x += gap;
      }
      for (int r = 1; r < repeat && y + r < top + 50; ++r)
        std::copy_n(page.constScanLine(y), page.bytesPerLine(), page.scanLine(y + r));
      y += repeat;
    }
  }
  return page;
}

// Random pixels: nothing to compress, the coder's worst case.
QImage NoisePage() {
  QImage page(kA4Width, kA4Height, QImage::Format_Mono);
  page.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  std::mt19937 rng(7);
  for (int y = 0; y < page.height(); ++y) {
    auto* p = reinterpret_cast<uint32_t*>(page.scanLine(y));
    for (qsizetype k = 0; k < page.bytesPerLine() / 4; ++k) p[k] = rng();
  }
  return page;
}

const QImage& Page(int Kind) {
  static const QImage text = TextPage();
  static const QImage noise = NoisePage();
  return Kind == 0 ? text : noise;
}

int64_t PackedBytes(const QImage& Image) { return int64_t((Image.width() + 7) / 8) * Image.height(); }

void BM_IMGEncodeA4(benchmark::State& State) {
  const QImage& page = Page(static_cast<int>(State.range(0)));
  int64_t encoded = 0;
  for (auto _ : State) {
    const QByteArray bytes = vorn::IMGEncodeBytes(page);
    encoded = bytes.size();
    benchmark::DoNotOptimize(bytes.constData());
  }
  State.SetBytesProcessed(State.iterations() * PackedBytes(page));
  State.counters["file_MB"] = double(encoded) / 1e6;
  State.SetLabel(State.range(0) == 0 ? "text page" : "noise page");
}
BENCHMARK(BM_IMGEncodeA4)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_IMGDecodeA4(benchmark::State& State) {
  const QImage& page = Page(static_cast<int>(State.range(0)));
  const QByteArray bytes = vorn::IMGEncodeBytes(page);
  for (auto _ : State) {
    vorn::TIMGDecodeResult r = vorn::IMGDecodeBytes(bytes.constData(), bytes.size());
    benchmark::DoNotOptimize(r.Image.constBits());
  }
  State.SetBytesProcessed(State.iterations() * PackedBytes(page));
  State.SetLabel(State.range(0) == 0 ? "text page" : "noise page");
}
BENCHMARK(BM_IMGDecodeA4)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

QImage BigImage() {
  QImage image(kRotateSide, kRotateSide, QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* p = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) p[x] = qRgba(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF, 255);
  }
  return image;
}

// The image is 256 MB: a few iterations say enough.
void BM_RotateBitmap90(benchmark::State& State) {
  vorn::TKxDeBitmap bitmap;
  bitmap.SetPixelFormat(vorn::TPixelFormat::pf32bit);
  bitmap.SetImage(BigImage());
  for (auto _ : State) vorn::RotateBitmap90(&bitmap, 90);
  State.SetBytesProcessed(State.iterations() * int64_t(kRotateSide) * kRotateSide * 4);
}
BENCHMARK(BM_RotateBitmap90)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QImageTransformed90(benchmark::State& State) {
  QImage image = BigImage();
  const QTransform turn = QTransform().rotate(90);
  for (auto _ : State) image = image.transformed(turn);
  State.SetBytesProcessed(State.iterations() * int64_t(kRotateSide) * kRotateSide * 4);
}
BENCHMARK(BM_QImageTransformed90)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return RunVornBenchmarks(argc, argv); }
