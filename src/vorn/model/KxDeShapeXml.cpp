// The shape element and the geometry elements of TKxDeShapeBase.
//
// Writing follows a fixed order so that documents compare as text; reading looks children up by
// name and takes every value through a range check, so a damaged document can leave a value at
// its default but never puts a NaN, an impossible ordinal or an absurd coordinate into a shape.

#include "vorn/model/KxDeShapeBase.h"

#include "vorn/model/KxDeControl.h"
#include "vorn/model/KxDePoint.h"
#include "vorn/model/KxDeShapeFont.h"
#include "vorn/model/KxDeShapeGradient.h"
#include "vorn/model/KxDeXmlFormat_p.h"
#include "vorn/model/UpdateBracket_p.h"

#include <limits>

namespace vorn {

using namespace xmlformat;

namespace {

void WritePointMM(TXmlNode Node, float X, float Y) {
  XmlWriteDouble(Node, "x", WorldToMM(X));
  XmlWriteDouble(Node, "y", WorldToMM(Y));
}

// A point handle stored as its offset from the point; an offset of (0, 0) means no handle.
void ReadPointHandle(TXmlNode Node, TKxDePoint* Point, bool First) {
  if (!Node) return;
  const double x = ReadLengthMM(Node, "x", 0);
  const double y = ReadLengthMM(Node, "y", 0);
  if (x == 0 && y == 0) return;
  TKxDePointControl* c = Point->NewControl(MMToWorld(x), MMToWorld(y));
  if (First) Point->SetControl_1(c);
  else Point->SetControl_2(c);
  if (c->GetOwner() != Point) Free(c);  // refused: nothing may leak
}

}  // namespace

void TKxDeShapeBase::SaveToXML(TXmlNode Node) const {
  XmlWriteAttrInt64(Node, "ID", static_cast<int64_t>(FID));
  XmlWriteBool(Node, "Visible", FVisible);
  XmlWriteBool(Node, "Locked", FLocked);
  XmlWriteString(Node, "Name", FName);
  XmlWriteString(Node, "Text", GetText());
  XmlWriteSingle(Node, "Rotation", FRotation);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssCanRotate)) WriteOrdinal(Node, "RotationPoint", FRotationCenter);
  XmlWriteBool(Node, "Log", FLog);
  if (!UserData1().isEmpty()) XmlWriteString(Node, "UserData1", UserData1());
  if (!UserData2().isEmpty()) XmlWriteString(Node, "UserData2", UserData2());
  // Only the styles the shape uses: the others keep their defaults and mean nothing.
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesBrush)) Brush()->SaveToXML(XmlAddChild(Node, "Brush"));
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPen)) Pen()->SaveToXML(XmlAddChild(Node, "Pen"));
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesFont)) Font()->SaveToXML(XmlAddChild(Node, "Font"));
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPicture)) {
    WriteOrdinal(Node, "PictureStyle", FPictureStyle);
    Picture()->SaveToXML(XmlAddChild(Node, "Picture"));
  }
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesGradient) && GetGradient())
    GetGradient()->SaveToXML(XmlAddChild(Node, "Gradient"));
  SaveBoundsToXML(Node);
}

