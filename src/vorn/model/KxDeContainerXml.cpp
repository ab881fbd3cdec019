// The elements of containers: the bounds rectangle of containers, the package element, the layer
// element and the layer's default properties.

#include "vorn/common/KxDeUtils.h"
#include "vorn/model/KxDeContainer.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDePackage.h"
#include "vorn/model/KxDeXmlFormat_p.h"
#include "vorn/model/UpdateBracket_p.h"
#include "vorn/model/mekLayerObjectsDefaultProperties.h"

#include <cstdint>

namespace vorn {

using namespace xmlformat;

// ---- Container bounds -------------------------------------------------------------------------------

void TKxDeContainer::SaveBoundsToXML(TXmlNode Node) const {
  TXmlNode r = XmlAddChild(Node, "Rect");
  XmlWriteSingle(r, "Left", static_cast<float>(WorldToMM(FBounds.Left)));
  XmlWriteSingle(r, "Top", static_cast<float>(WorldToMM(FBounds.Top)));
  XmlWriteSingle(r, "Right", static_cast<float>(WorldToMM(FBounds.Right)));
  XmlWriteSingle(r, "Bottom", static_cast<float>(WorldToMM(FBounds.Bottom)));
}

void TKxDeContainer::LoadBoundsFromXML(TXmlNode Node) {
  TUpdateBracket update(this);
  // From an empty rectangle; a rectangle turned inside out is closed to a line.
  float l = 0, t = 0, r = 0, b = 0;
  if (TXmlNode rect = XmlSelect(Node, "Rect")) {
    l = ReadSingleLengthMM(rect, "Left", 0);
    t = ReadSingleLengthMM(rect, "Top", 0);
    r = ReadSingleLengthMM(rect, "Right", 0);
    b = ReadSingleLengthMM(rect, "Bottom", 0);
  }
  if (r < l) r = l;
  if (b < t) b = t;
  const float left = MMToWorld(l);
  const float top = MMToWorld(t);
  SetBounds(left, top, MMToWorld(r) - left, MMToWorld(b) - top);
}

// ---- Package ----------------------------------------------------------------------------------------

void TKxDePackage::LoadFromXML(TXmlNode Node, bool) {
  Changing();
  TUpdateBracket update(this);
  TKxDeContainer::LoadFromXML(Node, false);
}

// ---- Layer ------------------------------------------------------------------------------------------

void TKxDeLayer::SaveToXML(TXmlNode Node) const {
  TKxDeContainer::SaveToXML(Node);
  XmlWriteBool(Node, "PrintingAllowed", FPrintingAllowed);
  WriteOrdinal(Node, "Kind", FKindOfLayer);
  XmlWriteBool(Node, "Override", FOverrideProperty);
  FObjectsDefaultProperties->SaveToXML(XmlAddChild(Node, "DefaultProperties"));
}

void TKxDeLayer::LoadFromXML(TXmlNode Node, bool) {
  TKxDeContainer::LoadFromXML(Node, false);
  FPrintingAllowed = XmlReadBool(Node, "PrintingAllowed", FPrintingAllowed);
  FKindOfLayer = ReadOrdinal(Node, "Kind", FKindOfLayer, TKxDeKindOfLayer::kxdekolLaser);
  FOverrideProperty = XmlReadBool(Node, "Override", FOverrideProperty);
  if (TXmlNode d = XmlSelect(Node, "DefaultProperties")) FObjectsDefaultProperties->LoadFromXML(d);
}

// ---- Layer default properties -----------------------------------------------------------------------

namespace {

int32_t ReadAttrInteger(TXmlNode Node, const char* Name, int32_t Current, int32_t Min = INT32_MIN,
                        int32_t Max = INT32_MAX) {
  return static_cast<int32_t>(XmlReadAttrInt64In(Node, Name, Current, Min, Max));
}

}  // namespace

void TmekLayerObjectsDefaultProperties::SaveToXML(TXmlNode Node) const {
  TXmlNode brush = XmlAddChild(Node, "Brush");
  XmlWriteAttrBool(brush, "UseDefaultBrush", FUseBrush);
  XmlWriteAttrInteger(brush, "Color", FBrush.Color);
  XmlWriteAttrInteger(brush, "Style", static_cast<int32_t>(FBrush.Style));

  TXmlNode pen = XmlAddChild(Node, "Pen");
  XmlWriteAttrBool(pen, "UseDefaultPen", FUsePen);
  XmlWriteAttrInteger(pen, "Color", FPen.Color);
  XmlWriteAttrInteger(pen, "Style", static_cast<int32_t>(FPen.Style));
  XmlWriteAttrInteger(pen, "Mode", static_cast<int32_t>(FPen.Mode));

  TXmlNode font = XmlAddChild(Node, "Font");
  XmlWriteAttrBool(font, "UseDefaultFont", FUseFont);
  XmlWriteAttrString(font, "Fontname", FFont.Name);
  XmlWriteAttrInteger(font, "Style", TKxDeUtils::FontStyleToInteger(FFont.Style));
  XmlWriteAttrDouble(font, "Size", FFont.Size);
  XmlWriteAttrInteger(font, "Charset", FFont.Charset);

  TXmlNode gradient = XmlAddChild(Node, "Gradient");
  XmlWriteAttrBool(gradient, "UseDefaultGradient", FUseGradient);
  XmlWriteAttrInteger(gradient, "ColorBegin", FGradient.ColorBegin);
  XmlWriteAttrInteger(gradient, "ColorEnd", FGradient.ColorEnd);
  XmlWriteAttrBool(gradient, "Reverse", FGradient.Reverse);
  XmlWriteAttrInteger(gradient, "Rotation", FGradient.Rotation);
  XmlWriteAttrInteger(gradient, "Shift", FGradient.Shift);
  XmlWriteAttrInteger(gradient, "Style", static_cast<int32_t>(FGradient.Style));

  TXmlNode split = XmlAddChild(Node, "SplitColors");
  XmlWriteAttrString(split, "Class", FColorManagementProperties->ClassName());
  FColorManagementProperties->SaveToXML(split);
}

void TmekLayerObjectsDefaultProperties::LoadFromXML(TXmlNode Node) {
  if (TXmlNode brush = XmlSelect(Node, "Brush")) {
    FUseBrush = XmlReadAttrBool(brush, "UseDefaultBrush", FUseBrush);
    FBrush.Color = ReadAttrInteger(brush, "Color", FBrush.Color);
    FBrush.Style = ReadAttrOrdinal(brush, "Style", FBrush.Style, TBrushStyle::bsDiagCross);
  }
  if (TXmlNode pen = XmlSelect(Node, "Pen")) {
    FUsePen = XmlReadAttrBool(pen, "UseDefaultPen", FUsePen);
    FPen.Color = ReadAttrInteger(pen, "Color", FPen.Color);
    FPen.Style = ReadAttrOrdinal(pen, "Style", FPen.Style, TPenStyle::psAlternate);
    FPen.Mode = ReadAttrOrdinal(pen, "Mode", FPen.Mode, TPenMode::pmNotXor);
  }
  if (TXmlNode font = XmlSelect(Node, "Font")) {
    FUseFont = XmlReadAttrBool(font, "UseDefaultFont", FUseFont);
    FFont.Name = XmlReadAttrString(font, "Fontname", FFont.Name);
    FFont.Style =
        TKxDeUtils::IntegerToFontStyle(ReadAttrInteger(font, "Style", TKxDeUtils::FontStyleToInteger(FFont.Style)));
    // The height in millimetres: a number within the length bound, else the current one.
    const double size = XmlReadAttrDouble(font, "Size", FFont.Size);
    if (size >= -MaxLengthMM && size <= MaxLengthMM) FFont.Size = static_cast<float>(size);
    FFont.Charset = static_cast<uint8_t>(ReadAttrInteger(font, "Charset", FFont.Charset, 0, 255));
  }
  if (TXmlNode gradient = XmlSelect(Node, "Gradient")) {
    FUseGradient = XmlReadAttrBool(gradient, "UseDefaultGradient", FUseGradient);
    FGradient.ColorBegin = ReadAttrInteger(gradient, "ColorBegin", FGradient.ColorBegin);
    FGradient.ColorEnd = ReadAttrInteger(gradient, "ColorEnd", FGradient.ColorEnd);
    FGradient.Reverse = XmlReadAttrBool(gradient, "Reverse", FGradient.Reverse);
    FGradient.Rotation =
        static_cast<int8_t>(TKxDeGradientRotation::Clamp(ReadAttrInteger(gradient, "Rotation", FGradient.Rotation)));
    FGradient.Shift =
        static_cast<int8_t>(TKxDeGradientShift::Clamp(ReadAttrInteger(gradient, "Shift", FGradient.Shift)));
    FGradient.Style = ReadAttrOrdinal(gradient, "Style", FGradient.Style, TKxDeShapeGradientStyle::kxdgsButterfly);
  }
  if (TXmlNode split = XmlSelect(Node, "SplitColors")) FColorManagementProperties->LoadFromXML(split);
}

}  // namespace vorn
