// vorn-make-samples: writes the sample documents of the repository through the engine and the
// shape kit, so they always match what the engine reads and writes.
//
//   vorn-make-samples label  OUT.vorn LOGO.svg    the shipping label (100 x 150 mm)
//   vorn-make-samples label-template OUT.vorn LOGO.svg
//                                                 the same label with ${column} placeholders where
//                                                 the shipment goes, for `vorn render --merge`
//   vorn-make-samples stress OUT.vorn [COUNT]     COUNT shapes (default 100000) on a 400 x 250 mm
//                                                 page, the same document for the same COUNT
#include <vorn/common/Exceptions.h>
#include <vorn/common/KxDePicture.h>
#include <vorn/common/Units.h>
#include <vorn/common/XmlUtils.h>
#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDePoint.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/model/KxDeShapeGradient.h>
#include <vorn/model/KxDeShapePen.h>
#include <vorn/shapes/VornShapes.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace vorn;

namespace {

float MM(double Millimetres) { return static_cast<float>(Millimetres * CoordsPixelsPerMMConvertValue); }

template <class T>
T* New(TKxDeContainer* Owner) {
  return Create<T>(static_cast<TKxDeSurface*>(nullptr), Owner);
}

// A box shape placed in millimetres.
template <class T>
T* Box(TKxDeContainer* Owner, double X, double Y, double W, double H) {
  T* s = New<T>(Owner);
  s->SetBounds(MM(X), MM(Y), MM(W), MM(H));
  return s;
}

TVornText* Text(TKxDeContainer* Owner, double X, double Y, double W, double H, const QString& S, double Height,
                bool Bold = false, TColor Color = clBlack, TVornTextAlign Align = TVornTextAlign::vtaLeft) {
  auto* t = Box<TVornText>(Owner, X, Y, W, H);
  t->SetText(S);
  t->TextFont()->SetName(QStringLiteral("DejaVu Sans"));
  t->TextFont()->SetHeight(static_cast<float>(Height));
  if (Bold) t->Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
  t->Font()->SetColor(Color);
  t->SetAlignment(Align);
  return t;
}

TVornLine* Line(TKxDeContainer* Owner, double X1, double Y1, double X2, double Y2, double Width) {
  auto* l = New<TVornLine>(Owner);
  l->Add(MM(X1), MM(Y1));
  l->Add(MM(X2), MM(Y2));
  l->Pen()->SetWidth(static_cast<float>(Width));
  return l;
}

TKxDeLayer* NewLayer(TKxDeLayerList& Layers, const QString& Name) {
  TKxDeLayer* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(nullptr));
  layer->SetName(Name);
  // Every shape here gets its styles from the code that makes it, not the layer's defaults.
  layer->SkipDefaultProperty();
  Layers.push_back(layer);
  return layer;
}

// ---- The shipping label ----------------------------------------------------------------------------

