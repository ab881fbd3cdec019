// Layers: clearing, printing and kind attributes, the page area, the hint and the default styles
// of new shapes.

#include "XmlTestSupport.h"

namespace vorn::test {
namespace {

using Layers = ModelFixture;

class THostLayer : public TKxDeLayer {
  VORN_OBJECT(THostLayer, TKxDeLayer)

 public:
  using TKxDeLayer::TKxDeLayer;
};

TEST_F(Layers, ClearingManyShapesDeliversOneChangeAfterTheNewsOfEachRemoval) {
  Free(Shape);
  for (int i = 0; i < 200; ++i) Create<TTestShape>(nullptr, Layer);
  Log.Clear();
  Layer->Clear();
  EXPECT_EQ(Log.Only("removed").size(), 200u) << "each removal is told, for selections and lists";
  const std::string order = Order(Log);
  EXPECT_TRUE(order.starts_with("start undo") && order.ends_with("removed cleared end")) << order;
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
  EXPECT_EQ(Log.Entries[Log.Entries.size() - 2], "layer changed layer") << "the repaint follows the clearing";
  Log.Clear();
  Layer->Clear();
  EXPECT_TRUE(Log.Entries.empty()) << "nothing to clear";
  // Inside an open update the clearing and its change wait for the end.
  Create<TTestShape>(nullptr, Layer);
  Log.Clear();
  Layer->BeginUpdate();
  Layer->Clear();
  EXPECT_EQ(Log.Count("cleared layer"), 0u);
  EXPECT_EQ(Log.Count("layer changed layer"), 0u);
  Layer->EndUpdate();
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
}

// A package that logs the colour notices its layer sends it.
class TNoticedPackage : public TKxDePackage {
 public:
  using TKxDePackage::TKxDePackage;
  TCallLog* Log = nullptr;
  std::string Tag;

 protected:
  void BrushChanged(TObject*) override { Note("brush "); }
  void PenChanged(TObject*) override { Note("pen "); }

