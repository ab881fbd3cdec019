#include "vorn/common/KxDePicture.h"

#include "vorn/common/CommonLib.h"
#include "vorn/common/Exceptions.h"
#include "vorn/common/Finally_p.h"
#include "vorn/common/KxDePictureList.h"
#include "vorn/common/PictureRegisteredFormats.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace vorn {
namespace {

// Files whose drawings must never be smoothed (CAD drawings); the test is case-sensitive.
bool NoAntialiasingExtension(const QString& Path) {
  const QString ext = QFileInfo(Path).suffix();
  return ext == QLatin1String("dxf") || ext == QLatin1String("dwg") || ext == QLatin1String("plt");
}

// Reads a picture file whole, refusing what is not a regular file or is too large.
QByteArray ReadPictureFile(const QString& FileName) {
  const QByteArray local = QFile::encodeName(FileName);
  struct stat st {};
  if (::stat(local.constData(), &st) != 0)
    throw Exception(
        QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, QString::fromLocal8Bit(std::strerror(errno))));
  if (!S_ISREG(st.st_mode)) throw Exception(QStringLiteral("\"%1\" is not a regular file").arg(FileName));
  if (st.st_size > TKxDePicture::MaxPictureFileSize)
    throw Exception(QStringLiteral("\"%1\" is larger than the picture size limit of %2 bytes")
                        .arg(FileName)
                        .arg(TKxDePicture::MaxPictureFileSize));
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
  QByteArray bytes = file.read(TKxDePicture::MaxPictureFileSize + 1);
  if (bytes.size() > TKxDePicture::MaxPictureFileSize)
    throw Exception(QStringLiteral("\"%1\" is larger than the picture size limit of %2 bytes")
                        .arg(FileName)
                        .arg(TKxDePicture::MaxPictureFileSize));
  return bytes;
}

}  // namespace

int64_t TKxDePicture::MaxPictureFileSize = int64_t{256} * 1024 * 1024;

void SetPictureTransparency(TPicture* APicture) {
  if (!APicture || !APicture->Graphic()) return;
  TGraphic* g = APicture->Graphic();
  const bool paletteBitmap = g->IsBitmap() && (g->BitsPerPixel() == 1 || g->BitsPerPixel() == 8);
  g->SetTransparent(!paletteBitmap);
}

TKxDePicture::TKxDePicture(TPersistent* AOwner) : FOwner(AOwner), FPicture(Create<TPicture>()) {}

template <class F>
void TKxDePicture::ChangeProperty(F&& Change, bool IsProperty) {
  auto* owner = dynamic_cast<IKxDePictureOwner*>(FOwner);
  if (owner) owner->BeginPictureChange();
  TFinally end([owner] {
    if (owner) owner->EndPictureChange();
  });
  Change();
  if (owner && IsProperty) owner->PicturePropertyChanged();
}

void TKxDePicture::SetStorePicture(bool Value) {
  if (FStorePicture == Value) return;
  ChangeProperty([&] {
    FStorePicture = Value;
    if (!Value && !FPicturePath.isEmpty()) LoadFromFile(FPicturePath);
  });
}

void TKxDePicture::SetPicturePath(const QString& Value) {
  if (FPicturePath == Value) return;
  ChangeProperty([&] { FPicturePath = Value; });
}

void TKxDePicture::SetKeepRatio(bool Value) {
  if (FKeepRatio == Value) return;
  ChangeProperty([&] { FKeepRatio = Value; });
}

void TKxDePicture::SetTransparentColor(TColor Value) {
  if (FTransparentColor == Value) return;
  ChangeProperty([&] {
    FTransparentColor = Value;
    if (TGraphic* g = FPicture->Graphic()) g->SetTransparentColor(Value);
  });
}

void TKxDePicture::SetVisible(bool Value) {
  if (FVisible == Value) return;
  ChangeProperty([&] { FVisible = Value; });
}

void TKxDePicture::SetDitherMode(int32_t Value) {
  if (FDitherMode == Value) return;
  ChangeProperty([&] { FDitherMode = Value; });
}

void TKxDePicture::SetRotation(double Value) {
  // Raster and vector pictures are rotated by the shapes while drawing; only the value is kept.
  if (FRotation == Value) return;
  ChangeProperty([&] { FRotation = Value; });
}

