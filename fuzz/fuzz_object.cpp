// One object element, as pasting and undo read them: the shape made from it must write an element
// that reads back to the same text, and must survive being hit-tested and painted.

#include "FuzzSupport.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/KxDeSelectionData.h>
#include <vorn/common/XmlUtils.h>
#include <vorn/model/KxDeObjectXml.h>
#include <vorn/surface/KxDeSurface.h>

#include <QImage>

using namespace vorn;

namespace {

QByteArray ObjectText(const TKxDeShapeBase* Shape) {
  TXmlDocument doc;
  TKxDeObjectXml::AppendObject(doc, Shape);
  return XmlToText(doc, false);
}

TOwned<TKxDeShapeBase> Read(TXmlNode Node, const TKxDeXmlReadOptions& Options, TKxDeXmlReadReport* Report) {
  return TOwned<TKxDeShapeBase>(TKxDeObjectXml::LoadObject(Node, Options, Report));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TXmlDocument doc;
  if (!fuzz::ParseXml(doc, Data, Size)) return 0;
  // The length chooses the reading mode, so that both paths see every kind of element.
  TKxDeXmlReadOptions options;
  options.KeepID = Size % 2 == 1;
  options.MaxDepth = Size % 3 == 0 ? 4 : 256;
  TOwned<TKxDeShapeBase> shape = Read(doc.document_element(), options, nullptr);
  if (!shape) return 0;

  const QByteArray text = ObjectText(shape.get());
  TXmlDocument written;
  XmlParse(written, text);
  TKxDeXmlReadReport report;
  TOwned<TKxDeShapeBase> back = Read(written.document_element(), {}, &report);
  if (!back) fuzz::Fail("a written object does not read again", text);
  if (report.ObjectsSkipped != 0)
    fuzz::Fail("a written object reads with skips", text, report.Messages.join('\n').toUtf8());
  const QByteArray again = ObjectText(back.get());
  if (again != fuzz::WithoutSubstitutions(text)) fuzz::Fail("writing a read object changes it", text, again);

  (void)shape->PointOnShape(TPointF{10, 10}, 2, false);
  const TKxDeShapeHit found = shape->HitTest(TPointF{20, 5}, 2, 4, true, true, {});
  QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  TCanvas canvas(&image);
  shape->Paint(&canvas, 0, 0, 0.5, 0, nullptr);

  // Then, as on a surface: selected with its points, shown while a handle is dragged, moved, sized
  // and turned.
  shape->SelectAll();
  for (int32_t i = 0; i < shape->SelectionCount(); ++i) (void)shape->IndexOf(shape->Selections(i));
  TKxDeHitTest hit;
  hit.HitType = found.Part == TKxDeShapePart::kxspNone ? TKxDeHitType::kxhtShape : TKxDeHitType::kxhtPoint;
  hit.PartIndex = found.PartIndex;
  (void)shape->GetCursor(hit);
  TKxDeSelectionData selection;
  selection.SelectionType = TKxDeSelectionType::kxdsMoving;
  TKxDeDragPoint drag;
  drag.PartIndex = found.PartIndex;
  drag.Offset = TPointF{3, 4};
  shape->DrawSelection(&canvas, 0, 0, drag, selection, 0.5);
  shape->MoveBy(7, -3);
  shape->Resize(20, 10);
  shape->SetRotation(shape->Rotation() + 30);
  shape->PaintIn(&canvas, 0, 0, 0.5, TRectF{0, 0, 96, 96});
  return 0;
}