void TKxDeShapeBase::LoadFromXML(TXmlNode Node, bool KeepID) {
  // One change for the whole element, however many values it sets.
  TUpdateBracket update(this);
  ++FChangeCount;
  if (!KeepID)
    FID = static_cast<uint32_t>(XmlReadAttrInt64In(Node, "ID", FID, 0, std::numeric_limits<uint32_t>::max()));
  FVisible = XmlReadBool(Node, "Visible", FVisible);
  FLocked = XmlReadBool(Node, "Locked", FLocked);
  SetName(XmlReadString(Node, "Name"));
  SetText(XmlReadString(Node, "Text"));
  // Kept as written, not normalised: only values that are not numbers are refused.
  FRotation = ReadFiniteSingle(Node, "Rotation", FRotation);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssCanRotate))
    FRotationCenter =
        ReadOrdinal(Node, "RotationPoint", TKxDeRotationCenter::kxdroPtGravity, TKxDeRotationCenter::kxdroRefPoint);
  FLog = XmlReadBool(Node, "Log", FLog);
  if (XmlHasValue(Node, "UserData1")) Extras().UserData1 = XmlReadString(Node, "UserData1");
  if (XmlHasValue(Node, "UserData2")) Extras().UserData2 = XmlReadString(Node, "UserData2");
  // Each style object reads its own element as one announced change.
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesBrush))
    if (TXmlNode e = XmlSelect(Node, "Brush")) Brush()->LoadFromXML(e);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPen))
    if (TXmlNode e = XmlSelect(Node, "Pen")) Pen()->LoadFromXML(e);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesFont))
    if (TXmlNode e = XmlSelect(Node, "Font")) Font()->LoadFromXML(e);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPicture)) {
    FPictureStyle =
        ReadOrdinal(Node, "PictureStyle", TKxDeShapePictureStyle::kxdspStretch, TKxDeShapePictureStyle::kxdspStretch);
    if (TXmlNode e = XmlSelect(Node, "Picture")) Picture()->LoadFromXML(e);
  }
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesGradient) && GetGradient())
    if (TXmlNode e = XmlSelect(Node, "Gradient")) GetGradient()->LoadFromXML(e);
  LoadBoundsFromXML(Node);
}

void TKxDeShapeBase::SaveBoundsToXML(TXmlNode Node) const {
  if (!FPoints.empty()) {
    const bool handles = FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPointControls);
    TXmlNode points = XmlAddChild(Node, "Points");
    for (const TKxDePoint* p : FPoints) {
      TXmlNode e = XmlAddChild(points, "Point");
      WritePointMM(e, p->x(), p->y());
      if (!handles) continue;
      if (const TKxDePointControl* c = p->Control_1()) WritePointMM(XmlAddChild(e, "Control1"), c->x(), c->y());
      if (const TKxDePointControl* c = p->Control_2()) WritePointMM(XmlAddChild(e, "Control2"), c->x(), c->y());
    }
  }
  if (!ControlList().empty() && FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesControls)) {
    TXmlNode controls = XmlAddChild(Node, "Controls");
    for (const TKxDeControl* c : ControlList()) WritePointMM(XmlAddChild(controls, "Control"), c->x(), c->y());
  }
}

void TKxDeShapeBase::LoadBoundsFromXML(TXmlNode Node) {
  TUpdateBracket update(this);
  TPointUpdateBracket points(this);
  ClearPoints();
  const bool handles = FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPointControls);
  // A point that lacks a coordinate repeats the previous point's.
  double x = 0;
  double y = 0;
  for (TXmlNode e : XmlChildren(XmlSelect(Node, "Points"), "Point")) {
    x = ReadLengthMM(e, "x", x);
    y = ReadLengthMM(e, "y", y);
    TKxDePoint* p = Add(MMToWorld(x), MMToWorld(y));
    if (!p || !handles) continue;
    ReadPointHandle(XmlSelect(e, "Control1"), p, true);
    ReadPointHandle(XmlSelect(e, "Control2"), p, false);
  }
  if (!FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesControls)) return;
  TControlUpdateBracket controls(this);
  ClearControls();
  for (TXmlNode e : XmlChildren(XmlSelect(Node, "Controls"), "Control")) {
    // Positioned while free, so that placing it announces nothing; inserting it does.
    TKxDeControl* c = Create<TKxDeControl>();
    c->SetPosition(MMToWorld(ReadLengthMM(e, "x", 0)), MMToWorld(ReadLengthMM(e, "y", 0)));
    InsertControl(c);
    if (c->GetOwner() != this) Free(c);
  }
}

}  // namespace vorn