void TKxDePicture::SetNoAntialiasingAllowed(bool Value) {
  if (FNoAntialiasingAllowed == Value) return;
  ChangeProperty([&] { FNoAntialiasingAllowed = Value; });
}

void TKxDePicture::ClearImageFileStream() {
  FImageFileStream.clear();
  FHasImageFileStream = false;
}

void TKxDePicture::DoOnChange() {
  // Whatever graphic the picture holds now leaves out the picture's transparent colour.
  if (TGraphic* g = FPicture->Graphic()) g->SetTransparentColor(FTransparentColor);
  FPictureChanged = true;
  if (FPicture->Height() != 0) FRatio = static_cast<double>(FPicture->Width()) / FPicture->Height();
  if (OnChange) OnChange(this);
}

TOwned<TGraphic> TKxDePicture::DecodeGraphic(const QByteArray& Bytes, const QString& Path,
                                             const TKxDeGraphicCallback& Callback) const {
  QList<TGraphicClass> candidates;
  const TGraphicClass forExt = GraphicClassForExtension(QFileInfo(Path).suffix());
  if (forExt) candidates << forExt;
  for (const char* fallback : {"bmp", "jpg"}) {
    const TGraphicClass c = GraphicClassForExtension(QLatin1String(fallback));
    if (c && !candidates.contains(c)) candidates << c;
  }
  QString lastError = QStringLiteral("No graphic class can read \"%1\"").arg(Path);
  for (TGraphicClass cls : candidates) {
    TOwned<TGraphic> g(cls->Construct<TGraphic>());
    if (!g) continue;
    if (Callback) Callback(g.get());
    if (OnGraphicCreated) OnGraphicCreated(g.get());
    QByteArray copy = Bytes;
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    try {
      g->LoadFromStream(&buf);
      return g;
    } catch (const Exception& e) {
      lastError = e.Message();
    }
  }
  throw Exception(lastError);
}

void TKxDePicture::InstallGraphic(TOwned<TGraphic> Graphic, const QByteArray& Bytes) {
  FImageFileStream = Bytes;
  FHasImageFileStream = true;
  FHasEmptyPicture = false;
  FPartialTransparency = Graphic && Graphic->SupportsPartialTransparency();
  FPicture->TakeGraphic(Graphic.release());
  SetPictureTransparency(FPicture.get());
}

void TKxDePicture::CommitGraphic(TOwned<TGraphic> Graphic, const QByteArray& Bytes) {
  // A new picture starts unrotated, and its smoothing follows what kind of file it is.
  FNoAntialiasingAllowed = NoAntialiasingExtension(FPicturePath);
  InstallGraphic(std::move(Graphic), Bytes);
  FRotation = 0;
  DoOnChange();
}

void TKxDePicture::LoadFromFile(const QString& FileName, const TKxDeGraphicCallback& GraphicCallback) {
  if (FileName.isEmpty()) {
    ChangeProperty(
        [&] {
          FPicturePath.clear();
          FImageFileStream.clear();
          FHasImageFileStream = true;
          FHasEmptyPicture = false;
          FNoAntialiasingAllowed = false;
          FPicture->TakeGraphic(nullptr);
          DoOnChange();
        },
        false);
    return;
  }
  // Everything that can fail happens before the picture is touched.
  const QString path = ExpandEnvironmentVariables(FileName);
  const QByteArray bytes = ReadPictureFile(path);
  TOwned<TGraphic> graphic = DecodeGraphic(bytes, FileName, GraphicCallback);
  ChangeProperty(
      [&] {
        FPicturePath = FileName;
        CommitGraphic(std::move(graphic), bytes);
      },
      false);
}

void TKxDePicture::LoadFromStream(QIODevice* Stream, const TKxDeGraphicCallback& GraphicCallback) {
  if (!Stream) return;
  if (!Stream->isSequential()) Stream->seek(0);
  const QByteArray bytes = Stream->readAll();
  TOwned<TGraphic> graphic = DecodeGraphic(bytes, FPicturePath, GraphicCallback);
  ChangeProperty([&] { CommitGraphic(std::move(graphic), bytes); }, false);
}

void TKxDePicture::LoadEmptyPicture() {
  ChangeProperty(
      [&] {
        TOwned<TGraphic> g(Create<TPngImage>());
        QFile res(QStringLiteral(":/EMPTY_PICTURE"));
        if (res.open(QIODevice::ReadOnly)) g->LoadFromStream(&res);
        FPicture->TakeGraphic(g.release());
        FHasEmptyPicture = true;
        DoOnChange();
      },
      false);
}