// With Fields the shipment's data are placeholders of a data merge.
void MakeLabel(const QString& Out, const QString& Logo, bool Fields) {
  auto field = [Fields](const char* Placeholder, const QString& Value) {
    return Fields ? QString::fromLatin1(Placeholder) : Value;
  };
  TKxDeLayerList layers;
  TKxDeDocumentSettings settings;
  settings.PageWidth = static_cast<int32_t>(std::lround(MM(100)));
  settings.PageHeight = static_cast<int32_t>(std::lround(MM(150)));
  settings.PageColor = clWhite;

  // The frame and the fixed rules of the form.
  TKxDeLayer* form = NewLayer(layers, QStringLiteral("Form"));
  auto* border = Box<TVornRectangle>(form, 2, 2, 96, 146);
  border->SetName(QStringLiteral("Border"));
  border->Brush()->SetStyle(TBrushStyle::bsClear);
  border->Pen()->SetWidth(0.6f);
  border->SetCornerRadius(3);
  Line(form, 4, 26, 96, 26, 0.5)->SetName(QStringLiteral("Rule below header"));
  Line(form, 4, 48, 96, 48, 0.3)->SetName(QStringLiteral("Rule below sender"));
  Line(form, 4, 100, 96, 100, 0.5)->SetName(QStringLiteral("Rule above barcode"));
  Line(form, 4, 129, 96, 129, 0.3)->SetName(QStringLiteral("Rule below barcode"));

  // The carrier's design: logo, name, service badge, handling marks.
  TKxDeLayer* design = NewLayer(layers, QStringLiteral("Design"));
  auto* logo = Box<TVornPicture>(design, 5, 5, 18, 18);
  logo->SetName(QStringLiteral("Logo"));
  logo->LoadPicture(Logo);
  logo->Picture()->SetPicturePath(QFileInfo(Logo).fileName());
  Text(design, 26, 6.5, 68, 9, QStringLiteral("VORN PARCEL"), 7, true, RGB(0x1b, 0x3a, 0x6b))
      ->SetName(QStringLiteral("Carrier"));
  Text(design, 26.5, 15.5, 68, 6, QStringLiteral("Express logistics \u00b7 vorn.example"), 3.2, false,
       RGB(0x44, 0x44, 0x44));

  // The service badge: a group of a filled box and its word.
  auto* badge = New<TKxDeGroup>(design);
  badge->SetName(QStringLiteral("Service badge"));
  auto* badgeBox = Box<TVornRectangle>(badge, 70, 29, 26, 11);
  badgeBox->Brush()->SetColor(clBlack);
  badgeBox->Pen()->SetWidth(0);
  badgeBox->SetCornerRadius(1.5);
  auto* badgeText =
      Text(badge, 70, 30.6, 26, 8, QStringLiteral("EXPRESS"), 4.6, true, clWhite, TVornTextAlign::vtaCenter);
  badgeText->SetVerticalAlignment(TVornTextLayout::vtlCenter);
  Text(design, 70, 41, 26, 5, QStringLiteral("NEXT DAY 12:00"), 2.6, true, clBlack, TVornTextAlign::vtaCenter);

  // The fragile stamp: a group turned as one, frame, word and a glass drawn as a polygon.
  auto* fragile = New<TKxDeGroup>(design);
  fragile->SetName(QStringLiteral("Fragile stamp"));
  auto* stamp = Box<TVornRectangle>(fragile, 60, 86.5, 35, 11);
  stamp->Brush()->SetStyle(TBrushStyle::bsClear);
  stamp->Pen()->SetColor(RGB(0xc6, 0x28, 0x28));
  stamp->Pen()->SetWidth(0.8f);
  stamp->SetCornerRadius(2);
  auto* word = Text(fragile, 68.5, 88.2, 26, 8, QStringLiteral("FRAGILE"), 5, true, RGB(0xc6, 0x28, 0x28));
  word->SetVerticalAlignment(TVornTextLayout::vtlCenter);
  auto* glass = New<TVornPolygon>(fragile);
  for (auto [x, y] : {std::pair{62.0, 88.5},
                      {67.0, 88.5},
                      {66.0, 92.5},
                      {65.0, 93.3},
                      {65.0, 95.5},
                      {66.5, 96.0},
                      {62.5, 96.0},
                      {64.0, 95.5},
                      {64.0, 93.3},
                      {63.0, 92.5}})
    glass->Add(MM(x), MM(y));
  glass->Brush()->SetColor(RGB(0xc6, 0x28, 0x28));
  glass->Pen()->SetWidth(0);
  fragile->SetRotation(8);

  // "This side up": two arrows and the words turned to run up the right edge.
  for (double x : {81.0, 87.5}) {
    TVornLine* arrow = Line(design, x, 145, x, 132, 0.8);
    arrow->SetEndShape(TmekLineShape::mekLshArrowed);
    arrow->SetArrowSize(3);
  }
  // A 17 x 3 mm box turned a quarter about its centre (94, 138.5) stands 3 wide and 17 high.
  auto* up =
      Text(design, 85.5, 137, 17, 3, QStringLiteral("THIS SIDE UP"), 2.1, true, clBlack, TVornTextAlign::vtaCenter);
  up->SetName(QStringLiteral("This side up"));
  up->SetRotation(90);

  // The shipment: sender, recipient (a package: the address on a tinted card), weights, codes.
  TKxDeLayer* data = NewLayer(layers, QStringLiteral("Shipment"));
  Text(data, 5, 28, 40, 4, QStringLiteral("FROM"), 2.6, true, RGB(0x55, 0x55, 0x55));
  Text(data, 5, 32, 62, 15, QStringLiteral("Vorn Drawing Works\n12 Harbour Street\n3011 AB Rotterdam, NETHERLANDS"),
       3.1)
      ->SetName(QStringLiteral("Sender"));

  // A package is as large as its children: the card's frame is the child that spans it.
  auto* card = New<TKxDePackage>(data);
  card->SetName(QStringLiteral("Recipient card"));
  card->Brush()->SetColor(RGB(0xee, 0xf1, 0xf6));
  auto* cardFrame = Box<TVornRectangle>(card, 4, 50, 92, 34);
  cardFrame->Brush()->SetStyle(TBrushStyle::bsClear);
  cardFrame->Pen()->SetColor(RGB(0xb0, 0xb8, 0xc4));
  cardFrame->Pen()->SetWidth(0.3f);
  Text(card, 7, 52, 40, 4, QStringLiteral("SHIP TO"), 2.8, true, RGB(0x55, 0x55, 0x55));
  Text(card, 7, 57, 86, 26,
       field("${name}\n${street}\n${city}\n${country}",
             QStringLiteral("Ms. Ada Lindqvist\nKungsgatan 44, lgh 1203\n111 35 Stockholm\nSWEDEN")),
       5.2, true)
      ->SetName(QStringLiteral("Recipient"));

  Text(data, 5, 87, 52, 4, QStringLiteral("WEIGHT   PIECES   SHIPPED"), 2.4, true, RGB(0x55, 0x55, 0x55));
  Text(data, 5, 91.5, 55, 6,
       field("${weight}      ${pieces}      ${shipped}", QStringLiteral("2.4 kg      1 / 1      2026-12-05")), 3.6)
      ->SetName(QStringLiteral("Shipment data"));

  auto* tracking = Box<TVornBarcode>(data, 8, 103, 84, 24);
  tracking->SetName(QStringLiteral("Tracking barcode"));
  tracking->SetSymbology(TVornBarcodeType::vbtCode128);
  tracking->SetText(field("${tracking}", QStringLiteral("VRN1234567890")));

  auto* qr = Box<TVornBarcode>(data, 5.5, 131, 15, 15);
  qr->SetName(QStringLiteral("Tracking link"));
  qr->SetSymbology(TVornBarcodeType::vbtQRCode);
  qr->SetText(field("https://vorn.example/t/${tracking}", QStringLiteral("https://vorn.example/t/VRN1234567890")));
  auto* dm = Box<TVornBarcode>(data, 23, 132.5, 12, 12);
  dm->SetName(QStringLiteral("Sorting code"));
  dm->SetSymbology(TVornBarcodeType::vbtDataMatrix);
  dm->SetText(field("${sort}", QStringLiteral("SE-111-STO-07")));
  Text(data, 37, 131.5, 40, 4, QStringLiteral("ROUTE"), 2.4, true, RGB(0x55, 0x55, 0x55));
  Text(data, 37, 135.5, 40, 8, field("${route}", QStringLiteral("STO 07")), 6, true)->SetName(QStringLiteral("Route"));
  Text(data, 37, 143, 44, 4, QStringLiteral("Received by:"), 2.4, false, RGB(0x55, 0x55, 0x55));
  // A courier's scribble, as a free-hand line would be drawn.
  auto* signature = New<TVornFreeHand>(data);
  signature->SetName(QStringLiteral("Signature"));
  // Loops written left to right (a prolate cycloid), bigger at the start, with a final stroke.
  for (int i = 0; i <= 140; ++i) {
    const double t = i / 140.0;
    const double a = 2 * 3.14159265358979 * 6 * t;
    const double size = 1.5 - 0.7 * t;
    signature->Add(MM(56 + 18 * t - size * 0.8 * std::sin(a)), MM(144.6 - size * std::cos(a) + 0.6 * t));
  }
  for (int i = 1; i <= 6; ++i) signature->Add(MM(74 + 0.5 * i), MM(145.2 - 0.25 * i));
  signature->Pen()->SetColor(RGB(0x1b, 0x3a, 0x8b));
  signature->Pen()->SetWidth(0.35f);

  // The operator's note: hidden, and never printed.
  TKxDeLayer* notes = NewLayer(layers, QStringLiteral("Notes"));
  auto* sticky = New<TKxDeGroup>(notes);
  sticky->SetName(QStringLiteral("Sticky note"));
  auto* paper = Box<TVornRectangle>(sticky, 50, 60, 45, 20);
  paper->Brush()->SetColor(RGB(0xff, 0xf3, 0x9a));
  paper->Pen()->SetWidth(0);
  Text(sticky, 52, 62, 41, 16, QStringLiteral("Check the customs form before the pick-up at 16:00."), 3);
  notes->SetPrintingAllowed(false);
  notes->SetVisible(false);

  TKxDeDocumentFile::SaveLayersToFile(Out, layers, settings);
  for (TKxDeLayer*& l : layers) Free(l);
}

