// What every kit shape shares: it inks exactly what its hit test answers (no ink where the shape is not hit,
// no gap where it is hit all around, turned or not), and in XML it comes back with all its values
// (written, read into a fresh shape and written again: the same text and the same published values, its
// style objects' included) while values a document cannot mean leave the current ones.
#include "ShapeTestSupport.h"

namespace vorn::test {
namespace {

template <class T>
TOwned<TKxDeShapeBase> Kit(const std::function<void(T*)>& Setup) {
  TOwned<T> s = MakeShape<T>();
  Setup(s.get());
  return TOwned<TKxDeShapeBase>(s.release());
}

// One shape of every kit class with values away from the defaults, inside 170 x 170 world units.
struct TKitCase {
  TOwned<TKxDeShapeBase> Shape;
  bool SolidInk;        // a barcode's modules do not fill the symbol's rectangle, nor glyphs their lines
  const char* Damaged;  // an element whose values no document can mean
};

std::vector<TKitCase> KitShapes(const QTemporaryDir& Dir) {
  const QString png = WriteImage(Dir, QStringLiteral("halves.png"), 40, 20, Qt::red, Qt::blue);
  std::vector<TKitCase> kit;
  kit.push_back({Kit<TVornRectangle>([](TVornRectangle* r) {
                   r->SetBounds(10, 45, 100, 50);
                   r->SetCornerRadius(5);
                   r->Brush()->SetColor(clRed);
                   r->Pen()->SetWidth(1.5f);
                   r->SetRotation(33.25f);
                   r->SetName(QStringLiteral("frame"));
                 }),
                 true, "<o><CornerRadius>-4</CornerRadius></o>"});
  kit.push_back({Kit<TVornEllipse>([](TVornEllipse* e) {
                   e->SetBounds(20, 30, 120, 60);
                   e->Brush()->SetStyle(TBrushStyle::bsClear);
                   e->Pen()->SetWidth(1.5f);
                   e->SetRotation(45);
                 }),
                 true, nullptr});
  kit.push_back({Kit<TVornLine>([](TVornLine* l) {
                   l->Add(30, 140);
                   l->Add(150, 30);
                   l->Pen()->SetWidth(1.2f);
                   l->SetStartShape(TmekLineShape::mekLshArrowed);
                   l->SetEndShape(TmekLineShape::mekLshRounded);
                   l->SetArrowSize(4.5f);
                   l->SetRotation(20);
                 }),
                 true, "<o><StartShape>7</StartShape><EndShape>-1</EndShape><ArrowSize>nan</ArrowSize></o>"});
  kit.push_back({Kit<TVornPolyline>([](TVornPolyline* p) {
                   for (TPointF v : {TPointF{10, 10}, {90, 10}, {50, 80}}) p->Add(v.X, v.Y);
                   p->Points(1)->SetControl_1(p->Points(1)->NewControl(-10, 5));
                   p->Points(1)->SetControl_2(p->Points(1)->NewControl(10, -5));
                   p->SetClosed(true);
                   p->Brush()->SetColor(clAqua);
                 }),
                 true, nullptr});
  kit.push_back({Kit<TVornPolygon>([](TVornPolygon* p) {
                   for (TPointF v : {TPointF{40, 40}, {160, 40}, {160, 80}, {40, 80}}) p->Add(v.X, v.Y);
                   p->Brush()->SetColor(clGreen);
                   p->SetRotation(90);
                 }),
                 true, nullptr});
  kit.push_back({Kit<TVornFreeHand>([](TVornFreeHand* f) {
                   for (int i = 0; i <= 40; ++i)
                     f->Add(20 + 3.0f * i, static_cast<float>(80 + 40 * std::sin(i * 0.15)));
                   f->Pen()->SetWidth(1.0f);
                   f->SetRotation(15);
                 }),
                 true, nullptr});
  kit.push_back({Kit<TVornBarcode>([](TVornBarcode* b) {
                   b->SetSymbology(TVornBarcodeType::vbtDataMatrix);
                   b->SetText(QStringLiteral("LOT 2026/11"));
                   b->SetShowText(false);
                   b->SetBarColor(clMaroon);
                   b->SetBounds(40, 40, 80, 80);
                   b->SetRotation(35);
                 }),
                 false, "<o><Symbology>99</Symbology></o>"});
  kit.push_back({Kit<TVornText>([](TVornText* t) {
                   t->SetBounds(10, 10, 150, 100);
                   t->SetText(QStringLiteral("Ship <to> & Vorn\nÜnïcode"));
                   t->TextFont()->SetHeight(4.25f);
                   t->Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
                   t->SetAlignment(TVornTextAlign::vtaCenter);
                   t->SetVerticalAlignment(TVornTextLayout::vtlBottom);
                   t->SetWordWrap(false);
                   t->SetRotation(200);
                 }),
                 false, "<o><Alignment>9</Alignment><VerticalAlignment>-1</VerticalAlignment></o>"});
  kit.push_back({Kit<TVornPicture>([&](TVornPicture* p) {
                   p->LoadPicture(png);
                   p->SetBounds(10, 10, 150, 150);
                   p->SetFlipVertical(true);
                 }),
                 true, nullptr});
  return kit;
}

TEST(KitInk, EveryShapeInksWhatItsHitTestAnswers) {
  QTemporaryDir dir;
  for (const TKitCase& c : KitShapes(dir)) {
    TKxDeShapeBase* s = c.Shape.get();
    const float own = s->Rotation();
    for (float angle : {own, own + 90, 0.0f}) {
      s->SetRotation(angle);
      SCOPED_TRACE(s->ClassName().toStdString() + " turned " + std::to_string(angle));
      const TInkCheck ink = CheckInk(s, Render(s, 170, 170), 1.0, 0, 0, c.SolidInk, 1.5f, c.SolidInk ? 3 : 1);
      EXPECT_GT(ink.Inked, 40);
      EXPECT_EQ(ink.StrayInk, 0);
      EXPECT_EQ(ink.MissingInk, 0);
    }
  }
}

// Writes S, reads the text into a fresh shape of its class and returns it with both texts.
TOwned<TKxDeShapeBase> ReadBack(const TKxDeShapeBase* S, QByteArray& First, QByteArray& Second) {
  TXmlDocument one, two;
  S->SaveToXML(one.append_child("o"));
  TOwned<TKxDeShapeBase> copy(S->ClassType()->Construct<TKxDeShapeBase>(nullptr, nullptr));
  copy->LoadFromXML(one.child("o"), false);
  copy->SaveToXML(two.append_child("o"));
  First = XmlToText(one);
  Second = XmlToText(two);
  return copy;
}

TEST(KitXml, EveryShapeComesBackWithAllItsValuesAndRefusesWhatItCannotMean) {
  QTemporaryDir dir;
  for (const TKitCase& c : KitShapes(dir)) {
    const TKxDeShapeBase* s = c.Shape.get();
    SCOPED_TRACE(s->ClassName().toStdString());
    QByteArray first, second;
    const TOwned<TKxDeShapeBase> copy = ReadBack(s, first, second);
    EXPECT_EQ(second.toStdString(), first.toStdString());
    ExpectSamePublishedValues(s->metaObject(), s, copy.get());
    ExpectNear(copy->GetBounds(), s->GetBounds());
    if (!c.Damaged) continue;
    // The same element with values no document can mean: those are refused, the rest reads as written.
    TXmlDocument doc, bad;
    XmlParse(doc, first);
    XmlParse(bad, c.Damaged);
    for (TXmlNode d : bad.child("o").children()) doc.child("o").child(d.name()).text().set(d.child_value());
    copy->LoadFromXML(doc.child("o"), false);
    ExpectSamePublishedValues(s->metaObject(), s, copy.get());
  }
}

TEST(KitXml, BoxesReadFromDamagedPointListsStillHaveFourCorners) {
  auto r = MakeShape<TVornRectangle>();
  TXmlDocument doc;
  XmlParse(doc, QByteArrayLiteral("<o><Points><Point><x>1</x><y>2</y></Point><Point><x>5</x><y>9</y></Point>"
                                  "<Point><x>3</x><y>3</y></Point></Points></o>"));
  r->LoadFromXML(doc.child("o"), false);
  EXPECT_EQ(r->PointCount(), 4);
  ExpectNear(r->GetBounds(), TRectF{MM(1), MM(2), MM(5), MM(9)});
  XmlParse(doc, QByteArrayLiteral("<o><Points/></o>"));
  r->LoadFromXML(doc.child("o"), false);
  EXPECT_EQ(r->PointCount(), 4) << "no points at all: four corners at the origin";
}

}  // namespace
}  // namespace vorn::test
