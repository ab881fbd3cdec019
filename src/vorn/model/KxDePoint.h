#pragma once
// A shape's vertices (TKxDePoint) and the two curve handles a vertex may carry
// (TKxDePointControl, offsets from the vertex). Every coordinate change is routed into the owning
// shape's change protocol, so that moving one vertex is announced, recorded for undo and
// repainted like any other shape change. A handle announces no action of its own: its change
// reaches the shape as a change of its vertex.

#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"

#include <cstdint>
#include <memory>

namespace vorn {

class TKxDePoint;
class TKxDeShapeBase;

using TKxDePointControlClass = const TClass*;

// A curve handle of a vertex, stored relative to its vertex.
class TKxDePointControl : public TPersistent {
  VORN_OBJECT(TKxDePointControl, TPersistent)
  Q_PROPERTY(float x READ x WRITE Setx)
  Q_PROPERTY(float y READ y WRITE Sety)
  Q_PROPERTY(vorn::TPointF Point READ GetValue WRITE SetValue)
  Q_CLASSINFO("Category.x", "Position")
  Q_CLASSINFO("Category.y", "Position")
  Q_CLASSINFO("Category.Point", "Position")

 public:
  // Virtual construction by class reference (a point creates handles of its control class).
  using TConstructor = TKxDePointControl* (*)();
  template <class T>
  static TKxDePointControl* NewInstance() { return Create<T>(); }

  TKxDePointControl() = default;
  // Leaves the owning point.
  void BeforeDestruction() override;

  float x() const { return Fx; }
  float y() const { return Fy; }
  void Setx(float Value) { SetPosition(Value, Fy); }
  void Sety(float Value) { SetPosition(Fx, Value); }
  // Moves the handle (offsets from its point); the point announces the change.
  void SetPosition(float Ax, float Ay);
  TPointF GetValue() const { return TPointF{Fx, Fy}; }
  void SetValue(const TPointF& P) { SetPosition(P.X, P.Y); }
  // Copies the offsets of another handle.
  void Assign(const TPersistent* Source) override;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool InUpdate() const { return FUpdateCount > 0; }
  bool InDestroy() const { return FDestroying; }
  TKxDePoint* GetOwner() const { return FOwner; }

 protected:
  ~TKxDePointControl() override = default;
  void Changing();
  void Changed();

 private:
  friend class TKxDePoint;

  float Fx = 0;
  float Fy = 0;
  bool FDestroying = false;
  TKxDePoint* FOwner = nullptr;
  uint32_t FUpdateCount = 0;
  uint32_t FChangeCount = 0;
};

class TKxDePoint : public TPersistent {
  VORN_OBJECT(TKxDePoint, TPersistent)
  Q_PROPERTY(float x READ x WRITE Setx)
  Q_PROPERTY(float y READ y WRITE Sety)
  Q_PROPERTY(float dx READ dx WRITE Setdx)
  Q_PROPERTY(float dy READ dy WRITE Setdy)
  Q_PROPERTY(vorn::TPointF Point READ GetValue WRITE SetValue)
  Q_PROPERTY(vorn::TKxDePointControl* Control_1 READ Control_1 WRITE SetControl_1)
  Q_PROPERTY(vorn::TKxDePointControl* Control_2 READ Control_2 WRITE SetControl_2)
  Q_CLASSINFO("Category.x", "Position")
  Q_CLASSINFO("Category.y", "Position")
  Q_CLASSINFO("Category.Point", "Position")
  Q_CLASSINFO("Category.dx", "Advanced")
  Q_CLASSINFO("Category.dy", "Advanced")
  Q_CLASSINFO("Category.Control_1", "Handles")
  Q_CLASSINFO("Category.Control_2", "Handles")

