#pragma once
// TKxDeShapeBase: the base of every drawable object of a document (plain shapes, host shapes and
// the containers). A shape owns its vertices (TKxDePoint), its free control handles
// (TKxDeControl) and its action list; it knows its owner container and, through it, its layer and
// surface.
//
// It also owns its styles: a pen, a brush, a font and a picture holder, and, while
// kxssUsesGradient is in its styles, a gradient. Each style object reports its changes before and
// after; the shape turns them into actions and changes (the style handlers below). The brush and
// the gradient share the shape colour.
//
// Every modification is announced twice. As an action, for undo: StartAction, NotifyUndo, the
// modification, EndAction, each climbing the owner chain to the layer and from there to the
// surface unless a notify lock holds it back. And as a change, for repainting and observers:
// Changing before, Changed after; Changed climbs container by container to the surface (folded
// into one delivery while an update bracket is open) and always reaches the shape's notifiers.

#include "vorn/common/Consts.h"
#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Events.h"
#include "vorn/common/Graphics.h"
#include "vorn/common/HintInfo.h"
#include "vorn/common/KxDePicture.h"
#include "vorn/common/Object.h"
#include "vorn/common/Records.h"
#include "vorn/common/mekDeviceCapsInfo.h"
#include "vorn/model/KxDeActionList.h"
#include "vorn/model/KxDeShapeBrush.h"
#include "vorn/model/KxDeShapePen.h"

#include <QPen>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <memory>
#include <vector>

namespace vorn {

class TCanvas;
class TKxDeContainer;
class TKxDeControl;
class TKxDeLayer;
class TKxDePoint;
class TKxDeShapeFont;
class TKxDeShapeGradient;
class TKxDeShapeNotifier;
class TKxDeSurface;
struct TKxDeHitTest;
struct TKxDeSelectionData;
struct TKxDeDragPoint;

// What one shape's own hit test found at a point.
struct TKxDeShapeHit {
  TPointF Test;
  TKxDeShapePart Part = TKxDeShapePart::kxspNone;
  int32_t PartIndex = -1;
  int32_t SubIndex = -1;
};

using TKxDePointList = std::vector<TKxDePoint*>;

// A picture holder owned by a shape opens the shape's update bracket around each of its changes
// (IKxDePictureOwner), so that changing or loading the picture is one change of the shape.
class TKxDeShapeBase : public TPersistent, public IKxDePictureOwner {
  VORN_OBJECT(TKxDeShapeBase, TPersistent)
  Q_PROPERTY(bool Locked READ Locked WRITE SetLocked)
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_CLASSINFO("Category.Locked", "Behavior")
  Q_CLASSINFO("Category.Name", "Identity")

 public:
  // Virtual construction by class reference (the registry creates shapes by class name).
  using TConstructor = TKxDeShapeBase* (*)(TKxDeSurface*, TKxDeContainer*);
  template <class T>
  static TKxDeShapeBase* NewInstance(TKxDeSurface* ASurface, TKxDeContainer* AOwner) {
    return Create<T>(ASurface, AOwner);
  }

  // The identity, the default colour and styles, the surface; AOwner receives the shape in
  // AfterConstruction, once the whole object exists and its overrides answer.
  TKxDeShapeBase(TKxDeSurface* ASurface, TKxDeContainer* AOwner);
  void AfterConstruction() override;
  // Leaves the owner and tells the notifiers; the parts are freed afterwards.
  void BeforeDestruction() override;

  // ---- Identity -------------------------------------------------------------------------------
  uint32_t ID() const { return FID; }
  // Copies Source's identity when Source is a shape.
  virtual void AssignID(const TPersistent* Source);
  void StoreID() { FTempID = FID; }
  void RestoreID() { FID = FTempID; }
  // Copies the reference points and the user data of another shape.
  void Assign(const TPersistent* Source) override;
  // The identity, then Assign.
  void Assign2(const TPersistent* Source);
  virtual QString GetStdClipboardText() const;

