// Layers: clearing, printing and kind attributes, the page area, the hint and the default styles
// of new shapes.

#include "ModelTestSupport.h"

#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/model/KxDeShapeGradient.h>
#include <vorn/model/KxDeShapePen.h>
#include <vorn/model/mekLayerObjectsDefaultProperties.h>

#include <QMetaProperty>

#include <algorithm>

namespace vorn::test {
namespace {

using Layers = ModelFixture;

size_t PositionOf(const Strings& Entries, const std::string& Entry) {
  return static_cast<size_t>(std::find(Entries.begin(), Entries.end(), Entry) - Entries.begin());
}

// ---- Clearing -----------------------------------------------------------------------------------

TEST_F(Layers, ClearingAThousandShapesDeliversOneChange) {
  Free(Shape);
  auto* notifier = Create<TKxDeShapeNotifier>();
  int destroyed = 0;
  notifier->OnDestroy = [&](TObject*, TKxDeShapeBase*) { ++destroyed; };
  for (int i = 0; i < 1000; ++i) notifier->RegisterShape(Create<TTestShape>(nullptr, Layer));
  Log.Clear();
  Layer->Clear();
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
  EXPECT_EQ(Log.Count("cleared layer"), 1u);
  EXPECT_EQ(Log.Only("removed").size(), 1000u) << "each removal is still told, for selections and lists";
  EXPECT_EQ(Log.Only("start"), (Strings{"start kxacClearing layer "}));
  EXPECT_EQ(Log.Only("undo"), (Strings{"undo kxacClearing layer "}));
  EXPECT_EQ(Log.Entries.back(), "end kxacClearing layer ");
  EXPECT_LT(PositionOf(Log.Entries, "cleared layer"), PositionOf(Log.Entries, "layer changed layer"))
      << "the repaint follows the news of the clearing";
  EXPECT_EQ(destroyed, 1000);
  EXPECT_EQ(Layer->ItemCount(), 0);
  Free(notifier);

  Log.Clear();
  Layer->Clear();
  EXPECT_TRUE(Log.Entries.empty()) << "nothing to clear";
}

TEST_F(Layers, ClearingInsideAnOpenUpdateLeavesTheChangeToItsEnd) {
  Layer->BeginUpdate();
  Layer->Clear();
  EXPECT_EQ(Log.Count("layer changed layer"), 0u);
  EXPECT_EQ(Log.Count("cleared layer"), 0u) << "held back with the update";
  Layer->EndUpdate();
  EXPECT_EQ(Log.Count("layer changed layer"), 1u);
}

TEST_F(Layers, AClearedGroupDeliversItsOwnChangeOnce) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  for (int i = 0; i < 10; ++i) Create<TTestShape>(nullptr, group);
  Log.Names[group] = "group";
  Log.Clear();
  group->Clear();
  EXPECT_EQ(Log.Count("shape changed group"), 1u);
  // The group's hook and its propagation each bring the clearing to the layer.
  EXPECT_EQ(Log.Count("cleared group"), 2u);
  EXPECT_EQ(group->ItemCount(), 0);
}

// ---- Attributes ---------------------------------------------------------------------------------

// A package that logs the colour notices its layer sends it.
class TNoticedPackage : public TKxDePackage {
 public:
  TNoticedPackage(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDePackage(ASurface, AOwner) {}
  TCallLog* Log = nullptr;
  std::string Tag;

 protected:
  void BrushChanged(TObject* Sender) override {
    if (Log) Log->Add("brush " + Tag + " from " + Log->NameOf(Sender));
  }
  void PenChanged(TObject* Sender) override {
    if (Log) Log->Add("pen " + Tag + " from " + Log->NameOf(Sender));
  }
};

// A host shape that follows the kind of its layer.
class TKindAwareShape : public TKxDeShape, public IKxDeLayerKindAware {
 public:
  TKindAwareShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {}
  TCallLog* Log = nullptr;
  std::string Tag;
  void LayerKindChanged(TKxDeLayer* L) override {
    Log->Add("kind " + Tag + " " + Log->NameOf(L) + " " + EnumToText(L->KindOfLayer()).toStdString());
  }
};

TEST_F(Layers, PrintingSwitchTellsTheLayersPackagesTopFirst) {
  auto* first = Create<TNoticedPackage>(nullptr, Layer);
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  auto* nested = Create<TNoticedPackage>(nullptr, group);
  auto* second = Create<TNoticedPackage>(nullptr, Layer);
  for (auto [p, tag] : {std::pair{first, "first"}, {nested, "nested"}, {second, "second"}}) {
    p->Log = &Log;
    p->Tag = tag;
  }
  Log.Clear();
  Layer->SetPrintingAllowed(false);
  EXPECT_FALSE(Layer->PrintingAllowed());
  EXPECT_EQ(Log.Entries, (Strings{"brush second from layer", "pen second from layer", "brush first from layer",
                                  "pen first from layer", "layer changed layer"}));
  Log.Clear();
  Layer->SetPrintingAllowed(false);
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(Layers, KindSwitchCallsTheShapesThatFollowIt) {
  auto* first = Create<TKindAwareShape>(nullptr, Layer);
  auto* second = Create<TKindAwareShape>(nullptr, Layer);
  first->Log = second->Log = &Log;
  first->Tag = "first";
  second->Tag = "second";
  EXPECT_EQ(Layer->KindOfLayer(), TKxDeKindOfLayer::kxdekoAll);
  Log.Clear();
  Layer->SetKindOfLayer(TKxDeKindOfLayer::kxdekol300);
  EXPECT_EQ(Log.Entries, (Strings{"kind second layer kxdekol300", "kind first layer kxdekol300",
                                  "layer changed layer"}));
  Log.Clear();
  Layer->SetKindOfLayer(TKxDeKindOfLayer::kxdekol300);
  EXPECT_TRUE(Log.Entries.empty());
}

TEST_F(Layers, ResolutionFollowsTheKind) {
  const std::pair<TKxDeKindOfLayer, int32_t> expected[] = {
      {TKxDeKindOfLayer::kxdekoAll, 24},  {TKxDeKindOfLayer::kxdekol200, 8},
      {TKxDeKindOfLayer::kxdekol300, 12}, {TKxDeKindOfLayer::kxdekol600, 24},
      {TKxDeKindOfLayer::kxdekolLaser, 24}};
  for (auto [kind, dots] : expected) {
    Layer->SetKindOfLayer(kind);
    EXPECT_EQ(Layer->GetResolution(), dots) << EnumToText(kind).toStdString();
  }
}

TEST_F(Layers, BoundsAreThePageAreaWhateverTheShapesDo) {
  Layer->Resize(200, 100);
  EXPECT_EQ(Layer->GetBounds(), (TRectF{0, 0, 200, 100}));
  EXPECT_TRUE(Log.Entries.empty()) << "sizing the page announces nothing";
  Shape->Add(500, 500);
  Shape->Add(600, 700);
  Layer->RecalculateBounds(true);
  EXPECT_EQ(Layer->GetBounds(), (TRectF{0, 0, 200, 100}));
  Layer->MoveBy(10, 10);
  Layer->OffsetPosition(0, TPointF{10, 10});
  Layer->SetPointValue(2, TPointF{50, 50});
  EXPECT_EQ(Layer->GetBounds(), (TRectF{0, 0, 200, 100}));
  EXPECT_EQ(Shape->GetBounds(), (TRectF{500, 500, 600, 700})) << "nothing moves the shapes through the layer";
  EXPECT_EQ(Layer->GetPointValue(2), (TPointF{}));
  EXPECT_EQ(Layer->PointAt(TPointF{0, 0}, 10), -1);
  EXPECT_EQ(Layer->ControlAt(TPointF{0, 0}, 10), -1);
  Layer->SetBounds(50, 50, 300, 150);
  EXPECT_EQ(Layer->GetBounds(), (TRectF{0, 0, 300, 150})) << "only the size of the page is set";
}

class THostLayer : public TKxDeLayer {
  VORN_OBJECT(THostLayer, TKxDeLayer)

 public:
  using TKxDeLayer::TKxDeLayer;
};

TEST_F(Layers, AHostLayerClassChosenAtRunTimeJoinsTheSurfaceItIsMadeFor) {
  const TKxDeLayerClass cls = ClassOf<THostLayer>();
  TKxDeShapeBase* made = cls->Construct<TKxDeShapeBase>(Surface, nullptr);
  auto* layer = dynamic_cast<THostLayer*>(made);
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(Surface->IndexOf(layer), 1) << "on top of the fixture's layer";
  EXPECT_EQ(layer->Owner(), nullptr);
  Free(made);
  EXPECT_EQ(Surface->LayerCount(), 1);
}

TEST_F(Layers, HintNamesTheLayerAndTellsItsVisibilityAndPrinting) {
  Layer->SetName("Page");
  Layer->SetPrintingAllowed(false);
  TmekHintInfo hint;
  Layer->GetMekOfficeHint(TPointF{}, hint);
  EXPECT_EQ(hint.Title, "Page");
  // A layer lies on no layer: the shape part of its hint is only the rule, and the layer lines follow.
  EXPECT_EQ(Layer->GetLayer(), nullptr);
  EXPECT_EQ(hint.Lines, (QStringList{"<HR>", "Owner layer <B>Page</B><BR>", "Visible: <B>True</B><BR>",
                                     "Printing allowed: <B>False</B><BR>"}));
}

// ---- Default styles -----------------------------------------------------------------------------

TEST(LayerDefaults, StartWithBlackThinPenAndFillAndSwissFont) {
  auto* d = Create<TmekLayerObjectsDefaultProperties>();
  EXPECT_EQ(d->Brush(), (TKxDeBrushRec{clBlack, TBrushStyle::bsSolid}));
  EXPECT_EQ(d->Pen(), (TKxDePenRec{clBlack, TPenMode::pmCopy, TPenStyle::psSolid, 0.2f}));
  EXPECT_EQ(d->Gradient(), (TKxDeShapeGradienthRec{0x00FF00, 0xFFFFFF, false, 0, 0,
                                                    TKxDeShapeGradientStyle::kxdgsNone}));
  EXPECT_EQ(d->Font().Name, "Swiss 721");
  EXPECT_FLOAT_EQ(d->Font().Size, 3.0f);
  EXPECT_EQ(d->Font().Charset, 1);
  EXPECT_TRUE(d->UseDefaultBrush() && d->UseDefaultPen() && d->UseDefaultFont() && d->UseDefaultGradient());
  ASSERT_NE(d->ColorManagementProperties(), nullptr);
  EXPECT_EQ(d->ColorManagementProperties()->Owner(), d);
  Free(d);
}

TEST(LayerDefaults, AssignCopiesEverySettingAndThePropertiesArePublished) {
  auto* a = Create<TmekLayerObjectsDefaultProperties>();
  auto* b = Create<TmekLayerObjectsDefaultProperties>();
  a->SetBrush(TKxDeBrushRec{0x123456, TBrushStyle::bsCross});
  a->SetPen(TKxDePenRec{0x0000FF, TPenMode::pmXor, TPenStyle::psDot, 1.5f});
  a->SetUseDefaultPen(false);
  a->SetUseDefaultGradient(false);
  a->ColorManagementProperties()->SetSplitColor(0x00FF00);
  b->Assign(a);
  EXPECT_EQ(b->Brush(), a->Brush());
  EXPECT_EQ(b->Pen(), a->Pen());
  EXPECT_FALSE(b->UseDefaultPen());
  EXPECT_FALSE(b->UseDefaultGradient());
  EXPECT_TRUE(b->UseDefaultBrush());
  EXPECT_EQ(b->ColorManagementProperties()->SplitColor(), 0x00FF00);
  EXPECT_NE(b->ColorManagementProperties(), a->ColorManagementProperties());

  const QMetaObject* meta = b->metaObject();
  for (const char* name : {"Gradient", "UseDefaultGradient", "Pen", "UseDefaultPen", "Font", "UseDefaultFont",
                           "Brush", "UseDefaultBrush", "ColorManagementProperties"})
    EXPECT_GE(meta->indexOfProperty(name), 0) << name;
  const QMetaProperty use = meta->property(meta->indexOfProperty("UseDefaultBrush"));
  EXPECT_TRUE(use.writeOnGadget(b, false));
  EXPECT_FALSE(b->UseDefaultBrush());
  const QMetaProperty brush = meta->property(meta->indexOfProperty("Brush"));
  EXPECT_EQ(brush.readOnGadget(b).value<TKxDeBrushRec>(), a->Brush());
  EXPECT_FALSE(meta->property(meta->indexOfProperty("ColorManagementProperties")).isWritable());
  Free(a);
  Free(b);
}

TEST_F(Layers, TheSkipCounterNeverGoesBelowZero) {
  Layer->SkipDefaultProperty();
  Layer->SkipDefaultProperty();
  EXPECT_EQ(Layer->SkipDefaultPropertyCount(), 2);
  for (int i = 0; i < 3; ++i) Layer->UnskipDefaultProperty();
  EXPECT_EQ(Layer->SkipDefaultPropertyCount(), 0);
  Layer->SkipDefaultProperty();
  EXPECT_EQ(Layer->SkipDefaultPropertyCount(), 1);
}

// A shape that fills and shades: it uses brush, pen and gradient.
class TStyledShape : public TKxDeShape {
 public:
  TStyledShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {
    SetShapeStyle(ShapeStyle() + TKxDeShapeStyle::kxssUsesBrush + TKxDeShapeStyle::kxssUsesGradient);
  }
};

// A layer with distinct default styles and a loose styled shape s.
class LayerDefaultStyles : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    Defaults = Layer->ObjectsDefaultProperties();
    Defaults->SetBrush(TKxDeBrushRec{0x112233, TBrushStyle::bsCross});
    Defaults->SetPen(TKxDePenRec{0x0000FF, TPenMode::pmCopy, TPenStyle::psDash, 1.5f});
    Defaults->SetGradient(TKxDeShapeGradienthRec{0x00FF00, 0xFF0000, true, 10, 20,
                                                 TKxDeShapeGradientStyle::kxdgsLinearH});
    S = Create<TStyledShape>(nullptr, nullptr);
    Log.Names[S] = "s";
    OwnBrush = S->Brush()->ToRec();
    OwnPen = S->Pen()->ToRec();
    OwnGradient = S->Gradient()->ToRec();
  }
  void TearDown() override {
    if (!S->Owner()) Free(S);
    ModelFixture::TearDown();
  }
  bool HasOwnStyles() const {
    return S->Brush()->ToRec() == OwnBrush && S->Pen()->ToRec() == OwnPen && S->Gradient()->ToRec() == OwnGradient;
  }

