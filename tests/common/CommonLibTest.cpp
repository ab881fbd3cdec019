// Shared services: debug messages, installed-font lookup, environment expansion.
#include "support/TestSupport.h"

#include <QFileInfo>

#include <cstdlib>

namespace vorn {
namespace {

TEST(DebugMessages, GoToTheInstalledSinkOnly) {
  PostDebugMessage(QStringLiteral("dropped"));  // no sink: nothing happens
  QStringList got;
  TDebugMessageSink previous = SetDebugMessageSink([&](const QString& m) { got << m; });
  EXPECT_TRUE(HasDebugMessageSink());
  PostDebugMessage(QStringLiteral("one"));
  PostDebugMessage(QStringLiteral("two"));
  SetDebugMessageSink(previous);
  PostDebugMessage(QStringLiteral("three"));
  EXPECT_EQ(got, (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
}

TEST(Fonts, InstalledFamiliesAnswerWithTheirSpellingOthersAreReplaced) {
  EXPECT_EQ(CheckForFont(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(CheckForFont(QStringLiteral("dejavu sans")), QStringLiteral("DejaVu Sans"));
  const QString substitute = CheckForFont(QStringLiteral("Swiss 721 No Such Font"));
  EXPECT_FALSE(substitute.isEmpty());
  EXPECT_NE(substitute, QStringLiteral("Swiss 721 No Such Font"));
  EXPECT_FALSE(CheckForFont(QString()).isEmpty());
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

}  // namespace
}  // namespace vorn
