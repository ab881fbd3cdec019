#pragma once
// The border of a control (its BorderProps): an outer and an inner border look, a padding of
// Width pixels between them in Color, and the colours of the flat looks. The border takes room
// from the widget on every side; what remains holds the bars and the client area.

#include "vorn/common/Color.h"
#include "vorn/common/Consts.h"
#include "vorn/common/Object.h"

#include <cstdint>

namespace vorn {

class TCanvas;
class TKxDeCustomControl;
struct TRect;

// The border of a control as published properties: the outer and inner looks, their colours and the
// width; a change lays the control out again.
class TKxDeControlBorderProps : public TPersistent {
  VORN_OBJECT(TKxDeControlBorderProps, TPersistent)
  Q_PROPERTY(vorn::KxDEConsts::TKxDeBorder Border READ Border WRITE SetBorder)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(bool ExDraw READ ExDraw WRITE SetExDraw)
  Q_PROPERTY(int FlatColor READ FlatColor WRITE SetFlatColor)
  Q_PROPERTY(int FlatInnerColor READ FlatInnerColor WRITE SetFlatInnerColor)
  Q_PROPERTY(vorn::KxDEConsts::TKxDeBorder InnerBorder READ InnerBorder WRITE SetInnerBorder)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)

 public:
  using TConstructor = TKxDeControlBorderProps* (*)(TKxDeCustomControl*);
  template <class T>
  static TKxDeControlBorderProps* NewInstance(TKxDeCustomControl* AOwner) {
    return Create<T>(AOwner);
  }

  explicit TKxDeControlBorderProps(TKxDeCustomControl* AOwner) : FOwner(AOwner) {}

  TKxDeCustomControl* Owner() const { return FOwner; }
  // Looks beyond kxdcbFlatBold are not control borders and are stored as kxdcbFlatBold.
  TKxDeControlBorder Border() const { return FBorder; }
  void SetBorder(TKxDeControlBorder Value);
  TKxDeControlBorder InnerBorder() const { return FInnerBorder; }
  void SetInnerBorder(TKxDeControlBorder Value);
  // The padding between the two borders.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // Draws the border over the widget's whole rectangle even while the control paints itself
  // transparently; kept for hosts, the flat look always draws it.
  bool ExDraw() const { return FExDraw; }
  void SetExDraw(bool Value);
  TColor FlatColor() const { return FFlatColor; }
  void SetFlatColor(TColor Value);
  TColor FlatInnerColor() const { return FFlatInnerColor; }
  void SetFlatInnerColor(TColor Value);
  // Padding in pixels between the outer and the inner border; negative values count as 0.
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t Value);

  // Pixels taken on each side: outer border, padding, inner border.
  int32_t Thickness() const;
  // Pixels one look takes on each side.
  static int32_t LookThickness(TKxDeBorder Look);
  // Draws the border inside R (the widget's rectangle).
  void Paint(TCanvas* C, const TRect& R) const;

  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeControlBorderProps() override = default;
  // Tells the owner, which lays out its client area again and repaints.
  virtual void Changed();

  template <class T>
  void Set(T& Field, T Value);

  TKxDeCustomControl* FOwner;
  TKxDeControlBorder FBorder = TKxDeBorder::kxdcbNone;
  TKxDeControlBorder FInnerBorder = TKxDeBorder::kxdcbNone;
  TColor FColor = clBtnFace;
  bool FExDraw = false;
  TColor FFlatColor = clBtnShadow;
  TColor FFlatInnerColor = clBtnShadow;
  int32_t FWidth = 0;
};

using TKxDeControlBorderPropsClass = const TClass*;

// The surface's border: lowered 3D, with the window colour as padding.
class TKxDeBorderProps : public TKxDeControlBorderProps {
  VORN_OBJECT(TKxDeBorderProps, TKxDeControlBorderProps)

 public:
  explicit TKxDeBorderProps(TKxDeCustomControl* AOwner);

 protected:
  ~TKxDeBorderProps() override = default;
};

}  // namespace vorn
