#include "vorn/shapes/VornBarcodeSymbol.h"

#include <zint.h>

#include <algorithm>
#include <memory>

namespace vorn {
namespace {

int ZintSymbology(TVornBarcodeType Type) {
  switch (Type) {
    case TVornBarcodeType::vbtCode128: return BARCODE_CODE128;
    case TVornBarcodeType::vbtEAN13: return BARCODE_EANX;
    case TVornBarcodeType::vbtQRCode: return BARCODE_QRCODE;
    case TVornBarcodeType::vbtDataMatrix: return BARCODE_DATAMATRIX;
    case TVornBarcodeType::vbtCode39: return BARCODE_CODE39;
    case TVornBarcodeType::vbtInterleaved2of5: return BARCODE_C25INTER;
    case TVornBarcodeType::vbtEAN8: return BARCODE_EANX;
    case TVornBarcodeType::vbtUPCA: return BARCODE_UPCA;
    case TVornBarcodeType::vbtPDF417: return BARCODE_PDF417;
  }
  return BARCODE_CODE128;
}

struct TZintDeleter {
  void operator()(zint_symbol* S) const { ZBarcode_Delete(S); }
};

bool OnlyDigits(const QString& S) {
  return !S.isEmpty() && std::all_of(S.begin(), S.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

bool TVornBarcodeSymbol::IsTwoDimensional(TVornBarcodeType Type) {
  return Type == TVornBarcodeType::vbtQRCode || Type == TVornBarcodeType::vbtDataMatrix ||
         Type == TVornBarcodeType::vbtPDF417;
}

QString TVornBarcodeSymbol::TypeName(TVornBarcodeType Type) {
  switch (Type) {
    case TVornBarcodeType::vbtCode128: return QStringLiteral("Code 128");
    case TVornBarcodeType::vbtEAN13: return QStringLiteral("EAN-13");
    case TVornBarcodeType::vbtQRCode: return QStringLiteral("QR Code");
    case TVornBarcodeType::vbtDataMatrix: return QStringLiteral("Data Matrix");
    case TVornBarcodeType::vbtCode39: return QStringLiteral("Code 39");
    case TVornBarcodeType::vbtInterleaved2of5: return QStringLiteral("Interleaved 2 of 5");
    case TVornBarcodeType::vbtEAN8: return QStringLiteral("EAN-8");
    case TVornBarcodeType::vbtUPCA: return QStringLiteral("UPC-A");
    case TVornBarcodeType::vbtPDF417: return QStringLiteral("PDF417");
  }
  return QString();
}

TVornBarcodeSymbol TVornBarcodeSymbol::Encode(TVornBarcodeType Type, const QString& Data, bool ShowText) {
  TVornBarcodeSymbol result;
  const QByteArray bytes = Data.toUtf8();
  if (bytes.isEmpty()) {
    result.FError = QStringLiteral("no data to encode");
    return result;
  }
  if (bytes.size() > MaxDataLength) {
    result.FError = QStringLiteral("data longer than %1 bytes").arg(MaxDataLength);
    return result;
  }
  // EAN-8 and EAN-13 share one encoder that picks the variant by length; keep them apart here
  // so that a document never silently changes symbology.
  if (Type == TVornBarcodeType::vbtEAN13 && !(OnlyDigits(Data) && Data.size() >= 12 && Data.size() <= 13)) {
    result.FError = QStringLiteral("EAN-13 takes 12 digits (or 13 with the check digit)");
    return result;
  }
  if (Type == TVornBarcodeType::vbtEAN8 && !(OnlyDigits(Data) && Data.size() >= 7 && Data.size() <= 8)) {
    result.FError = QStringLiteral("EAN-8 takes 7 digits (or 8 with the check digit)");
    return result;
  }

  std::unique_ptr<zint_symbol, TZintDeleter> symbol(ZBarcode_Create());
  if (!symbol) {
    result.FError = QStringLiteral("out of memory");
    return result;
  }
  symbol->symbology = ZintSymbology(Type);
  symbol->input_mode = UNICODE_MODE;
  symbol->show_hrt = ShowText ? 1 : 0;
  const int rc = ZBarcode_Encode_and_Buffer_Vector(
      symbol.get(), reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<int>(bytes.size()), 0);
  if (rc >= ZINT_ERROR || !symbol->vector) {
    QString msg = QString::fromUtf8(symbol->errtxt);
    // The encoder's texts start with "Error NNN: "; the number means nothing to a user.
    const qsizetype colon = msg.indexOf(QLatin1String(": "));
    if (msg.startsWith(QLatin1String("Error")) && colon > 0) msg = msg.mid(colon + 2);
    result.FError = msg.isEmpty() ? QStringLiteral("the data cannot be encoded") : msg;
    return result;
  }

  const zint_vector* v = symbol->vector;
  result.FWidth = v->width;
  result.FHeight = v->height;
  result.FTwoDimensional = IsTwoDimensional(Type);
  float barBottom = 0;
  for (const zint_vector_rect* r = v->rectangles; r; r = r->next) {
    result.FBars.emplace_back(r->x, r->y, r->width, r->height);
    barBottom = barBottom == 0 ? r->y + r->height : std::min(barBottom, r->y + r->height);
  }
  result.FBarBottom = result.FTwoDimensional || barBottom == 0 ? result.FHeight : barBottom;
  for (const zint_vector_string* s = v->strings; s; s = s->next) {
    TText t;
    t.Text = QString::fromUtf8(reinterpret_cast<const char*>(s->text));
    t.Position = QPointF(s->x, s->y);
    t.Size = s->fsize;
    t.HAlign = s->halign == 1 ? Qt::AlignLeft : s->halign == 2 ? Qt::AlignRight : Qt::AlignHCenter;
    result.FTexts.push_back(t);
  }
  if (!result.FTwoDimensional) result.FHumanReadable = QString::fromUtf8(reinterpret_cast<const char*>(symbol->text));
  result.FValid = !result.FBars.empty() && result.FWidth > 0 && result.FHeight > 0;
  if (!result.FValid) result.FError = QStringLiteral("the encoder produced an empty symbol");
  return result;
}

}  // namespace vorn
