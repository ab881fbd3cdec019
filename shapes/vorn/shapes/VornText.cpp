#include "vorn/shapes/VornText.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/KxDeUtils.h>
#include <vorn/common/Units.h>

#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

// Text is laid out with a font of this many pixels to the em and scaled to its real size: the
// layout does not depend on the zoom or the device.
constexpr int kLayoutEm = 256;

}  // namespace

struct TVornText::TLayout {
  // What the layout was made from.
  QString Text;
  QFont Font;
  double Em = 0;
  double Width = 0;
  double Height = 0;
  TVornTextAlign Alignment = TVornTextAlign::vtaLeft;
  TVornTextLayout Vertical = TVornTextLayout::vtlTop;
  bool Wrap = true;

  // World units per layout unit, and the world position of the layout's origin.
  double Scale = 1;
  QPointF Origin;
  std::vector<std::unique_ptr<QTextLayout>> Paragraphs;
  std::vector<QRectF> Lines;  // world units

  bool Same(const TLayout& O) const {
    return Text == O.Text && Font == O.Font && Em == O.Em && Width == O.Width && Height == O.Height &&
           Alignment == O.Alignment && Vertical == O.Vertical && Wrap == O.Wrap;
  }
};

TVornText::TVornText(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornBoxShape(ASurface, AOwner) {
  // The text is the shape's label, drawn in its font and nothing else. A text declares no brush
  // and no pen: layers and editors hand their default fill and frame to every shape that uses
  // them, and a label's text wants neither (a box behind it is a rectangle of its own).
  IncludeStyles({TKxDeShapeStyle::kxssUsesLabel, TKxDeShapeStyle::kxssUsesFont});
  ExcludeStyles({TKxDeShapeStyle::kxssUsesPen});
  FTextFont.reset(Create<TmekFont>(static_cast<TKxDeShapeBase*>(this), Font()));
  FTextFont->SetName(QStringLiteral("DejaVu Sans"));
  FTextFont->SetHeight(3.5f);
}

TVornText::~TVornText() = default;

void TVornText::SetAlignment(TVornTextAlign Value) { ChangeProperty(FAlignment, Value, "Alignment"); }
void TVornText::SetVerticalAlignment(TVornTextLayout Value) {
  ChangeProperty(FVerticalAlignment, Value, "VerticalAlignment");
}
void TVornText::SetWordWrap(bool Value) { ChangeProperty(FWordWrap, Value, "WordWrap"); }

void TVornText::FontChanged(TObject* Sender) {
  TVornBoxShape::FontChanged(Sender);
  FLayout.reset();
}

double TVornText::EmSize() const {
  const double mm = FTextFont->Height() > 0 ? FTextFont->Height() : TKxDeUtils::FontPointsToMM(Font()->Size());
  return mm * CoordsPixelsPerMMConvertValue;
}

QFont TVornText::LayoutFont() const {
  QFont f(Font()->Name());
  f.setPixelSize(kLayoutEm);
  f.setHintingPreference(QFont::PreferNoHinting);
  const TFontStyles s = Font()->Style();
  f.setBold(s.Contains(TFontStyle::fsBold));
  f.setItalic(s.Contains(TFontStyle::fsItalic));
  f.setUnderline(s.Contains(TFontStyle::fsUnderline));
  f.setStrikeOut(s.Contains(TFontStyle::fsStrikeOut));
  return f;
}

const TVornText::TLayout& TVornText::Layout() const {
  const TRectF box = Box();
  auto next = std::make_unique<TLayout>();
  next->Text = Text();
  next->Font = LayoutFont();
  next->Em = EmSize();
  next->Width = box.Width();
  next->Height = box.Height();
  next->Alignment = FAlignment;
  next->Vertical = FVerticalAlignment;
  next->Wrap = FWordWrap;
  // Lines are kept relative to the box: moving the box keeps the layout.
  if (!FLayout || !FLayout->Same(*next)) {
    // An em that is not a sensible length (a damaged document) lays out nothing.
    next->Scale = next->Em > 0 && next->Em < 1e6 ? next->Em / kLayoutEm : 0;
    if (next->Scale > 0) {
      const bool wrap = next->Wrap && next->Width > 0;
      QTextOption option;
      option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
      Qt::Alignment align = Qt::AlignLeft;
      switch (next->Alignment) {
        case TVornTextAlign::vtaLeft: align = Qt::AlignLeft; break;
        case TVornTextAlign::vtaCenter: align = Qt::AlignHCenter; break;
        case TVornTextAlign::vtaRight: align = Qt::AlignRight; break;
        case TVornTextAlign::vtaJustify: align = Qt::AlignJustify; break;
      }
      option.setAlignment(align);
      const double lineWidth = std::max(0.0, next->Width / next->Scale);
      double y = 0;
      // Paragraphs are the text's lines; CRLF and lone CR line ends count too.
      QString text = next->Text;
      text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
      for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        auto layout = std::make_unique<QTextLayout>(paragraph, next->Font);
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
          line.setLineWidth(lineWidth);
          line.setPosition(QPointF(0, y));
          y += line.height();
        }
        layout->endLayout();
        next->Paragraphs.push_back(std::move(layout));
      }
      const double height = y * next->Scale;
      double top = 0;
      if (next->Vertical == TVornTextLayout::vtlCenter) top = (next->Height - height) / 2;
      else if (next->Vertical == TVornTextLayout::vtlBottom) top = next->Height - height;
      next->Origin = QPointF(0, top);
      for (const auto& layout : next->Paragraphs) {
        for (int i = 0; i < layout->lineCount(); ++i) {
          const QTextLine line = layout->lineAt(i);
          if (line.textLength() == 0) continue;
          const QRectF r = line.naturalTextRect();
          next->Lines.emplace_back(r.left() * next->Scale, top + r.top() * next->Scale, r.width() * next->Scale,
                                   r.height() * next->Scale);
        }
      }
    }
    FLayout = std::move(next);
  }
  return *FLayout;
}

