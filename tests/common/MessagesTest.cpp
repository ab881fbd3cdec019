// Messages, their formatting, operating-system errors, shortcut texts and package settings.
#include <vorn/common/Exceptions.h>
#include <vorn/common/PackageSettings.h>
#include <vorn/common/ResStrs.h>
#include <vorn/common/ShortCut.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

#include <cerrno>

namespace vorn {
namespace {

TEST(Messages, DefaultTextsAreVerbatim) {
  EXPECT_EQ(rsUnknownExtension(), QStringLiteral("Unknown graphic file (%s)\r\n%s"));
  EXPECT_EQ(rsFontNameSubstitution(), QStringLiteral("Font \"%s\" was substituted with font \"%s\""));
  EXPECT_EQ(rsClipboardCannotBeOpened(), QStringLiteral("Clipboard cannot be opened, try again"));
  EXPECT_EQ(rsVariableType(), QStringLiteral("Type"));
  EXPECT_EQ(rsLayerDisplayName(), QStringLiteral("Layer"));
  for (const char* id : {"rsUnknownExtension", "rsOwnerLayer", "rsVisible", "rsPrintingAllowed", "rsJScriptName",
                         "rsVariableType", "rsInvisible", "rsSummary", "rsClipboardCannotBeOpened",
                         "rsInvalidClipFmt", "rsFontNameSubstitution", "rsGroupDisplayName", "rsLayerDisplayName"})
    EXPECT_FALSE(LoadResString(id).isEmpty()) << id;
  EXPECT_TRUE(LoadResString("rsNoSuchMessage").isEmpty());
}

// A translator that knows one message of the catalogue.
class TOneMessageTranslator : public QTranslator {
 public:
  QString translate(const char* Context, const char* Source, const char*, int) const override {
    if (qstrcmp(Context, "KxDEResStrs") == 0 && qstrcmp(Source, "Visible") == 0) return QStringLiteral("Sichtbar");
    return {};
  }
  bool isEmpty() const override { return false; }
};

TEST(Messages, GoThroughTranslation) {
  TOneMessageTranslator tr;
  QCoreApplication::installTranslator(&tr);
  EXPECT_EQ(rsVisible(), QStringLiteral("Sichtbar"));
  EXPECT_EQ(rsInvisible(), QStringLiteral("Invisible"));  // missing translation: default text
  QCoreApplication::removeTranslator(&tr);
  EXPECT_EQ(rsVisible(), QStringLiteral("Visible"));
}

TEST(Messages, PlaceholdersFillInOrder) {
  EXPECT_EQ(kxdFormat(rsFontNameSubstitution(), {QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")}),
            QStringLiteral("Font \"Arial\" was substituted with font \"DejaVu Sans\""));
  EXPECT_EQ(kxdFormat(QStringLiteral("%d%% of %s"), {50, QStringLiteral("x")}), QStringLiteral("50% of x"));
  // Surplus placeholders stay; surplus arguments are ignored.
  EXPECT_EQ(kxdFormat(QStringLiteral("%s and %s"), {QStringLiteral("a")}), QStringLiteral("a and %s"));
  EXPECT_EQ(kxdFormat(QStringLiteral("plain"), {1, 2}), QStringLiteral("plain"));
}

TEST(OSErrors, CarryTheCodeAndText) {
  errno = 0;
  try {
    kxdRaiseLastOSError();
    FAIL();
  } catch (const EKxOSError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("A call to an OS function failed"));
    EXPECT_EQ(e.ErrorCode(), 0u);
  }
  errno = ENOENT;
  try {
    kxdRaiseLastOSError();
    FAIL();
  } catch (const EKxOSError& e) {
    EXPECT_EQ(e.ErrorCode(), static_cast<uint32_t>(ENOENT));
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("System error. Code: %1.\r\n").arg(ENOENT))) << e.what();
    EXPECT_GT(e.Message().size(), QStringLiteral("System error. Code: 2.\r\n").size());
  }
}

TEST(ShortCuts, WriteModifiersInOrder) {
  EXPECT_EQ(kxdShortCutToText(ShortCut(VK::Delete, true, true, false)), QStringLiteral("Ctrl+Shift+Del"));
  EXPECT_EQ(kxdShortCutToText(ShortCut('A', true, true, true)), QStringLiteral("Ctrl+Shift+Alt+A"));
  EXPECT_EQ(kxdShortCutToText(ShortCut(VK::F1 + 11, false, false, true)), QStringLiteral("Alt+F12"));
  EXPECT_EQ(kxdShortCutToText(VK::Prior), QStringLiteral("PgUp"));
  EXPECT_EQ(kxdShortCutToText(VK::Back), QStringLiteral("BkSp"));
  EXPECT_EQ(kxdShortCutToText('7'), QStringLiteral("7"));
  EXPECT_EQ(kxdShortCutToText(0), QString());
}

TEST(ShortCuts, ReadPrefixesInAnyOrderAndCase) {
  const TShortCut ctrlShiftDel = ShortCut(VK::Delete, true, true, false);
  EXPECT_EQ(kxdTextToShortCut(QStringLiteral("shift+ctrl+del")), ctrlShiftDel);
  EXPECT_EQ(kxdTextToShortCut(QStringLiteral("^Shift+Del")), ctrlShiftDel);
  EXPECT_EQ(kxdTextToShortCut(QStringLiteral("alt+f24")), ShortCut(VK::F24, false, false, true));
  EXPECT_EQ(kxdTextToShortCut(QStringLiteral("Ctrl+")), 0);
  EXPECT_EQ(kxdTextToShortCut(QStringLiteral("Ctrl+Nothing")), 0);
  EXPECT_EQ(kxdTextToShortCut(QString()), 0);
}

TEST(ShortCuts, EveryNamedKeyRoundTrips) {
  int named = 0;
  for (uint16_t key = 8; key <= 255; ++key) {
    for (TShortCut mods : {TShortCut(0), scCtrl, TShortCut(scShift | scAlt), TShortCut(scCtrl | scShift | scAlt)}) {
      const TShortCut sc = static_cast<TShortCut>(key | mods);
      const QString text = kxdShortCutToText(sc);
      if (text.isEmpty()) continue;
      ++named;
      EXPECT_EQ(kxdTextToShortCut(text), sc) << text.toStdString();
      EXPECT_EQ(kxdTextToShortCut(text.toLower()), sc) << text.toStdString();
    }
  }
  EXPECT_GT(named, 4 * 80);
}

TEST(ShortCuts, QtKeysMapBothWays) {
  const QKeyCombination qt(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Delete);
  EXPECT_EQ(ShortCutFromQt(qt), ShortCut(VK::Delete, true, true, false));
  EXPECT_EQ(ShortCutToQt(ShortCutFromQt(qt)), qt);
  EXPECT_EQ(ShortCutFromQt(QKeyCombination(Qt::Key_F5)), VK::F1 + 4);
  EXPECT_EQ(ShortCutFromQt(QKeyCombination(Qt::Key_Q)), 'Q');
  EXPECT_EQ(ShortCutFromQt(QKeyCombination(Qt::Key_Launch0)), 0);
}

TEST(PackageSettings, FollowTheLocale) {
  const TKxDePackageSettings de = kxdReadPackageSettings(QStringLiteral("de_DE"));
  EXPECT_EQ(de.kxdSysDecimalSeparator, QLatin1Char(','));
  EXPECT_EQ(de.kxdCurThousandSeparator, QLatin1Char('.'));
  EXPECT_EQ(de.kxdNegativeFormat, 1);
  EXPECT_EQ(de.kxdDefaultLCID, QStringLiteral("de_DE"));
  const TKxDePackageSettings us = kxdReadPackageSettings(QStringLiteral("en_US"));
  EXPECT_EQ(us.kxdSysDecimalSeparator, QLatin1Char('.'));
  EXPECT_EQ(us.kxdNegativeSign, QLatin1Char('-'));
  EXPECT_FALSE(kxdPackageSettings().kxdCurrentOperatingSystem.isEmpty());
}

}  // namespace
}  // namespace vorn
