#include "vorn/shapes/VornShapes.h"

#include <vorn/model/KxDeRegister.h>

#include <QCoreApplication>

namespace vorn {

void RegisterVornShapes() {
  // The registry keeps the first entry of a class name, so repeated calls are harmless.
  auto tr = [](const char* Text) { return QCoreApplication::translate("VornShapes", Text); };
  TKxDeRegister::RegisterShape(ClassOf<TVornRectangle>(), tr("Rectangle"),
                               tr("A rectangle with optionally rounded corners"));
  TKxDeRegister::RegisterShape(ClassOf<TVornEllipse>(), tr("Ellipse"), tr("An ellipse or a circle"));
  TKxDeRegister::RegisterShape(ClassOf<TVornLine>(), tr("Line"), tr("A straight line with optional arrow heads"));
  TKxDeRegister::RegisterShape(ClassOf<TVornPolyline>(), tr("Polyline"), tr("Connected straight or curved segments"));
  TKxDeRegister::RegisterShape(ClassOf<TVornPolygon>(), tr("Polygon"),
                               tr("A closed figure of straight or curved sides"));
  TKxDeRegister::RegisterShape(ClassOf<TVornFreeHand>(), tr("Free-hand line"), tr("A line drawn by hand"));
  TKxDeRegister::RegisterShape(ClassOf<TVornText>(), tr("Text"), tr("Text in a box, aligned and wrapped"));
  TKxDeRegister::RegisterShape(ClassOf<TVornPicture>(), tr("Picture"), tr("An image or a vector drawing"));
  TKxDeRegister::RegisterShape(ClassOf<TVornBarcode>(), tr("Barcode"), tr("A linear or two-dimensional barcode"));
}

}  // namespace vorn
