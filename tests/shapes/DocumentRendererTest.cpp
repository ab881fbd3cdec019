// Headless rendering of documents: what lands on the page, what is left out, the device record
// each target hands to the shapes, and the PDF and SVG files; the vorn commands that work on documents
// (render, info and resave) with their exit statuses (0 done, 1 bad input with one line of error, 2 wrong usage).
#include "ShapeTestSupport.h"
#include "support/ToolRun.h"

#include <vorn/shapes/VornDocumentRenderer.h>

#include <QFileInfo>
#include <QRegularExpression>

using namespace vorn;
using namespace vorn::test;

namespace {

// A rectangle that remembers the device record of its last painting.
class TCapsProbe : public TVornRectangle {
 public:
  using TVornRectangle::TVornRectangle;
  void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation, PmekDeviceCapsInfo Caps) override {
    Painted = true;
    HadCaps = Caps != nullptr;
    if (Caps) Seen = *Caps;
    TVornRectangle::Paint(C, X, Y, Zoom, GDIRotation, Caps);
  }
  bool Painted = false;
  bool HadCaps = false;
  TmekDeviceCapsInfo Seen;
};

class DocumentRenderer : public ::testing::Test {
 protected:
  void SetUp() override {
    // A 200 x 100 page with two layers.
    Bottom = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(nullptr));
    Top = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(nullptr));
    Red = Create<TCapsProbe>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(Bottom));
    Red->SetBounds(10, 10, 80, 40);
    Red->Brush()->SetColor(clRed);
    Red->Pen()->SetWidth(0);
    Blue = Create<TVornEllipse>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(Top));
    Blue->SetBounds(50, 20, 100, 60);
    Blue->Brush()->SetColor(clBlue);
    Blue->Pen()->SetWidth(0);
    Away = Create<TCapsProbe>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(Top));
    Away->SetBounds(500, 500, 10, 10);
  }
  void TearDown() override {
    Free(Bottom);
    Free(Top);
  }
  TVornDocumentRenderer Renderer() { return TVornDocumentRenderer({Bottom, Top}, TRectF{0, 0, 200, 100}, clWhite); }

  TKxDeLayer* Bottom = nullptr;
  TKxDeLayer* Top = nullptr;
  TCapsProbe* Red = nullptr;
  TVornEllipse* Blue = nullptr;
  TCapsProbe* Away = nullptr;
};

using TRun = vorn::test::TToolRun;

class DocumentCommands : public TToolTest {
 protected:
  void SetUp() override {
    TToolTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
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

};

}  // namespace

TEST_F(DocumentRenderer, PaintsVisibleLayersBottomFirstOnThePageAndTellsTheShapesTheImage) {
  TVornDocumentRenderer r = Renderer();
  QImage img = r.RenderImage(TVornDocumentRenderer::ZoomForDpi(192));
  EXPECT_EQ(img.size(), QSize(400, 200));
  EXPECT_NEAR(img.dotsPerMeterX() * 0.0254, 192, 0.5);
  EXPECT_TRUE(Near(img.pixel(40, 40), Qt::red));
  EXPECT_TRUE(Near(img.pixel(200, 100), Qt::blue));  // the top layer covers the bottom one
  EXPECT_TRUE(Near(img.pixel(390, 10), Qt::white));  // the page colour
  EXPECT_EQ(r.PaintedShapes(), 2);                   // the shape off the page is skipped
  EXPECT_FALSE(Away->Painted);
  ASSERT_TRUE(Red->HadCaps);
  EXPECT_EQ(Red->Seen.Technology, DT_RASDISPLAY);
  EXPECT_EQ(Red->Seen.LogPixelsY, 192);
  Top->SetVisible(false);
  EXPECT_TRUE(Near(r.RenderImage(1.0).pixel(120, 50), Qt::white));
  Top->SetVisible(true);
  Red->SetVisible(false);
  img = r.RenderImage(1.0);
  EXPECT_TRUE(Near(img.pixel(20, 20), Qt::white));
  EXPECT_TRUE(Near(img.pixel(100, 50), Qt::blue));
}

