// The Designer plugin: a form naming every widget of the engine loads through QUiLoader into the
// engine's own classes, with the properties the form sets applied.
#include <vorn/editor/KxDeEditor.h>
#include <vorn/extras/vornArrowShape.h>
#include <vorn/inspector/mekInspector.h>
#include <vorn/layermanager/KxDeLayerManager.h>
#include <vorn/surface/KxDeViewer.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QUiLoader>

#include <memory>

using namespace vorn;

TEST(DesignerPlugin, AFormWithEveryWidgetLoadsTheEngineClassesWithTheirProperties) {
  QUiLoader loader;
  loader.addPluginPath(QStringLiteral(VORN_BINARY_DIR "/plugins/designer"));
  const QStringList offered = loader.availableWidgets();
  for (const char* name : {"vorn::TKxDeEditor", "vorn::TKxDeViewer", "vorn::TKxDeLayerManager", "vorn::TmekInspector",
                           "vorn::TvornArrowShape"})
    EXPECT_TRUE(offered.contains(QLatin1String(name))) << name;

  QFile form(QStringLiteral(VORN_SOURCE_DIR "/tests/extras/forms/every-widget.ui"));
  ASSERT_TRUE(form.open(QIODevice::ReadOnly));
  std::unique_ptr<QWidget> root(loader.load(&form));
  ASSERT_TRUE(root) << loader.errorString().toStdString();

  auto* editor = root->findChild<TKxDeEditor*>(QStringLiteral("editor"));
  auto* viewer = root->findChild<TKxDeViewer*>(QStringLiteral("viewer"));
  auto* inspector = root->findChild<TmekInspector*>(QStringLiteral("inspector"));
  auto* arrow = root->findChild<TvornArrowShape*>(QStringLiteral("arrow"));
  auto* layers = root->findChild<TKxDeLayerManager*>(QStringLiteral("layers"));
  ASSERT_TRUE(editor && viewer && inspector && arrow && layers);
  EXPECT_EQ(editor->MouseSense(), 4);
  EXPECT_FALSE(editor->ShowShapeHint());
  EXPECT_EQ(editor->Zoom(), 150);
  EXPECT_EQ(viewer->Zoom(), 50);
  EXPECT_FALSE(viewer->ShowScrollbars());
  EXPECT_EQ(inspector->FloatFormat(), QStringLiteral("0.000"));
  EXPECT_TRUE(inspector->CtrlEnterCommits());
  EXPECT_EQ(arrow->ArrowLength(), 17);
  EXPECT_DOUBLE_EQ(arrow->ArrowAngle(), 45.5);
  EXPECT_FALSE(layers->ShowPreview());
  EXPECT_FALSE(layers->ShowItemValue());
}
