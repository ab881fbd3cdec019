// The barcode shape: symbols from the encoder, bars where the symbol puts them (module by
// module), matrix symbols kept square, readable errors for data a symbology refuses, and XML.
#include "ShapeTestSupport.h"

using namespace vorn;
using namespace vorn::test;

namespace {

TOwned<TVornBarcode> Barcode(TVornBarcodeType Type, const QString& Data) {
  auto b = MakeShape<TVornBarcode>();
  b->SetSymbology(Type);
  b->SetText(Data);
  return b;
}

}  // namespace

TEST(VornBarcodeSymbol, EncodesTheRequiredSymbologiesOrRefusesWithAReason) {
  const TVornBarcodeSymbol code128 = TVornBarcodeSymbol::Encode(TVornBarcodeType::vbtCode128, "SHIP-000123", true);
  ASSERT_TRUE(code128.Valid()) << code128.Error().toStdString();
  ASSERT_EQ(code128.Texts().size(), 1u);
  EXPECT_GT(code128.Texts()[0].Position.y(), code128.BarBottom());
  // EAN-13 adds the check digit and shows the digits in their groups.
  const TVornBarcodeSymbol ean = TVornBarcodeSymbol::Encode(TVornBarcodeType::vbtEAN13, "590123412345", true);
  EXPECT_EQ(ean.HumanReadable(), QStringLiteral("5901234123457"));
  EXPECT_EQ(ean.Texts().size(), 3u);
  const TVornBarcodeSymbol qr =
      TVornBarcodeSymbol::Encode(TVornBarcodeType::vbtQRCode, "https://vorn.example/t/123", true);
  EXPECT_TRUE(qr.TwoDimensional() && qr.Width() == qr.Height() && qr.Texts().empty());
  EXPECT_TRUE(TVornBarcodeSymbol::Encode(TVornBarcodeType::vbtDataMatrix, "ÄÖÜ 123", true).Valid());
  const TVornBarcodeSymbol bare = TVornBarcodeSymbol::Encode(TVornBarcodeType::vbtCode128, "ABC", false);
  EXPECT_TRUE(bare.Texts().empty());
  EXPECT_EQ(bare.BarBottom(), bare.Height()) << "without text, a linear symbol is bars only";
  const std::pair<TVornBarcodeType, QString> refused[] = {
      {TVornBarcodeType::vbtEAN13, QStringLiteral("ABCDEFGHIJKL")},
      {TVornBarcodeType::vbtEAN13, QStringLiteral("5901234123458")},
      {TVornBarcodeType::vbtEAN13, QStringLiteral("12345678")},
      {TVornBarcodeType::vbtCode128, QString()},
      {TVornBarcodeType::vbtQRCode, QString(5000, QLatin1Char('x'))},
      {TVornBarcodeType::vbtInterleaved2of5, QStringLiteral("12AB")}};
  for (const auto& [type, data] : refused) {
    const TVornBarcodeSymbol s = TVornBarcodeSymbol::Encode(type, data, true);
    EXPECT_FALSE(s.Valid()) << data.left(20).toStdString();
    EXPECT_TRUE(!s.Error().isEmpty() && !s.Error().contains(QLatin1Char('\n'))) << s.Error().toStdString();
  }
}

