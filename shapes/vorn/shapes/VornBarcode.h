#pragma once
// TVornBarcode: a barcode of its text (the shape's label) in one of the kit's symbologies
// (Code 128, EAN-13, QR Code, Data Matrix, Code 39, Interleaved 2 of 5, EAN-8, UPC-A, PDF417),
// with the human-readable text under linear symbols in the shape's font. The bars have their own
// colour; what lies under the barcode is its background.
//
// A linear symbol fills its box: the bars stretch to the box's height, the modules to its width,
// and the text keeps the proportions the symbology gives it relative to the module width. A
// matrix symbol keeps square modules: its box keeps the symbol's ratio, and the symbol is centred
// in a box that does not. Data the symbology cannot encode leaves the box crossed out, and
// ErrText says why.

#include "vorn/shapes/VornBarcodeSymbol.h"
#include "vorn/shapes/VornBoxShape.h"

#include <memory>

namespace vorn {

class TVornBarcode : public TVornBoxShape {
  VORN_OBJECT(TVornBarcode, TVornBoxShape)
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(vorn::VornBarcodes::TVornBarcodeType Symbology READ Symbology WRITE SetSymbology)
  Q_PROPERTY(bool ShowText READ ShowText WRITE SetShowText)
  Q_PROPERTY(int BarColor READ BarColor WRITE SetBarColor)
  Q_PROPERTY(vorn::TKxDeShapeFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(int Color READ Color WRITE SetColor DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapeBrush* Brush READ Brush WRITE SetBrush DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapeGradient* Gradient READ GetGradient WRITE SetGradient DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapePen* Pen READ Pen WRITE SetPen DESIGNABLE false)
  Q_CLASSINFO("TypeName.BarColor", "TColor")
  Q_CLASSINFO("Category.BarColor", "Appearance")
  Q_CLASSINFO("Category.Text", "Barcode")
  Q_CLASSINFO("Category.Symbology", "Barcode")
  Q_CLASSINFO("Category.ShowText", "Barcode")

 public:
  TVornBarcode(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  TVornBarcodeType Symbology() const { return FSymbology; }
  void SetSymbology(TVornBarcodeType Value);
  bool ShowText() const { return FShowText; }
  void SetShowText(bool Value);
  TColor BarColor() const { return FBarColor; }
  void SetBarColor(TColor Value);

  // The encoded symbol for the current text and symbology.
  const TVornBarcodeSymbol& Symbol() const;
  // Where the symbol lands in Box (world units, unrotated): the box for a linear symbol, the
  // centred square-module area for a matrix symbol.
  QRectF SymbolRect(const QRectF& Box) const;
  // The symbol placed in Box (world units, unrotated): the bars of a linear symbol stretch to
  // the box's height, its text keeps its size relative to the module width; a matrix symbol is
  // scaled evenly.
  struct TPlacedText {
    QString Text;
    QPointF Baseline;
    double Size = 0;  // em in world units
    Qt::Alignment HAlign = Qt::AlignHCenter;
  };
  void PlaceSymbol(const QRectF& Box, std::vector<QRectF>& Bars, std::vector<TPlacedText>& Texts) const;
  double AspectRatio() const override;

  void SaveToXML(TXmlNode Node) const override;
  void LoadFromXML(TXmlNode Node, bool KeepID) override;

 protected:
  ~TVornBarcode() override;

  void PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                  PmekDeviceCapsInfo DeviceCapsInfo) override;
  bool HitGeometry(const TPointF& P, float Fuzz) const override;

 private:
  TVornBarcodeType FSymbology = TVornBarcodeType::vbtCode128;
  bool FShowText = true;
  TColor FBarColor = clBlack;
  // The symbol and what it was encoded from.
  mutable std::unique_ptr<TVornBarcodeSymbol> FSymbol;
  mutable QString FSymbolText;
  mutable TVornBarcodeType FSymbolType = TVornBarcodeType::vbtCode128;
  mutable bool FSymbolShowText = true;
};

}  // namespace vorn
