#include "vorn/common/Graphic.h"

#include "vorn/common/ColorKey_p.h"
#include "vorn/common/Exceptions.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>

namespace vorn {

// ---- TGraphic ----------------------------------------------------------------------------------

QImage TGraphic::ToImage(QSize Size) const {
  if (Size.isEmpty()) Size = QSize(Width(), Height());
  if (Size.isEmpty()) return {};
  QImage img(Size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  Draw(&p, QRectF(0, 0, Size.width(), Size.height()));
  return img;
}

TGraphic* TGraphic::Clone() const {
  TGraphic* copy = ClassType()->Construct<TGraphic>();
  if (!copy) return nullptr;
  copy->CopyFrom(*this);
  copy->FTransparent = FTransparent;
  copy->FTransparentColor = FTransparentColor;
  return copy;
}

void TGraphic::AssignTo(TPersistent* Dest) const {
  auto* g = dynamic_cast<TGraphic*>(Dest);
  if (g && g->ClassType() == ClassType()) {
    g->CopyFrom(*this);
    g->FTransparent = FTransparent;
    g->FTransparentColor = FTransparentColor;
    return;
  }
  TPersistent::AssignTo(Dest);
}

const QImage& TGraphic::DrawnImage(const QImage& Image) const {
  const std::optional<QRgb> key =
      FTransparent && !Image.hasAlphaChannel() ? TransparentKey(Image, FTransparentColor) : std::nullopt;
  if (!key) {
    FDrawn = QImage();
    return Image;
  }
  // The cache key of an image changes with every change of its pixels.
  if (FDrawn.isNull() || FDrawnFrom != Image.cacheKey() || FDrawnKey != *key) {
    FDrawn = WithoutColor(Image, *key);
    FDrawnFrom = Image.cacheKey();
    FDrawnKey = *key;
  }
  return FDrawn;
}

// ---- TRasterGraphic ----------------------------------------------------------------------------

void TRasterGraphic::LoadFromStream(QIODevice* Stream) {
  QImageReader reader(Stream);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
  QImage img;
  if (!reader.read(&img))
    throw Exception(QStringLiteral("Cannot read the %1 image: %2").arg(ClassName(), reader.errorString()));
  FBitsPerPixel = img.depth();
  if (img.format() == QImage::Format_Indexed8 || img.format() == QImage::Format_Mono ||
      img.format() == QImage::Format_MonoLSB)
    FBitsPerPixel = img.format() == QImage::Format_Indexed8 ? 8 : 1;
  FImage = std::move(img);
}

void TRasterGraphic::SaveToStream(QIODevice* Stream) const {
  QImageWriter writer(Stream, FormatName());
  if (!writer.write(FImage))
    throw Exception(QStringLiteral("Cannot write the %1 image: %2").arg(ClassName(), writer.errorString()));
}

void TRasterGraphic::Draw(QPainter* Painter, const QRectF& Target) const {
  if (!FImage.isNull()) Painter->drawImage(Target, DrawnImage(FImage));
}

QImage TRasterGraphic::ToImage(QSize Size) const {
  const QImage& drawn = DrawnImage(FImage);
  if (Size.isEmpty() || Size == FImage.size()) return drawn;
  return drawn.scaled(Size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void TRasterGraphic::SetImage(const QImage& Image) {
  FImage = Image;
  FBitsPerPixel = Image.depth();
}

void TRasterGraphic::CopyFrom(const TGraphic& Source) {
  const auto& src = static_cast<const TRasterGraphic&>(Source);
  FImage = src.FImage;  // implicitly shared
  FBitsPerPixel = src.FBitsPerPixel;
}

// ---- TSvgGraphic -------------------------------------------------------------------------------

TSvgGraphic::TSvgGraphic() = default;
TSvgGraphic::~TSvgGraphic() = default;

void TSvgGraphic::Parse(const QByteArray& Data) {
  auto renderer = std::make_unique<QSvgRenderer>();
  if (!renderer->load(Data) || !renderer->isValid()) throw Exception(QStringLiteral("Cannot read the SVG drawing"));
  FSource = Data;
  FRenderer = std::move(renderer);
}

void TSvgGraphic::LoadFromStream(QIODevice* Stream) { Parse(Stream->readAll()); }

void TSvgGraphic::SaveToStream(QIODevice* Stream) const { Stream->write(FSource); }

int32_t TSvgGraphic::Width() const { return FRenderer ? FRenderer->defaultSize().width() : 0; }

int32_t TSvgGraphic::Height() const { return FRenderer ? FRenderer->defaultSize().height() : 0; }

void TSvgGraphic::Draw(QPainter* Painter, const QRectF& Target) const {
  if (FRenderer) FRenderer->render(Painter, Target);
}

void TSvgGraphic::CopyFrom(const TGraphic& Source) {
  const auto& src = static_cast<const TSvgGraphic&>(Source);
  if (src.FSource.isEmpty()) {
    FSource.clear();
    FRenderer.reset();
  } else {
    Parse(src.FSource);
  }
}

}  // namespace vorn
