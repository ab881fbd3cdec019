#pragma once
// The base of the engine's window controls (surface, editor, viewer, layer manager).
//
// A control draws everything itself inside its widget rectangle: a border (BorderProps), in the
// scrolling controls two scroll bars, and in the sizable ones a status bar and a size grip. What is
// left is the client area (GetClientRect), in widget coordinates; everything a control paints
// or maps lives there. The mouse over the border and the bars is the control's own business; in
// the client area it reaches the virtual MouseDown, MouseMove, MouseUp and DblClick.
//
// A control's published properties (Q_PROPERTY, sub-objects included) can be saved as text and
// loaded back (SaveToFile, LoadFromFile), in the form
//
//   object Surface1: TKxDeSurface
//     Color = 8421504
//     BorderProps.Border = kxdcb3DLowered
//   end
//
// Objects a control makes through a virtual class getter (GetBorderPropsClass and, in the
// scrolling control, the bars) are made on first use, after construction, so that a subclass's
// getter decides.

#include "vorn/common/Color.h"
#include "vorn/common/Events.h"
#include "vorn/common/Graphics.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"
#include "vorn/controls/KxDeBorderProps.h"

#include <QString>
#include <QWidget>

#include <cstdint>

class QIODevice;

namespace vorn {

class TCanvas;
class TKxDePictureProps;

class TKxDeCustomControl : public QWidget, public TObject {
  Q_OBJECT
  Q_PROPERTY(vorn::TKxDeControlBorderProps* BorderProps READ BorderProps WRITE SetBorderProps)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int Indent READ Indent WRITE SetIndent)
  Q_PROPERTY(vorn::TKxDePictureProps* PictureProps READ PictureProps WRITE SetPictureProps)

 public:
  using inherited = TObject;
  const TClass* ClassType() const override;

  explicit TKxDeCustomControl(QWidget* Parent = nullptr);
  ~TKxDeCustomControl() override;

  // ---- Published state ------------------------------------------------------------------------
  TKxDeControlBorderProps* BorderProps() const;
  void SetBorderProps(const TKxDeControlBorderProps* Value);
  // The colour of the client area (clNone shows gray).
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // Room in pixels a control keeps around its content inside the client area.
  int32_t Indent() const { return FIndent; }
  void SetIndent(int32_t Value);
  // The control's background picture.
  TKxDePictureProps* PictureProps() const { return FPictureProps.get(); }
  void SetPictureProps(const TKxDePictureProps* Value);
  TNotifyEvent OnPictureChange;

  // ---- Geometry (widget coordinates) ---------------------------------------------------------
  // The widget's rectangle minus the border and the rest of the non-client area, never negative.
  virtual TRect GetClientRect() const;
  // The widget's rectangle minus the border.
  TRect GetInnerRect() const;
  // Border thickness on each side.
  int32_t CalculateBorder() const;
  // Lays the non-client area out again (border, bars, status bar) after one of its settings
  // changed; a moved client area reaches ClientResized.
  void UpdateNonClient();

  // ---- Update bracket and loading -------------------------------------------------------------
  // Repaints are held back inside the bracket and done once when the outermost one closes.
  void BeginControlUpdate() { ++FControlUpdate; }
  void EndControlUpdate();
  bool InControlUpdate() const { return FControlUpdate > 0; }
  // True while the published state is being read (LoadFromFile and friends).
  bool Loading() const { return FLoading; }

  // ---- Published state as text ---------------------------------------------------------------
  // Writes every published property, sub-objects by dotted path. Raises vorn::Exception when the
  // file cannot be written.
  void SaveToFile(const QString& FileName) const;
  void SaveToStream(QIODevice* Stream) const;
  QString SaveToText() const;
  // Reads what SaveToFile wrote. The whole text is checked before anything is set, so bad input
  // raises vorn::Exception naming the line and changes nothing. Loaded runs afterwards.
  void LoadFromFile(const QString& FileName);
  void LoadFromStream(QIODevice* Stream);
  void LoadFromText(const QString& Text);

  // ---- Mouse in the client area (client events of the widget) --------------------------------
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual void MouseMove(TShiftState Shift, int32_t X, int32_t Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual void DblClick();
  // Keys; Key is a Qt key code.
  virtual void KeyDown(int32_t& Key, TShiftState Shift);
  // Raised by the handlers above as they run here (a subclass's handler calls this base behaviour
  // after its own work); a key handler may set Key to 0 to consume it.
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnDblClick;
  TKeyEvent OnKeyDown;

  // The shift state of a Qt input event's modifiers and buttons.
  static TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons = Qt::NoButton);

 protected:
  // ---- Hooks -----------------------------------------------------------------------------------
  // The border class; a subclass may give its own.
  virtual TKxDeControlBorderPropsClass GetBorderPropsClass() const;
  // Called after the published state was read.
  virtual void Loaded();
  // The client area moved or changed size (the widget was resized, the border or a bar changed).
  virtual void ClientResized();
  virtual void ColorChanged();
  virtual void IndentChanged();
  // The background picture changed; raises OnPictureChange.
  virtual void PictureChanged();
  // Room the subclasses take from the inner rectangle, from the bottom and the right.
  virtual int32_t NonClientBottom() const { return 0; }
  virtual int32_t NonClientRight() const { return 0; }
  // Paints the client area (clipped to it); the default fills it with Color.
  virtual void Paint(TCanvas* C);
  // Paints the non-client area: the border here, bars and status bar in the subclasses.
  virtual void PaintNonClient(TCanvas* C);
  // True when a point of the widget lies in the client area.
  bool InClientArea(int32_t X, int32_t Y) const;

  // Qt events: painting, resizing and the mouse over the client area.
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

  TColor FColor = clWindow;
  int32_t FIndent = 0;
  int32_t FControlUpdate = 0;
  bool FLoading = false;

 private:
  friend class TKxDeControlBorderProps;

  void BorderChanged();

  mutable TOwned<TKxDeControlBorderProps> FBorderProps;
  TOwned<TKxDePictureProps> FPictureProps;
  TRect FLastClientRect;
  bool FPendingRepaint = false;
};

// A control with an optional status bar along its bottom edge; with SizeGrip the status bar ends
// in a grip that resizes the control when dragged.
class TKxDeCustomSizableControl : public TKxDeCustomControl {
  Q_OBJECT
  Q_PROPERTY(bool ShowStatusBar READ ShowStatusBar WRITE SetShowStatusBar)
  Q_PROPERTY(QString StatusText READ StatusText WRITE SetStatusText)
  Q_PROPERTY(bool SizeGrip READ SizeGrip WRITE SetSizeGrip)

 public:
  using inherited = TKxDeCustomControl;
  const TClass* ClassType() const override;
  explicit TKxDeCustomSizableControl(QWidget* Parent = nullptr);

  bool ShowStatusBar() const { return FShowStatusBar; }
  void SetShowStatusBar(bool Value);
  QString StatusText() const { return FStatusText; }
  void SetStatusText(const QString& Value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);

  // The status bar's rectangle (empty when hidden) and the grip's (empty without grip).
  TRect GetStatusBarRect() const;
  virtual TRect GetSizeGripRect() const;

 protected:
  int32_t NonClientBottom() const override;
  void PaintNonClient(TCanvas* C) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  int32_t StatusBarHeight() const;

  bool FShowStatusBar = false;
  QString FStatusText;
  bool FSizeGrip = false;
  // A grip drag in progress: the global pointer and the size where it started.
  bool FGripDrag = false;
  QPoint FGripStart;
  QSize FGripStartSize;
};

}  // namespace vorn
