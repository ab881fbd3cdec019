// Messages, their formatting and translation, operating-system errors, shortcut texts and package
// settings.
#include "support/TestSupport.h"

#include <vorn/common/PackageSettings.h>
#include <vorn/common/ResStrs.h>
#include <vorn/common/ShortCut.h>

#include <QCoreApplication>
#include <QTranslator>

#include <cerrno>

namespace vorn {
namespace {

// A translator that knows one message of the catalogue.
class TOneMessageTranslator : public QTranslator {
 public:
  QString translate(const char* Context, const char* Source, const char*, int) const override {
    if (qstrcmp(Context, "KxDEResStrs") == 0 && qstrcmp(Source, "Visible") == 0) return QStringLiteral("Sichtbar");
    return {};
  }
  bool isEmpty() const override { return false; }
};

TEST(Messages, GoThroughTranslationAndFillTheirPlaceholdersInOrder) {
  EXPECT_EQ(LoadResString("rsFontNameSubstitution"), rsFontNameSubstitution());
  EXPECT_TRUE(LoadResString("rsNoSuchMessage").isEmpty());
  TOneMessageTranslator tr;
  QCoreApplication::installTranslator(&tr);
  EXPECT_EQ(rsVisible(), QStringLiteral("Sichtbar"));
  EXPECT_EQ(rsInvisible(), QStringLiteral("Invisible")) << "missing translation: the default text";
  QCoreApplication::removeTranslator(&tr);
  EXPECT_EQ(rsVisible(), QStringLiteral("Visible"));
  EXPECT_EQ(kxdFormat(rsFontNameSubstitution(), {QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")}),
            QStringLiteral("Font \"Arial\" was substituted with font \"DejaVu Sans\""));
  EXPECT_EQ(kxdFormat(QStringLiteral("%d%% of %s"), {50, QStringLiteral("x")}), QStringLiteral("50% of x"));
  EXPECT_EQ(kxdFormat(QStringLiteral("%s and %s"), {QStringLiteral("a")}), QStringLiteral("a and %s"));
  EXPECT_EQ(kxdFormat(QStringLiteral("plain"), {1, 2}), QStringLiteral("plain"));
}

TEST(OSErrors, CarryTheCodeAndText) {
  for (int code : {0, ENOENT}) {
    errno = code;
    try {
      kxdRaiseLastOSError();
      FAIL();
    } catch (const EKxOSError& e) {
      EXPECT_EQ(e.ErrorCode(), static_cast<uint32_t>(code));
      if (code == 0) EXPECT_EQ(e.Message(), QStringLiteral("A call to an OS function failed"));
      else EXPECT_TRUE(e.Message().startsWith(QStringLiteral("System error. Code: %1.\r\n").arg(code))) << e.what();
    }
  }
}

TEST(ShortCuts, TextsWriteModifiersInOrderAndReadInAnyOrderAndCase) {
  EXPECT_EQ(kxdShortCutToText(ShortCut(VK::Delete, true, true, false)), QStringLiteral("Ctrl+Shift+Del"));
  EXPECT_EQ(kxdShortCutToText(ShortCut(VK::F1 + 11, false, false, true)), QStringLiteral("Alt+F12"));
  EXPECT_EQ(kxdShortCutToText(VK::Prior), QStringLiteral("PgUp"));
  EXPECT_EQ(kxdShortCutToText(0), QString());
  EXPECT_EQ(kxdTextToShortCut(QStringLiteral("shift+ctrl+del")), ShortCut(VK::Delete, true, true, false));
  EXPECT_EQ(kxdTextToShortCut(QStringLiteral("^Shift+Del")), ShortCut(VK::Delete, true, true, false));
  for (const char* bad : {"Ctrl+", "Ctrl+Nothing", ""})
    EXPECT_EQ(kxdTextToShortCut(QString::fromLatin1(bad)), 0) << bad;
  int named = 0;
  for (uint16_t key = 8; key <= 255; ++key) {
    for (TShortCut mods : {TShortCut(0), scCtrl, TShortCut(scShift | scAlt), TShortCut(scCtrl | scShift | scAlt)}) {
      const TShortCut sc = static_cast<TShortCut>(key | mods);
      const QString text = kxdShortCutToText(sc);
      if (text.isEmpty()) continue;
      ++named;
      EXPECT_EQ(kxdTextToShortCut(text.toLower()), sc) << text.toStdString();
    }
  }
  EXPECT_GT(named, 4 * 80);
  const QKeyCombination qt(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Delete);
  EXPECT_EQ(ShortCutFromQt(qt), ShortCut(VK::Delete, true, true, false));
  EXPECT_EQ(ShortCutToQt(ShortCutFromQt(qt)), qt);
  EXPECT_EQ(ShortCutFromQt(QKeyCombination(Qt::Key_F5)), VK::F1 + 4);
  EXPECT_EQ(ShortCutFromQt(QKeyCombination(Qt::Key_Launch0)), 0);
}

TEST(PackageSettings, FollowTheLocale) {
  const TKxDePackageSettings de = kxdReadPackageSettings(QStringLiteral("de_DE"));
  EXPECT_EQ(de.kxdSysDecimalSeparator, QLatin1Char(','));
  EXPECT_EQ(de.kxdCurThousandSeparator, QLatin1Char('.'));
  EXPECT_EQ(kxdReadPackageSettings(QStringLiteral("en_US")).kxdSysDecimalSeparator, QLatin1Char('.'));
}

}  // namespace
}  // namespace vorn
