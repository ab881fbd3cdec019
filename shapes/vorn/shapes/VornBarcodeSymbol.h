#pragma once
// TVornBarcodeSymbol: the geometry of one encoded barcode, in the symbol's own units (two units
// per module): the dark rectangles and the human-readable text runs. The barcode shape scales it
// into its box. Encoding is done by libzint, which the kit links privately.

#include <QObject>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

namespace vorn {
namespace VornBarcodes {
Q_NAMESPACE

// The symbologies the kit offers. Stored in documents by ordinal: append only.
enum class TVornBarcodeType : uint8_t {
  vbtCode128, vbtEAN13, vbtQRCode, vbtDataMatrix, vbtCode39, vbtInterleaved2of5, vbtEAN8, vbtUPCA, vbtPDF417
};
Q_ENUM_NS(TVornBarcodeType)

}  // namespace VornBarcodes

using namespace VornBarcodes;

class TVornBarcodeSymbol {
 public:
  // One human-readable text run: Position is its baseline point, aligned by HAlign.
  struct TText {
    QString Text;
    QPointF Position;
    float Size = 0;  // font size in symbol units
    Qt::Alignment HAlign = Qt::AlignHCenter;
  };

  // Longest data the kit hands to the encoder (bytes of UTF-8).
  static constexpr int32_t MaxDataLength = 4000;

  // Encodes Data. On failure the symbol is empty and Error() says why in one line.
  static TVornBarcodeSymbol Encode(TVornBarcodeType Type, const QString& Data, bool ShowText);

  bool Valid() const { return FValid; }
  const QString& Error() const { return FError; }
  // The whole symbol including its text, in symbol units.
  float Width() const { return FWidth; }
  float Height() const { return FHeight; }
  // The bottom of the ordinary bars (guard bars may reach lower); the whole height for 2D symbols.
  float BarBottom() const { return FBarBottom; }
  bool TwoDimensional() const { return FTwoDimensional; }
  const std::vector<QRectF>& Bars() const { return FBars; }
  const std::vector<TText>& Texts() const { return FTexts; }
  // The text the symbol shows (with check digits the encoder added), empty for 2D symbols.
  const QString& HumanReadable() const { return FHumanReadable; }

  // True for the symbologies that are matrices (square modules in both directions).
  static bool IsTwoDimensional(TVornBarcodeType Type);
  // The display name of a symbology ("Code 128", "EAN-13", ...).
  static QString TypeName(TVornBarcodeType Type);

 private:
  bool FValid = false;
  QString FError;
  float FWidth = 0;
  float FHeight = 0;
  float FBarBottom = 0;
  bool FTwoDimensional = false;
  std::vector<QRectF> FBars;
  std::vector<TText> FTexts;
  QString FHumanReadable;
};

}  // namespace vorn