std::vector<QRectF> TVornText::LineRects() const {
  const TRectF box = Box();
  std::vector<QRectF> lines = Layout().Lines;
  for (QRectF& r : lines) r.translate(box.Left, box.Top);
  return lines;
}

TRectF TVornText::HitExtent() const {
  TRectF r = TVornShape::HitExtent();
  QRectF lines;
  for (const QRectF& line : LineRects()) lines |= line;
  if (lines.isNull() || PointCount() == 0) return r;
  const TRectF t = ExtentRect(WorldRotation().mapRect(lines), 0);
  return TRectF{std::min(r.Left, t.Left), std::min(r.Top, t.Top), std::max(r.Right, t.Right),
                std::max(r.Bottom, t.Bottom)};
}

void TVornText::PaintShape(TCanvas* C, const QTransform& ToDevice, double, int32_t, PmekDeviceCapsInfo) {
  const TLayout& layout = Layout();
  if (layout.Scale <= 0 || layout.Lines.empty()) return;
  const TRectF box = Box();
  QPainter* p = C->Painter();
  p->save();
  const QTransform local = QTransform::fromScale(layout.Scale, layout.Scale) *
                           QTransform::fromTranslate(box.Left + layout.Origin.x(), box.Top + layout.Origin.y()) *
                           ToDevice * p->worldTransform();
  p->setWorldTransform(local);
  p->setPen(ToQColor(Font()->Color()));
  for (const auto& paragraph : layout.Paragraphs) paragraph->draw(p, QPointF(0, 0));
  p->restore();
}

bool TVornText::HitGeometry(const TPointF& P, float Fuzz) const {
  const QPointF q = ToQt(P);
  for (const QRectF& r : LineRects())
    if (r.adjusted(-Fuzz, -Fuzz, Fuzz, Fuzz).contains(q)) return true;
  return false;
}

void TVornText::SaveToXML(TXmlNode Node) const {
  TVornBoxShape::SaveToXML(Node);
  FTextFont->SaveToXML(XmlAddChild(Node, "TextFont"));
  XmlWriteInteger(Node, "Alignment", static_cast<int32_t>(FAlignment));
  XmlWriteInteger(Node, "VerticalAlignment", static_cast<int32_t>(FVerticalAlignment));
  XmlWriteBool(Node, "WordWrap", FWordWrap);
}

void TVornText::LoadFromXML(TXmlNode Node, bool KeepID) {
  BeginUpdate();
  TVornBoxShape::LoadFromXML(Node, KeepID);
  if (TXmlNode font = XmlSelect(Node, "TextFont")) FTextFont->LoadFromXML(font);
  FAlignment = XmlReadEnum(Node, "Alignment", FAlignment, TVornTextAlign::vtaJustify);
  FVerticalAlignment = XmlReadEnum(Node, "VerticalAlignment", FVerticalAlignment, TVornTextLayout::vtlBottom);
  FWordWrap = XmlReadBool(Node, "WordWrap", FWordWrap);
  FLayout.reset();
  Changed(false);
  EndUpdate();
}

}  // namespace vorn