 public:
  // AOwner (when given) receives the point right after construction; until then it is only
  // remembered in the owner field, which AfterConstruction clears before the insertion.
  explicit TKxDePoint(TKxDeShapeBase* AOwner = nullptr) : FOwner(AOwner) {}
  void AfterConstruction() override;
  // Frees the handles and leaves the shape while the point is still whole.
  void BeforeDestruction() override;

  float x() const { return Fx; }
  float y() const { return Fy; }
  void Setx(float Value) { SetPosition(Value, Fy); }
  void Sety(float Value) { SetPosition(Fx, Value); }
  // Moves the point with the full protocol: the shape's is-changing check, actions, changes.
  void SetPosition(float Ax, float Ay);
  // Stores the coordinates and reports the change, without actions and without the check.
  void SetPosition2(float Ax, float Ay);
  TPointF GetValue() const { return TPointF{Fx, Fy}; }
  void SetValue(const TPointF& P) { SetPosition(P.X, P.Y); }
  // Free values kept and stored for the host; nothing here reads them.
  float dx() const { return Fdx; }
  void Setdx(float Value) { Fdx = Value; }
  float dy() const { return Fdy; }
  void Setdy(float Value) { Fdy = Value; }
  // Copies the coordinates of another point and reports the change (no actions).
  void Assign(const TPersistent* Source) override;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool InUpdate() const { return FUpdateCount > 0; }
  bool InDestroy() const { return FDestroying; }
  int32_t Index() const { return GetIndex(); }
  int32_t GetIndex() const;
  TKxDeShapeBase* GetOwner() const { return FOwner; }

  // ---- Handles --------------------------------------------------------------------------------
  TKxDePointControl* Control_1() const { return FHandles ? FHandles->First : nullptr; }
  TKxDePointControl* Control_2() const { return FHandles ? FHandles->Second : nullptr; }
  // Attaches C as the first handle (taking it from another point), announced as kxacSizing.
  void SetControl_1(TKxDePointControl* C);
  // Attaches C as the second handle; not announced as an action.
  void SetControl_2(TKxDePointControl* C);
  // Detaches a handle of this point without freeing it.
  void RemoveControl(TKxDePointControl* C);
  void ClearControls();
  // A new, unattached handle of the control class at the given offsets.
  TKxDePointControl* NewControl(float x, float y);
  virtual TKxDePointControlClass GetControlClass() const;
  virtual bool CanInsertControl(const TKxDePointControl* C) const;
  // 0 when P is on the first handle, 1 on the second, else -1.
  virtual int32_t ControlAt(const TPointF& P, float Fuzz) const;

  void DoControlAdded(TKxDePointControl* C);
  void DoControlRemoved(TKxDePointControl* C);
  void DoControlChanging(TKxDePointControl* C);
  void DoControlChanged(TKxDePointControl* C);

 protected:
  ~TKxDePoint() override = default;
  virtual void ControlAdded(TKxDePointControl* C);
  virtual void ControlRemoved(TKxDePointControl* C);
  virtual void ControlChanging(TKxDePointControl* C);
  virtual void ControlChanged(TKxDePointControl* C);
  // The shape hears of the change (skipped while destroying or without shape).
  void Changing();
  void Changed();

 private:
  friend class TKxDeShapeBase;

  // True when announcements reach the owning shape.
  bool Announces() const { return FOwner && !FDestroying; }
  void AttachControl(TKxDePointControl*& Slot, TKxDePointControl* C);

  // The curve handles, made with the first one: most vertices have none, and a shape has many
  // vertices.
  struct THandles {
    TKxDePointControl* First = nullptr;
    TKxDePointControl* Second = nullptr;
  };
  THandles& Handles();

  float Fx = 0;
  float Fy = 0;
  std::unique_ptr<THandles> FHandles;
  bool FDestroying = false;
  uint32_t FUpdateCount = 0;
  uint32_t FChangeCount = 0;
  float Fdx = 0;
  float Fdy = 0;
  TKxDeShapeBase* FOwner = nullptr;
};

}  // namespace vorn
