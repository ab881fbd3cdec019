#include "vorn/controls/KxDeCustomControl.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/Exceptions.h"
#include "vorn/common/Finally_p.h"
#include "vorn/common/KxDePicture.h"
#include "vorn/controls/ComponentText_p.h"

#include <QFile>
#include <QIODevice>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QSaveFile>

#include <algorithm>

namespace vorn {

namespace {

TMouseButton MouseButtonOf(Qt::MouseButton Button) {
  switch (Button) {
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
  }
}

TRect Shrunk(const TRect& R, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  TRect r{R.Left + Left, R.Top + Top, R.Right - Right, R.Bottom - Bottom};
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

}  // namespace

// ---- TKxDeCustomControl -------------------------------------------------------------------------

const TClass* TKxDeCustomControl::ClassType() const { return ClassOf<TKxDeCustomControl>(); }

TKxDeCustomControl::TKxDeCustomControl(QWidget* Parent)
    : QWidget(Parent), FPictureProps(Create<TKxDePictureProps>(nullptr)) {
  // Everything inside the widget is painted by the control: nothing is erased before painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  FPictureProps->OnChange = [this](TKxDePicture*) { PictureChanged(); };
}

TKxDeCustomControl::~TKxDeCustomControl() { FPictureProps->OnChange = nullptr; }

TKxDeControlBorderProps* TKxDeCustomControl::BorderProps() const {
  if (!FBorderProps) {
    TKxDeControlBorderPropsClass cls = GetBorderPropsClass();
    FBorderProps.reset(cls->Construct<TKxDeControlBorderProps>(const_cast<TKxDeCustomControl*>(this)));
  }
  return FBorderProps.get();
}

void TKxDeCustomControl::SetBorderProps(const TKxDeControlBorderProps* Value) {
  if (Value) BorderProps()->Assign(Value);
}

TKxDeControlBorderPropsClass TKxDeCustomControl::GetBorderPropsClass() const {
  return ClassOf<TKxDeControlBorderProps>();
}

void TKxDeCustomControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  ColorChanged();
}

void TKxDeCustomControl::SetIndent(int32_t Value) {
  if (FIndent == Value) return;
  FIndent = Value;
  IndentChanged();
}

void TKxDeCustomControl::SetPictureProps(const TKxDePictureProps* Value) {
  if (Value) FPictureProps->Assign(Value);
}

void TKxDeCustomControl::ColorChanged() { update(); }
void TKxDeCustomControl::IndentChanged() { update(); }

void TKxDeCustomControl::PictureChanged() {
  update();
  CallEvent(OnPictureChange, this);
}

void TKxDeCustomControl::Loaded() { UpdateNonClient(); }

void TKxDeCustomControl::ClientResized() {}

// ---- Geometry -----------------------------------------------------------------------------------

int32_t TKxDeCustomControl::CalculateBorder() const { return BorderProps()->Thickness(); }

TRect TKxDeCustomControl::GetInnerRect() const {
  const int32_t b = CalculateBorder();
  return Shrunk(TRect{0, 0, width(), height()}, b, b, b, b);
}

TRect TKxDeCustomControl::GetClientRect() const {
  return Shrunk(GetInnerRect(), 0, 0, NonClientRight(), NonClientBottom());
}

bool TKxDeCustomControl::InClientArea(int32_t X, int32_t Y) const { return GetClientRect().Contains(TPoint{X, Y}); }

void TKxDeCustomControl::UpdateNonClient() {
  if (InControlUpdate()) {
    FPendingRepaint = true;
    return;
  }
  update();
  const TRect r = GetClientRect();
  if (r == FLastClientRect) return;
  FLastClientRect = r;
  ClientResized();
}

void TKxDeCustomControl::BorderChanged() { UpdateNonClient(); }

void TKxDeCustomControl::EndControlUpdate() {
  if (FControlUpdate == 0 || --FControlUpdate > 0) return;
  if (FPendingRepaint) {
    FPendingRepaint = false;
    UpdateNonClient();
  }
}

// ---- Painting -----------------------------------------------------------------------------------

void TKxDeCustomControl::Paint(TCanvas* C) {
  const TRect r = GetClientRect();
  C->Painter()->fillRect(r.Left, r.Top, r.Width(), r.Height(), ToQColor(FColor == clNone ? clGray : FColor));
}

void TKxDeCustomControl::PaintNonClient(TCanvas* C) { BorderProps()->Paint(C, TRect{0, 0, width(), height()}); }

void TKxDeCustomControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TCanvas canvas(&painter);
  const TRect r = GetClientRect();
  if (!r.IsEmpty()) {
    canvas.SetClipRect(r);
    Paint(&canvas);
    canvas.ResetClip();
  }
  PaintNonClient(&canvas);
}

