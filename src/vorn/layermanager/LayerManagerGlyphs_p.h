#pragma once
// The layer manager's glyphs: the resources MEK_LM_* (vector drawings) rendered once per device
// pixel ratio, so that they stay sharp on any screen.

#include <QImage>

#include <array>
#include <cstdint>

namespace vorn {

enum class TLayerGlyph : uint8_t {
  Expand, Collapse, Visible, Active, Lock, Layer, InvisibleLayer, Link, Printer, Verifier, Invisible, NoPrint,
  LayerLock, Count
};

class TLayerGlyphs {
 public:
  // Renders every glyph for Ratio unless that was done already. A resource that is missing or
  // yields nothing leaves its glyph empty, and an empty glyph is not drawn.
  void LoadBitmaps(qreal Ratio);
  void ReleaseBitmaps();
  // The glyph, with its device pixel ratio set (null when absent).
  const QImage& Get(TLayerGlyph Which) const { return FImages[static_cast<size_t>(Which)]; }
  bool Has(TLayerGlyph Which) const { return !Get(Which).isNull(); }
  // Its size in logical pixels (0 x 0 when absent).
  int32_t Width(TLayerGlyph Which) const;
  int32_t Height(TLayerGlyph Which) const;

 private:
  std::array<QImage, static_cast<size_t>(TLayerGlyph::Count)> FImages;
  qreal FRatio = 0;
};

}  // namespace vorn
