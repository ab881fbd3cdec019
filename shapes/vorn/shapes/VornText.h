#pragma once
// TVornText: text laid out in its box. The font is the shape's font seen through TmekFont, whose
// Height (millimetres) is the em size of the characters; the text is aligned horizontally and
// vertically in the box and, with WordWrap, broken at word boundaries to the box's width (text
// without wrapping runs past the box, as it would on paper). The text is all it draws.
//
// The layout is computed once in world units, independent of the zoom and the device, so a text
// breaks its lines the same way on screen, in an image and in a PDF, and is cached until the
// text, the font or the box changes. The text is hit where its lines lie.

#include "vorn/shapes/VornBoxShape.h"

#include <vorn/model/KxDeShapeFont.h>

#include <QFont>

#include <memory>

class QTextLayout;

namespace vorn {

namespace VornTexts {
Q_NAMESPACE

// Stored in documents by ordinal: append only.
enum class TVornTextAlign : uint8_t { vtaLeft, vtaCenter, vtaRight, vtaJustify };
Q_ENUM_NS(TVornTextAlign)
enum class TVornTextLayout : uint8_t { vtlTop, vtlCenter, vtlBottom };
Q_ENUM_NS(TVornTextLayout)

}  // namespace VornTexts

using namespace VornTexts;

class TVornText : public TVornBoxShape {
  VORN_OBJECT(TVornText, TVornBoxShape)
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(vorn::TmekFont* Font READ TextFont)
  Q_PROPERTY(vorn::VornTexts::TVornTextAlign Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(vorn::VornTexts::TVornTextLayout VerticalAlignment READ VerticalAlignment WRITE SetVerticalAlignment)
  Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
  Q_PROPERTY(int Color READ Color WRITE SetColor DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapeBrush* Brush READ Brush WRITE SetBrush DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapeGradient* Gradient READ GetGradient WRITE SetGradient DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapePen* Pen READ Pen WRITE SetPen DESIGNABLE false)
  Q_CLASSINFO("Category.Text", "Text")
  Q_CLASSINFO("Category.Alignment", "Text")
  Q_CLASSINFO("Category.VerticalAlignment", "Text")
  Q_CLASSINFO("Category.WordWrap", "Text")

 public:
  TVornText(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  TmekFont* TextFont() const { return FTextFont.get(); }
  TVornTextAlign Alignment() const { return FAlignment; }
  void SetAlignment(TVornTextAlign Value);
  TVornTextLayout VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVornTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  // The rectangles of the laid-out lines in world units, unrotated (empty for an empty text).
  std::vector<QRectF> LineRects() const;
  // The em size of the characters in world units.
  double EmSize() const;
  // The box and the laid-out lines, which run out of the box when the text does not fit it.
  TRectF HitExtent() const override;

  void SaveToXML(TXmlNode Node) const override;
  void LoadFromXML(TXmlNode Node, bool KeepID) override;

 protected:
  ~TVornText() override;

  void PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                  PmekDeviceCapsInfo DeviceCapsInfo) override;
  bool HitGeometry(const TPointF& P, float Fuzz) const override;
  void FontChanged(TObject* Sender) override;

 private:
  struct TLayout;
  // The layout for the current text, font and box, computed when one of them changed.
  const TLayout& Layout() const;
  QFont LayoutFont() const;

  TOwned<TmekFont> FTextFont;
  TVornTextAlign FAlignment = TVornTextAlign::vtaLeft;
  TVornTextLayout FVerticalAlignment = TVornTextLayout::vtlTop;
  bool FWordWrap = true;
  mutable std::unique_ptr<TLayout> FLayout;
};

}  // namespace vorn
