// TMObjectInspector: binding by category, values as text and back, what an edit announces,
// letting go of destroyed objects, components by name.
#include "InspectorTestSupport.h"

#include <QSignalSpy>

using namespace vorn;
using namespace vorn::test;

namespace {

// A model object with a set of twenty elements.
class TStyledThing : public TPersistent {
  VORN_OBJECT(TStyledThing, TPersistent)
  Q_PROPERTY(vorn::TKxDeShapeStyles Styles READ Styles WRITE SetStyles)

 public:
  TStyledThing() = default;
  TKxDeShapeStyles Styles() const { return FStyles; }
  void SetStyles(TKxDeShapeStyles Value) { FStyles = Value; }
  TKxDeShapeStyles FStyles;

 protected:
  ~TStyledThing() override = default;
};

// A component with an event-like signal and a reference to another component.
class TTestComponent : public QObject {
  Q_OBJECT
  Q_PROPERTY(QObject* Buddy READ Buddy)

 public:
  using QObject::QObject;
  QObject* Buddy() const { return FBuddy; }
  QObject* FBuddy = nullptr;

 Q_SIGNALS:
  void Resized(int Width, bool& Accept, const QObject* Source);
};

struct TInspected : ::testing::Test {
  TShapeDocument Doc;
  TMObjectInspector Inspector;
  QStringList Errors;

  TInspected() {
    Inspector.OnException = [this](TObject*, const Exception& E) { Errors << E.Message(); };
  }
  QString Value(const char* Name) {
    QStringList lines;
    EXPECT_TRUE(Inspector.GetPropertyValue(QLatin1String(Name), lines)) << Name;
    return lines.join(QLatin1Char('|'));
  }
  QStringList Categories() {
    QStringList out;
    for (int32_t i = 0; i < Inspector.Categories()->Count(); ++i) out << Inspector.Categories()->GetCategories(i);
    return out;
  }
};

}  // namespace

TEST_F(TInspected, BindingListsPropertiesByCategory) {
  TVornText* text = Doc.Add<TVornText>();
  Inspector.SetObject(text);
  EXPECT_EQ(Inspector.BoundClassName(), QStringLiteral("TVornText"));
  EXPECT_EQ(Categories(), (QStringList{"Behavior", "Identity", "Layout", "Text"}));
  TCategoryList* cats = Inspector.Categories();
  QStringList textProps;
  for (int32_t i = 0; i < cats->GetPropInfoItemsCount(3); ++i) textProps << cats->GetPropertyName(3, i);
  EXPECT_EQ(textProps, (QStringList{"Alignment", "Font", "Text", "VerticalAlignment", "WordWrap"}));
  EXPECT_EQ(Inspector.GetPropertyType(QStringLiteral("Font")), QStringLiteral("TmekFont"));
  EXPECT_EQ(Inspector.GetPropertyType(QStringLiteral("Nothing")), QString());

  // The evaluation event hides properties (and their emptied categories), the category event
  // refuses whole categories; an uncategorised property goes to "Miscellaneous".
  Inspector.OnBeforeEvalProperty = [](PPropInfo P, bool& Show) { Show = P->Name != QLatin1String("Locked"); };
  Inspector.OnBeforeAddCategory = [](TObject*, const QString& C, bool& CanAdd) {
    CanAdd = C != QLatin1String("Layout");
  };
  Inspector.SetObject(text);
  EXPECT_EQ(Categories(), (QStringList{"Identity", "Text"}));
  TOwned<TStyledThing> thing(Create<TStyledThing>());
  Inspector.SetObject(thing.get());
  EXPECT_EQ(Categories(), (QStringList{"Miscellaneous"}));
  Inspector.SetObject(static_cast<TObject*>(nullptr));
  EXPECT_EQ(Inspector.Categories()->Count(), 0);
  EXPECT_FALSE(Inspector.SetPropertyValue(QStringLiteral("Text"), QStringLiteral("x")));
}

TEST_F(TInspected, ValuesAsText) {
  TVornText* text = Doc.Add<TVornText>();
  text->SetText(QStringLiteral("Hello\nWorld"));
  text->SetRotation(12.5f);
  text->TextFont()->SetStyle(TFontStyles{TFontStyle::fsItalic, TFontStyle::fsBold});
  Inspector.SetObject(text);
  EXPECT_EQ(Value("Text"), QStringLiteral("Hello|World"));
  EXPECT_EQ(Value("WordWrap"), QStringLiteral("True"));
  EXPECT_EQ(Value("Alignment"), QStringLiteral("vtaLeft"));
  EXPECT_EQ(Value("Rotation"), QStringLiteral("12.5"));
  EXPECT_EQ(Value("Font"), QStringLiteral("(TmekFont)"));
  Inspector.SetObject(text->TextFont());
  EXPECT_EQ(Value("Style"), QStringLiteral("[fsBold,fsItalic]"));
  EXPECT_EQ(Value("Height"), QStringLiteral("3.5"));
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  Inspector.SetObject(rect->Pen());
  EXPECT_EQ(Value("Width"), QStringLiteral("0.2"));  // a Single, not 0.200000003
  EXPECT_EQ(Value("Color"), QStringLiteral("0"));
  Inspector.SetObject(Doc.Add<TVornLine>());
  EXPECT_EQ(Value("StartShape"), QStringLiteral("mekLshSquared"));

  // A set's text names its first sixteen elements only.
  TOwned<TStyledThing> thing(Create<TStyledThing>());
  thing->FStyles = TKxDeShapeStyles{TKxDeShapeStyle::kxssIsContainer, TKxDeShapeStyle::kxssNoPreview,
                                    TKxDeShapeStyle::kxssNoPenWidth, TKxDeShapeStyle::kxssDontShowInLayerManager};
  Inspector.SetObject(thing.get());
  EXPECT_EQ(Value("Styles"), QStringLiteral("[kxssIsContainer,kxssNoPreview]"));
  EXPECT_EQ(Inspector.GetProperty(QStringLiteral("Styles"))->Elements.size(), 20u);
}

