#pragma once
// The property objects a surface owns and publishes: Layer (the page all layers share: its size
// in world units, its background and checkerboard), Frame (outline and drop shadow around the
// page) and Grid. Each tells the surface of its effective changes, so that it refreshes once and
// tells its clients; settings that do not show at the moment (the checkerboard while the page is
// not checked, a shadow colour without offset) change quietly.

#include "vorn/common/Color.h"
#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Object.h"

#include <cstdint>

namespace vorn {

class TKxDeSurface;
class TKxDeLayerProperties;

// The checkerboard behind a page shown as transparent: cells of Width x Height world units.
class TKxDeCheckersProperties : public TPersistent {
  VORN_OBJECT(TKxDeCheckersProperties, TPersistent)
  Q_PROPERTY(int ColorEven READ ColorEven WRITE SetColorEven)
  Q_PROPERTY(int ColorOdd READ ColorOdd WRITE SetColorOdd)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)

 public:
  explicit TKxDeCheckersProperties(TKxDeLayerProperties* AOwner) : FOwner(AOwner) {}

  TColor ColorEven() const { return FColorEven; }
  void SetColorEven(TColor Value);
  TColor ColorOdd() const { return FColorOdd; }
  void SetColorOdd(TColor Value);
  // Cell sizes below 2 are stored as 2.
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t Value);
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Value);

  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeCheckersProperties() override = default;

 private:
  friend class TKxDeLayerProperties;  // assigns the board quietly
  template <class T>
  void Set(T& Field, T Value);
  void Changed();

  TKxDeLayerProperties* FOwner;
  TColor FColorEven = 0xFFFFFF;
  TColor FColorOdd = 0xC0C0C0;
  int32_t FWidth = 20;
  int32_t FHeight = 20;
};

// The page: every layer of a surface has this size and lies at the same place on screen.
class TKxDeLayerProperties : public TPersistent {
  VORN_OBJECT(TKxDeLayerProperties, TPersistent)
  Q_PROPERTY(vorn::TKxDeCheckersProperties* Checkers READ Checkers WRITE SetCheckers)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(vorn::KxDrawingCommons::TKxDeLayerTransparency Transparency READ Transparency WRITE SetTransparency)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)

 public:
  explicit TKxDeLayerProperties(TKxDeSurface* AOwner);

  TKxDeSurface* Owner() const { return FOwner; }
  // The page colour; clNone shows the control's colour.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // The page size in world units; negative values are stored as 0.
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t Value);
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Value);
  // Both sizes with one notification.
  void SetBounds(int32_t AWidth, int32_t AHeight);
  TKxDeCheckersProperties* Checkers() const { return FCheckers.get(); }
  void SetCheckers(const TKxDeCheckersProperties* Value);
  TKxDeLayerTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TKxDeLayerTransparency Value);

  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeLayerProperties() override = default;

 private:
  friend class TKxDeCheckersProperties;
  void Changed();
  void CheckersChanged();

  TKxDeSurface* FOwner;
  TColor FColor = 0xFFFFFF;
  int32_t FWidth = 400;
  int32_t FHeight = 400;
  TOwned<TKxDeCheckersProperties> FCheckers;
  TKxDeLayerTransparency FTransparency = TKxDeLayerTransparency::kxltNone;
};

// The outline and drop shadow drawn around the page.
class TKxDeFrameProperties : public TPersistent {
  VORN_OBJECT(TKxDeFrameProperties, TPersistent)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int ShadowColor READ ShadowColor WRITE SetShadowColor)
  Q_PROPERTY(int ShadowOffset READ ShadowOffset WRITE SetShadowOffset)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

 public:
  explicit TKxDeFrameProperties(TKxDeSurface* AOwner) : FOwner(AOwner) {}

  // The outline colour; clNone draws no outline.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // clNone draws no shadow.
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  // Shadow width and shift in pixels; negative values are stored as 0.
  int32_t ShadowOffset() const { return FShadowOffset; }
  void SetShadowOffset(int32_t Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeFrameProperties() override = default;

 private:
  void Changed();

  TKxDeSurface* FOwner;
  TColor FColor = clNone;
  TColor FShadowColor = 0;
  int32_t FShadowOffset = 3;
  bool FVisible = true;
};

// The grid over the page; its spacing is in millimetres and follows the zoom.
class TKxDeGridProperties : public TPersistent {
  VORN_OBJECT(TKxDeGridProperties, TPersistent)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int GroupColor READ GroupColor WRITE SetGroupColor)
  Q_PROPERTY(quint16 GroupCount READ GroupCount WRITE SetGroupCount)
  Q_PROPERTY(vorn::KxDrawingCommons::TKxDeGridType GridType READ GridType WRITE SetGridType)
  Q_PROPERTY(float X READ X WRITE SetX)
  Q_PROPERTY(float Y READ Y WRITE SetY)

 public:
  explicit TKxDeGridProperties(TKxDeSurface* AOwner) : FOwner(AOwner) {}

  TKxDeGridType GridType() const { return FGridType; }
  void SetGridType(TKxDeGridType Value);
  // Spacing in millimetres; values below 1 are stored as 1.
  float X() const { return FX; }
  void SetX(float Value);
  float Y() const { return FY; }
  void SetY(float Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // The colour of every GroupCount-th line; clNone turns grouping off.
  TColor GroupColor() const { return FGroupColor; }
  void SetGroupColor(TColor Value);
  // Lines per group; 0 is stored as 1.
  uint16_t GroupCount() const { return FGroupCount; }
  void SetGroupCount(uint16_t Value);

  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDeGridProperties() override = default;

 private:
  void Changed();

  TKxDeSurface* FOwner;
  TKxDeGridType FGridType = TKxDeGridType::kxgtLine;
  float FX = 10.0f;
  float FY = 10.0f;
  TColor FColor = 0xA6E4FF;
  TColor FGroupColor = 0x3CC5FF;
  uint16_t FGroupCount = 5;
};

}  // namespace vorn
