#pragma once
// The in-place edit controls of the object inspector: a line edit for text, a number edit with
// up/down buttons and an increment, a combo for named values, a button edit whose button opens a
// dialog, and a picture edit whose button picks a picture file. Each also offers Imek_MFEdit,
// the text and modified flag through which the inspector's editor links read them.

#include "vorn/inspector/PropertyTypes.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>

#include <functional>

namespace vorn {

// What the inspector's editor links read from any of these edits: the text and whether the user changed it.
class Imek_MFEdit {
 public:
  virtual QString EditText() const = 0;
  virtual void SetEditText(const QString& Text) = 0;
  // True once the user changed the text.
  virtual bool Modified() const = 0;
  virtual void SetModified(bool Value) = 0;
  // Selects the whole text of a text edit.
  virtual void SelectText() {}

 protected:
  ~Imek_MFEdit() = default;
};

class Tmek_MFEdit : public QLineEdit, public Imek_MFEdit {
  Q_OBJECT

 public:
  explicit Tmek_MFEdit(QWidget* Parent = nullptr);
  QString EditText() const override { return text(); }
  void SetEditText(const QString& Text) override;
  bool Modified() const override { return isModified(); }
  void SetModified(bool Value) override { setModified(Value); }
  void SelectText() override { selectAll(); }
};

// A number edit. Any text can be typed; Number tells whether it is a number within MinValue and
// MaxValue. The up/down buttons, the wheel and Page Up/Down step it by Increment (ten steps for
// the page keys), within the bounds.
class Tmek_MFNumEdit : public QAbstractSpinBox, public Imek_MFEdit {
  Q_OBJECT

 public:
  explicit Tmek_MFNumEdit(QWidget* Parent = nullptr);

  double MinValue() const { return FMin; }
  void SetMinValue(double Value) { FMin = Value; }
  double MaxValue() const { return FMax; }
  void SetMaxValue(double Value) { FMax = Value; }
  // An integral edit refuses fractions; Decimals are written when a fractional one steps.
  bool Integral() const { return FIntegral; }
  void SetIntegral(bool Value) { FIntegral = Value; }
  int Decimals() const { return FDecimals; }
  void SetDecimals(int Value) { FDecimals = Value; }
  double Increment() const { return FIncrement; }
  void SetIncrement(double Value) { FIncrement = Value; }
  // The number the text stands for; false when it is none (or, for an integer edit, a fraction).
  bool Number(double& Value) const;
  // The same, also false outside MinValue ... MaxValue.
  bool InRange(double& Value) const;

  QString EditText() const override;
  void SetEditText(const QString& Text) override;
  bool Modified() const override { return FModified; }
  void SetModified(bool Value) override { FModified = Value; }
  void SelectText() override { selectAll(); }

  void stepBy(int Steps) override;
  QValidator::State validate(QString& Input, int& Pos) const override;

  // A step by the buttons or the arrow keys (new value, direction); every step by the increment.
  std::function<void(double Value, TUDBtnType Button)> OnUpDown;
  std::function<void(double Value)> OnIncrement;

 protected:
  StepEnabled stepEnabled() const override;

 private:
  double FMin = -65535;
  double FMax = 65535;
  bool FIntegral = true;
  int FDecimals = 2;
  double FIncrement = 1;
  bool FModified = false;
};

// A combo of named values; text not in the list may be typed.
class Tmek_MFComboEdit : public QComboBox, public Imek_MFEdit {
  Q_OBJECT

 public:
  explicit Tmek_MFComboEdit(QWidget* Parent = nullptr);
  void showPopup() override;
  QString EditText() const override { return currentText(); }
  void SetEditText(const QString& Text) override;
  bool Modified() const override { return currentText() != FInitialText; }
  void SetModified(bool Value) override;
  void SelectText() override;
  // The index of the item the text names (compared without regard to case), or -1.
  int MatchingItem() const;

  // An item was picked from the list (not stepped to with the keys).
  std::function<void(Tmek_MFComboEdit* Sender)> OnPicked;

 protected:
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  QString FInitialText;
  bool FFromList = false;
};

// A read-only text with a button that opens an editor for the value.
class Tmek_MFButtonEdit : public QLineEdit, public Imek_MFEdit {
  Q_OBJECT

 public:
  explicit Tmek_MFButtonEdit(QWidget* Parent = nullptr);
  QString EditText() const override { return text(); }
  void SetEditText(const QString& Text) override { setText(Text); }
  bool Modified() const override { return false; }
  void SetModified(bool) override {}
  // Presses the button (also F4 and Alt+Down in the edit).
  void Click();
  QAction* Button() const { return FButton; }

  std::function<void(Tmek_MFButtonEdit* Sender)> OnButtonClick;

 protected:
  void keyPressEvent(QKeyEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;

 private:
  QAction* FButton;
};

// A button edit for pictures; a second button clears the picture.
class Tmek_MFPictureEdit : public Tmek_MFButtonEdit {
  Q_OBJECT

 public:
  explicit Tmek_MFPictureEdit(QWidget* Parent = nullptr);
  QAction* ClearButton() const { return FClear; }

  std::function<void(Tmek_MFPictureEdit* Sender)> OnClear;

 private:
  QAction* FClear;
};

}  // namespace vorn