void TKxDeCustomControl::resizeEvent(QResizeEvent*) {
  FLastClientRect = GetClientRect();
  ClientResized();
}

// ---- Input --------------------------------------------------------------------------------------

TShiftState TKxDeCustomControl::ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
  TShiftState s;
  if (Modifiers & Qt::ShiftModifier) s.Include(TShiftStateItem::ssShift);
  if (Modifiers & Qt::AltModifier) s.Include(TShiftStateItem::ssAlt);
  if (Modifiers & Qt::ControlModifier) s.Include(TShiftStateItem::ssCtrl);
  if (Buttons & Qt::LeftButton) s.Include(TShiftStateItem::ssLeft);
  if (Buttons & Qt::RightButton) s.Include(TShiftStateItem::ssRight);
  if (Buttons & Qt::MiddleButton) s.Include(TShiftStateItem::ssMiddle);
  return s;
}

void TKxDeCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  CallEvent(OnMouseDown, this, Button, Shift, X, Y);
}
void TKxDeCustomControl::MouseMove(TShiftState Shift, int32_t X, int32_t Y) { CallEvent(OnMouseMove, this, Shift, X, Y); }
void TKxDeCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  CallEvent(OnMouseUp, this, Button, Shift, X, Y);
}
void TKxDeCustomControl::DblClick() { CallEvent(OnDblClick, this); }
void TKxDeCustomControl::KeyDown(int32_t& Key, TShiftState Shift) { CallEvent(OnKeyDown, this, Key, Shift); }

void TKxDeCustomControl::mousePressEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  if (!InClientArea(p.x(), p.y())) return;
  MouseDown(MouseButtonOf(Event->button()), ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
}

void TKxDeCustomControl::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  MouseMove(ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
}

void TKxDeCustomControl::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  MouseUp(MouseButtonOf(Event->button()), ShiftStateOf(Event->modifiers(), Event->buttons()), p.x(), p.y());
}

void TKxDeCustomControl::mouseDoubleClickEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  if (InClientArea(p.x(), p.y())) DblClick();
}

void TKxDeCustomControl::keyPressEvent(QKeyEvent* Event) {
  int32_t key = Event->key();
  KeyDown(key, ShiftStateOf(Event->modifiers()));
  // A handler that took the key clears it.
  if (key == 0) Event->accept();
  else QWidget::keyPressEvent(Event);
}

// ---- Published state as text --------------------------------------------------------------------

QString TKxDeCustomControl::SaveToText() const {
  return WriteComponentText(this, &QWidget::staticMetaObject, ClassName());
}

void TKxDeCustomControl::SaveToStream(QIODevice* Stream) const {
  const QByteArray bytes = SaveToText().toUtf8();
  if (!Stream || Stream->write(bytes) != bytes.size())
    throw Exception(QStringLiteral("The settings of %1 could not be written").arg(ClassName()));
}

