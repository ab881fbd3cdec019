#pragma once
// TKxDeCustomScrollControl: a sizable control with two custom scroll bars along the right and the
// bottom of its inner rectangle. The bars are drawn by the control; the client area excludes them.
//
// A subclass reads and writes a bar's state as one record (GetScrollbarInfo, SetScrollbarInfo),
// hears of position changes through DoScrollerPositionChanged (there it moves its view), and may
// change or refuse a position in CanScrollToPos.
//
// The mouse over a bar: a hot part follows the pointer; pressing a button or the track scrolls
// once and repeats after the keyboard's repeat delay at the keyboard's repeat rate while the
// button is held over the same part; pressing the thumb drags it, which sends thumb-track scroll
// messages while the bar's Track is on and one thumb-position message when it is let go.

#include "vorn/controls/KxDeCustomControl.h"
#include "vorn/controls/KxDeScrollbar.h"

#include <QBasicTimer>

#include <cstdint>

namespace vorn {

class TKxDeCustomScrollControl : public TKxDeCustomSizableControl {
  Q_OBJECT
  Q_PROPERTY(vorn::TKxDeControlScrollbars* Scrollbars READ Scrollbars WRITE SetScrollbars)

 public:
  using inherited = TKxDeCustomSizableControl;
  const TClass* ClassType() const override;

  explicit TKxDeCustomScrollControl(QWidget* Parent = nullptr);
  ~TKxDeCustomScrollControl() override;

  TKxDeControlScrollbars* Scrollbars() const;
  void SetScrollbars(const TKxDeControlScrollbars* Value);
  TKxDeCustomControlScrollbar* Scrollbar(TKxDeScrollbarKind Kind) const { return Scrollbars()->Bar(Kind); }

  // ---- The bars' state as records ------------------------------------------------------------
  void GetScrollbarInfo(TKxDeScrollbarKind Kind, TKxDeScrollInfo& Info) const;
  // Applies a record: nothing when it equals the bar's; otherwise the steps are clamped to
  // 1..32767 and every setting is applied inside one bar update (one repaint).
  void SetScrollbarInfo(TKxDeScrollbarKind Kind, const TKxDeScrollInfo& Info);

  // ---- Geometry (widget coordinates) ---------------------------------------------------------
  bool IsHorzScrollBarVisible() const;
  bool IsVertScrollBarVisible() const;
  TRect GetHorzScrollbarRect() const;
  TRect GetVertScrollbarRect() const;
  TRect GetScrollbarRect(TKxDeScrollbarKind Kind) const;
  // The square between two visible bars (empty otherwise).
  TRect GetScrollbarCornerRect() const;
  // Scrollbars.Height when it is 0 or more, else the system's bar thickness.
  int32_t GetHorzScrollbarHeight() const;
  int32_t GetVertScrollbarWidth() const;
  // The system's bar thickness, arrow button length and default thumb length.
  static int32_t SystemScrollbarExtent();
  static int32_t SystemArrowSize() { return SystemScrollbarExtent(); }
  static int32_t SystemThumbSize() { return SystemScrollbarExtent(); }

  // ---- Interaction state ---------------------------------------------------------------------
  void RedrawScrollbars();
  virtual void RedrawScrollbar(TKxDeScrollbarKind Kind);
  // Forgets the hot and pressed parts and stops auto-repeat and dragging.
  void ResetHittest();
  // While paused, held buttons do not repeat; resuming goes on where it stopped.
  void PauseScrollingBars();
  void ResumeScrollingBars();
  bool ScrollingPaused() const { return FPauseCount > 0; }
  // The part under the pointer and the part held down.
  const TKxDeScrollbarHittest& HotHittest() const { return FHotHit; }
  const TKxDeScrollbarHittest& DownHittest() const { return FDownHit; }
  bool ThumbDragging() const { return FThumbDrag; }
  // What lies under a point of the widget.
  void FillScrollbarHittest(int32_t X, int32_t Y, TKxDeScrollbarHittest& HT) const;

