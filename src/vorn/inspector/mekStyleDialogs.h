#pragma once
// The dialogs the property tree's button editors open: colours, fonts, pens, brushes and pictures.
// Each works on a copy and applies it to the style object in one change when accepted, so a
// dialog edit is announced as one change of the style.

#include "vorn/common/Color.h"
#include "vorn/model/KxDeStyleRecords.h"

#include <QDialog>
#include <QToolButton>

class QComboBox;
class QDoubleSpinBox;
class QFont;

namespace vorn {

class TKxDePicture;
class TKxDeShapeBrush;
class TKxDeShapeFont;
class TKxDeShapePen;
class TmekFont;

// A button that shows a colour and picks another with the colour dialog.
class TmekColorButton : public QToolButton {
  Q_OBJECT

 public:
  explicit TmekColorButton(QWidget* Parent = nullptr);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

 private:
  TColor FColor = clBlack;
};

// Edits a pen (colour, style, mode and width) in a dialog of the property tree.
class TmekPenDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TmekPenDialog(QWidget* Parent = nullptr);
  TKxDePenRec Rec() const;
  void SetRec(const TKxDePenRec& Rec);

 private:
  TmekColorButton* FColor;
  QComboBox* FStyle;
  QComboBox* FMode;
  QDoubleSpinBox* FWidth;
};

// Edits a brush (colour and pattern) in a dialog of the property tree.
class TmekBrushDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TmekBrushDialog(QWidget* Parent = nullptr);
  TKxDeBrushRec Rec() const;
  void SetRec(const TKxDeBrushRec& Rec);

 private:
  TmekColorButton* FColor;
  QComboBox* FStyle;
};

// Each opens its dialog (modal) and answers whether the value changed.
bool mekExecuteColorDialog(QWidget* Parent, TColor& Color);
bool mekExecuteFontDialog(QWidget* Parent, QFont& Font);
bool mekEditPen(QWidget* Parent, TKxDeShapePen* Pen);
bool mekEditBrush(QWidget* Parent, TKxDeShapeBrush* Brush);
bool mekEditFont(QWidget* Parent, TKxDeShapeFont* Font);
bool mekEditFont(QWidget* Parent, TmekFont* Font);
// Loads a picture file chosen in the file dialog; a file that cannot be read raises and leaves
// the picture as it was.
bool mekEditPicture(QWidget* Parent, TKxDePicture* Picture);

}  // namespace vorn
