// The IMG decoder. A decoded image must encode, and that encoding must decode to the same pixels.

#include "FuzzSupport.h"

#include <vorn/common/Exceptions.h>
#include <vorn/raster/IMGCodec.h>

using namespace vorn;

namespace {

bool SamePixels(const QImage& A, const QImage& B) {
  if (A.size() != B.size()) return false;
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x)
      if (A.pixel(x, y) != B.pixel(x, y)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  // Large headers are legal but only slow the search down.
  SetIMGMaxPixels(int64_t{1} << 22);
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
