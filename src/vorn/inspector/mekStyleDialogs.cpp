#include "vorn/inspector/mekStyleDialogs.h"

#include "vorn/common/KxDePicture.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/common/PictureRegisteredFormats.h"
#include "vorn/model/KxDeShapeBrush.h"
#include "vorn/model/KxDeShapeFont.h"
#include "vorn/model/KxDeShapePen.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFormLayout>
#include <QMetaEnum>
#include <QPainter>

namespace vorn {

namespace {

template <class E>
QComboBox* EnumCombo(QWidget* Parent, const char* Name) {
  auto* combo = new QComboBox(Parent);
  combo->setObjectName(QLatin1String(Name));
  const QMetaEnum meta = QMetaEnum::fromType<E>();
  for (int i = 0; i < meta.keyCount(); ++i) combo->addItem(QLatin1String(meta.key(i)), meta.value(i));
  return combo;
}

template <class E>
E ComboValue(const QComboBox* Combo) {
  return static_cast<E>(Combo->currentData().toInt());
}

void SelectValue(QComboBox* Combo, int Value) { Combo->setCurrentIndex(std::max(0, Combo->findData(Value))); }

QDialogButtonBox* OkCancel(QDialog* Dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, Dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, Dialog, &QDialog::reject);
  return buttons;
}

TFontStyles StylesOf(const QFont& F) {
  TFontStyles s;
  if (F.bold()) s += TFontStyle::fsBold;
  if (F.italic()) s += TFontStyle::fsItalic;
  if (F.underline()) s += TFontStyle::fsUnderline;
  if (F.strikeOut()) s += TFontStyle::fsStrikeOut;
  return s;
}

}  // namespace

// ---- Colour button ----------------------------------------------------------------------------------

TmekColorButton::TmekColorButton(QWidget* Parent) : QToolButton(Parent) {
  setIconSize(QSize(40, 14));
  SetColor(clBlack);
  connect(this, &QToolButton::clicked, this, [this] {
    TColor c = FColor;
    if (mekExecuteColorDialog(this, c)) SetColor(c);
  });
}

void TmekColorButton::SetColor(TColor Value) {
  FColor = Value;
  QPixmap pm(iconSize());
  pm.fill(Value == clNone ? QColor(Qt::white) : ToQColor(Value));
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
  if (Value == clNone) p.drawLine(pm.rect().topLeft(), pm.rect().bottomRight());
  setIcon(QIcon(pm));
}

// ---- Pen and brush dialogs --------------------------------------------------------------------------

TmekPenDialog::TmekPenDialog(QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(tr("Pen"));
  auto* form = new QFormLayout(this);
  FColor = new TmekColorButton(this);
  FColor->setObjectName(QStringLiteral("Color"));
  FStyle = EnumCombo<TPenStyle>(this, "Style");
  FMode = EnumCombo<TPenMode>(this, "Mode");
  FWidth = new QDoubleSpinBox(this);
  FWidth->setObjectName(QStringLiteral("Width"));
  FWidth->setRange(0, 100);
  FWidth->setDecimals(2);
  FWidth->setSingleStep(0.05);
  FWidth->setSuffix(QStringLiteral(" mm"));
  form->addRow(tr("Colour"), FColor);
  form->addRow(tr("Style"), FStyle);
  form->addRow(tr("Width"), FWidth);
  form->addRow(tr("Mode"), FMode);
  form->addRow(OkCancel(this));
}

TKxDePenRec TmekPenDialog::Rec() const {
  return {FColor->Color(), ComboValue<TPenMode>(FMode), ComboValue<TPenStyle>(FStyle),
          static_cast<float>(FWidth->value())};
}

void TmekPenDialog::SetRec(const TKxDePenRec& Rec) {
  FColor->SetColor(Rec.Color);
  SelectValue(FStyle, static_cast<int>(Rec.Style));
  SelectValue(FMode, static_cast<int>(Rec.Mode));
  FWidth->setValue(Rec.Width);
}

TmekBrushDialog::TmekBrushDialog(QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(tr("Brush"));
  auto* form = new QFormLayout(this);
  FColor = new TmekColorButton(this);
  FColor->setObjectName(QStringLiteral("Color"));
  FStyle = EnumCombo<TBrushStyle>(this, "Style");
  form->addRow(tr("Colour"), FColor);
  form->addRow(tr("Style"), FStyle);
  form->addRow(OkCancel(this));
}

TKxDeBrushRec TmekBrushDialog::Rec() const { return {FColor->Color(), ComboValue<TBrushStyle>(FStyle)}; }

void TmekBrushDialog::SetRec(const TKxDeBrushRec& Rec) {
  FColor->SetColor(Rec.Color);
  SelectValue(FStyle, static_cast<int>(Rec.Style));
}

// ---- Entry points -----------------------------------------------------------------------------------

bool mekExecuteColorDialog(QWidget* Parent, TColor& Color) {
  QColorDialog dialog(Color == clNone ? QColor(Qt::white) : ToQColor(Color), Parent);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  const TColor picked = FromQColor(dialog.selectedColor());
  if (picked == Color) return false;
  Color = picked;
  return true;
}

bool mekExecuteFontDialog(QWidget* Parent, QFont& Font) {
  QFontDialog dialog(Font, Parent);
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFont() == Font) return false;
  Font = dialog.selectedFont();
  return true;
}

namespace {

// Shows the style's values in its dialog and assigns what was accepted in one change.
template <class D, class S>
bool EditStyle(QWidget* Parent, S* Style) {
  D dialog(Parent);
  dialog.SetRec(Style->ToRec());
  if (dialog.exec() != QDialog::Accepted || dialog.Rec() == Style->ToRec()) return false;
  Style->AssignRec(dialog.Rec());
  return true;
}

}  // namespace

bool mekEditPen(QWidget* Parent, TKxDeShapePen* Pen) { return EditStyle<TmekPenDialog>(Parent, Pen); }

bool mekEditBrush(QWidget* Parent, TKxDeShapeBrush* Brush) { return EditStyle<TmekBrushDialog>(Parent, Brush); }

bool mekEditFont(QWidget* Parent, TKxDeShapeFont* Font) {
  QFont f = Font->ToQFont();
  if (!mekExecuteFontDialog(Parent, f)) return false;
  TKxDeShapeFontRec rec = Font->ToRec();
  rec.Name = f.family();
  rec.Size = f.pointSize();
  rec.Style = StylesOf(f);
  if (rec == Font->ToRec()) return false;
  Font->AssignRec(rec);
  return true;
}

bool mekEditFont(QWidget* Parent, TmekFont* Font) {
  TKxDeShapeFont* shapeFont = Font->Font();
  QFont f = shapeFont->ToQFont();
  if (!mekExecuteFontDialog(Parent, f)) return false;
  TKxDeShapeFontRec rec = shapeFont->ToRec();
  rec.Name = f.family();
  rec.Style = StylesOf(f);
  if (!(rec == shapeFont->ToRec())) shapeFont->AssignRec(rec);
  // The point size is the view's height in millimetres.
  if (f.pointSize() != shapeFont->Size()) Font->SetHeight(TKxDeUtils::FontPointsToMM(f.pointSize()));
  return true;
}

bool mekEditPicture(QWidget* Parent, TKxDePicture* Picture) {
  QFileDialog dialog(Parent, QObject::tr("Open picture"), QFileInfo(Picture->PicturePath()).path());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(PictureFileDialogFilter());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  Picture->LoadFromFile(dialog.selectedFiles().first());
  return true;
}

}  // namespace vorn