// Text goes back into the property through its setter; text the property cannot take is
// refused, the value stays and OnException hears why.
TEST_F(TInspected, TextToValueAndRefusals) {
  TVornText* text = Doc.Add<TVornText>();
  TOwned<TStyledThing> thing(Create<TStyledThing>());
  struct TCase {
    TObject* Object;
    const char* Name;
    const char* Text;
    const char* After;  // the value text afterwards
    bool Refused;
  };
  const TCase cases[] = {
      {text, "Text", "abc", "abc", false},
      {text, "Rotation", "45.5", "45.5", false},
      {text, "Rotation", "4x5", "45.5", true},
      {text, "Rotation", "1e39", "45.5", true},  // beyond a Single
      {text, "Alignment", "VTACENTER", "vtaCenter", false},
      {text, "Alignment", "vtaNowhere", "vtaCenter", true},
      {text, "WordWrap", "false", "False", false},
      {text, "WordWrap", "maybe", "False", true},
      {text->Font(), "Size", "12", "12", false},
      {text->Font(), "Size", "abc", "0", false},  // unreadable integers store 0
      {text->Font(), "Style", "[fsBold, fsUnderline]", "[fsBold,fsUnderline]", false},
      {text->Font(), "Style", "[fsHeavy]", "[fsBold,fsUnderline]", true},
      {thing.get(), "Styles", "[kxssUsesPen,kxssNoPenWidth]", "[kxssUsesPen]", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Name) + " = " + c.Text);
    Inspector.SetObject(c.Object);
    Errors.clear();
    EXPECT_EQ(Inspector.SetPropertyValue(QLatin1String(c.Name), QLatin1String(c.Text)), !c.Refused);
    EXPECT_EQ(Value(c.Name), QLatin1String(c.After));
    EXPECT_EQ(Errors.size(), c.Refused ? 1 : 0);
    if (c.Refused && !Errors.isEmpty()) {
      EXPECT_TRUE(Errors[0].contains(QLatin1String(c.Text).trimmed().mid(1, 3)));
    }
  }
  EXPECT_TRUE(thing->FStyles.Contains(TKxDeShapeStyle::kxssNoPenWidth));
  Inspector.SetObject(text);
  EXPECT_FALSE(
      Inspector.SetPropertyValue(QStringLiteral("Font"), QStringLiteral("(TmekFont)")));  // classes are not set
  EXPECT_FALSE(Inspector.SetPropertyValue(QStringLiteral("Nothing"), QStringLiteral("1")));
}

// Every writable value of the kit shapes and their styles goes back through its text unchanged,
// and every value of their enumerations can be chosen by name.
TEST_F(TInspected, KitValuesSurviveTheirTextForm) {
  TVornText* text = Doc.Add<TVornText>();
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  TVornPolyline* closed = Doc.Add<TVornPolyline>();
  closed->SetClosed(true);
  TVornBarcode* barcode = Doc.Add<TVornBarcode>();
  const std::vector<TObject*> objects{text,
                                      rect,
                                      Doc.Add<TVornEllipse>(),
                                      Doc.Add<TVornLine>(),
                                      closed,
                                      barcode,
                                      Doc.Add<TVornFreeHand>(),
                                      Doc.Add<TVornPicture>(),
                                      text->Font(),
                                      barcode->Font(),
                                      rect->Pen(),
                                      rect->Brush(),
                                      rect->Gradient()};
  for (TObject* o : objects) {
    Inspector.SetObject(o);
    for (int32_t i = 0; i < Inspector.PropList()->Count(); ++i) {
      PPropInfo p = Inspector.PropList()->Get(i);
      if (p->ReadOnly() || p->Kind == TTypeKind::tkClass) continue;
      SCOPED_TRACE((o->ClassName() + QLatin1Char('.') + p->Name).toStdString());
      QStringList before, after;
      Inspector.EvalAnyProperty(p, before);
      EXPECT_TRUE(Inspector.SetPropertyValue(p->Name, before));
      Inspector.EvalAnyProperty(p, after);
      EXPECT_EQ(after, before);
      if (p->Kind != TTypeKind::tkEnumeration || p->IsBoolean) continue;
      for (int k = 0; k < p->Enum.keyCount(); ++k) {
        Inspector.SetPropertyValue(p->Name, QLatin1String(p->Enum.key(k)));
        Inspector.EvalAnyProperty(p, after);
        EXPECT_EQ(after.value(0), QLatin1String(p->Enum.key(k)));
      }
    }
  }
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join(QLatin1Char('\n')).toStdString();
}

