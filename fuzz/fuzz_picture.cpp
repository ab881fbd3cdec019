// Pictures from bytes through the graphic registry: the first byte picks a file extension (the
// registry finds the class that reads the rest, with the fallback classes behind it) or the stored
// form, which names its class itself. A picture that loads must draw, and its stored form must
// read back to the same size.

#include "FuzzSupport.h"

#include <vorn/common/Exceptions.h>
#include <vorn/common/KxDePicture.h>
#include <vorn/common/Picture.h>

#include <QBuffer>
#include <QStringList>

using namespace vorn;

namespace {

// A fixed list, so that a seed picks the same reader on every machine: the engine's own classes,
// formats only Qt's plugins read, and an extension nobody registers.
const QStringList& Extensions() {
  static const QStringList extensions = {QStringLiteral("bmp"), QStringLiteral("png"), QStringLiteral("jpg"),
                                         QStringLiteral("gif"), QStringLiteral("svg"), QStringLiteral("img"),
                                         QStringLiteral("ico"), QStringLiteral("pbm"), QStringLiteral("xpm"),
                                         QStringLiteral("xbm"), QStringLiteral("dat")};
  return extensions;
}

void CheckLoaded(const TPicture* Picture) {
  const TGraphic* g = Picture->Graphic();
  if (!g) return;
  (void)g->ToImage(QSize(16, 16));
  TOwned<TPicture> back(Create<TPicture>());
  try {
    PictureFromBytes(back.get(), PictureToBytes(Picture));
  } catch (const Exception& e) {
    fuzz::Fail("the stored form of a loaded picture does not read back", g->ClassName().toUtf8(), e.what());
  }
  if (back->Width() != Picture->Width() || back->Height() != Picture->Height())
    fuzz::Fail("the stored form of a picture reads to another size", g->ClassName().toUtf8());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  const int choice = Data[0] % (Extensions().size() + 1);
  const QByteArray bytes = fuzz::Bytes(Data + 1, Size - 1);
  try {
    if (choice == Extensions().size()) {
      TOwned<TPicture> picture(Create<TPicture>());
      PictureFromBytes(picture.get(), bytes);
      CheckLoaded(picture.get());
    } else {
      TOwned<TKxDePicture> picture(Create<TKxDePicture>(nullptr));
      picture->SetPicturePath(QStringLiteral("input.") + Extensions()[choice]);
      QByteArray copy = bytes;
      QBuffer buffer(&copy);
      buffer.open(QIODevice::ReadOnly);
      picture->LoadFromStream(&buffer);
      CheckLoaded(picture->Picture());
    }
  } catch (const Exception&) {
  }
  return 0;
}
