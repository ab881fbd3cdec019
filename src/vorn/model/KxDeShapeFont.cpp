#include "vorn/model/KxDeShapeFont.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/CommonLib.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/common/ResStrs.h"
#include "vorn/model/KxDeXmlFormat_p.h"
#include "vorn/model/KxDeShapeBase.h"
#include "vorn/text/mekFontRef.h"

namespace vorn {

namespace {
// The largest font size read from a document, in points.
constexpr int32_t kMaxFontPoints = 16384;
}  // namespace

void TKxDeShapeFont::SetCharset(uint8_t Value) {
  if (FCharset == Value) return;
  Changing();
  FCharset = Value;
  Changed();
}

void TKxDeShapeFont::SetColor(TColor Value) {
  if (FColor == Value) return;
  Changing();
  FColor = Value;
  Changed();
}

void TKxDeShapeFont::SetName(const QString& Value) {
  if (FName == Value) return;
  Changing();
  FName = Value;
  Changed();
}

void TKxDeShapeFont::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  Changing();
  FStyle = Value;
  Changed();
}

void TKxDeShapeFont::SetStyleText(const QString& Value) {
  TFontStyles s;
  if (TFontStyles::FromText(Value, s)) SetStyle(s);
}

void TKxDeShapeFont::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDeShapeFont*>(Source)) {
    AssignRec(src->ToRec());
    return;
  }
  TPersistent::Assign(Source);
}

void TKxDeShapeFont::AssignRec(const TKxDeShapeFontRec& Rec) {
  Changing();
  FCharset = Rec.Charset;
  FColor = Rec.Color;
  FName = Rec.Name;
  FSize = Rec.Size;
  FStyle = Rec.Style;
  Changed();
}

void TKxDeShapeFont::AssignTo(TFont* Target) const {
  if (!Target) return;
  Target->SetName(FName);
  Target->SetSize(FSize);
  Target->SetColor(FColor);
  Target->SetStyle(FStyle);
}

QFont TKxDeShapeFont::ToQFont() const {
  QFont f(FName);
  f.setPointSize(std::max(1, FSize));
  f.setBold(FStyle.Contains(TFontStyle::fsBold));
  f.setItalic(FStyle.Contains(TFontStyle::fsItalic));
  f.setUnderline(FStyle.Contains(TFontStyle::fsUnderline));
  f.setStrikeOut(FStyle.Contains(TFontStyle::fsStrikeOut));
  return f;
}

void TKxDeShapeFont::SaveToXML(TXmlNode Node) const {
  XmlWriteInteger(Node, "Charset", FCharset);
  XmlWriteInteger(Node, "Color", FColor);
  XmlWriteString(Node, "Name", FName);
  if (!FSubstituted.isEmpty()) XmlWriteString(Node, "Subst", FSubstituted);
  XmlWriteInteger(Node, "Size", FSize);
  XmlWriteInteger(Node, "Style", TKxDeUtils::FontStyleToInteger(FStyle));
}

void TKxDeShapeFont::LoadFromXML(TXmlNode Node) {
  Changing();
  FCharset = static_cast<uint8_t>(XmlReadIntegerIn(Node, "Charset", 1, 0, 255));
  FColor = XmlReadInteger(Node, "Color", FColor);
  const QString requested = XmlReadString(Node, "Name", QStringLiteral("Swiss 721"));
  const QString installed = CheckForFont(requested);
  FSubstituted.clear();
  FName = requested;
  if (!installed.isEmpty() && installed != requested) {
    FName = installed;
    FSubstituted = requested;
    if (HasDebugMessageSink()) PostDebugMessage(kxdFormat(rsFontNameSubstitution(), {requested, installed}));
  }
  // Points; beyond the bound a size is damage, not a font anybody could draw.
  FSize = XmlReadIntegerIn(Node, "Size", FSize, -kMaxFontPoints, kMaxFontPoints);
  FStyle = TKxDeUtils::IntegerToFontStyle(XmlReadInteger(Node, "Style", 0));
  Changed();
}

// ---- TmekFont ----------------------------------------------------------------------------------

TmekFont::TmekFont(TKxDeShapeBase* AOwner)
    : FOwner(AOwner),
      FOwnFont(AOwner ? nullptr : Create<TKxDeShapeFont>()),
      FFont(AOwner ? AOwner->Font() : FOwnFont.get()) {
  Init();
}

TmekFont::TmekFont(TKxDeShapeBase* AOwner, TKxDeShapeFont* AFont)
    : FOwner(AOwner), FOwnFont(AFont ? nullptr : Create<TKxDeShapeFont>()), FFont(AFont ? AFont : FOwnFont.get()) {
  Init();
}

void TmekFont::Init() {
  FFont->SetName(QStringLiteral("Swiss 721"));
  SetHeight(3.0f);
  // The outline cache keeps the reference metrics of the family this view shows.
  TFont platformFont;
  FFont->AssignTo(&platformFont);
  TmekFontRef::CreateRefFont(platformFont);
}

void TmekFont::SetHeight(float Value) {
  if (Value == FHeight || Value <= 0) return;
  FHeight = Value;
  FFont->Changing();
  FFont->SetSize(TKxDeUtils::MMToFontPoints(Value));
  FFont->Changed();
}

void TmekFont::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TmekFont*>(Source)) {
    FFont->SetName(src->FFont->Name());
    FFont->SetCharset(src->FFont->Charset());
    FFont->SetColor(src->FFont->Color());
    FFont->SetSize(src->FFont->Size());
    FFont->SetStyle(src->FFont->Style());
    FHeight = src->FHeight;
    return;
  }
  TPersistent::Assign(Source);
}

void TmekFont::AssignRec(const TKxDeShapeFontRec2& Rec) {
  FFont->SetCharset(Rec.Charset);
  FFont->SetName(Rec.Name);
  SetHeight(Rec.Size);
  FFont->SetStyle(Rec.Style);
}

void TmekFont::SaveToXML(TXmlNode Node) const { XmlWriteSingle(Node, "Height", FHeight); }

void TmekFont::LoadFromXML(TXmlNode Node) { FHeight = xmlformat::ReadSingleLengthMM(Node, "Height", FHeight); }

}  // namespace vorn
