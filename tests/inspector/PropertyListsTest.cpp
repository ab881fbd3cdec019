// What the property tree reads from the meta-objects: the published properties of the model and the
// kit with their categories and set elements, and the property and category lists.
#include "InspectorTestSupport.h"

#include <vorn/common/ColorManagementProperties.h>
#include <vorn/common/Exceptions.h>
#include <vorn/model/KxDePoint.h>
#include <vorn/model/mekLayerObjectsDefaultProperties.h>

using namespace vorn;

namespace {

PPropInfo Info(const QMetaObject* Meta, const char* Name) {
  for (const TPropInfo& p : PropInfosOf(Meta))
    if (p.Name == QLatin1String(Name)) return &p;
  return nullptr;
}

QStringList Names(const QMetaObject* Meta) {
  QStringList out;
  for (const TPropInfo& p : PropInfosOf(Meta)) out << p.Name;
  return out;
}

}  // namespace

// Each kit shape offers the styles it draws with, and every property it offers has a category
// of its own (nothing lands in "Miscellaneous").
TEST(PropInfo, KitShapesAndStylesPublishWhatTheyDrawInCategories) {
  struct TCase {
    const QMetaObject* Meta;
    QStringList Shown;
    QStringList Hidden;
  };
  const TCase cases[] = {
      {&TVornText::staticMetaObject,
       {"Text", "Font", "Alignment", "WordWrap", "Rotation"},
       {"Pen", "Brush", "Gradient", "Picture"}},
      {&TVornRectangle::staticMetaObject, {"Pen", "Brush", "Gradient", "CornerRadius"}, {"Font", "Picture"}},
      {&TVornEllipse::staticMetaObject, {"Pen", "Brush", "Color"}, {"Font", "PictureStyle"}},
      {&TVornLine::staticMetaObject, {"Pen", "StartShape", "ArrowSize"}, {"Brush", "Gradient", "Color", "Font"}},
      {&TVornFreeHand::staticMetaObject, {"Pen"}, {"Brush"}},
      {&TVornPolyline::staticMetaObject, {"Pen", "Brush", "Gradient", "Closed"}, {"Font"}},
      {&TVornPolygon::staticMetaObject, {"Brush", "Closed"}, {"Picture"}},
      {&TVornPicture::staticMetaObject, {"Picture", "PictureStyle", "FlipHorizontal"}, {"Pen", "Brush", "Font"}},
      {&TVornBarcode::staticMetaObject, {"Text", "Font", "Symbology", "BarColor"}, {"Pen", "Brush", "Picture"}},
      {&TKxDeShapePen::staticMetaObject, {"Color", "Mode", "Style", "Width"}, {}},
      {&TKxDeShapeBrush::staticMetaObject, {"Color", "Style"}, {}},
      {&TKxDeShapeFont::staticMetaObject, {"Name", "Size", "Style", "Color", "Charset", "Substituted"}, {}},
      {&TmekFont::staticMetaObject, {"Name", "Size", "Style", "Height"}, {}},
      {&TKxDeShapeGradient::staticMetaObject, {"ColorBegin", "Shift", "Reverse"}, {}},
      {&TKxDePoint::staticMetaObject, {"x", "dx", "Control_2"}, {}},
      {&TKxDePictureProps::staticMetaObject, {"PicturePath", "Orient"}, {}},
      {&TmekColorManagementProperties::staticMetaObject, {"SplitColor", "AutoLevels"}, {}},
      {&TmekLayerObjectsDefaultProperties::staticMetaObject, {"Pen", "UseDefaultPen"}, {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Meta->className());
    const QStringList names = Names(c.Meta);
    for (const QString& n : c.Shown) EXPECT_TRUE(names.contains(n)) << n.toStdString();
    for (const QString& n : c.Hidden) EXPECT_FALSE(names.contains(n)) << n.toStdString();
    for (const TPropInfo& p : PropInfosOf(c.Meta)) EXPECT_FALSE(p.Category.isEmpty()) << p.Name.toStdString();
    // Listed by name, without regard to case.
    QStringList sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(names, sorted);
  }
  // A hidden style stays readable and writable by name.
  EXPECT_GE(TVornText::staticMetaObject.indexOfProperty("Pen"), 0);
  // A set lists its elements with their bits; a record read through a getter only is read-only.
  PPropInfo style = Info(&TKxDeShapeFont::staticMetaObject, "Style");
  EXPECT_EQ(style->Kind, TTypeKind::tkSet);
  ASSERT_EQ(style->Elements.size(), 4u);
  EXPECT_EQ(style->Elements[2].Name, QStringLiteral("fsUnderline"));
  EXPECT_EQ(style->Elements[2].Bit, 4u);
  EXPECT_TRUE(Info(&TmekLayerObjectsDefaultProperties::staticMetaObject, "ColorManagementProperties")->ReadOnly());
}

TEST(PropInfoList, FiltersFindsAndIntersects) {
  TOwned<TPropInfoList> all(Create<TPropInfoList>(&TVornText::staticMetaObject, TMObjectInspector::DefaultFilter()));
  TOwned<TPropInfoList> floats(Create<TPropInfoList>(&TVornText::staticMetaObject, TTypeKinds{TTypeKind::tkFloat}));
  ASSERT_EQ(floats->Count(), 1);
  EXPECT_EQ(floats->Get(0)->Name, QStringLiteral("Rotation"));
  EXPECT_EQ(floats->Get(1), nullptr);
  EXPECT_EQ(all->Find(QStringLiteral("wordwrap")), all->Find(QStringLiteral("WordWrap")));
  EXPECT_EQ(all->Find(QStringLiteral("Nothing")), nullptr);
  EXPECT_EQ(all->Size(), all->Count() * static_cast<int32_t>(sizeof(PPropInfo)));

  // The rectangle's Rotation is the same property (same type and name), its Text is not listed.
  TOwned<TPropInfoList> rect(
      Create<TPropInfoList>(&TVornRectangle::staticMetaObject, TMObjectInspector::DefaultFilter()));
  EXPECT_TRUE(rect->Contains(all->Find(QStringLiteral("Rotation"))));
  all->Intersect(*rect);
  QStringList common;
  for (int32_t i = 0; i < all->Count(); ++i) common << all->Get(i)->Name;
  EXPECT_EQ(common, (QStringList{"Locked", "Name", "Rotation"}));
  all->Delete(0);
  all->Delete(99);
  EXPECT_EQ(all->Count(), 2);
}

TEST(CategoryList, KeepsCategoriesSortedAndHonoursRefusals) {
  TOwned<TCategoryList> list(Create<TCategoryList>());
  PPropInfo a = Info(&TVornText::staticMetaObject, "Text");
  PPropInfo b = Info(&TVornText::staticMetaObject, "WordWrap");
  PPropInfo c = Info(&TVornText::staticMetaObject, "Name");
  list->OnBeforeAddCategory = [](TObject*, const QString& Category, bool& CanAdd) { CanAdd = Category != "Hidden"; };
  list->Add(QStringLiteral("Text"), a);
  list->Add(QStringLiteral("Hidden"), c);
  list->Add(QStringLiteral("appearance"), b);
  list->Add(QStringLiteral("TEXT"), b);  // the same category
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->GetCategories(0), QStringLiteral("appearance"));
  EXPECT_EQ(list->GetPropInfoItemsCount(1), 2);
  EXPECT_EQ(list->GetPropertyName(1, 1), QStringLiteral("WordWrap"));
  int32_t at = -1;
  EXPECT_FALSE(list->Find(QStringLiteral("Layout"), at));
  EXPECT_EQ(at, 1);
  list->ExchangeItems(0, 1);
  list->Sort();
  EXPECT_EQ(list->GetCategories(0), QStringLiteral("appearance"));

  struct TBad {
    std::function<void()> Call;
    const char* Message;
  };
  const TBad bad[] = {
      {[&] { list->GetCategories(5); }, "Index 5 out of range"},
      {[&] { list->GetPropInfoItems(0, 3); }, "Index 3 out of range"},
      {[&] { list->InsertItem(-1, QStringLiteral("X")); }, "Index -1 out of range"},
      {[&] { list->SetCapacity(1); }, "List capacity out of bounds (1)"},
  };
  for (const TBad& x : bad) {
    try {
      x.Call();
      ADD_FAILURE() << x.Message;
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), QLatin1String(x.Message));
    }
  }
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
}
