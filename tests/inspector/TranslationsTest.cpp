// The engine's texts in the user's language: with the German catalogue installed, shape names,
// a layer's hint and the inspector's categories and captions are German; removed, English again.
#include "InspectorTestSupport.h"

#include <vorn/common/Translations.h>
#include <vorn/model/KxDeRegister.h>

#include <QTranslator>

using namespace vorn;
using namespace vorn::test;

TEST(Translations, GermanShapeNamesLayerHintsAndInspectorCategories) {
  RegisterVornShapes();
  TShapeDocument doc;
  TVornText* text = doc.Add<TVornText>();
  TMObjectInspector inspector;
  auto categories = [&] {
    inspector.SetObject(nullptr);
    inspector.SetObject(text);
    QStringList out;
    for (int32_t i = 0; i < inspector.Categories()->Count(); ++i) out << inspector.Categories()->GetCategories(i);
    out.sort();
    return out;
  };
  auto layerHint = [&] {
    TmekHintInfo hint;
    doc.Layer->GetMekOfficeHint(TPointF{}, hint);
    return hint.ToText();
  };
  const TKxDeShapeClass rectangle = ClassOf<TVornRectangle>();

  EXPECT_EQ(InstallVornTranslator(QLocale(QLocale::Japanese)), nullptr);  // no catalogue: stays English
  QTranslator* german = InstallVornTranslator(QLocale(QLocale::German, QLocale::Switzerland));
  ASSERT_NE(german, nullptr);
  EXPECT_EQ(TKxDeRegister::FindShapeDisplayName(rectangle), QStringLiteral("Rechteck"));
  EXPECT_EQ(TKxDeRegister::FindShapeDescription(ClassOf<TVornEllipse>()), QStringLiteral("Eine Ellipse oder ein Kreis"));
  EXPECT_TRUE(layerHint().contains(QStringLiteral("Sichtbar: <B>Ja</B>"))) << layerHint().toStdString();
  EXPECT_EQ(categories(), (QStringList{"Anordnung", "Identität", "Text", "Verhalten"}));
  EXPECT_EQ(rsClickToModify(), QStringLiteral("Zum Ändern klicken"));

  QCoreApplication::removeTranslator(german);
  delete german;
  EXPECT_EQ(TKxDeRegister::FindShapeDisplayName(rectangle), QStringLiteral("Rectangle"));
  EXPECT_TRUE(layerHint().contains(QStringLiteral("Visible: <B>True</B>")));
  EXPECT_EQ(categories(), (QStringList{"Behavior", "Identity", "Layout", "Text"}));
}