// Edits reach the shape through its setters and are announced for undo under the property's
// published name; a style reports its change as an action of the style.
TEST_F(TInspected, EditsAreAnnouncedAsActionsOfThePublishedName) {
  struct TCase {
    const char* Name;
    const char* Text;
    std::vector<std::string> Announced;
  };
  const TCase cases[] = {
      {"Text", "Label", {"kxacChanging Text"}},
      {"Alignment", "vtaRight", {"kxacChanging Alignment"}},
      {"Rotation", "30", {"kxacChanging Rotation"}},
      {"Locked", "True", {"kxacChanging Locked"}},
      {"Rotation", "30", {}},  // an equal value announces nothing
  };
  TVornText* text = Doc.Add<TVornText>();
  Inspector.SetObject(text);
  for (const TCase& c : cases) {
    Doc.Surface.Announced.clear();
    Inspector.SetPropertyValue(QLatin1String(c.Name), QLatin1String(c.Text));
    EXPECT_EQ(Doc.Surface.Announced, c.Announced) << c.Name;
  }
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  Inspector.SetObject(rect->Pen());
  Inspector.SetPropertyValue(QStringLiteral("Width"), QStringLiteral("0.5"));
  EXPECT_FLOAT_EQ(rect->Pen()->Width(), 0.5f);
  EXPECT_EQ(Doc.Surface.Announced, (std::vector<std::string>{"kxacChangingPen", "kxacChangingPen Pen"}));
}

TEST_F(TInspected, LetsGoOfDestroyedObjects) {
  QSignalSpy destroyed(&Inspector, &TMObjectInspector::ObjectDestroyed);
  QSignalSpy changed(&Inspector, &TMObjectInspector::ObjectChanged);
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  Inspector.SetObject(rect);
  rect->SetCornerRadius(3);
  EXPECT_EQ(changed.count(), 1);
  Free(rect);
  EXPECT_EQ(destroyed.count(), 1);
  EXPECT_FALSE(Inspector.HasObject());
  EXPECT_EQ(Inspector.Categories()->Count(), 0);

  // A style object goes with its shape.
  TVornText* text = Doc.Add<TVornText>();
  Inspector.SetObject(text->TextFont());
  Free(text);
  EXPECT_EQ(destroyed.count(), 2);
  EXPECT_FALSE(Inspector.HasObject());

  // A component tells through destroyed().
  auto* component = new TTestComponent;
  Inspector.SetObject(component);
  EXPECT_EQ(Inspector.Categories()->Count(), 1);
  delete component;
  EXPECT_EQ(destroyed.count(), 3);
  EXPECT_EQ(Inspector.QtObject(), nullptr);
  // Binding another object first stops the watching.
  TVornText* other = Doc.Add<TVornText>();
  Inspector.SetObject(other);
  Inspector.SetObject(static_cast<TObject*>(nullptr));
  Free(other);
  EXPECT_EQ(destroyed.count(), 3);
}

TEST_F(TInspected, ComponentsByNameAndMethodDeclarations) {
  QObject form;
  form.setObjectName(QStringLiteral("Form"));
  auto* panel = new QObject(&form);
  panel->setObjectName(QStringLiteral("Panel"));
  auto* button = new QObject(panel);
  button->setObjectName(QStringLiteral("Button"));
  auto* component = new TTestComponent(&form);
  component->setObjectName(QStringLiteral("Probe"));
  Inspector.SetObject(component);
  EXPECT_EQ(Inspector.RootComponent(), &form);
  EXPECT_EQ(Inspector.FindComponentEx(QStringLiteral("panel.button")), button);
  EXPECT_EQ(Inspector.FindComponentEx(QStringLiteral("Form")), &form);
  EXPECT_EQ(Inspector.FindComponentEx(QStringLiteral("Panel.Nothing")), nullptr);
  // A reference is named from the root component.
  component->FBuddy = button;
  EXPECT_EQ(Value("Buddy"), QStringLiteral("Panel.Button"));
  component->FBuddy = panel;
  EXPECT_EQ(Value("Buddy"), QStringLiteral("Panel"));
  EXPECT_EQ(Inspector.GetMethodDecl(QStringLiteral("resized")),
            QStringLiteral("procedure(Width: int; var Accept: bool; const Source: QObject*)"));
  EXPECT_EQ(Inspector.GetMethodDecl(QStringLiteral("Nothing")), QString());
}

#include "ObjectInspectorTest.moc"
