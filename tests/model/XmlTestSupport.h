#pragma once
// Shape classes and helpers shared by the XML and document-file tests.

#include "ModelTestSupport.h"

#include <initializer_list>

namespace vorn::test {

// A shape with curve handles that can rotate.
class TCurveShape : public TKxDeShape {
  VORN_OBJECT(TCurveShape, TKxDeShape)

 public:
  TCurveShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {
    FShapeStyle += TKxDeShapeStyle::kxssUsesPointControls;
    FShapeStyle += TKxDeShapeStyle::kxssCanRotate;
    FShapeStyle += TKxDeShapeStyle::kxssUsesLabel;
  }
};

// A shape with free adjustment handles.
class THandleShape : public TKxDeShape {
  VORN_OBJECT(THandleShape, TKxDeShape)

 public:
  THandleShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {
    FShapeStyle += TKxDeShapeStyle::kxssUsesControls;
  }
};

// A class that reads its identity whatever it is asked, as packages and layers do.
class TIdentityShape : public TKxDeShape {
  VORN_OBJECT(TIdentityShape, TKxDeShape)

 public:
  using TKxDeShape::TKxDeShape;
  void LoadFromXML(TXmlNode Node, bool) override { TKxDeShape::LoadFromXML(Node, false); }
};

// A class whose element reading fails.
class TRefusingShape : public TKxDeShape {
  VORN_OBJECT(TRefusingShape, TKxDeShape)

 public:
  using TKxDeShape::TKxDeShape;
  void LoadFromXML(TXmlNode, bool) override { throw Exception(QStringLiteral("cannot read this")); }
};

// A shape that uses every style: brush, pen, font, picture and gradient, and can rotate.
class TFullStyleShape : public TKxDeShape {
  VORN_OBJECT(TFullStyleShape, TKxDeShape)

 public:
  TFullStyleShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {
    FShapeStyle += TKxDeShapeStyle::kxssUsesBrush;
    FShapeStyle += TKxDeShapeStyle::kxssUsesFont;
    FShapeStyle += TKxDeShapeStyle::kxssUsesPicture;
    FShapeStyle += TKxDeShapeStyle::kxssCanRotate;
    FShapeStyle += TKxDeShapeStyle::kxssUsesLabel;
  }
  // The gradient object comes with its style, which is set once the shape is whole.
  void AfterConstruction() override {
    SetShapeStyle(ShapeStyle() + TKxDeShapeStyle::kxssUsesGradient);
    TKxDeShape::AfterConstruction();
  }
  using TKxDeShapeBase::SetColor;
  using TKxDeShapeBase::SetPictureStyle;
};

// Registers shape classes for one test and takes back, at its end, exactly the registrations it
// added: what the library registers for itself stays.
class TRegisteredClasses {
 public:
  TRegisteredClasses(std::initializer_list<TKxDeShapeClass> Classes) {
    for (TKxDeShapeClass c : Classes)
      if (!TKxDeRegister::FindShape(c->ClassName()) && TKxDeRegister::RegisterShape(c)) FAdded.push_back(c);
  }
  ~TRegisteredClasses() {
    for (TKxDeShapeClass c : FAdded) TKxDeRegister::UnRegisterShape(c);
  }
  TRegisteredClasses(const TRegisteredClasses&) = delete;
  TRegisteredClasses& operator=(const TRegisteredClasses&) = delete;

 private:
  std::vector<TKxDeShapeClass> FAdded;
};

// The object element of a shape, on one line.
QByteArray ObjectText(const TKxDeShapeBase* Shape);
// Reads an object element from text into a new shape.
TOwned<TKxDeShapeBase> ReadObject(const QByteArray& Text, TKxDeXmlReadReport* Report = nullptr,
                                  const TKxDeXmlReadOptions& Options = {});
// Write, read into a new object, write again: the class and the texts must be equal.
void ExpectRoundTrip(const TKxDeShapeBase* Shape);

}  // namespace vorn::test
