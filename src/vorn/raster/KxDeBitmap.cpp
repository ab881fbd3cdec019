#include "vorn/raster/KxDeBitmap.h"

#include "vorn/common/ColorKey_p.h"
#include "vorn/common/Exceptions.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QMimeData>

#include <algorithm>
#include <cstring>

namespace vorn {
namespace {

QString Tr(const char* Text) { return QCoreApplication::translate("KxDEBitmap", Text); }

// The depths a bitmap keeps apart: alpha (pf32bit), the device default, and opaque 24 bits.
TPixelFormat Normalized(TPixelFormat Value) {
  switch (Value) {
    case TPixelFormat::pfDevice:
    case TPixelFormat::pf32bit: return Value;
    default: return TPixelFormat::pf24bit;
  }
}

// Alpha dropped without touching the colours (QImage's own conversion composes over black).
QImage WithoutAlpha(QImage Image) {
  if (Image.format() != QImage::Format_ARGB32) return Image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < Image.height(); ++y) {
    auto* p = reinterpret_cast<QRgb*>(Image.scanLine(y));
    for (int x = 0; x < Image.width(); ++x) p[x] |= 0xFF000000u;
  }
  Image.reinterpretAsFormat(QImage::Format_RGB32);
  return Image;
}

}  // namespace

TKxDeBitmap::TKxDeBitmap() = default;

TKxDeBitmap::TKxDeBitmap(int32_t Width, int32_t Height, TPixelFormat PixelFormat)
    : FPixelFormat(Normalized(PixelFormat)) {
  SetSize(Width, Height);
  FModified = false;
}

TKxDeBitmap::~TKxDeBitmap() {
  // The painter must end before the pixels go.
  FCanvas.reset();
}