void TKxDeCustomControl::SaveToFile(const QString& FileName) const {
  QSaveFile file(FileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
    throw Exception(QStringLiteral("Cannot write \"%1\": %2").arg(FileName, file.errorString()));
  SaveToStream(&file);
  if (!file.commit()) throw Exception(QStringLiteral("Cannot write \"%1\": %2").arg(FileName, file.errorString()));
}

void TKxDeCustomControl::LoadFromText(const QString& Text) {
  const TComponentTextReader reader(this, &QWidget::staticMetaObject, Text);
  {
    FLoading = true;
    BeginControlUpdate();
    TFinally done([this] {
      FLoading = false;
      EndControlUpdate();
    });
    reader.Apply();
  }
  Loaded();
}

void TKxDeCustomControl::LoadFromStream(QIODevice* Stream) {
  if (!Stream) throw Exception(QStringLiteral("No stream to read settings from"));
  LoadFromText(QString::fromUtf8(Stream->readAll()));
}

void TKxDeCustomControl::LoadFromFile(const QString& FileName) {
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    throw Exception(QStringLiteral("Cannot read \"%1\": %2").arg(FileName, file.errorString()));
  LoadFromStream(&file);
}

// ---- TKxDeCustomSizableControl ------------------------------------------------------------------

const TClass* TKxDeCustomSizableControl::ClassType() const { return ClassOf<TKxDeCustomSizableControl>(); }

TKxDeCustomSizableControl::TKxDeCustomSizableControl(QWidget* Parent) : TKxDeCustomControl(Parent) {}

void TKxDeCustomSizableControl::SetShowStatusBar(bool Value) {
  if (FShowStatusBar == Value) return;
  FShowStatusBar = Value;
  UpdateNonClient();
}

void TKxDeCustomSizableControl::SetStatusText(const QString& Value) {
  if (FStatusText == Value) return;
  FStatusText = Value;
  if (FShowStatusBar) update();
}

void TKxDeCustomSizableControl::SetSizeGrip(bool Value) {
  if (FSizeGrip == Value) return;
  FSizeGrip = Value;
  update();
}

int32_t TKxDeCustomSizableControl::StatusBarHeight() const { return FShowStatusBar ? fontMetrics().height() + 6 : 0; }

int32_t TKxDeCustomSizableControl::NonClientBottom() const { return StatusBarHeight(); }

TRect TKxDeCustomSizableControl::GetStatusBarRect() const {
  if (!FShowStatusBar) return TRect{};
  const TRect inner = GetInnerRect();
  return TRect{inner.Left, std::max(inner.Top, inner.Bottom - StatusBarHeight()), inner.Right, inner.Bottom};
}

TRect TKxDeCustomSizableControl::GetSizeGripRect() const {
  // The grip sits at the right end of the status bar.
  const TRect bar = GetStatusBarRect();
  if (!FSizeGrip || bar.IsEmpty()) return TRect{};
  const int32_t side = std::min(bar.Height(), bar.Width());
  return TRect{bar.Right - side, bar.Bottom - side, bar.Right, bar.Bottom};
}

void TKxDeCustomSizableControl::PaintNonClient(TCanvas* C) {
  TKxDeCustomControl::PaintNonClient(C);
  QPainter* p = C->Painter();
  const TRect bar = GetStatusBarRect();
  if (!bar.IsEmpty()) {
    p->fillRect(bar.Left, bar.Top, bar.Width(), bar.Height(), ToQColor(clBtnFace));
    p->fillRect(bar.Left, bar.Top, bar.Width(), 1, ToQColor(clBtnShadow));
    p->setPen(ToQColor(clBtnText));
    p->drawText(QRect(bar.Left + 4, bar.Top + 1, bar.Width() - 8, bar.Height() - 1), Qt::AlignVCenter | Qt::AlignLeft,
                FStatusText);
  }
  const TRect grip = GetSizeGripRect();
  if (!grip.IsEmpty()) {
    // Three diagonal ridges in the corner.
    const QColor dark = ToQColor(clBtnShadow);
    const QColor light = ToQColor(clBtnHighlight);
    for (int32_t d = 3; d < grip.Width(); d += 4) {
      p->setPen(dark);
      p->drawLine(grip.Right - d, grip.Bottom - 1, grip.Right - 1, grip.Bottom - d);
      p->setPen(light);
      p->drawLine(grip.Right - d - 1, grip.Bottom - 1, grip.Right - 1, grip.Bottom - d - 1);
    }
  }
}

void TKxDeCustomSizableControl::mousePressEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  const TRect grip = GetSizeGripRect();
  if (Event->button() == Qt::LeftButton && grip.Contains(TPoint{p.x(), p.y()})) {
    FGripDrag = true;
    FGripStart = Event->globalPosition().toPoint();
    FGripStartSize = size();
    return;
  }
  TKxDeCustomControl::mousePressEvent(Event);
}

void TKxDeCustomSizableControl::mouseMoveEvent(QMouseEvent* Event) {
  if (FGripDrag) {
    const QPoint d = Event->globalPosition().toPoint() - FGripStart;
    resize(std::max(FGripStartSize.width() + d.x(), minimumWidth()),
           std::max(FGripStartSize.height() + d.y(), minimumHeight()));
    return;
  }
  TKxDeCustomControl::mouseMoveEvent(Event);
}

void TKxDeCustomSizableControl::mouseReleaseEvent(QMouseEvent* Event) {
  if (FGripDrag) {
    FGripDrag = false;
    return;
  }
  TKxDeCustomControl::mouseReleaseEvent(Event);
}

}  // namespace vorn
