// Every kit shape inks exactly what its hit test answers: no ink where the shape is not hit, and
// no gap where it is hit all around, turned or not.
#include "ShapeTestSupport.h"

#include <vorn/model/KxDeShapeFont.h>

using namespace vorn;
using namespace vorn::test;

namespace {

template <class T>
TOwned<TKxDeShapeBase> Kit(const std::function<void(T*)>& Setup) {
  TShapePtr<T> s = MakeShape<T>();
  Setup(s.get());
  return TOwned<TKxDeShapeBase>(s.release());
}

}  // namespace

TEST(KitInk, EveryShapeInksWhatItsHitTestAnswers) {
  struct TCase {
    const char* Name;
    TOwned<TKxDeShapeBase> Shape;
    bool CheckMissing;  // a barcode's modules do not fill the symbol's rectangle, nor glyphs their lines
  };
  std::vector<TCase> cases;
  for (float angle : {0.0f, 30.0f, 90.0f, 137.5f})
    cases.push_back({"rounded rectangle", Kit<TVornRectangle>([angle](TVornRectangle* r) {
                       r->SetBounds(10, 45, 100, 50);
                       r->Brush()->SetColor(clRed);
                       r->Pen()->SetWidth(1.0f);
                       r->SetCornerRadius(5);
                       r->SetRotation(angle);
                     }),
                     true});
  cases.push_back({"unfilled ellipse", Kit<TVornEllipse>([](TVornEllipse* e) {
                     e->SetBounds(20, 30, 120, 60);
                     e->Brush()->SetStyle(TBrushStyle::bsClear);
                     e->Pen()->SetWidth(1.5f);
                     e->SetRotation(45);
                   }),
                   true});
  cases.push_back({"line with an arrow and a round end", Kit<TVornLine>([](TVornLine* l) {
                     l->Add(30, 140);
                     l->Add(150, 30);
                     l->Pen()->SetWidth(1.2f);
                     l->SetStartShape(TmekLineShape::mekLshArrowed);
                     l->SetEndShape(TmekLineShape::mekLshRounded);
                     l->SetRotation(20);
                   }),
                   true});
  cases.push_back({"turned polygon", Kit<TVornPolygon>([](TVornPolygon* p) {
                     for (TPointF v : {TPointF{40, 40}, {160, 40}, {160, 80}, {40, 80}}) p->Add(v.X, v.Y);
                     p->Brush()->SetColor(clGreen);
                     p->SetRotation(90);
                   }),
                   true});
  cases.push_back({"free-hand stroke", Kit<TVornFreeHand>([](TVornFreeHand* f) {
                     for (int i = 0; i <= 40; ++i)
                       f->Add(20 + 3.0f * i, static_cast<float>(80 + 40 * std::sin(i * 0.15)));
                     f->Pen()->SetWidth(1.0f);
                     f->SetRotation(15);
                   }),
                   true});
  cases.push_back({"turned barcode", Kit<TVornBarcode>([](TVornBarcode* b) {
                     b->SetSymbology(TVornBarcodeType::vbtDataMatrix);
                     b->SetText(QStringLiteral("VORN-DM-7"));
                     b->SetBounds(40, 40, 80, 80);
                     b->SetRotation(35);
                   }),
                   false});
  for (float angle : {0.0f, 90.0f, 200.0f})
    cases.push_back({"centred text", Kit<TVornText>([angle](TVornText* t) {
                       t->SetBounds(10, 10, 150, 100);
                       t->TextFont()->SetHeight(5.0f);
                       t->SetText(QStringLiteral("Ship to: Vorn"));
                       t->SetAlignment(TVornTextAlign::vtaCenter);
                       t->SetVerticalAlignment(TVornTextLayout::vtlCenter);
                       t->SetRotation(angle);
                     }),
                     false});  // glyphs do not fill their line boxes
  for (const TCase& c : cases) {
    const QImage img = Render(c.Shape.get(), 170, 170);
    const TInkCheck ink = CheckInk(c.Shape.get(), img, 1.0, 0, 0, c.CheckMissing, 1.5f, c.CheckMissing ? 3 : 1);
    EXPECT_GT(ink.Inked, 40) << c.Name << " turned " << c.Shape->Rotation();
    EXPECT_EQ(ink.StrayInk, 0) << c.Name << " turned " << c.Shape->Rotation();
    EXPECT_EQ(ink.MissingInk, 0) << c.Name << " turned " << c.Shape->Rotation();
  }
}
