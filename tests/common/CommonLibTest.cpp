// Shared services and the vocabulary: installed-font lookup, environment expansion, sets and their text
// form, messages with their formatting and translation, shortcut texts and package settings.
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTranslator>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vorn::test {
namespace {

TEST(Fonts, InstalledFamiliesAnswerWithTheirSpellingOthersAreReplaced) {
  EXPECT_EQ(CheckForFont(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
  EXPECT_TRUE(QFileInfo(FontFileFor(CheckForFont(QStringLiteral("Swiss 721 No Such Font")))).isFile());
  const QString file = FontFileFor(QStringLiteral("DejaVu Sans"));
  EXPECT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
  EXPECT_NE(FontFileFor(QStringLiteral("DejaVu Sans"), true), file);  // the bold face
}

TEST(Environment, ExpandsAllThreeFormsWithoutRunningAnything) {
  ::setenv("VORN_TEST_DIR", "/data/pics", 1);
  ::unsetenv("VORN_TEST_UNSET");
  EXPECT_EQ(ExpandEnvironmentVariables(QStringLiteral("$VORN_TEST_DIR/a.png")), QStringLiteral("/data/pics/a.png"));
  EXPECT_EQ(ExpandEnvironmentVariables(QStringLiteral("${VORN_TEST_DIR}x.png")), QStringLiteral("/data/picsx.png"));
  EXPECT_EQ(ExpandEnvironmentVariables(QStringLiteral("%VORN_TEST_DIR%\\b.png")), QStringLiteral("/data/pics\\b.png"));
  EXPECT_EQ(ExpandEnvironmentVariables(QStringLiteral("$VORN_TEST_UNSET/c")), QStringLiteral("/c"));
  EXPECT_EQ(ExpandEnvironmentVariables(QStringLiteral("%VORN_TEST_UNSET%/c")), QStringLiteral("%VORN_TEST_UNSET%/c"));
  EXPECT_EQ(ExpandEnvironmentVariables(QStringLiteral("100%% $$5 $ 9$")), QStringLiteral("100% $5 $ 9$"));
  // Shell syntax is text, never executed.
  EXPECT_EQ(ExpandEnvironmentVariables(QStringLiteral("$(rm -rf /)`id`")), QStringLiteral("$(rm -rf /)`id`"));
  EXPECT_EQ(ExpandEnvironmentVariables(QStringLiteral("${unterminated")), QStringLiteral("${unterminated"));
  ::unsetenv("VORN_TEST_DIR");
}

TEST(Vocabulary, SetsCombineAndReadTheirTextForm) {
  TKxDeShiftKeys keys{TKxDeShiftKey::kxskShift};
  keys.Include(TKxDeShiftKey::kxskCtrl);
  const TKxDeShiftKeys alt{TKxDeShiftKey::kxskAlt};
  EXPECT_EQ(keys.ToInt(), 0b101u);
  EXPECT_EQ((keys + alt).ToInt(), 0b111u);
  EXPECT_EQ((keys - TKxDeShiftKeys{TKxDeShiftKey::kxskShift}).ToInt(), 0b100u);
  EXPECT_FALSE(alt <= keys);
  const TKxDeShapeStyles last{TKxDeShapeStyle::kxssDontShowInLayerManager};
  EXPECT_EQ(TKxDeShapeStyles::FromInt(last.ToInt()), last);
  EXPECT_EQ(keys.ToText(), QStringLiteral("[kxskShift,kxskCtrl]"));
  TKxDeShiftKeys back;
  ASSERT_TRUE(TKxDeShiftKeys::FromText(QStringLiteral("[ kxskCtrl , kxskShift ]"), back));
  EXPECT_EQ(back, keys);
  EXPECT_FALSE(TKxDeShiftKeys::FromText(QStringLiteral("[kxskCtrl,kxskMeta]"), back));
  EXPECT_FALSE(TKxDeShiftKeys::FromText(QStringLiteral("kxskCtrl"), back));
  EXPECT_EQ(back, keys) << "a failed read leaves the value alone";
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

TEST(Messages, GoThroughTranslationAndFillTheirPlaceholdersInOrder) {
  EXPECT_EQ(LoadResString("rsFontNameSubstitution"), rsFontNameSubstitution());
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
  // A failed system call names its error number and the system's text; without a number it says so.
  const auto raised = [](int Code) {
    errno = Code;
    try {
      kxdRaiseLastOSError();
    } catch (const EKxOSError& e) {
      return std::pair(e.ErrorCode(), e.Message());
    }
    return std::pair(99u, QString());
  };
  EXPECT_EQ(raised(ENOENT), std::pair(uint32_t(ENOENT), QStringLiteral("System error. Code: %1.\r\n%2")
                                                            .arg(ENOENT)
                                                            .arg(QString::fromLocal8Bit(std::strerror(ENOENT)))));
  EXPECT_EQ(raised(0), std::pair(0u, QStringLiteral("A call to an OS function failed")));
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
}  // namespace vorn::test
