#pragma once
// The custom scroll bars of the control framework. A scrolling control (TKxDeCustomScrollControl)
// owns two of them, drawn by the control itself beside its client area.
//
// A bar is a model of numbers: a range Min..Max, a page, a position and two step sizes. With
// TrimPageSize the highest reachable position is Max - PageSize, so that a page of a document fits
// the last screen exactly. Every position goes through SetPosition, which clamps it, lets the bar
// and then the owner change or refuse it, and announces a real change to the owner, which moves
// its view (DoScrollerPositionChanged).
//
// Its geometry lays out, along the bar: the buttons (left or top, right or bottom, and an extra
// one), the track between them and the thumb inside the track, whose length shows the page and
// whose offset shows the position. All rectangles are in the owner's widget coordinates.

#include "vorn/common/Color.h"
#include "vorn/common/Consts.h"
#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"

#include <QBasicTimer>

#include <array>
#include <cstdint>

namespace vorn {

class TCanvas;
class TKxDeCustomScrollControl;
class TKxDeCustomControlScrollbar;

// Scroll message codes, as the window system numbers them.
inline constexpr int32_t SB_LINEUP = 0;
inline constexpr int32_t SB_LINELEFT = 0;
inline constexpr int32_t SB_LINEDOWN = 1;
inline constexpr int32_t SB_LINERIGHT = 1;
inline constexpr int32_t SB_PAGEUP = 2;
inline constexpr int32_t SB_PAGELEFT = 2;
inline constexpr int32_t SB_PAGEDOWN = 3;
inline constexpr int32_t SB_PAGERIGHT = 3;
inline constexpr int32_t SB_THUMBPOSITION = 4;
inline constexpr int32_t SB_THUMBTRACK = 5;
inline constexpr int32_t SB_TOP = 6;
inline constexpr int32_t SB_LEFT = 6;
inline constexpr int32_t SB_BOTTOM = 7;
inline constexpr int32_t SB_RIGHT = 7;
inline constexpr int32_t SB_ENDSCROLL = 8;

// A bar's whole state as one record: what a control reads (GetScrollbarInfo) and writes back
// (SetScrollbarInfo). Range is Max - Min when read.
struct TKxDeScrollInfo {
  int32_t Min = 0;
  int32_t Max = 0;
  int32_t Page = 0;
  int32_t Pos = 0;
  int32_t Range = 0;
  int32_t ButtonSize = 0;
  int32_t ThumbSize = 0;
  int32_t LargeChange = 0;
  int32_t SmallChange = 0;
  bool Visible = false;
  bool Enabled = false;
  bool Smooth = false;
  bool LeftButtonEnabled = false;
  bool LeftButtonVisible = false;
  bool RightButtonEnabled = false;
  bool RightButtonVisible = false;
  bool Tracking = false;
  bool ThumbEnabled = false;
  bool ThumbVisible = false;
  bool TrimPageSize = false;

  friend bool operator==(const TKxDeScrollInfo&, const TKxDeScrollInfo&) = default;
};

// What lies under a point of the control's bars.
struct TKxDeScrollbarHittest {
  TKxDeScrollbarHitKind Kind = TKxDeScrollbarHitKind::kxshkNone;
  TKxDeScrollerHitPart HitPart = TKxDeScrollerHitPart::kxspNone;
  bool Enabled = false;
  int32_t X = 0;
  int32_t Y = 0;

  friend bool operator==(const TKxDeScrollbarHittest&, const TKxDeScrollbarHittest&) = default;
};

// The colours of one part of a bar (track, icons, buttons, thumb). A part colour of clDefault
// takes the colour of the shared button colours.
class TKxDeScrollbarPart : public TPersistent {
  VORN_OBJECT(TKxDeScrollbarPart, TPersistent)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int DisabledColor READ DisabledColor WRITE SetDisabledColor)
  Q_PROPERTY(int DownColor READ DownColor WRITE SetDownColor)
  Q_PROPERTY(int HotColor READ HotColor WRITE SetHotColor)
  Q_PROPERTY(int Blend READ Blend WRITE SetBlend)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

