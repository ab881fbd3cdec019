#include "vorn/raster/IMGGraphic.h"

#include "vorn/common/PictureRegisteredFormats.h"

#include "vorn/common/Exceptions.h"
#include "vorn/raster/KxDeBitmap.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSaveFile>

namespace vorn {
namespace {

QString Tr(const char* Text) { return QCoreApplication::translate("IMGGraphic", Text); }

QString UnsupportedClipboardFormat() { return Tr("Unsupported clipboard format"); }

// Numbers from 0xC000 up belong to formats registered by name; "IMG Image" is this library's.
constexpr uint16_t kIMGClipboardFormat = 0xC000;

}  // namespace

uint16_t CF_IMG() { return kIMGClipboardFormat; }

QString IMGClipboardMimeType() { return QStringLiteral("application/x-qt-windows-mime;value=\"IMG Image\""); }

TIMGGraphic::TIMGGraphic() = default;
TIMGGraphic::~TIMGGraphic() = default;

void TIMGGraphic::Changed() {
  FModified = true;
  CallEvent(OnChange, this);
}

void TIMGGraphic::SetBitmap(const QImage& Value) {
  FBitmap = Value.format() == QImage::Format_MonoLSB ? Value.convertToFormat(QImage::Format_Mono) : Value;
  Changed();
}

void TIMGGraphic::DoDecodeFromStream(QIODevice* Stream) {
  QImage image;
  if (IMGDecode(Stream, image)) FBitmap = std::move(image);
}

void TIMGGraphic::DoEncodeToStream(QIODevice* Stream) const { IMGEncode(FBitmap, Stream); }

void TIMGGraphic::TransformASCIItoBinStream(QIODevice* Source, QIODevice* Dest) {
  vorn::TransformASCIItoBinStream(Source, Dest);
}

void TIMGGraphic::LoadFromStream(QIODevice* Stream) {
  if (FTextForm) {
    QBuffer bytes;
    bytes.open(QIODevice::ReadWrite);
    TransformASCIItoBinStream(Stream, &bytes);
    bytes.seek(0);
    DoDecodeFromStream(&bytes);
  } else {
    DoDecodeFromStream(Stream);
  }
  Changed();
}

void TIMGGraphic::ReadData(QIODevice* Stream) {
  if (Stream && Stream->atEnd()) {
    FBitmap = QImage();
    Changed();
    return;
  }
  LoadFromStream(Stream);
}

void TIMGGraphic::WriteData(QIODevice* Stream) const {
  if (!FBitmap.isNull()) SaveToStream(Stream);
}

void TIMGGraphic::SaveToStream(QIODevice* Stream) const {
  if (FTextForm) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    DoEncodeToStream(&bytes);
    const QByteArray text = IMGBytesToText(bytes.data());
    if (!Stream || Stream->write(text) != text.size())
      throw EImgException(Tr("Cannot write the IMG data: %1").arg(Stream ? Stream->errorString() : QString()));
  } else {
    DoEncodeToStream(Stream);
  }
  FModified = false;
}

void TIMGGraphic::LoadFromFile(const QString& FileName) {
  QFile file(FileName);
  FTextForm = QFileInfo(FileName).suffix().compare(QLatin1String("asc"), Qt::CaseInsensitive) == 0;
  if (!file.open(QIODevice::ReadOnly))
    throw EImgException(Tr("Cannot open file \"%1\": %2").arg(FileName, file.errorString()));
  LoadFromStream(&file);
}

void TIMGGraphic::SaveToFile(const QString& FileName) {
  // The file is replaced only when the whole image was written.
  QSaveFile file(FileName);
  if (!file.open(QIODevice::WriteOnly))
    throw EImgException(Tr("Cannot create file \"%1\": %2").arg(FileName, file.errorString()));
  SaveToStream(&file);
  if (!file.commit()) throw EImgException(Tr("Cannot write file \"%1\": %2").arg(FileName, file.errorString()));
}

void TIMGGraphic::LoadFromClipboardFormat(uint16_t Format, const QMimeData* Data) {
  if (Format != CF_IMG() && Format != CF_BITMAP) throw EImgException(UnsupportedClipboardFormat());
  if (!Data) Data = QGuiApplication::clipboard()->mimeData();
  if (Format == CF_IMG()) {
    if (!Data || !Data->hasFormat(IMGClipboardMimeType())) throw EImgException(UnsupportedClipboardFormat());
    QByteArray bytes = Data->data(IMGClipboardMimeType());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(&buffer);
    return;
  }
  if (!Data || !Data->hasImage()) throw EImgException(UnsupportedClipboardFormat());
  SetBitmap(qvariant_cast<QImage>(Data->imageData()));
}