  // ---- Plain properties -----------------------------------------------------------------------
  QString Text() const { return GetText(); }
  virtual QString GetText() const { return FText; }
  virtual void SetText(const QString& Value);
  QString Caption() const { return FExtras ? FExtras->Caption : QString(); }
  TColor Color() const { return FColor; }
  TObject* Data() const { return FData; }
  void SetData(TObject* Value) { FData = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Locked() const { return FLocked; }
  void SetLocked(bool Value);
  QString Name() const { return FName; }
  virtual void SetName(const QString& Value);
  QString UserData1() const { return FExtras ? FExtras->UserData1 : QString(); }
  void SetUserData1(const QString& Value);
  QString UserData2() const { return FExtras ? FExtras->UserData2 : QString(); }
  void SetUserData2(const QString& Value);
  int64_t Tag() const { return FTag; }
  void SetTag(int64_t Value) { FTag = Value; }
  bool Log() const { return FLog; }
  void SetLog(bool Value) { FLog = Value; }
  QString ErrText() const { return FExtras ? FExtras->ErrText : QString(); }
  TObject* ObjectsDB() const { return FExtras ? FExtras->ObjectsDB : nullptr; }
  void SetObjectsDB(TObject* Value);
  TKxDeShapePictureStyle PictureStyle() const { return FPictureStyle; }
  bool InDestroy() const { return FDestroying; }
  TKxDeShapeStyles ShapeStyle() const { return FShapeStyle; }
  void SetShapeStyle(TKxDeShapeStyles Value);
  TmekDataBehavior DataBehavior() const { return GetDataBehavior(); }
  virtual TmekDataBehavior GetDataBehavior() const { return TmekDataBehavior::mekdbNone; }
  virtual void SetDataBehavior(TmekDataBehavior Value);
  TKxDeActionList* ActionList() { return &FActionList; }
  const TKxDeActionList* ActionList() const { return &FActionList; }
  // Raised by subclasses and the host, not by the base.
  TSparseEvent<void(TKxDeShapeBase* Shape)> OnShapeDuringLoadFromXML;
  TSparseEvent<void(TKxDeShapeBase* Shape, const QString& LogMessage, int32_t ErrorNumber)> OnLoadError;

  // ---- Styles ---------------------------------------------------------------------------------
  // The pen, brush, font and picture holder always exist for their users; the font and the
  // picture holder are made on first use, which nobody can tell apart from making them with the
  // shape, and keep shapes that never show text or pictures small.
  TKxDeShapeBrush* Brush() const { return &FBrush; }
  TKxDeShapePen* Pen() const { return &FPen; }
  TKxDeShapeFont* Font() const;
  TKxDePicture* Picture() const;
  // The gradient exists exactly while kxssUsesGradient is in ShapeStyle (SetShapeStyle makes and
  // releases it); none otherwise.
  virtual TKxDeShapeGradient* GetGradient() const { return FGradient; }
  TKxDeShapeGradient* Gradient() const { return GetGradient(); }
  // The style records are handed to the style objects' AssignRec (the gradient only when the
  // shape has one).
  void SetBrushRec(const TKxDeBrushRec& Value);
  void SetPenRec(const TKxDePenRec& Value);
  void SetFontRec(const TKxDeShapeFontRec& Value);
  void SetGradientRec(const TKxDeShapeGradienthRec& Value);

  // Whether a style would show: the shape declares it uses the style and its values draw
  // something (no clNone colour, no clear style, a positive pen width).
  bool HasBrush() const;
  bool HasPen() const;
  bool HasGradient() const;
  // The shape uses pictures and has a picture (the placeholder counts), or has none.
  bool HasPicture() const;
  bool HasEmptyPicture() const;

  // ---- Device pens ----------------------------------------------------------------------------
  // Every shape pen is drawn with a geometric pen whose width in device pixels is
  // round(Pen.Width x CoordsPixelsPerMMConvertValue x Zoom), Zoom being the scale from world
  // units to device pixels.
  static int32_t DevicePenWidth(const TKxDeShapePen* Pen, double Zoom);
  // A solid pen with square ends for outlines (no dashes). A pen with a clNone colour or the
  // psClear style draws nothing.
  static QPen CreateExtendedPen2(const TKxDeShapePen* Pen, double Zoom);
  // The same pen made the canvas pen, as an inside-frame pen: the canvas's rectangles and
  // ellipses keep its whole width inside their rectangle.
  static void CreateExtendedPen2(TCanvas* C, const TKxDeShapePen* Pen, double Zoom);
  // A pen with the dash pattern of the pen style at Zoom and round ends when the line starts
  // with mekLshRounded, square ends otherwise (a device pen has one end shape; the shape draws
  // arrow heads itself).
  static QPen CreateExtendedPen(const TKxDeShapePen* Pen, double Zoom, TmekLineShape StartShape,
                                TmekLineShape EndShape);
  // The same pen made the canvas pen.
  static void CreateExtendedPen(TCanvas* C, const TKxDeShapePen* Pen, double Zoom, TmekLineShape StartShape,
                                TmekLineShape EndShape);
  // The dash and gap lengths of a pen style in device pixels at Zoom; a style without a table
  // leaves Pattern as it is.
  static void CreateZoomedPenStyle(TPenStyle Style, double Zoom, std::vector<uint32_t>& Pattern);

  // ---- Owner chain ----------------------------------------------------------------------------
  TKxDeContainer* Owner() const { return FOwner; }
  // The surface given to the shape, else its layer's surface.
  TKxDeSurface* Surface() const { return GetSurface(); }
  virtual TKxDeSurface* GetSurface() const;
  virtual void SetSurface(TKxDeSurface* Value);
  // The first layer up the owner chain, or none.
  TKxDeLayer* GetLayer() const;
  int32_t Index() const { return GetIndex(); }
  virtual int32_t GetIndex() const;
  // True when Shape is an ancestor of this shape (same surface, up the owner chain).
  bool IsParent(const TKxDeShapeBase* Shape) const;
  virtual TKxDeShapeBase* ShapeByID(uint32_t AID);

  // ---- Change protocol ------------------------------------------------------------------------
  // Actions: recorded in the action list (StartAction only) and forwarded to the owner unless a
  // notify lock holds them back.
  virtual void StartAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName);
  virtual void EndAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName);
  virtual void NotifyUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName);
  void BeginNotifyLock() { ++FNotifyLock; }
  void EndNotifyLock() {
    if (FNotifyLock > 0) --FNotifyLock;
  }
  int32_t NotifyLock() const { return FNotifyLock; }

  // Announces a coming change to the owner chain and the notifiers.
  void Changing();
  // Delivers a change (or counts it inside an update bracket); Force delivers it for an
  // invisible shape too. The notifiers hear of it in every case.
  void Changed(bool Force);
  void Refresh(bool Force) { Changed(Force); }
  void BeginUpdate();
  void EndUpdate();
  void ResetChanges() { FChangeCount = 0; }
  uint32_t UpdateCount() const { return FUpdateCount; }
  bool InUpdate() const { return FUpdateCount > 0; }
  bool NeedsUpdate() const { return FChangeCount > 0; }
  void BeginPointUpdate() { ++FPointUpdate; }
  void EndPointUpdate();
  bool InPointUpdate() const { return FPointUpdate > 0; }
  void BeginControlUpdate() { ++FControlUpdate; }
  void EndControlUpdate();
  bool InControlUpdate() const { return FControlUpdate > 0; }

  // Observers.
  void RegisterNotifier(TKxDeShapeNotifier* Notifier);
  void UnregisterNotifier(TKxDeShapeNotifier* Notifier);
  void NotifyChanging();
  void NotifyChange();
  void NotifyDestroy();
  int32_t NotifierCount() const { return FExtras ? static_cast<int32_t>(FExtras->NotifyList.size()) : 0; }

  // ---- Points ---------------------------------------------------------------------------------
  int32_t PointCount() const { return GetPointCount(); }
  virtual int32_t GetPointCount() const;
  TKxDePoint* Points(int32_t Index) const { return GetPoint(Index); }
  virtual TKxDePoint* GetPoint(int32_t Index) const;
  TPointF PointValue(int32_t Index) const { return GetPointValue(Index); }
  virtual TPointF GetPointValue(int32_t Index) const;
  virtual void SetPointValue(int32_t Index, const TPointF& P);
  int32_t IndexOf(const TKxDePoint* Point) const;
  bool Exists(const TKxDePoint* Point) const { return IndexOf(Point) >= 0; }
  bool CanInsertPoint(const TKxDePoint* Point) const;
  // Appends Point (taking it from another shape); announced as kxacSizing.
  virtual void InsertPoint(TKxDePoint* Point);
  // Detaches a point of this shape without freeing it; announced as kxacSizing.
  virtual void RemovePoint(TKxDePoint* Point);
  // Frees every point, the last first, as one announced change.
  virtual void ClearPoints();
  virtual TKxDePoint* Add(TKxDePoint* Point);
  virtual TKxDePoint* Add(float x, float y);
  virtual void Insert(int32_t Index, TKxDePoint* Point);
  // Inserts a point on the outline near P; none in the base.
  virtual TKxDePoint* ApproxInsert(const TPointF& P, float Fuzz);
  virtual void Delete(int32_t Index);
  virtual void Remove(TKxDePoint* Point);
  virtual TKxDePoint* Extract(TKxDePoint* Point);
  virtual void Clear();
  virtual TDPointArray GetPointArray() const;

  // Called by the points of this shape.
  void DoPointAdded(TKxDePoint* Point);
  void DoPointRemoved(TKxDePoint* Point);
  void DoPointChanging(TKxDePoint* Point);
  void DoPointChanged(TKxDePoint* Point);
  // A point of this shape is about to move to (x, y); the shape may change the target.
  void DoPointIsChanging(TKxDePoint* Point, float& x, float& y) { PointIsChanging(Point, x, y); }

  // ---- Point selection ------------------------------------------------------------------------
  void Select(TKxDePoint* Point);
  void AddSelection(TKxDePoint* Point);
  void AddSelections(TKxDePoint* const* Points, int32_t Count);
  void RemoveSelection(TKxDePoint* Point);
  void RemoveSelections(TKxDePoint* const* Points, int32_t Count);
  void ClearSelection();
  void SelectAll();
  void GetSelections(TKxDePointList& List) const;
  // Drops selected points that no longer belong to the shape.
  void UpdateSelection();
  bool IsSelected(const TKxDePoint* Point) const;
  bool IsSelected(int32_t Index) const;
  int32_t SelectionCount() const { return static_cast<int32_t>(SelectionList().size()); }
  TKxDePoint* Selections(int32_t Index) const;

  // ---- Free control handles -------------------------------------------------------------------
  int32_t ControlCount() const { return static_cast<int32_t>(ControlList().size()); }
  TKxDeControl* Controls(int32_t Index) const { return GetControl(Index); }
  TKxDeControl* GetControl(int32_t Index) const;
  int32_t IndexOfControl(const TKxDeControl* Control) const;
  bool ControlExists(const TKxDeControl* Control) const { return IndexOfControl(Control) >= 0; }
  virtual bool CanInsertControl(const TKxDeControl* Control) const;
  void InsertControl(TKxDeControl* Control);
  void RemoveControl(TKxDeControl* Control);
  void ClearControls();

  // Called by the controls of this shape.
  void DoControlAdded(TKxDeControl* Control);
  void DoControlRemoved(TKxDeControl* Control);
  void DoControlChanging(TKxDeControl* Control);
  void DoControlChanged(TKxDeControl* Control);

  // ---- Geometry (world units unless said otherwise) -------------------------------------------
  // The smallest rectangle holding every point; empty without points.
  virtual TRectF GetBounds() const;
  virtual TRectF GetDefaultBounds() const { return TRectF{}; }
  // The bounds turned by Rotation about the rotation point.
  virtual TRectF GetRotatedBounds() const;
  TPointF GravityCenter() const { return GetGravityCenter(); }
  virtual TPointF GetGravityCenter() const;
  TPointF RotationPoint() const { return GetRotationPoint(); }
  TPointF GetRotationPoint() const;
  // The bounds in millimetres.
  float Left() const { return GetLeft(); }
  float Top() const { return GetTop(); }
  float Right() const { return GetRight(); }
  float Bottom() const { return GetBottom(); }
  virtual float GetLeft() const;
  virtual float GetTop() const;
  virtual float GetRight() const;
  virtual float GetBottom() const;
  virtual void SetLeft(float Value);
  virtual void SetTop(float Value);
  virtual void SetRight(float Value);
  virtual void SetBottom(float Value);

  TPointF RefPoint() const { return FRefPoint; }
  void SetRefPoint(const TPointF& Value) { FRefPoint = Value; }
  TPointF RefPointPushed() const { return FRefPointPushed; }
  virtual void UpdateRefPoint();
  void PositionPush() { FRefPointPushed = FRefPoint; }
  void PositionPop();
  virtual void SetPositionAgainstRefPoint();

  virtual void ArrangeBoundsRect(TRectF& R);
  void SnapBounds(const TRectF& R);
  virtual void SnapBounds(float ALeft, float ATop, float AWidth, float AHeight);
  virtual void SetBounds(float ALeft, float ATop, float AWidth, float AHeight);
  virtual void MoveBy(float X, float Y);
  virtual void MoveByWithRef(float X, float Y);
  void MoveTo(float X, float Y);
  virtual void OffsetPosition(int32_t Index, const TPointF& Offset);
  virtual void Resize(float NewWidth, float NewHeight);
  void ResizeBy(float DifX, float DifY);
  // Moves the shape so that the reference position RefPos of its rotated bounds lands on (Ax, Ay).
  virtual void SetPosition(TKxDeShapeRefPos RefPos, float Ax, float Ay);
  // The same in millimetres, announced as one "Position" action.
  virtual void SetMMPosition(TKxDeShapeRefPos RefPos, float Ax, float Ay);
  virtual void RecalculateBounds(bool Force);
  // The zoom factor the shape will be shown at, for shapes that adapt their detail to it.
  virtual void Refine(float Value);
  virtual bool InRect(const TRectF& R) const;
  // Whether the shape may show in R: InRect, or its turned bounds meet R. Painting skips only
  // shapes for which this is false, so nothing that reaches into R is left out.
  bool MayShowIn(const TRectF& R) const;
  virtual bool IsOnLine(const TPointF& P) const;
  // The drawing area of the shape's layer (see TKxDeLayer::DrawRect); empty without a layer.
  virtual TRect DrawRect() const;

  // ---- Rotation -------------------------------------------------------------------------------
  float Rotation() const { return FRotation; }
  // Stores the angle in [0, 360) with two decimals.
  virtual void SetRotation(float Value);
  TKxDeRotationCenter RotationCenter() const { return FRotationCenter; }
  virtual void SetRotationCenter(TKxDeRotationCenter Value);
  virtual void RotateAroundPoint(int32_t RotateAngle, const TPointF& RotatePt, const TPointF& TranslationPt);

  // Painting transform. Only shapes painted turned carry one of their own; the others share the
  // identity.
  static const QTransform& InitWSpaceMtx();
  const QTransform& WSpaceMtx() const { return FWSpaceMtx ? *FWSpaceMtx : InitWSpaceMtx(); }
  void SetWSpaceMtx(const QTransform& Value);
  // Adds P to the translation of the painting transform.
  void Translate(const TPointF& P);
  // Post-multiplies the painting transform by M (M applies after it).
  void Combine(const QTransform& M);
  // Turns the painting transform by Angle degrees about RotationCenter (device units).
  void Rotate(const TPointF& RotationCenter, float Angle);
  // Turns the painting transform by Angle about the shape's rotation centre in device units;
  // only for shapes that can rotate. A Zoom of 0 means the surface's zoom factor.
  void Rotate(float Angle, float OffsetX, float OffsetY, double Zoom);
  // Reads the canvas transform, turns it as Rotate does and writes it back.
  void SetRotationMatrix(TCanvas* C, float OffsetX, float OffsetY, double Zoom, float Angle);

  // ---- Hit testing (world units) --------------------------------------------------------------
  virtual bool PointOnShape(const TPointF& P, float Fuzz, bool Editing) const;
  // The index of the point at P (exact on the rounded point, or within a square of side Fuzz).
  virtual int32_t PointAt(const TPointF& P, float Fuzz) const;
  virtual int32_t ControlAt(const TPointF& P, float Fuzz) const;
  virtual int32_t PointControlAt(const TPointF& P, float Fuzz, bool Selected, int32_t& SubIndex) const;
  virtual TKxDeShapeHit HitTest(const TPointF& P, float Fuzz, float PointSize, bool Selected, bool Editing,
                                TKxDeShiftKeys Shift) const;
  virtual TCursor GetCursor(const TKxDeHitTest& Hit) const;

  // ---- Painting -------------------------------------------------------------------------------
  virtual void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation, PmekDeviceCapsInfo DeviceCapsInfo);
  virtual void DrawSelection(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint,
                             const TKxDeSelectionData& Data, double Zoom);
  virtual void PaintIn(TCanvas* C, float X, float Y, double Zoom, const TRectF& R);
  virtual void DrawSelectionIn(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint,
                               const TKxDeSelectionData& Data, const TRectF& R, double Zoom);
  // A point handle: R framed in FrameColor (or FillColor when FrameColor is clNone) and filled
  // with FillColor (clear when it is clNone), with a one-pixel pen; nothing for an empty R or when
  // both colours are clNone.
  virtual void DrawPoint(TCanvas* Canvas, const TRect& R, TColor FrameColor, TColor FillColor);
  // Draws the shape's picture into the device rectangle R as PictureStyle says: centred, at the
  // top-left corner or tiled at its natural size (its pixels x Zoom / CoordsPixelsPerMMConvertValue),
  // or stretched over R, keeping the picture's ratio when the holder asks for it unless
  // IgnoreRatio is set. Disabled draws the toned-down form. R is in the shape's own frame: the
  // shape turns the picture with the painting transform of the canvas (SetRotationMatrix). Angle
  // is the turn the device is painted at: for a printer (DeviceCapsInfo with IsGDIPrinting) at 90
  // or 180 degrees a kept ratio is inverted, and at 0 a device's CorrectionFactorY divides the
  // stretched height.
  void DrawPicture(TCanvas* C, const TRect& R, double Zoom, PmekDeviceCapsInfo DeviceCapsInfo, bool Disabled,
                   int32_t Angle, bool IgnoreRatio = false);
  virtual void UpdateRegion();
  virtual void SetRegion(const QRegion& Region);
  virtual QRegion GetRegion() const { return QRegion(); }

  // ---- XML ------------------------------------------------------------------------------------
  // The shape element: identity, plain properties and the styles the shape uses, then its
  // geometry (SaveBoundsToXML). Reading is driven by the shape's current styles, as writing is;
  // KeepID leaves the identity alone (pasting gives shapes new identities).
  virtual void SaveToXML(TXmlNode Node) const;
  virtual void LoadFromXML(TXmlNode Node, bool KeepID);
  // The geometry: points with their handles, and the free controls (millimetres).
  virtual void SaveBoundsToXML(TXmlNode Node) const;
  virtual void LoadBoundsFromXML(TXmlNode Node);

  // ---- Class answers --------------------------------------------------------------------------
  virtual TKxShapeType GetShapeType() const { return TKxShapeType::kxtyRectangle; }
  virtual int32_t GetCreationClicks() const { return 0; }
  virtual void GetMekOfficeHint(const TPointF& P, TmekHintInfo& HintInfo);

 protected:
  // Parts are freed here; detaching and notification happened in BeforeDestruction.
  ~TKxDeShapeBase() override;

  virtual void SetCaption(const QString& Value);
  // For shapes that load external data and report what went wrong.
  void SetErrText(const QString& Value);
  // Stores the shape colour and hands it to the brush and the gradient; nothing is announced.
  void SetColor(TColor Value);
  // The style setters: each copies the given style into the shape's own (nothing for none).
  void SetBrush(const TKxDeShapeBrush* Value);
  void SetPen(const TKxDeShapePen* Value);
  void SetFont(const TKxDeShapeFont* Value);
  // Announced as a picture change, then assigned.
  void SetPicture(const TKxDePicture* Value);
  void SetPictureStyle(TKxDeShapePictureStyle Value);
  // Nothing without a gradient; else announced as a gradient change and assigned.
  void SetGradient(const TKxDeShapeGradient* Value);

  // The style handlers, wired to the style objects' events: each announces its actions, calls
  // its hook and passes the change on when the shape uses that style.
  void DoBrushChanging(TObject* Sender);
  void DoBrushChanged(TObject* Sender);
  void DoPenChanging(TObject* Sender);
  void DoPenChanged(TObject* Sender);
  void DoFontChanging(TObject* Sender);
  void DoFontChanged(TObject* Sender);
  void DoGradientChanging(TObject* Sender);
  void DoGradientChanged(TObject* Sender);
  void DoPictureChanging(TObject* Sender);
  void DoPictureChanged(TObject* Sender);
  void DoPictureStyleChanging(TObject* Sender);
  void DoPictureStyleChanged(TObject* Sender);

  // Hooks for subclasses; the base does nothing.
  virtual void PointAdded(TKxDePoint* Point);
  virtual void PointRemoved(TKxDePoint* Point);
  virtual void PointChanging(TKxDePoint* Point);
  virtual void PointChanged(TKxDePoint* Point);
  // A point is about to move to (x, y); the shape may change the target.
  virtual void PointIsChanging(TKxDePoint* Point, float& x, float& y);
  virtual void ControlAdded(TKxDeControl* Control);
  virtual void ControlRemoved(TKxDeControl* Control);
  virtual void ControlChanging(TKxDeControl* Control);
  virtual void ControlChanged(TKxDeControl* Control);
  virtual void ControlIsChanging(TKxDeControl* Control, float& x, float& y);
  // Style hooks: the shape's style objects report their changes through these.
  virtual void BrushChanging(TObject* Sender);
  virtual void FontChanging(TObject* Sender);
  virtual void PenChanging(TObject* Sender);
  virtual void PictureChanging(TObject* Sender);
  virtual void PictureStyleChanging(TObject* Sender);
  virtual void GradientChanging(TObject* Sender);
  virtual void BrushChanged(TObject* Sender);
  virtual void FontChanged(TObject* Sender);
  virtual void PenChanged(TObject* Sender);
  virtual void PictureChanged(TObject* Sender);
  virtual void PictureStyleChanged(TObject* Sender);
  virtual void GradientChanged(TObject* Sender);
  virtual void SelectionChanged();
  virtual void BeforeSetShapeStyle(TKxDeShapeStyles& Value);
  virtual void ShapeStyleChanged();
  virtual void DoChanging();
  virtual void DoChanged(bool Force);
  virtual void DoBeginUpdate();
  virtual void DoEndUpdate();
  virtual void DoBeforeMove(float X, float Y);

  // The fields subclasses and the containers read and write directly.
  TKxDeContainer* FOwner = nullptr;
  TKxDeSurface* FSurface = nullptr;
  uint32_t FUpdateCount = 0;
  uint32_t FChangeCount = 0;
  uint32_t FPointUpdate = 0;
  uint32_t FPointChange = 0;
  uint32_t FControlUpdate = 0;
  uint32_t FControlChange = 0;
  int32_t FNotifyLock = 0;
  bool FDestroying = false;
  bool FVisible = true;
  bool FLocked = false;
  bool FLog = false;
  bool FCrossedOut = false;
  // Draws pictures through an intermediate bitmap.
  bool FNoAntialiasing = false;
  TKxDeRotationCenter FRotationCenter = TKxDeRotationCenter::kxdroPtGravity;
  TKxDeShapePictureStyle FPictureStyle = TKxDeShapePictureStyle::kxdspStretch;
  TKxDeShapeStyles FShapeStyle;
  uint32_t FID = 0;
  uint32_t FTempID = 0;
  TColor FColor = clWhite;
  float FRotation = 0;
  TPointF FRefPoint;
  TPointF FRefPointPushed;
  QString FText;
  QString FName;
  TObject* FData = nullptr;
  int64_t FTag = 0;
  TKxDePointList FPoints;
  TKxDeActionList FActionList;
  // Made when the painting transform first differs from the identity.
  std::unique_ptr<QTransform> FWSpaceMtx;
  // Styles. Brush and pen live in the shape itself and report to it directly; font and picture
  // are made on first use.
  mutable TKxDeShapeBrush FBrush{this};
  mutable TKxDeShapePen FPen{this};
  mutable TKxDeShapeFont* FFont = nullptr;
  mutable TKxDePicture* FPicture = nullptr;
  TKxDeShapeGradient* FGradient = nullptr;

 private:
  // Containers link and unlink their children's owner field.
  friend class TKxDeContainer;
  // The brush and the gradient share the shape colour and set it directly when they load; the
  // brush and the pen call their handlers.
  friend class TKxDeShapeBrush;
  friend class TKxDeShapePen;
  friend class TKxDeShapeGradient;
  // The surface's spatial index notes here which of its entries holds the shape, a hint it checks
  // before use: a change of one of thousands of moved shapes then finds its entry without a lookup.
  friend class TKxDeLayerIndex;
  uint32_t FIndexHint = 0xFFFFFFFFu;
  // Walks over many shapes fetch their fields ahead of time.
  friend struct TShapePrefetch;

  // Values and lists most shapes never have, kept apart so that such shapes do not pay for them:
  // made on the first value set or entry added and kept from then on.
  struct TExtras {
    QString Caption;
    QString UserData1;
    QString UserData2;
    QString ErrText;
    TObject* ObjectsDB = nullptr;
    std::vector<TKxDeControl*> Controls;
    // The points selected for point editing (not owned).
    TKxDePointList SelectionList;
    // Its storage is released when it empties.
    std::vector<TKxDeShapeNotifier*> NotifyList;
  };
  TExtras& Extras();
  // The lists, empty for a shape without extras.
  const TKxDePointList& SelectionList() const;
  const std::vector<TKxDeControl*>& ControlList() const;
  bool IsInSelection(const TKxDePoint* Point) const;
  std::unique_ptr<TExtras> FExtras;

  // The pending owner handed to the constructor, inserted into in AfterConstruction.
  TKxDeContainer* FCreateOwner = nullptr;

  // The picture holder brackets its changes in the shape's update.
  void BeginPictureChange() override { BeginUpdate(); }
  void PicturePropertyChanged() override { Changed(false); }
  void EndPictureChange() override { EndUpdate(); }
  void CreateGradient();
  void ReleaseGradient();
};

}  // namespace vorn
