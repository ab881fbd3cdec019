#pragma once
// TmekLayerObjectsDefaultProperties: the styles a layer gives to shapes created in it. Each style
// comes with a switch; a style whose switch is off leaves new shapes with their own. The default
// font is kept here for the host; the layer applies brush, pen and gradient.

#include "vorn/common/ColorManagementProperties.h"
#include "vorn/common/Object.h"
#include "vorn/model/KxDeStyleRecords.h"

namespace vorn {

class TmekLayerObjectsDefaultProperties : public TPersistent {
  VORN_OBJECT(TmekLayerObjectsDefaultProperties, TPersistent)
  Q_PROPERTY(vorn::TKxDeShapeGradienthRec Gradient READ Gradient WRITE SetGradient)
  Q_PROPERTY(bool UseDefaultGradient READ UseDefaultGradient WRITE SetUseDefaultGradient)
  Q_PROPERTY(vorn::TKxDePenRec Pen READ Pen WRITE SetPen)
  Q_PROPERTY(bool UseDefaultPen READ UseDefaultPen WRITE SetUseDefaultPen)
  Q_PROPERTY(vorn::TKxDeShapeFontRec2 Font READ Font WRITE SetFont)
  Q_PROPERTY(bool UseDefaultFont READ UseDefaultFont WRITE SetUseDefaultFont)
  Q_PROPERTY(vorn::TKxDeBrushRec Brush READ Brush WRITE SetBrush)
  Q_PROPERTY(bool UseDefaultBrush READ UseDefaultBrush WRITE SetUseDefaultBrush)
  Q_PROPERTY(vorn::TmekColorManagementProperties* ColorManagementProperties READ ColorManagementProperties)
  Q_CLASSINFO("Category.Brush", "Brush")
  Q_CLASSINFO("Category.UseDefaultBrush", "Brush")
  Q_CLASSINFO("Category.Pen", "Pen")
  Q_CLASSINFO("Category.UseDefaultPen", "Pen")
  Q_CLASSINFO("Category.Font", "Font")
  Q_CLASSINFO("Category.UseDefaultFont", "Font")
  Q_CLASSINFO("Category.Gradient", "Gradient")
  Q_CLASSINFO("Category.UseDefaultGradient", "Gradient")
  Q_CLASSINFO("Category.ColorManagementProperties", "Colors")

 public:
  TmekLayerObjectsDefaultProperties();

  const TKxDeShapeGradienthRec& Gradient() const { return FGradient; }
  void SetGradient(const TKxDeShapeGradienthRec& Value) { FGradient = Value; }
  bool UseDefaultGradient() const { return FUseGradient; }
  void SetUseDefaultGradient(bool Value) { FUseGradient = Value; }
  // The width is applied too, unless the shape keeps its own (kxssNoPenWidth).
  const TKxDePenRec& Pen() const { return FPen; }
  void SetPen(const TKxDePenRec& Value) { FPen = Value; }
  bool UseDefaultPen() const { return FUsePen; }
  void SetUseDefaultPen(bool Value) { FUsePen = Value; }
  // Size is the font height in millimetres.
  const TKxDeShapeFontRec2& Font() const { return FFont; }
  void SetFont(const TKxDeShapeFontRec2& Value) { FFont = Value; }
  bool UseDefaultFont() const { return FUseFont; }
  void SetUseDefaultFont(bool Value) { FUseFont = Value; }
  const TKxDeBrushRec& Brush() const { return FBrush; }
  void SetBrush(const TKxDeBrushRec& Value) { FBrush = Value; }
  bool UseDefaultBrush() const { return FUseBrush; }
  void SetUseDefaultBrush(bool Value) { FUseBrush = Value; }
  // Owned; created with this object as its owner.
  TmekColorManagementProperties* ColorManagementProperties() const { return FColorManagementProperties.get(); }

  // Copies every style, switch and colour-management setting of another set of defaults.
  void Assign(const TPersistent* Source) override;

  // Five children whose values are attributes: "Brush", "Pen", "Font", "Gradient" and
  // "SplitColors" (the colour management). The pen width is neither written nor read. Each
  // attribute read defaults to the current value; each child is read only when present.
  void SaveToXML(TXmlNode Node) const;
  void LoadFromXML(TXmlNode Node);

 private:
  TKxDeShapeGradienthRec FGradient;
  TKxDePenRec FPen;
  bool FUseGradient = true;
  bool FUsePen = true;
  TKxDeShapeFontRec2 FFont;
  bool FUseFont = true;
  TKxDeBrushRec FBrush;
  bool FUseBrush = true;
  TOwned<TmekColorManagementProperties> FColorManagementProperties;
};

}  // namespace vorn
