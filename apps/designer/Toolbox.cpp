#include "Toolbox.h"

#include <vorn/editor/KxDeEditor.h>
#include <vorn/model/KxDeContainer.h>
#include <vorn/model/KxDeRegister.h>

#include <QButtonGroup>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorndesigner {
namespace {

const char* const kClassProperty = "shapeClass";

// Draws the kit class ClassName into a 32 x 32 square; false for a class it does not know.
bool DrawKitIcon(QPainter& P, const QString& ClassName) {
  const QColor ink(0x1b, 0x3a, 0x6b), fill(0xa8, 0xc8, 0xf0);
  P.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  P.setBrush(fill);
  if (ClassName == QLatin1String("TVornRectangle")) {
    P.drawRoundedRect(QRectF(5, 8, 22, 16), 3, 3);
  } else if (ClassName == QLatin1String("TVornEllipse")) {
    P.drawEllipse(QRectF(4, 8, 24, 16));
  } else if (ClassName == QLatin1String("TVornLine")) {
    P.drawLine(QPointF(5, 26), QPointF(27, 6));
  } else if (ClassName == QLatin1String("TVornPolyline")) {
    P.drawPolyline(QPolygonF({QPointF(4, 24), QPointF(12, 8), QPointF(20, 22), QPointF(28, 8)}));
  } else if (ClassName == QLatin1String("TVornPolygon")) {
    P.drawPolygon(QPolygonF({QPointF(16, 4), QPointF(28, 13), QPointF(23, 27), QPointF(9, 27), QPointF(4, 13)}));
  } else if (ClassName == QLatin1String("TVornFreeHand")) {
    QPainterPath path(QPointF(4, 20));
    path.cubicTo(QPointF(10, 2), QPointF(16, 30), QPointF(28, 10));
    P.setBrush(Qt::NoBrush);
    P.drawPath(path);
  } else if (ClassName == QLatin1String("TVornText")) {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(24);
    f.setBold(true);
    P.setFont(f);
    P.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("A"));
  } else if (ClassName == QLatin1String("TVornPicture")) {
    P.drawRect(QRectF(4, 6, 24, 20));
    P.setBrush(ink);
    P.setPen(Qt::NoPen);
    P.drawPolygon(QPolygonF({QPointF(6, 24), QPointF(13, 14), QPointF(18, 20), QPointF(21, 16), QPointF(26, 24)}));
    P.drawEllipse(QPointF(22, 11), 2.5, 2.5);
  } else if (ClassName == QLatin1String("TVornBarcode")) {
    P.setPen(Qt::NoPen);
    P.setBrush(ink);
    const int widths[] = {2, 1, 3, 1, 1, 2, 3, 1, 2, 1};
    int x = 4;
    for (int i = 0; i < 10; ++i) {
      if (i % 2 == 0) P.drawRect(x, 6, widths[i], 20);
      x += widths[i] + 1;
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace

QIcon TToolbox::IconFor(const QString& ClassName, const QString& DisplayName) {
  QPixmap pixmap(64, 64);
  pixmap.setDevicePixelRatio(2);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (ClassName.isEmpty()) {
    // The selection arrow.
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(9, 4), QPointF(9, 26), QPointF(14, 21), QPointF(18, 29), QPointF(21, 27),
                             QPointF(17, 20), QPointF(24, 20)}));
  } else if (!DrawKitIcon(p, ClassName)) {
    p.setPen(QPen(QColor(0x1b, 0x3a, 0x6b), 2));
    p.setBrush(QColor(0xe8, 0xee, 0xf6));
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
    QFont f = p.font();
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, DisplayName.left(1).toUpper());
  }
  return QIcon(pixmap);
}

TToolbox::TToolbox(vorn::TKxDeEditor* Editor, QWidget* Parent)
    : QWidget(Parent), FEditor(Editor), FGroup(new QButtonGroup(this)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(2);
  auto add = [&](const QString& ClassName, const QString& Label, const QString& Tip) {
    auto* b = new QToolButton(this);
    b->setText(Label);
    b->setToolTip(Tip);
    b->setIcon(IconFor(ClassName, Label));
    b->setIconSize(QSize(24, 24));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setProperty(kClassProperty, ClassName);
    b->setObjectName(ClassName.isEmpty() ? QStringLiteral("toolSelect") : ClassName);
    FGroup->addButton(b);
    column->addWidget(b);
  };
  add(QString(), tr("Select"), tr("Select, move and size shapes"));
  auto names = vorn::TKxDeRegister::GetEnumerator();
  struct TEntry {
    QString Name, Label, Tip;
  };
  std::vector<TEntry> entries;
  while (names && names->MoveNext()) {
    const QString name = names->Current();
    const vorn::TKxDeShapeClass c = vorn::TKxDeRegister::FindShape(name);
    // Layers, groups and packages hold shapes; they are made from the selection, not drawn.
    if (!c || c->InheritsFrom(vorn::ClassOf<vorn::TKxDeContainer>())) continue;
    QString label = vorn::TKxDeRegister::FindShapeDisplayName(c);
    entries.push_back({name, label.isEmpty() ? name : label, vorn::TKxDeRegister::FindShapeDescription(c)});
  }
  // In the order a user reads them, not by class name.
  std::sort(entries.begin(), entries.end(),
            [](const TEntry& A, const TEntry& B) { return A.Label.localeAwareCompare(B.Label) < 0; });
  for (const TEntry& e : entries) add(e.Name, e.Label, e.Tip);
  column->addStretch(1);
  FGroup->buttons().first()->setChecked(true);

  connect(FGroup, &QButtonGroup::buttonClicked, this, [this](QAbstractButton* B) {
    if (!FEditor) return;
    const QString name = B->property(kClassProperty).toString();
    FEditor->SetNewShapeClass(name.isEmpty() ? nullptr : vorn::TKxDeRegister::FindShape(name));
    FEditor->setFocus();
  });
}

QToolButton* TToolbox::Button(const QString& ClassName) const {
  for (QAbstractButton* b : FGroup->buttons())
    if (b->property(kClassProperty).toString() == ClassName) return static_cast<QToolButton*>(b);
  return nullptr;
}

void TToolbox::Follow() {
  if (!FEditor) return;
  const vorn::TKxDeShapeClass c = FEditor->NewShapeClass();
  QToolButton* b = Button(c ? c->ClassName() : QString());
  if (b && !b->isChecked()) b->setChecked(true);
}

}  // namespace vorndesigner