 private:
  void Note(const std::string& What) {
    if (Log) Log->Add(What + Tag);
  }
};

// A host shape that follows the kind of its layer.
class TKindAwareShape : public TKxDeShape, public IKxDeLayerKindAware {
 public:
  using TKxDeShape::TKxDeShape;
  TCallLog* Log = nullptr;
  std::string Tag;
  void LayerKindChanged(TKxDeLayer* L) override {
    Log->Add("kind " + Tag + " " + EnumToText(L->KindOfLayer()).toStdString());
  }
};

TEST_F(Layers, PrintingAndKindSwitchesTellTheirShapesTopFirstThenRepaint) {
  auto* first = Create<TNoticedPackage>(nullptr, Layer);
  auto* nested = Create<TNoticedPackage>(nullptr, Create<TKxDeGroup>(nullptr, Layer));
  auto* second = Create<TNoticedPackage>(nullptr, Layer);
  for (auto [p, tag] : {std::pair{first, "first"}, {nested, "nested"}, {second, "second"}}) {
    p->Log = &Log;
    p->Tag = tag;
  }
  auto* aware1 = Create<TKindAwareShape>(nullptr, Layer);
  auto* aware2 = Create<TKindAwareShape>(nullptr, Layer);
  aware1->Log = aware2->Log = &Log;
  aware1->Tag = "first";
  aware2->Tag = "second";
  Log.Clear();
  Layer->SetPrintingAllowed(false);
  EXPECT_EQ(Log.Entries, (Strings{"brush second", "pen second", "brush first", "pen first", "layer changed layer"}));
  Log.Clear();
  Layer->SetKindOfLayer(TKxDeKindOfLayer::kxdekol300);
  EXPECT_EQ(Log.Entries, (Strings{"kind second kxdekol300", "kind first kxdekol300", "layer changed layer"}));
  EXPECT_EQ(Layer->GetResolution(), 12) << "dots per millimetre of a 300-dot head";
  using enum TKxDeKindOfLayer;
  for (const auto& [kind, dots] :
       {std::pair(kxdekol200, 8), std::pair(kxdekol600, 24), std::pair(kxdekoAll, 24), std::pair(kxdekol300, 12)}) {
    Layer->SetKindOfLayer(kind);
    EXPECT_EQ(Layer->GetResolution(), dots) << int(kind);
  }
  Log.Clear();
  Layer->SetPrintingAllowed(false);
  Layer->SetKindOfLayer(TKxDeKindOfLayer::kxdekol300);
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(Layers, BoundsAreThePageAreaWhateverTheShapesDo) {
  Layer->Resize(200, 100);
  EXPECT_TRUE(Log.Entries.empty()) << "sizing the page announces nothing";
  Shape->Add(500, 500);
  Shape->Add(600, 700);
  Layer->RecalculateBounds(true);
  Layer->MoveBy(10, 10);
  Layer->OffsetPosition(0, TPointF{10, 10});
  Layer->SetPointValue(2, TPointF{50, 50});
  EXPECT_EQ(Layer->GetBounds(), (TRectF{0, 0, 200, 100}));
  EXPECT_EQ(Shape->GetBounds(), (TRectF{500, 500, 600, 700})) << "nothing moves the shapes through the layer";
  EXPECT_EQ(Layer->PointAt(TPointF{0, 0}, 10), -1);
  Layer->SetBounds(50, 50, 300, 150);
  EXPECT_EQ(Layer->GetBounds(), (TRectF{0, 0, 300, 150})) << "only the size of the page is set";
  Layer->SetName("Page");
  TmekHintInfo hint;
  Layer->GetMekOfficeHint(TPointF{}, hint);
  EXPECT_EQ(Layer->GetLayer(), nullptr) << "a layer lies on no layer: its shape part is only the rule";
  EXPECT_EQ(hint.Lines, (QStringList{"<HR>", "Owner layer <B>Page</B><BR>", "Visible: <B>True</B><BR>",
                                     "Printing allowed: <B>True</B><BR>"}));
  // A host layer class chosen at run time joins the surface it is made for, on top.
  TKxDeShapeBase* made = ClassOf<THostLayer>()->Construct<TKxDeShapeBase>(Surface, nullptr);
  ASSERT_NE(dynamic_cast<THostLayer*>(made), nullptr);
  EXPECT_EQ(Surface->IndexOf(static_cast<TKxDeLayer*>(made)), 1);
  Free(made);
  EXPECT_EQ(Surface->LayerCount(), 1);
}

// A layer with distinct default styles and a loose styled shape s.
class LayerDefaultStyles : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    Defaults = Layer->ObjectsDefaultProperties();
    Defaults->SetBrush(TKxDeBrushRec{0x112233, TBrushStyle::bsCross});
    Defaults->SetPen(TKxDePenRec{0x0000FF, TPenMode::pmCopy, TPenStyle::psDash, 1.5f});
    Defaults->SetGradient(
        TKxDeShapeGradienthRec{0x00FF00, 0xFF0000, true, 10, 20, TKxDeShapeGradientStyle::kxdgsLinearH});
    S = Create<TFullStyleShape>(nullptr, nullptr);
    Log.Names[S] = "s";
    Own = {S->Brush()->ToRec(), S->Pen()->ToRec(), S->Gradient()->ToRec()};
  }
  void TearDown() override {
    if (!S->Owner()) Free(S);
    ModelFixture::TearDown();
  }
  bool HasOwnStyles() const {
    return S->Brush()->ToRec() == Own.Brush && S->Pen()->ToRec() == Own.Pen && S->Gradient()->ToRec() == Own.Gradient;
  }

