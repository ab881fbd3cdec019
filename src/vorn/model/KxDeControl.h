#pragma once
// TKxDeControl: a free control handle of a shape (an adjustment handle of a host shape, for
// instance), at an absolute world position. Its moves are announced through the owning shape
// like a vertex move: the shape's is-changing check, kxacSizing actions, Changing and Changed.

#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"

#include <cstdint>

namespace vorn {

class TKxDeShapeBase;

class TKxDeControl : public TPersistent {
  VORN_OBJECT(TKxDeControl, TPersistent)
  Q_PROPERTY(float x READ x WRITE Setx)
  Q_PROPERTY(float y READ y WRITE Sety)
  Q_CLASSINFO("Category.x", "Position")
  Q_CLASSINFO("Category.y", "Position")

 public:
  // AOwner (when given) receives the control right after construction; until then it is only
  // remembered in the owner field, which AfterConstruction clears before the insertion.
  explicit TKxDeControl(TKxDeShapeBase* AOwner = nullptr) : FOwner(AOwner) {}
  void AfterConstruction() override;
  // Leaves the shape while the control is still whole.
  void BeforeDestruction() override;

  float x() const { return Fx; }
  float y() const { return Fy; }
  void Setx(float Value) { SetPosition(Value, Fy); }
  void Sety(float Value) { SetPosition(Fx, Value); }
  void SetPosition(float Ax, float Ay);
  TPointF Point() const { return GetValue(); }
  TPointF GetValue() const { return TPointF{Fx, Fy}; }
  void SetValue(const TPointF& P) { SetPosition(P.X, P.Y); }
  // Copies the coordinates of another control and reports the change (no actions).
  void Assign(const TPersistent* Source) override;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool InUpdate() const { return FUpdateCount > 0; }
  bool InDestroy() const { return FDestroying; }
  int32_t Index() const { return GetIndex(); }
  int32_t GetIndex() const;
  TKxDeShapeBase* GetOwner() const { return FOwner; }

 protected:
  ~TKxDeControl() override = default;
  void Changing();
  void Changed();

 private:
  friend class TKxDeShapeBase;

  bool Announces() const { return FOwner && !FDestroying; }

  float Fx = 0;
  float Fy = 0;
  bool FDestroying = false;
  TKxDeShapeBase* FOwner = nullptr;
  uint32_t FUpdateCount = 0;
  uint32_t FChangeCount = 0;
  // Wired by the owning shape to its ControlIsChanging.
  TKxDePositionEvent FOnChanging;
};

}  // namespace vorn