  TmekLayerObjectsDefaultProperties* Defaults = nullptr;
  TStyledShape* S = nullptr;
  TKxDeBrushRec OwnBrush;
  TKxDePenRec OwnPen;
  TKxDeShapeGradienthRec OwnGradient;
};

TEST_F(LayerDefaultStyles, AShapeInsertedIntoTheLayerTakesThem) {
  ASSERT_TRUE(HasOwnStyles());
  Log.Clear();
  Layer->InsertShape(S);
  EXPECT_EQ(S->Brush()->ToRec(), Defaults->Brush());
  EXPECT_EQ(S->Pen()->ToRec(), Defaults->Pen()) << "with the width";
  // The gradient begins with the shape colour, which the brush set.
  TKxDeShapeGradienthRec gradient = Defaults->Gradient();
  gradient.ColorBegin = 0x112233;
  EXPECT_EQ(S->Gradient()->ToRec(), gradient);
  EXPECT_EQ(Log.Count("shape changed s"), 1u) << "all styles as one change of the shape";
  EXPECT_LT(PositionOf(Log.Entries, "shape changed s"), PositionOf(Log.Entries, "inserted s"))
      << "the surface hears of a shape already styled";
}

// A layer that counts how often it gives its default styles.
class TCountingLayer : public TKxDeLayer {
 public:
  explicit TCountingLayer(TKxDeSurface* AOwner) : TKxDeLayer(AOwner) {}
  std::vector<TKxDeShapeBase*> Styled;
  void AssignDefaultPropertiesToShape(TKxDeShapeBase* Shape) override {
    Styled.push_back(Shape);
    TKxDeLayer::AssignDefaultPropertiesToShape(Shape);
  }
};

TEST_F(LayerDefaultStyles, TheyAreGivenOnceAndOnlyByTheLayerToItsOwnShapes) {
  auto* layer = Create<TCountingLayer>(Surface);
  auto* outer = Create<TKxDeGroup>(nullptr, layer);
  auto* inner = Create<TKxDeGroup>(nullptr, outer);
  auto* package = Create<TKxDePackage>(nullptr, layer);
  using List = std::vector<TKxDeShapeBase*>;
  EXPECT_EQ(layer->Styled, (List{outer, package})) << "the shapes that arrived in the layer itself";
  layer->Styled.clear();
  inner->InsertShape(S);
  Create<TTestShape>(nullptr, package);
  outer->Insert(0, Create<TTestShape>(nullptr, nullptr));
  EXPECT_EQ(layer->Styled, List{}) << "nothing for shapes put into groups and packages at any depth";
  EXPECT_TRUE(HasOwnStyles());
  layer->InsertShape(S);
  EXPECT_EQ(layer->Styled, (List{S}));
}

TEST_F(LayerDefaultStyles, AShapeInsertedIntoAGroupKeepsItsOwn) {
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  Log.Clear();
  group->InsertShape(S);
  EXPECT_TRUE(HasOwnStyles());
  EXPECT_EQ(Log.Count("inserted s"), 1u) << "the surface hears of it all the same";
  EXPECT_TRUE(Log.Only("start kxacChanging").empty());
  Layer->InsertShape(S);  // out of the group into the layer itself
  EXPECT_EQ(S->Brush()->ToRec(), Defaults->Brush());
}

TEST_F(LayerDefaultStyles, TheSkipCounterKeepsInsertedShapesAsTheyAre) {
  Layer->SkipDefaultProperty();
  Layer->InsertShape(S);
  EXPECT_TRUE(HasOwnStyles());
  Layer->Extract(S);
  Layer->UnskipDefaultProperty();
  Layer->InsertShape(S);
  EXPECT_EQ(S->Pen()->ToRec(), Defaults->Pen());
}

TEST_F(LayerDefaultStyles, OnlyTheSwitchedOnStylesAShapeUsesAreApplied) {
  Defaults->SetUseDefaultBrush(false);
  S->SetShapeStyle(S->ShapeStyle() - TKxDeShapeStyle::kxssUsesGradient + TKxDeShapeStyle::kxssNoPenWidth);
  Layer->InsertShape(S);
  EXPECT_EQ(S->Brush()->ToRec(), OwnBrush) << "switched off";
  EXPECT_EQ(S->Pen()->Color(), 0x0000FF);
  EXPECT_EQ(S->Pen()->Style(), TPenStyle::psDash);
  EXPECT_FLOAT_EQ(S->Pen()->Width(), 0.2f) << "a shape without pen width keeps its own";

  auto* plain = Create<TTestShape>(nullptr, Layer);  // pen only
  EXPECT_EQ(plain->Brush()->ToRec(), TKxDeBrushRec{});
  EXPECT_EQ(plain->Pen()->ToRec(), Defaults->Pen());

  Defaults->SetUseDefaultBrush(true);
  auto* package = Create<TKxDePackage>(nullptr, Layer);
  EXPECT_EQ(package->Brush()->ToRec(), Defaults->Brush()) << "packages fill with the default brush";
  auto* group = Create<TKxDeGroup>(nullptr, Layer);
  EXPECT_EQ(group->Brush()->ToRec(), TKxDeBrushRec{}) << "a group uses no brush";
}

}  // namespace
}  // namespace vorn::test

#include "LayerTest.moc"
