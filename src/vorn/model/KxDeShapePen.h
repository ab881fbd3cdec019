#pragma once
// The pen of a shape: colour, mode, style and a width in millimetres. Every change is announced
// before and after through OnChanging and OnChange, which the shape turns into actions.

#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/common/XmlUtils.h"
#include "vorn/model/KxDeStyleRecords.h"

namespace vorn {

class TKxDeShapeBase;
class TPen;

class TKxDeShapePen : public TPersistent {
  VORN_OBJECT(TKxDeShapePen, TPersistent)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(vorn::Graphics::TPenMode Mode READ Mode WRITE SetMode)
  Q_PROPERTY(vorn::Graphics::TPenStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(float Width READ Width WRITE SetWidth)
  Q_CLASSINFO("TypeName.Color", "TColor")
  Q_CLASSINFO("Category.Color", "Appearance")
  Q_CLASSINFO("Category.Style", "Appearance")
  Q_CLASSINFO("Category.Width", "Appearance")
  Q_CLASSINFO("Category.Mode", "Advanced")

 public:
  explicit TKxDeShapePen(TKxDeShapeBase* AOwner = nullptr) : FOwner(AOwner) {}

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  // Millimetres; a negative width is stored as 0.01, and 0 means no pen.
  float Width() const { return FWidth; }
  void SetWidth(float Value);
  int32_t CPenWidth() const;
  void SetCPenWidth(int32_t Value);

  TKxDeShapeBase* Owner() const { return FOwner; }
  void SetOwner(TKxDeShapeBase* Value) { FOwner = Value; }

  void Assign(const TPersistent* Source) override;
  void AssignRec(const TKxDePenRec& Rec);
  // Colour, mode and style, not the width.
  void AssignRec2(const TKxDeShapePen* Source);
  void AssignRec2(const TKxDePenRec& Rec);
  TKxDePenRec ToRec() const { return {FColor, FMode, FStyle, FWidth}; }
  // Sets up a canvas pen: colour, mode, style and CPenWidth; psClear when the colour is clNone.
  void AssignTo(TPen* Target) const;

  virtual void SaveToXML(TXmlNode Node) const;
  virtual void LoadFromXML(TXmlNode Node);

  // A pen owned by a shape reports its changes to the shape's pen handlers unless a handler
  // is assigned here, which takes their place.
  TSparseEvent<void(TObject* Sender)> OnChanging;
  TSparseEvent<void(TObject* Sender)> OnChange;

 protected:
  // To another shape pen: its setters for colour, mode and style, its width directly.
  void AssignTo(TPersistent* Dest) const override;
  void Changing();
  void Changed();

 private:
  TColor FColor = clBlack;
  TPenMode FMode = TPenMode::pmCopy;
  TPenStyle FStyle = TPenStyle::psSolid;
  float FWidth = cstPenDefaultWidth;
  TKxDeShapeBase* FOwner;
};

}  // namespace vorn