  TmekLayerObjectsDefaultProperties* Defaults = nullptr;
  TFullStyleShape* S = nullptr;
  struct {
    TKxDeBrushRec Brush;
    TKxDePenRec Pen;
    TKxDeShapeGradienthRec Gradient;
  } Own;
};

TEST_F(LayerDefaultStyles, AShapeInsertedIntoTheLayerTakesThemAsOneChangeBeforeItIsAnnounced) {
  Log.Clear();
  Layer->InsertShape(S);
  EXPECT_EQ(S->Brush()->ToRec(), Defaults->Brush());
  EXPECT_EQ(S->Pen()->ToRec(), Defaults->Pen()) << "with the width";
  TKxDeShapeGradienthRec gradient = Defaults->Gradient();
  gradient.ColorBegin = 0x112233;  // the gradient begins with the shape colour, which the brush set
  EXPECT_EQ(S->Gradient()->ToRec(), gradient);
  EXPECT_EQ(Log.Count("shape changed s"), 1u);
  EXPECT_NE(Order(Log).find("changed inserted"), std::string::npos) << "the surface hears of a shape already styled";
}

TEST_F(LayerDefaultStyles, OnlyTheLayerGivesThemToItsOwnShapesOnceUnlessSkipped) {
  auto* layer = Create<TCountingLayer>(Surface);
  auto* outer = Create<TKxDeGroup>(nullptr, layer);
  auto* inner = Create<TKxDeGroup>(nullptr, outer);
  auto* package = Create<TKxDePackage>(nullptr, layer);
  using List = std::vector<TKxDeShapeBase*>;
  EXPECT_EQ(layer->Styled, (List{outer, package}));
  layer->Styled.clear();
  Log.Clear();
  inner->InsertShape(S);
  Create<TTestShape>(nullptr, package);
  outer->Insert(0, Create<TTestShape>(nullptr, nullptr));
  EXPECT_EQ(layer->Styled, List{}) << "nothing for shapes put into groups and packages at any depth";
  EXPECT_TRUE(HasOwnStyles());
  EXPECT_EQ(Log.Count("inserted s"), 1u) << "the surface hears of it all the same";
  layer->InsertShape(S);
  EXPECT_EQ(layer->Styled, (List{S}));
  layer->Extract(S);
  layer->SkipDefaultProperty();
  layer->SkipDefaultProperty();
  for (int i = 0; i < 3; ++i) layer->UnskipDefaultProperty();
  EXPECT_EQ(layer->SkipDefaultPropertyCount(), 0) << "never below zero";
  layer->SkipDefaultProperty();
  layer->InsertShape(S);
  EXPECT_EQ(layer->Styled.size(), 1u) << "skipped";
}

TEST_F(LayerDefaultStyles, OnlyTheSwitchedOnStylesAShapeUsesAreApplied) {
  Defaults->SetUseDefaultBrush(false);
  S->SetShapeStyle(S->ShapeStyle() - TKxDeShapeStyle::kxssUsesGradient + TKxDeShapeStyle::kxssNoPenWidth);
  Layer->InsertShape(S);
  EXPECT_EQ(S->Brush()->ToRec(), Own.Brush) << "switched off";
  EXPECT_EQ(S->Pen()->Style(), TPenStyle::psDash);
  EXPECT_FLOAT_EQ(S->Pen()->Width(), Own.Pen.Width) << "a shape without pen width keeps its own";
  EXPECT_EQ(Create<TTestShape>(nullptr, Layer)->Brush()->ToRec(), TKxDeBrushRec{}) << "no brush used, none given";
  Defaults->SetUseDefaultBrush(true);
  EXPECT_EQ(Create<TKxDePackage>(nullptr, Layer)->Brush()->ToRec(), Defaults->Brush()) << "packages fill";
  EXPECT_EQ(Create<TKxDeGroup>(nullptr, Layer)->Brush()->ToRec(), TKxDeBrushRec{}) << "a group uses no brush";
  TOwned<TmekLayerObjectsDefaultProperties> copy(Create<TmekLayerObjectsDefaultProperties>());
  copy->Assign(Defaults);
  EXPECT_TRUE(copy->Pen() == Defaults->Pen() && copy->Gradient() == Defaults->Gradient());
}

}  // namespace
}  // namespace vorn::test

#include "LayerTest.moc"