 public:
  using TConstructor = TKxDeScrollbarPart* (*)(TKxDeCustomControlScrollbar*);
  template <class T>
  static TKxDeScrollbarPart* NewInstance(TKxDeCustomControlScrollbar* AOwner) {
    return Create<T>(AOwner);
  }

  explicit TKxDeScrollbarPart(TKxDeCustomControlScrollbar* AOwner) : FOwner(AOwner) {}

  TKxDeCustomControlScrollbar* Owner() const { return FOwner; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor DisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor Value);
  TColor DownColor() const { return FDownColor; }
  void SetDownColor(TColor Value);
  TColor HotColor() const { return FHotColor; }
  void SetHotColor(TColor Value);
  // Per cent (0 to 100) by which the part's colour fades into the track colour.
  int32_t Blend() const { return FBlend; }
  void SetBlend(int32_t Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  // The four colours at once, without a repaint per colour.
  void SetColors(TColor AColor, TColor ADisabled, TColor ADown, TColor AHot);
  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeScrollbarPart() override = default;
  // Tells the bar: a visibility change moves the layout, the others only repaint.
  virtual void Changed(bool Layout);

 private:
  template <class T>
  void Set(T& Field, T Value, bool Layout = false);

  TKxDeCustomControlScrollbar* FOwner;
  TColor FColor = clDefault;
  TColor FDisabledColor = clDefault;
  TColor FDownColor = clDefault;
  TColor FHotColor = clDefault;
  int32_t FBlend = 0;
  bool FEnabled = true;
  bool FVisible = true;
};

using TKxDeScrollbarPartClass = const TClass*;

// The look of a part at a moment.
enum class TKxDeScrollbarPartState : uint8_t { Normal, Hot, Down, Disabled };

// One custom scroll bar of a scrolling control: range, page, position, steps and the look of its parts.
class TKxDeCustomControlScrollbar : public TPersistent {
  VORN_OBJECT(TKxDeCustomControlScrollbar, TPersistent)

 public:
  using TConstructor = TKxDeCustomControlScrollbar* (*)(TKxDeCustomScrollControl*, TKxDeScrollbarKind);
  template <class T>
  static TKxDeCustomControlScrollbar* NewInstance(TKxDeCustomScrollControl* AOwner, TKxDeScrollbarKind AKind) {
    return Create<T>(AOwner, AKind);
  }

  TKxDeCustomControlScrollbar(TKxDeCustomScrollControl* AOwner, TKxDeScrollbarKind AKind);
  // Makes the parts through GetScrollbarPartClass, in the order of TKxDeScrollerPart.
  void AfterConstruction() override;

  TKxDeCustomScrollControl* Owner() const { return FOwner; }
  TKxDeScrollbarKind Kind() const { return FKind; }
  bool Horizontal() const { return FKind == TKxDeScrollbarKind::kxdskHorizontal; }

  // ---- Range and position --------------------------------------------------------------------
  int32_t Min() const { return FMin; }
  // Values above Max are lowered to Max; the position follows when it falls below.
  virtual void SetMin(int32_t Value);
  int32_t Max() const { return FMax; }
  // Values below Min are raised to Min; the position follows when it lies beyond the new maximum.
  virtual void SetMax(int32_t Value);
  // Min 0 and Max Range (a negative range counts as 0).
  virtual void SetRange(int32_t Range);
  int32_t PageSize() const { return FPageSize; }
  // Negative pages count as 0; the position follows when it lies beyond the new maximum.
  void SetPageSize(int32_t Value);
  // The stored position (see GetPosition for what a bar shows).
  int32_t Position() const { return GetPosition(); }
  virtual int32_t GetPosition() const { return FPosition; }
  // Clamps Value to Min..GetMaximumValue, asks CanScrollToPos and the owner, and stores and
  // announces a position that differs from the current one.
  virtual void SetPosition(int32_t Value);
  // The highest reachable position: Max, or with TrimPageSize and a page the larger of Min and
  // Max - PageSize.
  int32_t GetMaximumValue() const;
  // The reachable span, GetMaximumValue - Min, at least 0.
  virtual int32_t GetCalcRange() const;
  uint16_t LargeChange() const { return FLargeChange; }
  // Steps are kept within 1 to 32767.
  void SetLargeChange(int32_t Value);
  uint16_t SmallChange() const { return FSmallChange; }
  void SetSmallChange(int32_t Value);
  // The step of a page scroll: LargeChange.
  virtual int32_t GetPageUpDownSize() const { return FLargeChange; }

