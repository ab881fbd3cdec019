// Headless rendering of documents: what lands on the page, what is left out, the device record
// each target hands to the shapes, and the PDF and SVG files.
#include "ShapeTestSupport.h"

#include <vorn/shapes/VornDocumentRenderer.h>

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
  EXPECT_EQ(Red->Seen.BitsPixel, 32);
  EXPECT_FALSE(Red->Seen.IsGDIPrinting);
  EXPECT_EQ(Red->Seen.CorrectionFactorY, 1.0);
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
