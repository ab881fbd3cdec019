#pragma once
// The font of a shape (name, size in points, colour, style, charset) and TmekFont, the view a
// text shape keeps over it that adds a height in millimetres.

#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/common/XmlUtils.h"
#include "vorn/model/KxDeStyleRecords.h"

#include <QFont>

namespace vorn {

class TKxDeShapeBase;
class TFont;

class TKxDeShapeFont : public TPersistent {
  VORN_OBJECT(TKxDeShapeFont, TPersistent)
  Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(QString Substituted READ Substituted WRITE SetSubstituted)
  Q_PROPERTY(int Size READ Size WRITE SetSize)
  Q_PROPERTY(vorn::TFontStyles Style READ Style WRITE SetStyle)
  Q_CLASSINFO("TypeName.Color", "TColor")
  Q_CLASSINFO("Category.Name", "Font")
  Q_CLASSINFO("Category.Size", "Font")
  Q_CLASSINFO("Category.Style", "Font")
  Q_CLASSINFO("Category.Color", "Font")
  Q_CLASSINFO("Category.Charset", "Advanced")
  Q_CLASSINFO("Category.Substituted", "Advanced")

 public:
  explicit TKxDeShapeFont(TKxDeShapeBase* AOwner = nullptr) : FOwner(AOwner) {}

  uint8_t Charset() const { return FCharset; }
  void SetCharset(uint8_t Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  const QString& Name() const { return FName; }
  void SetName(const QString& Value);
  // The requested name when loading replaced an uninstalled font; it cannot be set.
  const QString& Substituted() const { return FSubstituted; }
  void SetSubstituted(const QString&) {}
  // Points; stored without announcement.
  int32_t Size() const { return FSize; }
  void SetSize(int32_t Value) { FSize = Value; }
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  QString StyleText() const { return FStyle.ToText(); }
  void SetStyleText(const QString& Value);

  TKxDeShapeBase* Owner() const { return FOwner; }
  void SetOwner(TKxDeShapeBase* Value) { FOwner = Value; }

  void Assign(const TPersistent* Source) override;
  void AssignRec(const TKxDeShapeFontRec& Rec);
  TKxDeShapeFontRec ToRec() const { return {FCharset, FColor, FName, FSize, FStyle}; }
  // Sets up a canvas font: name, size, colour and style.
  void AssignTo(TFont* Target) const;
  // The Qt font of this font at its point size.
  QFont ToQFont() const;

  virtual void SaveToXML(TXmlNode Node) const;
  // Reads the font; a name that is not installed is replaced by the installed match, the
  // requested name kept in Substituted and the substitution reported as a debug message.
  virtual void LoadFromXML(TXmlNode Node);

  // The two announcements (public: TmekFont brackets its height change in them).
  void Changing() { if (OnChanging) OnChanging(this); }
  void Changed() { if (OnChange) OnChange(this); }

  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 private:
  uint8_t FCharset = 1;
  TColor FColor = clWindowText;
  QString FName = QStringLiteral("Swiss 721");
  QString FSubstituted;
  int32_t FSize = 3;
  TFontStyles FStyle;
  TKxDeShapeBase* FOwner;
};

// A text shape's font as users see it: the shape font's name, charset, size, style and colour,
// plus a height in millimetres that sets the point size.
class TmekFont : public TPersistent {
  VORN_OBJECT(TmekFont, TPersistent)
  Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(int Size READ Size WRITE SetSize)
  Q_PROPERTY(vorn::TFontStyles Style READ Style WRITE SetStyle)
  Q_PROPERTY(float Height READ Height WRITE SetHeight)
  Q_CLASSINFO("Category.Name", "Font")
  Q_CLASSINFO("Category.Size", "Font")
  Q_CLASSINFO("Category.Style", "Font")
  Q_CLASSINFO("Category.Height", "Font")
  Q_CLASSINFO("Category.Charset", "Advanced")

 public:
  // The view of AOwner's font; without an owner the view keeps a font of its own.
  explicit TmekFont(TKxDeShapeBase* AOwner);
  // AFont is the shape font this view presents (owned by the shape).
  TmekFont(TKxDeShapeBase* AOwner, TKxDeShapeFont* AFont);

  TKxDeShapeBase* Owner() const { return FOwner; }
  TKxDeShapeFont* Font() const { return FFont; }
  TKxDeShapeFont* GetShapeFont() const { return FFont; }

  uint8_t Charset() const { return FFont->Charset(); }
  void SetCharset(uint8_t Value) { FFont->SetCharset(Value); }
  TColor Color() const { return FFont->Color(); }
  void SetColor(TColor Value) { FFont->SetColor(Value); }
  QString Name() const { return FFont->Name(); }
  void SetName(const QString& Value) { FFont->SetName(Value); }
  int32_t Size() const { return FFont->Size(); }
  void SetSize(int32_t Value) { FFont->SetSize(Value); }
  TFontStyles Style() const { return FFont->Style(); }
  void SetStyle(TFontStyles Value) { FFont->SetStyle(Value); }
  QString StyleText() const { return FFont->StyleText(); }
  void SetStyleText(const QString& Value) { FFont->SetStyleText(Value); }
  // Millimetres; a zero or negative height is ignored.
  float Height() const { return FHeight; }
  void SetHeight(float Value);

  void Assign(const TPersistent* Source) override;
  void AssignRec(const TKxDeShapeFontRec& Rec) { FFont->AssignRec(Rec); }
  void AssignRec(const TKxDeShapeFontRec2& Rec);
  void AssignTo(TFont* Target) const { FFont->AssignTo(Target); }

  virtual void SaveToXML(TXmlNode Node) const;
  virtual void LoadFromXML(TXmlNode Node);

 private:
  void Init();

  TKxDeShapeBase* FOwner;
  TOwned<TKxDeShapeFont> FOwnFont;
  TKxDeShapeFont* FFont;
  float FHeight = 0;
};

}  // namespace vorn