  // ---- Settings ------------------------------------------------------------------------------
  // Button length in pixels; -1 takes the system's arrow size.
  int32_t ButtonSize() const { return FButtonSize; }
  void SetButtonSize(int32_t Value);
  // Thumb length in pixels; -1 computes it from the page.
  int32_t ThumbSize() const { return FThumbSize; }
  void SetThumbSize(int32_t Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The owner follows the thumb while it is dragged; otherwise only when it is let go.
  bool Track() const { return FTrack; }
  void SetTrack(bool Value);
  bool TrimPageSize() const { return FTrimPageSize; }
  void SetTrimPageSize(bool Value);
  // Line and page scrolls are cut into small steps shown one after the other.
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  int32_t SmoothLineDivisions() const { return FSmoothLineDivisions; }
  void SetSmoothLineDivisions(int32_t Value) { FSmoothLineDivisions = Value < 1 ? 1 : Value; }
  int32_t SmoothPageDivisions() const { return FSmoothPageDivisions; }
  void SetSmoothPageDivisions(int32_t Value) { FSmoothPageDivisions = Value < 1 ? 1 : Value; }
  // Milliseconds between two steps of a smooth scroll.
  int32_t SmoothStepDelay() const { return FSmoothStepDelay; }
  void SetSmoothStepDelay(int32_t Value) { FSmoothStepDelay = Value < 0 ? 0 : Value; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  // Wheel delta that makes one step; -1 for none.
  int32_t Sensitivity() const { return GetSensitivity(); }
  void SetSensitivity(int32_t Value) { FSensitivity = Value; }
  // Draws a line along the middle of the track.
  bool SlideLine() const { return FSlideLine; }
  void SetSlideLine(bool Value);

  // ---- Parts ---------------------------------------------------------------------------------
  TKxDeScrollbarPart* Part(TKxDeScrollerPart Which) const { return FParts[static_cast<size_t>(Which)]; }
  TKxDeScrollbarPart* Background() const { return Part(TKxDeScrollerPart::kxdsbpBkground); }
  TKxDeScrollbarPart* Icons() const { return Part(TKxDeScrollerPart::kxdsbpIcon); }
  TKxDeScrollbarPart* ButtonColors() const { return Part(TKxDeScrollerPart::kxdsbpButtons); }
  TKxDeScrollbarPart* ExtraButton() const { return Part(TKxDeScrollerPart::kxdsbpExtraButton); }
  TKxDeScrollbarPart* LeftButton() const { return Part(TKxDeScrollerPart::kxdsbpLeftButton); }
  TKxDeScrollbarPart* RightButton() const { return Part(TKxDeScrollerPart::kxdsbpRightButton); }
  TKxDeScrollbarPart* Thumb() const { return Part(TKxDeScrollerPart::kxdsbpThumb); }
  // Published setters copy the given part's settings.
  void SetBackground(const TKxDeScrollbarPart* Value) { Background()->Assign(Value); }
  void SetButtonColors(const TKxDeScrollbarPart* Value) { ButtonColors()->Assign(Value); }
  void SetIcons(const TKxDeScrollbarPart* Value) { Icons()->Assign(Value); }
  void SetThumb(const TKxDeScrollbarPart* Value) { Thumb()->Assign(Value); }

  // ---- Update bracket ------------------------------------------------------------------------
  // Changes inside a bracket repaint the bar once, when the outermost bracket closes.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool InUpdate() const { return FUpdateCount > 0; }
  // Asks the owner to repaint the bar (collected inside an update bracket); Layout when the
  // bar's size or visibility changed, which moves the owner's client area.
  void Invalidate(bool Layout = false);

  // ---- Scrolling -----------------------------------------------------------------------------
  // Acts on a scroll message code: lines by SmallChange, pages by GetPageUpDownSize, top and
  // bottom; thumb codes are left to the owner. With Smooth, line and page scrolls run in steps.
  virtual void ScrollMessage(int32_t Code);
  // Lets the owner change or refuse a position; True allows it.
  virtual bool CanScrollToPos(int32_t& Pos);
  // A smooth scroll is running (its further steps come from the owner's timer).
  bool SmoothScrolling() const { return FSmoothStepsLeft > 0 || FSmoothRest != 0; }
  // Applies the next step of a running smooth scroll (the owner's timer calls it, with the id
  // SmoothTimerId while a smooth scroll runs).
  void SmoothStep();
  int32_t SmoothTimerId() const { return FSmoothTimer.timerId(); }
  // Applies every remaining step at once.
  void FinishSmoothScroll();

  // ---- Geometry (owner's widget coordinates) -------------------------------------------------
  // The whole bar; empty when the owner does not show it.
  TRect GetBarRect() const;
  // The length of every visible button (0 when none fits).
  int32_t GetButtonLength() const;
  virtual TRect GetExtraButtonRect() const;
  virtual TRect GetLeftButtonRect() const;
  virtual TRect GetRightButtonRect() const;
  // The part of the bar between the buttons.
  TRect GetTrackRect() const;
  // The thumb's length (0 when there is no thumb).
  int32_t GetThumbLength() const;
  // Where the thumb lies; empty when there is none.
  virtual TRect GetThumbRect() const;
  // The position whose thumb would start at the point: the track minus the thumb is cut into
  // as many equal bins as there are positions after Min. Points before the track give Min,
  // points after it the maximum value.
  int32_t GetPositionAtPos(int32_t X, int32_t Y) const;
  // Which part lies under a point (kxspNone outside the bar).
  TKxDeScrollerHitPart PartAt(int32_t X, int32_t Y) const;

  // ---- Painting ------------------------------------------------------------------------------
  virtual void Paint(TCanvas* C);
  // The colour of a part in the state the bar shows it in.
  virtual TColor GetBackColor() const;
  virtual TColor GetExtraBtnColor() const;
  virtual TColor GetExtraBtnIconColor() const;
  virtual TColor GetLeftBtnColor() const;
  virtual TColor GetLeftBtnIconColor() const;
  virtual TColor GetRightBtnColor() const;
  virtual TColor GetRightBtnIconColor() const;
  virtual TColor GetThumbColor() const;

  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeCustomControlScrollbar() override;

  // The class of the parts; a subclass may give its own.
  virtual TKxDeScrollbarPartClass GetScrollbarPartClass() const;
  virtual int32_t GetSensitivity() const { return FSensitivity; }
  // The bar's range changed; repaints.
  virtual void RangeChanged();
  // The position changed (or may have); repaints.
  virtual void PositionChanged();
  // The position moved from Old to New; the owner moves its view.
  virtual void PositionChanged(int32_t Old, int32_t New);

 private:
  friend class TKxDeCustomScrollControl;
  friend class TKxDeScrollbarPart;

  // The button order along the bar and where each one sits (empty when hidden).
  struct TLayout {
    int32_t Start = 0;  // first pixel along the bar
    int32_t End = 0;    // one past the last
    int32_t Button = 0;
    int32_t Extra[2] = {0, 0};
    int32_t Left[2] = {0, 0};
    int32_t Right[2] = {0, 0};
    int32_t Track[2] = {0, 0};
  };
  TLayout Layout() const;
  // After the range, the page or the trimming changed: pulls the position into the new reach
  // and announces the changes.
  void FitPosition();
  // A span along the bar as a rectangle across its whole thickness.
  TRect SpanRect(int32_t From, int32_t To) const;
  int32_t AlongOf(int32_t X, int32_t Y) const { return Horizontal() ? X : Y; }
  // The thumb's offset from the start of the track.
  int32_t ThumbOffset(int32_t TrackLength, int32_t ThumbLength) const;
  // State of a part for painting: hot, pressed or disabled as the owner reports.
  TKxDeScrollbarPartState StateOf(TKxDeScrollerHitPart HitPart, const TKxDeScrollbarPart* APart) const;
  TColor PartColor(const TKxDeScrollbarPart* APart, TKxDeScrollbarPartState State, bool Icon) const;
  // Moves by Delta positions, directly or in smooth steps.
  void ScrollBy(int32_t Delta, int32_t Divisions);

  TKxDeCustomScrollControl* FOwner;
  TKxDeScrollbarKind FKind;
  int32_t FMin = 0;
  int32_t FMax = 100;
  int32_t FPageSize = 0;
  int32_t FPosition = 0;
  uint16_t FLargeChange = 1;
  uint16_t FSmallChange = 1;
  int32_t FButtonSize = -1;
  int32_t FThumbSize = -1;
  bool FEnabled = true;
  bool FVisible = true;
  bool FTrack = true;
  bool FTrimPageSize = true;
  bool FSmooth = false;
  bool FSlideLine = false;
  int32_t FSmoothLineDivisions = 4;
  int32_t FSmoothPageDivisions = 12;
  int32_t FSmoothStepDelay = 10;
  int32_t FSensitivity = -1;
  TColor FBorderColor = clWindowFrame;
  std::array<TKxDeScrollbarPart*, 7> FParts{};

  int32_t FUpdateCount = 0;
  bool FPendingRepaint = false;
  bool FPendingLayout = false;
  // A smooth scroll in progress: the steps still to come, their size and the remainder.
  int32_t FSmoothStepsLeft = 0;
  int32_t FSmoothStepSize = 0;
  int32_t FSmoothRest = 0;
  QBasicTimer FSmoothTimer;
  // While the thumb is dragged without Track, it is drawn at this offset into the track.
  bool FDragging = false;
  int32_t FDragOffset = 0;
};

using TKxDeCustomControlScrollbarClass = const TClass*;

// The bar as a control publishes it.
class TKxDeControlScrollbar : public TKxDeCustomControlScrollbar {
  VORN_OBJECT(TKxDeControlScrollbar, TKxDeCustomControlScrollbar)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* Background READ Background WRITE SetBackground)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* ButtonColors READ ButtonColors WRITE SetButtonColors)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* Icons READ Icons WRITE SetIcons)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* Thumb READ Thumb WRITE SetThumb)
  Q_PROPERTY(int ButtonSize READ ButtonSize WRITE SetButtonSize)
  Q_PROPERTY(int ThumbSize READ ThumbSize WRITE SetThumbSize)
  Q_PROPERTY(bool Smooth READ Smooth WRITE SetSmooth)
  Q_PROPERTY(bool SlideLine READ SlideLine WRITE SetSlideLine)
  Q_PROPERTY(bool Track READ Track WRITE SetTrack)
  Q_PROPERTY(bool TrimPageSize READ TrimPageSize WRITE SetTrimPageSize)

 public:
  using TKxDeCustomControlScrollbar::TKxDeCustomControlScrollbar;

 protected:
  ~TKxDeControlScrollbar() override = default;
};