QImage::Format TKxDeBitmap::StorageFormat() const {
  return FPixelFormat == TPixelFormat::pf32bit ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

QPaintDevice* TKxDeBitmap::PaintTarget() {
  if (!FImage.isNull()) return &FImage;
  if (FScratch.isNull()) FScratch = QImage(1, 1, QImage::Format_RGB32);
  return &FScratch;
}

void TKxDeBitmap::ReplaceImage(QImage Image) {
  if (!FCanvas) {
    FImage = std::move(Image);
    return;
  }
  // Restart the canvas in place so that pointers to it stay valid, with the same drawing tools.
  TPen pen;
  pen.Assign(*FCanvas->Pen());
  TBrush brush;
  brush.Assign(*FCanvas->Brush());
  TFont font;
  font.Assign(*FCanvas->Font());
  const bool antialiasing = FCanvas->Antialiasing();
  FCanvas.reset();
  FImage = std::move(Image);
  FCanvas.emplace(PaintTarget());
  FCanvas->Pen()->Assign(pen);
  FCanvas->Brush()->Assign(brush);
  FCanvas->Font()->Assign(font);
  FCanvas->SetAntialiasing(antialiasing);
}

void TKxDeBitmap::Changed() {
  FModified = true;
  CallEvent(OnChange, this);
}

void TKxDeBitmap::Assign(const TPersistent* Source) {
  if (Source == this) return;
  if (const auto* bitmap = dynamic_cast<const TKxDeBitmap*>(Source)) {
    FPixelFormat = bitmap->FPixelFormat;
    FTransparent = bitmap->FTransparent;
    FTransparentColor = bitmap->FTransparentColor;
    FTransparentMode = bitmap->FTransparentMode;
    // A copy of pixels being painted is deep (QImage sees the active painter); otherwise shared.
    ReplaceImage(bitmap->FImage);
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TKxDeBitmap::SetSize(int32_t AWidth, int32_t AHeight) {
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (AWidth == Width() && AHeight == Height()) return;
  QImage image;
  if (AWidth > 0 && AHeight > 0) {
    image = QImage(AWidth, AHeight, StorageFormat());
    if (image.isNull())
      throw Exception(Tr("Not enough memory for a bitmap of %1 x %2 pixels").arg(AWidth).arg(AHeight));
    image.fill(Qt::white);
    const int keepW = std::min(AWidth, Width()), keepH = std::min(AHeight, Height());
    for (int y = 0; y < keepH; ++y)
      std::memcpy(image.scanLine(y), FImage.constScanLine(y), static_cast<size_t>(keepW) * 4);
  }
  ReplaceImage(std::move(image));
  Changed();
}

void TKxDeBitmap::SetPixelFormat(TPixelFormat Value) {
  Value = Normalized(Value);
  if (Value == FPixelFormat) return;
  const QImage::Format before = StorageFormat();
  FPixelFormat = Value;
  if (!FImage.isNull() && StorageFormat() != before) {
    QImage image = FImage;
    if (StorageFormat() == QImage::Format_ARGB32)
      image.reinterpretAsFormat(QImage::Format_ARGB32);  // opaque pixels already carry alpha 255
    else
      image = WithoutAlpha(std::move(image));
    ReplaceImage(std::move(image));
  }
  Changed();
}

void TKxDeBitmap::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Changed();
}

TColor TKxDeBitmap::TransparentColor() const {
  if (FTransparentColor != clDefault) return FTransparentColor;
  if (FImage.isNull()) return clDefault;
  return FromQColor(FImage.pixelColor(0, FImage.height() - 1));
}

void TKxDeBitmap::SetTransparentColor(TColor Value) {
  if (FTransparentColor == Value) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
  Changed();
}

void TKxDeBitmap::SetTransparentMode(TTransparentMode Value) {
  if (FTransparentMode == Value) return;
  if (Value == TTransparentMode::tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(TransparentColor());
}

QImage TKxDeBitmap::Mask() const {
  if (FImage.isNull()) return {};
  const QRgb key = ToQColor(ColorToRGB(TransparentColor())).rgb();
  QImage mask(FImage.size(), QImage::Format_Mono);
  mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mask.fill(0);
  for (int y = 0; y < FImage.height(); ++y) {
    const auto* p = reinterpret_cast<const QRgb*>(FImage.constScanLine(y));
    uint8_t* m = mask.scanLine(y);
    for (int x = 0; x < FImage.width(); ++x)
      if ((p[x] | 0xFF000000u) == key) m[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
  }
  return mask;
}

TCanvas* TKxDeBitmap::Canvas() {
  if (!FCanvas) FCanvas.emplace(PaintTarget());
  FModified = true;
  return &*FCanvas;
}

void TKxDeBitmap::SetImage(const QImage& Image) {
  QImage image = Image.format() == StorageFormat() ? Image : Image.convertToFormat(StorageFormat());
  if (!Image.isNull() && image.isNull())
    throw Exception(Tr("Not enough memory for a bitmap of %1 x %2 pixels").arg(Image.width()).arg(Image.height()));
  ReplaceImage(std::move(image));
  Changed();
}

void TKxDeBitmap::TakeImage(const QImage& Image) {
  const TPixelFormat format = Image.hasAlphaChannel() ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  QImage image = Image.convertToFormat(format == TPixelFormat::pf32bit ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull())
    throw Exception(Tr("Not enough memory for a bitmap of %1 x %2 pixels").arg(Image.width()).arg(Image.height()));
  FPixelFormat = format;
  ReplaceImage(std::move(image));
  Changed();
}

uint8_t* TKxDeBitmap::ScanLine(int32_t Row) {
  if (Row < 0 || Row >= Height()) return nullptr;
  FModified = true;
  return FImage.scanLine(Row);
}

const uint8_t* TKxDeBitmap::ScanLine(int32_t Row) const {
  if (Row < 0 || Row >= Height()) return nullptr;
  return FImage.constScanLine(Row);
}

void TKxDeBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) const {
  if (!ACanvas || FImage.isNull()) return;
  if (!FTransparent) {
    ACanvas->StretchDraw(Rect, FImage);
    return;
  }
  ACanvas->StretchDraw(Rect, WithoutColor(FImage, ToQColor(ColorToRGB(TransparentColor())).rgb()));
}

void TKxDeBitmap::LoadFromStream(QIODevice* Stream) {
  if (!Stream) throw Exception(Tr("Bitmap image is not valid"));
  QImageReader reader(Stream);
  const QImage image = reader.read();
  if (image.isNull()) throw Exception(Tr("Bitmap image is not valid (%1)").arg(reader.errorString()));
  TakeImage(image);
}

void TKxDeBitmap::SaveToStream(QIODevice* Stream) const {
  if (FImage.isNull()) return;
  QImageWriter writer(Stream, "bmp");
  if (!Stream || !writer.write(FImage))
    throw Exception(Tr("Cannot write the bitmap (%1)").arg(writer.errorString()));
}

void TKxDeBitmap::LoadFromFile(const QString& FileName) {
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(Tr("Cannot open file \"%1\": %2").arg(FileName, file.errorString()));
  LoadFromStream(&file);
}

void TKxDeBitmap::SaveToFile(const QString& FileName) const {
  QFile file(FileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw Exception(Tr("Cannot create file \"%1\": %2").arg(FileName, file.errorString()));
  SaveToStream(&file);
}

void TKxDeBitmap::LoadFromClipboardFormat(uint16_t Format, const QMimeData* Data) {
  if (Format != CF_BITMAP) throw Exception(Tr("Unsupported clipboard format"));
  if (!Data) Data = QGuiApplication::clipboard()->mimeData();
  if (!Data || !Data->hasImage()) throw Exception(Tr("Unsupported clipboard format"));
  const QImage image = qvariant_cast<QImage>(Data->imageData());
  if (image.isNull()) throw Exception(Tr("Bitmap image is not valid"));
  TakeImage(image);
}

void TKxDeBitmap::SaveToClipboardFormat(uint16_t& Format, QMimeData*& Data) const {
  if (FImage.isNull()) {
    Format = 0;
    Data = nullptr;
    return;
  }
  Format = CF_BITMAP;
  Data = new QMimeData;
  Data->setImageData(FImage);
}

}  // namespace vorn
