#include "vorn/shapes/VornShapes.h"

#include <vorn/model/KxDeRegister.h>

#include <QCoreApplication>

namespace vorn {

void RegisterVornShapes() {
  // Registered in English; the registry answers in the application's language. It keeps the
  // first entry of a class name, so repeated calls are harmless.
  struct TEntry {
    TKxDeShapeClass Class;
    const char* DisplayName;
    const char* Description;
  };
  const TEntry entries[] = {
      {ClassOf<TVornRectangle>(), QT_TRANSLATE_NOOP("KxDeRegister", "Rectangle"),
       QT_TRANSLATE_NOOP("KxDeRegister", "A rectangle with optionally rounded corners")},
      {ClassOf<TVornEllipse>(), QT_TRANSLATE_NOOP("KxDeRegister", "Ellipse"),
       QT_TRANSLATE_NOOP("KxDeRegister", "An ellipse or a circle")},
      {ClassOf<TVornLine>(), QT_TRANSLATE_NOOP("KxDeRegister", "Line"),
       QT_TRANSLATE_NOOP("KxDeRegister", "A straight line with optional arrow heads")},
      {ClassOf<TVornPolyline>(), QT_TRANSLATE_NOOP("KxDeRegister", "Polyline"),
       QT_TRANSLATE_NOOP("KxDeRegister", "Connected straight or curved segments")},
      {ClassOf<TVornPolygon>(), QT_TRANSLATE_NOOP("KxDeRegister", "Polygon"),
       QT_TRANSLATE_NOOP("KxDeRegister", "A closed figure of straight or curved sides")},
      {ClassOf<TVornFreeHand>(), QT_TRANSLATE_NOOP("KxDeRegister", "Free-hand line"),
       QT_TRANSLATE_NOOP("KxDeRegister", "A line drawn by hand")},
      {ClassOf<TVornText>(), QT_TRANSLATE_NOOP("KxDeRegister", "Text"),
       QT_TRANSLATE_NOOP("KxDeRegister", "Text in a box, aligned and wrapped")},
      {ClassOf<TVornPicture>(), QT_TRANSLATE_NOOP("KxDeRegister", "Picture"),
       QT_TRANSLATE_NOOP("KxDeRegister", "An image or a vector drawing")},
      {ClassOf<TVornBarcode>(), QT_TRANSLATE_NOOP("KxDeRegister", "Barcode"),
       QT_TRANSLATE_NOOP("KxDeRegister", "A linear or two-dimensional barcode")},
  };
  for (const TEntry& e : entries)
    TKxDeRegister::RegisterShape(e.Class, QString::fromUtf8(e.DisplayName), QString::fromUtf8(e.Description));
}

}  // namespace vorn