// The surface's bar: it does not follow the thumb while dragged (the document moves when the
// thumb is let go), one wheel notch (120) is one step, and a hidden bar reads position 0.
class TKxDeScrollbar : public TKxDeCustomControlScrollbar {
  VORN_OBJECT(TKxDeScrollbar, TKxDeCustomControlScrollbar)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* Background READ Background WRITE SetBackground)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* ButtonColors READ ButtonColors WRITE SetButtonColors)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* Icons READ Icons WRITE SetIcons)
  Q_PROPERTY(bool SlideLine READ SlideLine WRITE SetSlideLine)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* Thumb READ Thumb WRITE SetThumb)
  Q_PROPERTY(bool Track READ Track WRITE SetTrack)

 public:
  TKxDeScrollbar(TKxDeCustomScrollControl* AOwner, TKxDeScrollbarKind AKind);
  int32_t GetPosition() const override;

 protected:
  ~TKxDeScrollbar() override = default;
  // -1 while Track is on.
  int32_t GetSensitivity() const override;
};

// The layer manager's bar: the control's bar with the same published settings as the surface's.
class TKxDeListScrollbar : public TKxDeCustomControlScrollbar {
  VORN_OBJECT(TKxDeListScrollbar, TKxDeCustomControlScrollbar)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* Background READ Background WRITE SetBackground)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* ButtonColors READ ButtonColors WRITE SetButtonColors)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* Icons READ Icons WRITE SetIcons)
  Q_PROPERTY(bool SlideLine READ SlideLine WRITE SetSlideLine)
  Q_PROPERTY(vorn::TKxDeScrollbarPart* Thumb READ Thumb WRITE SetThumb)
  Q_PROPERTY(bool Track READ Track WRITE SetTrack)

 public:
  using TKxDeCustomControlScrollbar::TKxDeCustomControlScrollbar;

 protected:
  ~TKxDeListScrollbar() override = default;
};

