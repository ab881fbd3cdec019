#include "vorn/layermanager/LayerManagerGlyphs_p.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace vorn {
namespace {

constexpr const char* kGlyphNames[] = {
    "MEK_LM_EXPAND",  "MEK_LM_COLLAPSE", "MEK_LM_VISIBLE",  "MEK_LM_ACTIVE",    "MEK_LM_LOCK",
    "MEK_LM_LAYER",   "MEK_LM_INVISIBLE_LAYER", "MEK_LM_LINK", "MEK_LM_PRINTER", "MEK_LM_VERIFIER",
    "MEK_LM_INVISIBLE", "MEK_LM_NOPRINT", "MEK_LM_LAYER_LOCK"};
static_assert(std::size(kGlyphNames) == static_cast<size_t>(TLayerGlyph::Count));

QImage Render(const char* Name, qreal Ratio) {
  QSvgRenderer svg(QStringLiteral(":/") + QLatin1String(Name));
  const QSize size = svg.defaultSize();
  if (!svg.isValid() || size.isEmpty()) return {};
  QImage image(static_cast<int>(std::ceil(size.width() * Ratio)), static_cast<int>(std::ceil(size.height() * Ratio)),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  svg.render(&p, QRectF(0, 0, image.width(), image.height()));
  p.end();
  image.setDevicePixelRatio(Ratio);
  return image;
}

}  // namespace

void TLayerGlyphs::LoadBitmaps(qreal Ratio) {
  if (Ratio <= 0) Ratio = 1;
  if (Ratio == FRatio) return;
  FRatio = Ratio;
  for (size_t i = 0; i < FImages.size(); ++i) FImages[i] = Render(kGlyphNames[i], Ratio);
}

void TLayerGlyphs::ReleaseBitmaps() {
  for (QImage& image : FImages) image = QImage();
  FRatio = 0;
}

int32_t TLayerGlyphs::Width(TLayerGlyph Which) const {
  const QImage& g = Get(Which);
  return g.isNull() ? 0 : static_cast<int32_t>(std::lround(g.width() / g.devicePixelRatio()));
}

int32_t TLayerGlyphs::Height(TLayerGlyph Which) const {
  const QImage& g = Get(Which);
  return g.isNull() ? 0 : static_cast<int32_t>(std::lround(g.height() / g.devicePixelRatio()));
}

}  // namespace vorn