void TIMGGraphic::SaveToClipboardFormat(uint16_t& Format, QMimeData*& Data) {
  Format = 0;
  Data = nullptr;
  if (Empty()) return;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  SaveToStream(&buffer);
  Format = CF_IMG();
  Data = new QMimeData;
  Data->setData(IMGClipboardMimeType(), buffer.data());
}

void TIMGGraphic::Assign(const TPersistent* Source) {
  if (Source == this) return;
  if (const auto* graphic = dynamic_cast<const TIMGGraphic*>(Source)) {
    FBitmap = graphic->FBitmap;
    Changed();
    return;
  }
  if (const auto* bitmap = dynamic_cast<const TKxDeBitmap*>(Source)) {
    FBitmap = bitmap->Image();
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TIMGGraphic::AssignTo(TPersistent* Dest) const {
  if (auto* bitmap = dynamic_cast<TKxDeBitmap*>(Dest)) {
    bitmap->SetImage(FBitmap);
    return;
  }
  inherited::AssignTo(Dest);
}

void TIMGGraphic::Draw(TCanvas* ACanvas, const TRect& Rect) const {
  if (ACanvas && !FBitmap.isNull()) ACanvas->StretchDraw(Rect, DrawnImage(FBitmap));
}

void TIMGGraphic::Draw(QPainter* Painter, const QRectF& Target) const {
  if (Painter && !FBitmap.isNull()) Painter->drawImage(Target, DrawnImage(FBitmap));
}

QImage TIMGGraphic::ToImage(QSize Size) const {
  const QImage& drawn = DrawnImage(FBitmap);
  if (Size.isEmpty() || Size == FBitmap.size()) return drawn;
  return drawn.scaled(Size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void TIMGGraphic::CopyFrom(const TGraphic& Source) {
  const auto& src = static_cast<const TIMGGraphic&>(Source);
  FBitmap = src.FBitmap;
  FTextForm = src.FTextForm;
}

namespace {

// The weights sum to 256, so the sum of three bytes stays within 16 bits.
inline uint8_t Gray(uint8_t R, uint8_t G, uint8_t B) {
  const uint16_t sum = static_cast<uint16_t>(static_cast<uint16_t>(77 * R) + static_cast<uint16_t>(151 * G) +
                                             static_cast<uint16_t>(28 * B));
  return static_cast<uint8_t>(sum >> 8);
}

}  // namespace

void ConvertToGrayScale(QImage& Bitmap) {
  int r, b;
  if (Bitmap.format() == QImage::Format_RGB888) {
    r = 0, b = 2;
  } else if (Bitmap.format() == QImage::Format_BGR888) {
    r = 2, b = 0;
  } else {
    return;
  }
  for (int y = 0; y < Bitmap.height(); ++y) {
    uint8_t* p = Bitmap.scanLine(y);
    for (int x = 0; x < Bitmap.width(); ++x, p += 3) {
      const uint8_t v = Gray(p[r], p[1], p[b]);
      p[0] = p[1] = p[2] = v;
    }
  }
}

void ConvertToGrayScale(TKxDeBitmap* Bitmap) {
  if (!Bitmap || Bitmap->PixelFormat() != TPixelFormat::pf24bit) return;
  for (int y = 0; y < Bitmap->Height(); ++y) {
    auto* p = reinterpret_cast<QRgb*>(Bitmap->ScanLine(y));
    for (int x = 0; x < Bitmap->Width(); ++x) {
      const uint8_t v =
          Gray(static_cast<uint8_t>(qRed(p[x])), static_cast<uint8_t>(qGreen(p[x])), static_cast<uint8_t>(qBlue(p[x])));
      p[x] = qRgba(v, v, v, qAlpha(p[x]));
    }
  }
}

void RegisterIMGGraphic(const TRegisterFileFormatProc& RegisterFileFormat,
                        const TRegisterClipboardFormatProc& RegisterClipboardFormat) {
  const TClass* graphicClass = ClassOf<TIMGGraphic>();
  if (RegisterFileFormat) RegisterFileFormat(QStringLiteral("IMG"), sIMGImage(), graphicClass);
  if (RegisterClipboardFormat) RegisterClipboardFormat(CF_IMG(), graphicClass);
}

void UnregisterIMGGraphic(const TUnregisterGraphicClassProc& UnregisterGraphicClass) {
  if (UnregisterGraphicClass) UnregisterGraphicClass(ClassOf<TIMGGraphic>());
}

namespace {
// IMG pictures load and paste like every other registered format while the library is loaded.
// The registry's tables are made during the registration, so they outlive this object and are
// still there when it takes the class out again at unload.
const struct TIMGRegistration {
  TIMGRegistration() { RegisterIMGGraphic(RegisterPictureFileFormat, RegisterPictureClipboardFormat); }
  ~TIMGRegistration() { UnregisterIMGGraphic(UnregisterGraphicClass); }
} kIMGRegistration;
}  // namespace

}  // namespace vorn
