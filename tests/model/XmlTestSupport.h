#pragma once
// Shape classes and helpers shared by the XML and document-file tests.

#include "ModelTestSupport.h"

#include <vorn/common/Exceptions.h>
#include <vorn/common/XmlUtils.h>

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

 protected:
  ~TCurveShape() override = default;
};

// A shape with free adjustment handles.
class THandleShape : public TKxDeShape {
  VORN_OBJECT(THandleShape, TKxDeShape)

 public:
  THandleShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {
    FShapeStyle += TKxDeShapeStyle::kxssUsesControls;
  }

 protected:
  ~THandleShape() override = default;
};

// A class that reads its identity whatever it is asked, as packages and layers do.
class TIdentityShape : public TKxDeShape {
  VORN_OBJECT(TIdentityShape, TKxDeShape)

 public:
  using TKxDeShape::TKxDeShape;
  void LoadFromXML(TXmlNode Node, bool) override { TKxDeShape::LoadFromXML(Node, false); }

 protected:
  ~TIdentityShape() override = default;
};

// A class whose element reading fails.
class TRefusingShape : public TKxDeShape {
  VORN_OBJECT(TRefusingShape, TKxDeShape)

 public:
  using TKxDeShape::TKxDeShape;
  void LoadFromXML(TXmlNode, bool) override { throw Exception(QStringLiteral("cannot read this")); }

 protected:
  ~TRefusingShape() override = default;
};

}  // namespace vorn::test