TEST_F(DocumentRenderer, TurnedShapesReachingIntoThePageArePainted) {
  // Lying right of the page, a long bar turned a quarter reaches into it.
  auto* bar = Create<TVornRectangle>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(Top));
  bar->SetBounds(170, 45, 120, 10);  // centre (230, 50)
  bar->Brush()->SetColor(clLime);
  bar->Pen()->SetWidth(0);
  TVornDocumentRenderer r = Renderer();
  EXPECT_TRUE(Near(r.RenderImage(1.0).pixel(190, 50), Qt::green));
  bar->SetMMPosition(TKxDeShapeRefPos::kxrpTopLeft, 240 / CoordsPixelsPerMMConvertValue,
                     10 / CoordsPixelsPerMMConvertValue);
  EXPECT_FALSE(Near(r.RenderImage(1.0).pixel(195, 50), Qt::green));
}

TEST_F(DocumentRenderer, PdfAndSvgHaveThePageSizeAndPdfLeavesOutLayersNotPrinted) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("page.pdf"));
  Bottom->SetPrintingAllowed(false);
  TVornDocumentRenderer r = Renderer();
  r.RenderPdf(file);
  EXPECT_FALSE(Red->Painted);
  EXPECT_EQ(r.PaintedShapes(), 1);
  Bottom->SetPrintingAllowed(true);
  r.RenderPdf(file, 600);
  ASSERT_TRUE(Red->Painted);
  EXPECT_EQ(Red->Seen.Technology, DT_METAFILE);
  EXPECT_EQ(Red->Seen.LogPixelsX, 600);
  EXPECT_FALSE(Red->Seen.IsGDIPrinting);
  // 200 x 100 world units are 200/96 x 100/96 inches: 150 x 75 points.
  const QByteArray pdf = ReadFile(file);
  ASSERT_TRUE(pdf.startsWith("%PDF"));
  const QRegularExpression box(QStringLiteral(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])"));
  const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
  ASSERT_TRUE(m.hasMatch());
  EXPECT_NEAR(m.captured(1).toDouble(), 150, 0.5);
  EXPECT_NEAR(m.captured(2).toDouble(), 75, 0.5);
  r.RenderSvg(dir.filePath(QStringLiteral("page.svg")));
  EXPECT_TRUE(ReadFile(dir.filePath(QStringLiteral("page.svg"))).contains("viewBox=\"0 0 200 100\""));
  try {
    r.RenderPdf(QStringLiteral("/nonexistent-dir/page.pdf"));
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_FALSE(e.Message().contains(QLatin1Char('\n')));
    EXPECT_TRUE(e.Message().contains(QLatin1String("page.pdf")));
  }
  EXPECT_THROW(r.RenderSvg(QStringLiteral("/nonexistent-dir/page.svg")), Exception);
}

TEST_F(DocumentCommands, RenderWritesImagesAtTheirResolutionAndPdf) {
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
  EXPECT_TRUE(ReadFile(Path("d.pdf")).startsWith("%PDF"));
}

// Wrong usage of render is checked with the batches.
TEST_F(DocumentCommands, RenderRefusesBadInputWithOneLine) {
  EXPECT_EQ(Run({"render", Path("doc.vorn"), "-o", Path("x.xyz")}).Status, 2);
  const TRun missing = Run({"render", Path("missing.vorn"), "-o", Path("x.png")});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_EQ(missing.Errors().size(), 1) << missing.Err.toStdString();
  const TRun broken = Run(
      {"render", WriteFile(Path("bad.vorn"), "<VornDocument Version=\"1.0\"><Layers><o Class="), "-o", Path("x.png")});
  EXPECT_EQ(broken.Status, 1);
  EXPECT_EQ(broken.Errors().size(), 1) << broken.Err.toStdString();
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
