#pragma once
// The brush of a shape. Its colour is the shape's colour: setting it sets the shape colour, and
// the shape copies its colour back here when it changes.

#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/common/XmlUtils.h"
#include "vorn/model/KxDeStyleRecords.h"

namespace vorn {

class TKxDeShapeBase;
class TBrush;

class TKxDeShapeBrush : public TPersistent {
  VORN_OBJECT(TKxDeShapeBrush, TPersistent)
  Q_PROPERTY(int Color READ GetColor WRITE SetColor)
  Q_PROPERTY(vorn::Graphics::TBrushStyle Style READ Style WRITE SetStyle)
  Q_CLASSINFO("TypeName.Color", "TColor")
  Q_CLASSINFO("Category.Color", "Appearance")
  Q_CLASSINFO("Category.Style", "Appearance")

 public:
  explicit TKxDeShapeBrush(TKxDeShapeBase* AOwner = nullptr) : FOwner(AOwner) {}

  TColor GetColor() const { return FColor; }
  TColor Color() const { return FColor; }
  // Also sets the owner shape's colour.
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // Takes the owner's colour without announcing anything.
  void ShapeColorChanged();

  TKxDeShapeBase* Owner() const { return FOwner; }
  void SetOwner(TKxDeShapeBase* Value) { FOwner = Value; }

  // From a brush: colour and style, announced as a change only (the shape colour stays).
  void Assign(const TPersistent* Source) override;
  // From a record: with both announcements and the shape colour update.
  void AssignRec(const TKxDeBrushRec& Rec);
  TKxDeBrushRec ToRec() const { return {FColor, FStyle}; }
  // Sets up a canvas brush; bsClear when the colour is clNone.
  void AssignTo(TBrush* Target) const;

  virtual void SaveToXML(TXmlNode Node) const;
  virtual void LoadFromXML(TXmlNode Node);

  // A brush owned by a shape reports its changes to the shape's brush handlers unless a handler
  // is assigned here, which takes their place.
  TSparseEvent<void(TObject* Sender)> OnChanging;
  TSparseEvent<void(TObject* Sender)> OnChange;

 protected:
  void Changing();
  void Changed();

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = TBrushStyle::bsSolid;
  TKxDeShapeBase* FOwner;
};

}  // namespace vorn