bool TKxDePicture::GetEmpty() const {
  const TGraphic* g = FPicture->Graphic();
  return !g || (g->Empty() && !FHasEmptyPicture);
}

TOwned<TPicture> TKxDePicture::GetDisabledPicture() const {
  TOwned<TPicture> result(Create<TPicture>());
  const TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty()) return result;
  // Grey, lightened towards white: the usual look of a disabled image.
  QImage img = g->ToImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const int grey = qGray(line[x]);
      const int light = 128 + grey / 2;
      line[x] = qRgba(light, light, light, qAlpha(line[x]));
    }
  }
  TOwned<TBitmap> bmp(Create<TBitmap>());
  bmp->SetImage(img);
  result->TakeGraphic(bmp.release());
  return result;
}

bool TKxDePicture::GetTransparent() const {
  const TGraphic* g = FPicture->Graphic();
  return !g || g->Transparent();
}

void TKxDePicture::SetTransparent(bool Value) {
  TGraphic* g = FPicture->Graphic();
  if (!g || g->Transparent() == Value) return;
  ChangeProperty(
      [&] {
        g->SetTransparent(Value);
        DoOnChange();
      },
      false);
}

void TKxDePicture::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDePicture*>(Source)) {
    if (src == this) return;
    ChangeProperty(
        [&] {
          FStorePicture = src->FStorePicture;
          FKeepRatio = src->FKeepRatio;
          FPicturePath = src->FPicturePath;
          FVisible = src->FVisible;
          FDitherMode = src->FDitherMode;
          FRotation = src->FRotation;
          FNoAntialiasingAllowed = src->FNoAntialiasingAllowed;
          FTransparentColor = src->FTransparentColor;
          FImageFileStream = src->FImageFileStream;  // shares the bytes until one side changes
          FHasImageFileStream = src->FHasImageFileStream;
          FHasEmptyPicture = src->FHasEmptyPicture;
          FPartialTransparency = src->FPartialTransparency;
          FPicture->Assign(src->FPicture.get());
          DoOnChange();
        },
        false);
    return;
  }
  if (auto* pic = dynamic_cast<const TPicture*>(Source)) {
    ChangeProperty(
        [&] {
          FStorePicture = true;
          FKeepRatio = true;
          FPicturePath.clear();
          FVisible = true;
          // The picture no longer comes from the file whose bytes were kept.
          ClearImageFileStream();
          FHasEmptyPicture = false;
          FPicture->Assign(pic);
          DoOnChange();
        },
        false);
    return;
  }
  TPersistent::Assign(Source);
}

// ---- picture props -----------------------------------------------------------------------------

TKxDePictureList* TKxDeCustomPictureProps::PictureList() const { return FPictureList; }

void TKxDeCustomPictureProps::SetPictureList(TKxDePictureList* Value) {
  if (FPictureList == Value) return;
  FPictureList = Value;
  DoOnChange();
}

void TKxDeCustomPictureProps::SetPictureIndex(int32_t Value) {
  if (FPictureIndex == Value) return;
  FPictureIndex = Value;
  DoOnChange();
}

void TKxDeCustomPictureProps::SetHorizontalIndent(int32_t Value) {
  if (FHorizontalIndent == Value) return;
  FHorizontalIndent = Value;
  DoOnChange();
}

void TKxDeCustomPictureProps::SetVerticalIndent(int32_t Value) {
  if (FVerticalIndent == Value) return;
  FVerticalIndent = Value;
  DoOnChange();
}

void TKxDeCustomPictureProps::SetOrient(TKxDePictureOrient Value) {
  if (FOrient == Value) return;
  FOrient = Value;
  DoOnChange();
}

TPicture* TKxDeCustomPictureProps::GetPicture() const {
  if (FPictureList) {
    TKxDePicture* p = FPictureList->GetPicture(FPictureIndex);
    return p ? p->Picture() : nullptr;
  }
  return Picture();
}

bool TKxDeCustomPictureProps::HasPicture(const TPicture* APicture) const {
  return Visible() && APicture && APicture->Graphic() && APicture->Width() >= 1 && APicture->Height() >= 1;
}

}  // namespace vorn
