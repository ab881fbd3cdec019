#include "vorn/inspector/mek_MFEdit.h"

#include "vorn/common/FormatFloat.h"
#include "vorn/common/PackageSettings.h"
#include "PropertyTree_p.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

// The "…" and "×" glyphs of the edit buttons, drawn in the text colour.
QIcon GlyphIcon(const QString& Glyph, const QWidget* W) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(W->palette().color(QPalette::Text));
  QFont f = W->font();
  f.setBold(true);
  p.setFont(f);
  p.drawText(pm.rect(), Qt::AlignCenter, Glyph);
  return QIcon(pm);
}

}  // namespace

Tmek_MFEdit::Tmek_MFEdit(QWidget* Parent) : QLineEdit(Parent) { setFrame(false); }

void Tmek_MFEdit::SetEditText(const QString& Text) {
  setText(Text);
  setModified(false);
}

// ---- Number edit ------------------------------------------------------------------------------------

Tmek_MFNumEdit::Tmek_MFNumEdit(QWidget* Parent) : QAbstractSpinBox(Parent) {
  setFrame(false);
  setKeyboardTracking(false);
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] { FModified = true; });
}

QString Tmek_MFNumEdit::EditText() const { return lineEdit()->text(); }

void Tmek_MFNumEdit::SetEditText(const QString& Text) {
  lineEdit()->setText(Text);
  FModified = false;
}

bool Tmek_MFNumEdit::Number(double& Value) const {
  QString t = EditText().trimmed();
  const QChar sep = kxdPackageSettings().kxdSysDecimalSeparator;
  if (sep != QLatin1Char('.')) t.replace(sep, QLatin1Char('.'));
  bool ok = false;
  if (FIntegral) {
    Value = static_cast<double>(t.toLongLong(&ok));
    if (!ok) {
      const qulonglong u = t.toULongLong(&ok);
      Value = static_cast<double>(u);
    }
  } else {
    Value = t.toDouble(&ok);
  }
  return ok && std::isfinite(Value);
}

bool Tmek_MFNumEdit::InRange(double& Value) const { return Number(Value) && Value >= FMin && Value <= FMax; }

QValidator::State Tmek_MFNumEdit::validate(QString&, int&) const {
  // The text is judged when it is committed, so that a wrong entry can be reported.
  return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled Tmek_MFNumEdit::stepEnabled() const {
  double v = 0;
  if (!Number(v)) return StepUpEnabled | StepDownEnabled;
  StepEnabled e = StepNone;
  if (v < FMax) e |= StepUpEnabled;
  if (v > FMin) e |= StepDownEnabled;
  return e;
}

void Tmek_MFNumEdit::stepBy(int Steps) {
  double v = 0;
  if (!Number(v)) v = 0;
  v = std::clamp(v + Steps * FIncrement, FMin, FMax);
  const QString text = FIntegral || FDecimals <= 0
                           ? QString::number(static_cast<qlonglong>(std::llround(v)))
                           : FormatFloat(QStringLiteral("0.") + QString(FDecimals, QLatin1Char('#')), v,
                                         kxdPackageSettings().kxdSysDecimalSeparator, QChar());
  lineEdit()->setText(text);
  FModified = true;
  if (std::abs(Steps) == 1 && OnUpDown) OnUpDown(v, Steps > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev);
  if (OnIncrement) OnIncrement(v);
}

// ---- Combo edit -------------------------------------------------------------------------------------

Tmek_MFComboEdit::Tmek_MFComboEdit(QWidget* Parent) : QComboBox(Parent) {
  setFrame(false);
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  connect(this, &QComboBox::activated, this, [this] {
    const bool fromList = FFromList;
    FFromList = false;
    if (fromList && OnPicked) OnPicked(this);
  });
}

void Tmek_MFComboEdit::showPopup() {
  FFromList = true;
  QComboBox::showPopup();
}

void Tmek_MFComboEdit::keyPressEvent(QKeyEvent* Event) {
  FFromList = false;
  QComboBox::keyPressEvent(Event);
}

void Tmek_MFComboEdit::SetEditText(const QString& Text) {
  const int i = findText(Text, Qt::MatchFixedString);
  if (i >= 0) setCurrentIndex(i);
  setEditText(Text);
}

void Tmek_MFComboEdit::SetModified(bool Value) { FInitialText = Value ? QString() : currentText(); }

void Tmek_MFComboEdit::SelectText() {
  if (QLineEdit* e = lineEdit()) e->selectAll();
}

int Tmek_MFComboEdit::MatchingItem() const { return findText(currentText(), Qt::MatchFixedString); }

// ---- Button edits -----------------------------------------------------------------------------------

Tmek_MFButtonEdit::Tmek_MFButtonEdit(QWidget* Parent) : QLineEdit(Parent) {
  setFrame(false);
  setReadOnly(true);
  FButton = addAction(GlyphIcon(QStringLiteral("\u2026"), this), QLineEdit::TrailingPosition);
  FButton->setToolTip(QStringLiteral("..."));
  connect(FButton, &QAction::triggered, this, &Tmek_MFButtonEdit::Click);
}

void Tmek_MFButtonEdit::Click() {
  if (OnButtonClick) OnButtonClick(this);
}

void Tmek_MFButtonEdit::keyPressEvent(QKeyEvent* Event) {
  const bool open = Event->key() == Qt::Key_F4 ||
                    (Event->key() == Qt::Key_Down && (Event->modifiers() & Qt::AltModifier)) ||
                    (Event->key() == Qt::Key_Space && Event->modifiers() == Qt::NoModifier);
  if (open) {
    Click();
    Event->accept();
    return;
  }
  QLineEdit::keyPressEvent(Event);
}

void Tmek_MFButtonEdit::mouseDoubleClickEvent(QMouseEvent* Event) {
  Click();
  Event->accept();
}

Tmek_MFPictureEdit::Tmek_MFPictureEdit(QWidget* Parent) : Tmek_MFButtonEdit(Parent) {
  FClear = addAction(GlyphIcon(QStringLiteral("\u00D7"), this), QLineEdit::TrailingPosition);
  connect(FClear, &QAction::triggered, this, [this] {
    if (OnClear) OnClear(this);
  });
}

}  // namespace vorn
