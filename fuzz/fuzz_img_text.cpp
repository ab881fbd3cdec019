// The IMG text form (".asc"): its reading in memory and as a stream must agree, and what it gives
// goes through the decoder and the graphic class that loads text files.

#include "FuzzSupport.h"

#include <vorn/common/Exceptions.h>
#include <vorn/raster/IMGCodec.h>
#include <vorn/raster/IMGGraphic.h>

#include <QBuffer>

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  SetIMGMaxPixels(int64_t{1} << 20);
  QByteArray text = fuzz::Bytes(Data, Size);
  const QByteArray bytes = IMGTextToBytes(text);
  QBuffer source(&text);
  source.open(QIODevice::ReadOnly);
  QBuffer dest;
  dest.open(QIODevice::ReadWrite);
  TransformASCIItoBinStream(&source, &dest);
  if (dest.data() != bytes)
    fuzz::Fail("the text form reads differently as a stream", bytes.toHex(), dest.data().toHex());

  TIMGGraphic graphic;
  graphic.SetTextForm(true);
  source.seek(0);
  try {
    graphic.LoadFromStream(&source);
  } catch (const EImgException&) {
    return 0;
  }
  // A file of several planes loads nothing. What did load writes back in the text form and reads
  // to the same size.
  if (graphic.Bitmap().isNull()) return 0;
  QBuffer out;
  out.open(QIODevice::ReadWrite);
  graphic.SaveToStream(&out);
  TIMGGraphic back;
  back.SetTextForm(true);
  out.seek(0);
  back.LoadFromStream(&out);
  if (back.Bitmap().size() != graphic.Bitmap().size()) fuzz::Fail("a written text form reads to another size");
  return 0;
}