  // Auto-repeat: its timer while a part is held (0 otherwise) and the interval it runs at.
  int32_t AutoRepeatTimerId() const { return FRepeatTimer.timerId(); }
  int32_t AutoRepeatInterval() const { return FRepeatInterval; }
  // Milliseconds before a held part repeats: (keyboard delay setting + 1) x 200.
  static int32_t KeyboardRepeatDelay();
  // Milliseconds between repeats: 1000 / the keyboard's repeat rate, rounded; 30 when that is 0.
  static int32_t KeyboardRepeatInterval();
  // The keyboard delay setting (0 to 3, as the window system counts it); 1 unless set.
  static int32_t KeyboardDelaySetting();
  static void SetKeyboardDelaySetting(int32_t Value);

  TKxDeScrollEvent OnScroll;
  TKxDeScrollChangeEvent OnScrollChangeEvent;

 protected:
  friend class TKxDeCustomControlScrollbar;
  friend class TKxDeControlScrollbars;

  // ---- Hooks ---------------------------------------------------------------------------------
  virtual TKxDeCustomControlScrollbarClass GetScrollbarClass() const;
  virtual TKxDeControlCustomScrollbarsClass GetControlScrollbarsClass() const;
  // A bar asks whether it may go to Pos; the subclass may change Pos. True allows it.
  virtual bool CanScrollToPos(TKxDeScrollbarKind Kind, int32_t& Pos);
  // Before a bar moves: raises OnScroll, which may change the position or cancel the move.
  virtual void DoScrollerPositionChanging(TKxDeScrollbarKind Kind, int32_t CurPos, int32_t& NewPos, bool& CanScroll);
  // After a bar moved: raises OnScrollChangeEvent; subclasses move their view.
  virtual void DoScrollerPositionChanged(TKxDeScrollbarKind Kind);
  // A scroll message of a bar's direction, as the window receives it. Here line, page, top and
  // bottom go to the bar's ScrollMessage and the thumb codes set the bar's position to Pos.
  virtual void DoScrollMessage(TKxDeScrollbarKind Kind, int32_t Code, int32_t Pos);
  // A bar's look or layout changed.
  virtual void ScrollbarChanged(TKxDeCustomControlScrollbar* Bar, bool Layout);

  int32_t NonClientBottom() const override;
  int32_t NonClientRight() const override;
  void PaintNonClient(TCanvas* C) override;

  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  void timerEvent(QTimerEvent* Event) override;

  // The bar handling behind the mouse events; each answers whether the bars took the event.
  bool ScrollbarMouseDown(int32_t X, int32_t Y);
  bool ScrollbarMouseMove(int32_t X, int32_t Y, bool ButtonDown);
  bool ScrollbarMouseUp(int32_t X, int32_t Y);

 private:
  // The scroll message a held part sends (line or page, backwards or forwards); -1 for none.
  static int32_t RepeatCode(TKxDeScrollerHitPart Part);
  // Scrolls the held part once; False when it reached the end in its direction.
  bool ScrollHeldPart();
  void StartRepeat(int32_t Interval);
  void StopRepeat();
  void AutoRepeatTick();
  void SetHotHit(const TKxDeScrollbarHittest& HT);
  bool BothBarsVisible() const { return IsHorzScrollBarVisible() && IsVertScrollBarVisible(); }

  mutable TOwned<TKxDeControlScrollbars> FScrollbars;
  TKxDeScrollbarHittest FHotHit;
  TKxDeScrollbarHittest FDownHit;
  QBasicTimer FRepeatTimer;
  int32_t FRepeatInterval = 0;
  int32_t FPauseCount = 0;
  // The pointer's last position, for the repeat ticks.
  int32_t FPointerX = 0;
  int32_t FPointerY = 0;
  // A thumb drag: the pointer's distance from the thumb's start, and whether it moved.
  bool FThumbDrag = false;
  int32_t FGrabOffset = 0;
  bool FThumbMoved = false;
  int32_t FDragPosition = 0;
};

}  // namespace vorn