TEST(VornBarcode, EveryBarAndEveryGapLandsWhereTheSymbolSays) {
  for (TVornBarcodeType type :
       {TVornBarcodeType::vbtCode128, TVornBarcodeType::vbtEAN13, TVornBarcodeType::vbtCode39}) {
    const QString data =
        type == TVornBarcodeType::vbtEAN13 ? QStringLiteral("400638133393") : QStringLiteral("VORN-42");
    auto b = Barcode(type, data);
    b->SetShowText(false);
    const TVornBarcodeSymbol& s = b->Symbol();
    ASSERT_TRUE(s.Valid()) << s.Error().toStdString();
    // Two pixels per symbol unit: four per module.
    const float w = s.Width() * 2;
    b->SetBounds(10, 10, w, 80);
    const QImage img = Render(b.get(), static_cast<int>(w) + 20, 100);
    std::vector<QRectF> bars = s.Bars();
    std::sort(bars.begin(), bars.end(), [](const QRectF& a, const QRectF& c) { return a.left() < c.left(); });
    for (size_t i = 0; i < bars.size(); ++i) {
      const double mid = 10 + (bars[i].left() + bars[i].width() / 2) * 2;
      EXPECT_TRUE(Near(At(img, mid, 50), Qt::black)) << "bar " << i;
      if (i + 1 < bars.size() && bars[i + 1].left() > bars[i].right()) {
        const double gap = 10 + (bars[i].right() + bars[i + 1].left()) / 2 * 2;
        EXPECT_TRUE(IsWhite(At(img, gap, 50))) << "gap after bar " << i;
      }
    }
    // The bars run the box's height.
    EXPECT_TRUE(Near(At(img, 10 + (bars[0].left() + 0.5) * 2, 11), Qt::black));
    EXPECT_TRUE(Near(At(img, 10 + (bars[0].left() + 0.5) * 2, 89), Qt::black));
    EXPECT_TRUE(IsWhite(At(img, 10 + (bars[0].left() + 0.5) * 2, 91)));
  }
}

TEST(VornBarcode, HumanReadableTextSitsUnderTheBars) {
  auto b = Barcode(TVornBarcodeType::vbtCode128, QStringLiteral("SHIP-000123"));
  b->Font()->SetColor(clBlack);
  const TVornBarcodeSymbol& s = b->Symbol();
  b->SetBounds(0, 0, s.Width() * 2, 120);
  std::vector<QRectF> bars;
  std::vector<TVornBarcode::TPlacedText> texts;
  b->PlaceSymbol(QRectF(0, 0, s.Width() * 2, 120), bars, texts);
  ASSERT_EQ(texts.size(), 1u);
  double barBottom = 0;
  for (const QRectF& r : bars) barBottom = std::max(barBottom, r.bottom());
  EXPECT_LT(barBottom, texts[0].Baseline.y());
  EXPECT_LE(texts[0].Baseline.y(), 120);
  EXPECT_NEAR(texts[0].Baseline.x(), s.Width(), 1);  // centred under the symbol
  const QImage img = Render(b.get(), static_cast<int>(s.Width() * 2) + 1, 121);
  int textInk = 0;
  for (int y = static_cast<int>(barBottom) + 1; y < 120; ++y)
    for (int x = 0; x < img.width(); ++x) textInk += IsWhite(img.pixel(x, y)) ? 0 : 1;
  EXPECT_GT(textInk, 30);
}

TEST(VornBarcode, MatrixSymbolsStaySquareInTheMiddleOfTheirBox) {
  auto b = Barcode(TVornBarcodeType::vbtQRCode, QStringLiteral("https://vorn.example/t/123"));
  b->SetBounds(0, 0, 200, 100);
  const QRectF area = b->SymbolRect(QRectF(0, 0, 200, 100));
  EXPECT_EQ(area, QRectF(50, 0, 100, 100));
  const QImage img = Render(b.get(), 210, 110);
  // The finder pattern's dark corner module and the empty side margins.
  EXPECT_TRUE(Near(At(img, 51, 1), Qt::black));
  EXPECT_TRUE(IsWhite(At(img, 25, 50)));
  EXPECT_TRUE(IsWhite(At(img, 175, 50)));
  EXPECT_TRUE(b->PointOnShape({60, 50}, 0, false));
  EXPECT_FALSE(b->PointOnShape({25, 50}, 0, false));
}

TEST(VornBarcode, UnencodableDataCrossesTheBoxOut) {
  auto b = Barcode(TVornBarcodeType::vbtEAN13, QStringLiteral("not digits"));
  b->SetBounds(10, 10, 100, 60);
  EXPECT_FALSE(b->Symbol().Valid());
  EXPECT_FALSE(b->ErrText().isEmpty());
  const QImage img = Render(b.get(), 120, 80);
  EXPECT_TRUE(Near(At(img, 60, 40), Qt::red, 40));  // where the diagonals cross
  b->SetText(QStringLiteral("590123412345"));
  EXPECT_TRUE(b->Symbol().Valid());
  EXPECT_TRUE(b->ErrText().isEmpty());
}
