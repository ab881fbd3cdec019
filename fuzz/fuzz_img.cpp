// The IMG decoder. A decoded image must encode, and that encoding must decode to the same pixels.

#include "FuzzSupport.h"

#include <vorn/common/Exceptions.h>
#include <vorn/raster/IMGCodec.h>

#include <cstring>

using namespace vorn;

namespace {

// Both images come from the decoder (Format_Mono, the same colour table): equal bits of every row
// up to the width, whatever the padding bits hold.
bool SamePixels(const QImage& A, const QImage& B) {
  if (A.size() != B.size() || A.format() != B.format() || A.colorTable() != B.colorTable()) return false;
  const int full = A.width() / 8, rest = A.width() % 8;
  const uchar mask = static_cast<uchar>(0xFF00 >> rest);
  for (int y = 0; y < A.height(); ++y) {
    const uchar* a = A.constScanLine(y);
    const uchar* b = B.constScanLine(y);
    if (std::memcmp(a, b, static_cast<size_t>(full)) != 0) return false;
    if (rest && ((a[full] ^ b[full]) & mask)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  // Large headers are legal but only slow the search down.
  SetIMGMaxPixels(int64_t{1} << 20);
  TIMGDecodeResult first;
  try {
    first = IMGDecodeBytes(reinterpret_cast<const char*>(Data), static_cast<int64_t>(Size));
  } catch (const EImgException&) {
    return 0;
  }
  if (first.Consumed > static_cast<int64_t>(Size)) fuzz::Fail("the decoder claims to have read past the data");
  if (!first.Decoded) return 0;
  const QByteArray encoded = IMGEncodeBytes(first.Image);
  const TIMGDecodeResult second = IMGDecodeBytes(encoded.constData(), encoded.size());
  if (!second.Decoded || second.Consumed != encoded.size() || !SamePixels(first.Image, second.Image))
    fuzz::Fail("an encoded image does not decode to the same pixels");
  return 0;
}
