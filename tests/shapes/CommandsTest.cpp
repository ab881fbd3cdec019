// The vorn commands that work on documents: render, info and resave, with their exit statuses
// (0 done, 1 bad input with one line of error, 2 wrong usage).
#include "ShapeTestSupport.h"
#include "support/ToolRun.h"

#include <QFileInfo>
#include <QImageReader>

using namespace vorn;
using namespace vorn::test;

namespace {

using TRun = vorn::test::TToolRun;

class DocumentCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFileInfo::exists(VornTool())) GTEST_SKIP() << "the vorn tool is not built";
    RegisterVornShapes();
    // A 100 x 50 mm page: a layer with a rectangle, a text and a group of two ellipses.
    TKxDeLayer* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(nullptr));
    layer->SetName(QStringLiteral("Main"));
    auto* r = Create<TVornRectangle>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(layer));
    r->SetBounds(MM(10), MM(10), MM(30), MM(20));
    r->Brush()->SetColor(clRed);
    auto* t = Create<TVornText>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(layer));
    t->SetBounds(MM(50), MM(10), MM(40), MM(10));
    t->SetText(QStringLiteral("Hello"));
    auto* g = Create<TKxDeGroup>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(layer));
    for (int i = 0; i < 2; ++i) {
      auto* e = Create<TVornEllipse>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(g));
      e->SetBounds(MM(10 + 20 * i), MM(35), MM(10), MM(10));
    }
    TKxDeDocumentSettings settings;
    settings.PageWidth = static_cast<int32_t>(std::lround(MM(100)));
    settings.PageHeight = static_cast<int32_t>(std::lround(MM(50)));
    TKxDeDocumentFile::SaveLayersToFile(Path("doc.vorn"), {layer}, settings);
    Free(layer);
  }

  QString Path(const char* Name) const { return Dir.filePath(QString::fromLatin1(Name)); }

  static TRun Run(const QStringList& Args) { return vorn::test::RunVornTool(Args); }

  // The command's own error lines (Qt may add notes about the environment).
  static int ErrorLines(const TRun& Run) {
    int n = 0;
    for (const QByteArray& line : Run.Err.split('\n')) n += line.startsWith("vorn") ? 1 : 0;
    return n;
  }

  QTemporaryDir Dir;
};

}  // namespace

TEST_F(DocumentCommands, RenderWritesImagesPdfAndSvg) {
  ASSERT_EQ(Run({"render", Path("doc.vorn"), "-o", Path("a.png"), "--dpi", "192"}).Status, 0);
  const QImage img(Path("a.png"));
  // 100 x 50 mm at 192 dpi.
  EXPECT_NEAR(img.width(), 756, 1);
  EXPECT_NEAR(img.height(), 378, 1);
  // The rectangle's left edge at 10 mm is 75.6 pixels in; its frame is inked, the margin not.
  EXPECT_FALSE(IsWhite(img.pixel(76, 150)));
  EXPECT_TRUE(IsWhite(img.pixel(72, 150)));
  ASSERT_EQ(Run({"render", Path("doc.vorn"), "-o", Path("b.png"), "--zoom", "50"}).Status, 0);
  EXPECT_NEAR(QImage(Path("b.png")).width(), 189, 1);
  ASSERT_EQ(Run({"render", Path("doc.vorn"), "--dpi", "96", "--zoom", "200", "-o", Path("c.png")}).Status, 0);
  EXPECT_NEAR(QImage(Path("c.png")).width(), 756, 1);
  ASSERT_EQ(Run({"render", Path("doc.vorn"), "-o", Path("d.pdf")}).Status, 0);
  EXPECT_GT(QFileInfo(Path("d.pdf")).size(), 500);
  ASSERT_EQ(Run({"render", Path("doc.vorn"), "-o", Path("e.svg")}).Status, 0);
  EXPECT_GT(QFileInfo(Path("e.svg")).size(), 200);
}

TEST_F(DocumentCommands, RenderRefusesWrongUsageAndBadInput) {
  EXPECT_EQ(Run({"render"}).Status, 2);
  EXPECT_EQ(Run({"render", Path("doc.vorn")}).Status, 2);
  EXPECT_EQ(Run({"render", Path("doc.vorn"), "-o", Path("x.xyz")}).Status, 2);
  EXPECT_EQ(Run({"render", Path("doc.vorn"), "-o", Path("x.png"), "--dpi", "0"}).Status, 2);
  EXPECT_EQ(Run({"render", Path("doc.vorn"), "-o", Path("x.pdf"), "--zoom", "50"}).Status, 2);
  EXPECT_EQ(Run({"render", Path("doc.vorn"), "-o", Path("x.png"), "--bogus"}).Status, 2);
  const TRun missing = Run({"render", Path("missing.vorn"), "-o", Path("x.png")});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_EQ(ErrorLines(missing), 1) << missing.Err.toStdString();
  const TRun broken = Run(
      {"render", WriteFile(Path("bad.vorn"), "<VornDocument Version=\"1.0\"><Layers><o Class="), "-o", Path("x.png")});
  EXPECT_EQ(broken.Status, 1);
  EXPECT_EQ(ErrorLines(broken), 1) << broken.Err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Path("x.png")));
}

TEST_F(DocumentCommands, ResaveGivesTheShippingLabelBackByteForByte) {
  // Every kit shape, a group and a package: read and written again, nothing changes.
  const QString label = QStringLiteral(VORN_SOURCE_DIR "/samples/shipping-label.vorn");
  ASSERT_EQ(Run({"resave", label, Path("label.vorn")}).Status, 0);
  EXPECT_EQ(ReadFile(Path("label.vorn")), ReadFile(label));
  EXPECT_EQ(Run({"resave", Path("doc.vorn")}).Status, 2);
  EXPECT_EQ(Run({"resave", Path("missing.vorn"), Path("x.vorn")}).Status, 1);
  EXPECT_EQ(Run({"resave", Path("doc.vorn"), "/nonexistent-dir/x.vorn"}).Status, 1);
}

TEST_F(DocumentCommands, InfoCountsShapesByClassPerLayer) {
  const TRun run = Run({"info", Path("doc.vorn")});
  ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
  const QString out = QString::fromUtf8(run.Out);
  EXPECT_TRUE(out.contains(QLatin1String("page: 100.0 x 50.0 mm"))) << out.toStdString();
  EXPECT_TRUE(out.contains(QLatin1String("layer 0 \"Main\""))) << out.toStdString();
  EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("TVornEllipse\\s+2")))) << out.toStdString();
  EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("TVornRectangle\\s+1"))));
  EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("TKxDeGroup\\s+1"))));
  EXPECT_EQ(Run({"info"}).Status, 2);
  EXPECT_EQ(Run({"info", Path("missing.vorn")}).Status, 1);
}