// ---- The stress document ---------------------------------------------------------------------------

// A small deterministic generator: the same document on every machine.
class TRandom {
 public:
  explicit TRandom(uint64_t Seed) : FState(Seed) {}
  uint32_t Next() {
    FState = FState * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(FState >> 33);
  }
  double Real(double Low, double High) { return Low + (High - Low) * (Next() / 2147483648.0); }
  int Int(int Low, int High) { return Low + static_cast<int>(Next() % static_cast<uint32_t>(High - Low + 1)); }
  bool Chance(double P) { return Real(0, 1) < P; }

 private:
  uint64_t FState;
};

void MakeStress(const QString& Out, int Count) {
  static const TColor palette[] = {RGB(0x1b, 0x3a, 0x6b), RGB(0xf2, 0x8c, 0x28), RGB(0x2e, 0x7d, 0x32),
                                   RGB(0xc6, 0x28, 0x28), RGB(0x6a, 0x1b, 0x9a), RGB(0x00, 0x83, 0x8f),
                                   RGB(0xff, 0xc1, 0x07), RGB(0x5d, 0x40, 0x37), RGB(0x9e, 0x9e, 0x9e)};
  static const char* words[] = {"parcel", "route", "depot", "vorn", "express", "sort", "hub", "dock", "bay", "crate"};
  TRandom rnd(20261205);
  auto colour = [&] { return palette[rnd.Int(0, 8)]; };

  TKxDeLayerList layers;
  TKxDeDocumentSettings settings;
  const double pageW = 400, pageH = 250;
  settings.PageWidth = static_cast<int32_t>(std::lround(MM(pageW)));
  settings.PageHeight = static_cast<int32_t>(std::lround(MM(pageH)));
  const int layerCount = 4;
  for (int l = 0; l < layerCount; ++l) NewLayer(layers, QStringLiteral("Layer %1").arg(l + 1));

  for (int i = 0; i < Count; ++i) {
    TKxDeLayer* layer = layers[static_cast<size_t>(i * layerCount / Count)];
    const double x = rnd.Real(-5, pageW), y = rnd.Real(-5, pageH);
    const double w = rnd.Real(1.5, 12), h = rnd.Real(1.5, 12);
    const int kind = rnd.Int(0, 99);
    TVornShape* s = nullptr;
    if (kind < 34) {
      auto* r = Box<TVornRectangle>(layer, x, y, w, h);
      r->Brush()->SetColor(colour());
      if (rnd.Chance(0.3)) r->SetCornerRadius(static_cast<float>(rnd.Real(0.5, 3)));
      if (rnd.Chance(0.1)) {
        r->GetGradient()->SetColorEnd(colour());
        r->GetGradient()->SetStyle(static_cast<TKxDeShapeGradientStyle>(rnd.Int(1, 23)));
      }
      s = r;
    } else if (kind < 54) {
      auto* e = Box<TVornEllipse>(layer, x, y, w, h);
      e->Brush()->SetColor(colour());
      s = e;
    } else if (kind < 68) {
      auto* l = Line(layer, x, y, x + rnd.Real(-15, 15), y + rnd.Real(-15, 15), rnd.Real(0.1, 1.0));
      l->Pen()->SetColor(colour());
      if (rnd.Chance(0.2)) l->SetEndShape(TmekLineShape::mekLshArrowed);
      s = l;
    } else if (kind < 76) {
      TVornPolyline* p = rnd.Chance(0.4) ? New<TVornPolygon>(layer) : New<TVornPolyline>(layer);
      const int n = rnd.Int(3, 6);
      for (int k = 0; k < n; ++k) p->Add(MM(x + rnd.Real(0, w * 1.5)), MM(y + rnd.Real(0, h * 1.5)));
      if (rnd.Chance(0.3))
        p->Points(1)->SetControl_2(p->Points(1)->NewControl(MM(rnd.Real(-4, 4)), MM(rnd.Real(-4, 4))));
      p->Pen()->SetColor(colour());
      if (p->Closed()) p->Brush()->SetColor(colour());
      s = p;
    } else if (kind < 88) {
      auto* t = Box<TVornText>(layer, x, y, w * 2, h);
      t->SetText(QStringLiteral("%1 %2").arg(QString::fromLatin1(words[rnd.Int(0, 9)])).arg(i));
      // Sizes from a list, as people pick them: 2 to 4 mm in half millimetres.
      t->TextFont()->SetHeight(static_cast<float>(rnd.Int(4, 8) * 0.5));
      t->Font()->SetColor(colour());
      s = t;
    } else if (kind < 94) {
      auto* f = New<TVornFreeHand>(layer);
      double px = x, py = y;
      for (int k = 0; k < 12; ++k) {
        f->Add(MM(px), MM(py));
        px += rnd.Real(-1.5, 2.5);
        py += rnd.Real(-1.5, 1.5);
      }
      f->Pen()->SetColor(colour());
      s = f;
    } else {
      auto* b = Box<TVornBarcode>(layer, x, y, w * 2.5, h * 1.2);
      const bool matrix = rnd.Chance(0.4);
      b->SetSymbology(matrix ? TVornBarcodeType::vbtQRCode : TVornBarcodeType::vbtCode128);
      if (matrix) b->SetBounds(MM(x), MM(y), MM(h), MM(h));
      b->SetText(QStringLiteral("VRN%1").arg(i, 8, 10, QLatin1Char('0')));
      b->SetShowText(!matrix && rnd.Chance(0.5));
      s = b;
    }
    if (rnd.Chance(0.25)) s->SetRotation(static_cast<float>(rnd.Int(0, 359)));
  }
  // A hundred thousand shapes make a large file: it is written without indentation, which the
  // reader does not need and which would add about two thirds to its size.
  TXmlDocument doc;
  TKxDeDocumentFile::SaveLayersToXML(doc, layers, settings);
  for (TKxDeLayer*& l : layers) Free(l);
  QFile file(Out);
  const QByteArray text = XmlToText(doc, false);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() || !file.flush())
    throw Exception(QStringLiteral("%1: %2").arg(Out, file.errorString()));
}

int Usage() {
  std::fprintf(stderr,
               "usage: vorn-make-samples label OUT.vorn LOGO.svg\n"
               "       vorn-make-samples label-template OUT.vorn LOGO.svg\n"
               "       vorn-make-samples stress OUT.vorn [COUNT]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  RegisterVornShapes();
  if (argc < 3) return Usage();
  const QString out = QString::fromLocal8Bit(argv[2]);
  try {
    if ((std::strcmp(argv[1], "label") == 0 || std::strcmp(argv[1], "label-template") == 0) && argc == 4) {
      MakeLabel(out, QString::fromLocal8Bit(argv[3]), std::strcmp(argv[1], "label-template") == 0);
    } else if (std::strcmp(argv[1], "stress") == 0 && argc <= 4) {
      const int count = argc == 4 ? std::atoi(argv[3]) : 100000;
      if (count < 1) return Usage();
      MakeStress(out, count);
    } else {
      return Usage();
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "vorn-make-samples: %s\n", qPrintable(e.Message()));
    return 1;
  }
  return 0;
}