// The pair of bars of a control and their shared settings (the control's Scrollbars property).
class TKxDeControlScrollbars : public TPersistent {
  VORN_OBJECT(TKxDeControlScrollbars, TPersistent)
  Q_PROPERTY(bool ExtraButton READ ExtraButton WRITE SetExtraButton)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(vorn::TKxDeCustomControlScrollbar* Horizontal READ Horizontal)
  Q_PROPERTY(vorn::TKxDeCustomControlScrollbar* Vertical READ Vertical)
  Q_PROPERTY(vorn::KxDEConsts::TKxDeScrollButtonLayout Layout READ Layout WRITE SetLayout)
  Q_PROPERTY(vorn::KxDEConsts::TKxDeScrollbarStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(vorn::KxDEConsts::TKxDeScrollThumbline ThumbLines READ ThumbLines WRITE SetThumbLines)

 public:
  using TConstructor = TKxDeControlScrollbars* (*)(TKxDeCustomScrollControl*);
  template <class T>
  static TKxDeControlScrollbars* NewInstance(TKxDeCustomScrollControl* AOwner) {
    return Create<T>(AOwner);
  }

  explicit TKxDeControlScrollbars(TKxDeCustomScrollControl* AOwner) : FOwner(AOwner) {}
  // Makes both bars with the owner's bar class.
  void AfterConstruction() override;

  TKxDeCustomScrollControl* Owner() const { return FOwner; }
  // Shows the extra button on both bars.
  bool ExtraButton() const { return FExtraButton; }
  void SetExtraButton(bool Value);
  // Thickness of the bars in pixels; -1 takes the system's.
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Value);
  TKxDeCustomControlScrollbar* Horizontal() const { return FHorizontal; }
  TKxDeCustomControlScrollbar* Vertical() const { return FVertical; }
  TKxDeCustomControlScrollbar* Bar(TKxDeScrollbarKind Kind) const {
    return Kind == TKxDeScrollbarKind::kxdskHorizontal ? FHorizontal : FVertical;
  }
  TKxDeScrollButtonLayout Layout() const { return FLayout; }
  void SetLayout(TKxDeScrollButtonLayout Value);
  // The look; every style is drawn in the one flat look of the palette.
  TKxDeScrollbarStyle Style() const { return FStyle; }
  void SetStyle(TKxDeScrollbarStyle Value);
  TKxDeScrollThumbline ThumbLines() const { return FThumbLines; }
  void SetThumbLines(TKxDeScrollThumbline Value);

  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeControlScrollbars() override;

 private:
  TKxDeCustomScrollControl* FOwner;
  bool FExtraButton = false;
  int32_t FHeight = -1;
  TKxDeCustomControlScrollbar* FHorizontal = nullptr;
  TKxDeCustomControlScrollbar* FVertical = nullptr;
  TKxDeScrollButtonLayout FLayout = TKxDeScrollButtonLayout::kxdsbDefault;
  TKxDeScrollbarStyle FStyle = TKxDeScrollbarStyle::kxssDefault;
  TKxDeScrollThumbline FThumbLines = TKxDeScrollThumbline::kxtlNone;
};

using TKxDeControlCustomScrollbarsClass = const TClass*;

// The surface's pair of bars.
class TKxDeScrollbars : public TKxDeControlScrollbars {
  VORN_OBJECT(TKxDeScrollbars, TKxDeControlScrollbars)

 public:
  using TKxDeControlScrollbars::TKxDeControlScrollbars;

 protected:
  ~TKxDeScrollbars() override = default;
};

}  // namespace vorn
