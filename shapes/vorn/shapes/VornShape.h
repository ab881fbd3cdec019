#pragma once
// TVornShape: the common ground of the standard shape kit. A kit shape describes its geometry
// once, as a path in world units in its own unrotated frame, and gets from here what every
// shape needs on top of it:
//
// - painting: the path is mapped to the device, turned by the shape's rotation through the
//   engine's painting transform, filled with the brush or the gradient and outlined with the
//   shape's device pen (inside the outline for closed shapes, as the engine's frame pens are);
// - hit testing of the real outline: a filled shape is hit inside its path, every shape within
//   Fuzz of the ink of its outline; the point is first turned back into the unrotated frame;
// - selection feedback: the outline (with a dragged point or handle already applied) in the
//   editor's pen, and the point handles, as the selection data record asks;
// - InRect on the turned outline, so rotated shapes are culled and rubber-band selected by what
//   they cover;
// - the extent the surface indexes the shape by (IKxDeHitExtent): the turned outline with the
//   reach of its stroked hit test.
//
// Shapes whose geometry is a box (rectangle, ellipse, text, picture, barcode) derive from
// TVornBoxShape, which keeps their four corner points a rectangle.

#include <vorn/common/KxDeSelectionData.h>
#include <vorn/common/XmlUtils.h>
#include <vorn/common/mekDeviceCapsInfo.h>
#include <vorn/model/KxDeShape.h>
#include <vorn/surface/KxDeHitExtent.h>

#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <initializer_list>
#include <vector>

namespace vorn {

class TCanvas;

// A vertex as kit geometry sees it: its position and the offsets of its curve handles.
struct TVornVertex {
  TPointF P;
  bool HasC1 = false;
  bool HasC2 = false;
  TPointF C1;  // incoming handle, offset from P
  TPointF C2;  // outgoing handle, offset from P
};
using TVornVertices = std::vector<TVornVertex>;

class TVornShape : public TKxDeShape, public IKxDeHitExtent {
  VORN_OBJECT(TVornShape, TKxDeShape)
  Q_PROPERTY(float Rotation READ Rotation WRITE SetRotation)
  Q_CLASSINFO("Category.Rotation", "Layout")
  // The inspector offers only the styles a shape draws with. Most kit shapes draw no text and no
  // picture; those that do publish these again (a shape that draws no fill or no outline hides
  // those styles the same way).
  Q_PROPERTY(vorn::TKxDeShapeFont* Font READ Font WRITE SetFont DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDePicture* Picture READ Picture WRITE SetPicture DESIGNABLE false)
  Q_PROPERTY(
      vorn::KxDEConsts::TKxDeShapePictureStyle PictureStyle READ PictureStyle WRITE SetPictureStyle DESIGNABLE false)

 public:
  TVornShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  // ---- Painting -------------------------------------------------------------------------------
  void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation,
             PmekDeviceCapsInfo DeviceCapsInfo) override;
  void DrawSelection(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint, const TKxDeSelectionData& Data,
                     double Zoom) override;

  // ---- Hit testing ----------------------------------------------------------------------------
  bool PointOnShape(const TPointF& P, float Fuzz, bool Editing) const override;
  // True when the turned outline touches R (crosses it, lies in it or, for a closed shape,
  // encloses it).
  bool InRect(const TRectF& R) const override;
  // TurnedExtent widened by how far the stroked outline of the hit test reaches: half the pen
  // width, up to 2.5 pen widths at a mitred corner.
  TRectF HitExtent() const override;

  // ---- Geometry -------------------------------------------------------------------------------
  // The vertices with their handles.
  TVornVertices Vertices() const;
  // The outline in world units, unrotated.
  QPainterPath OutlinePath() const { return GeometryPath(Vertices(), 0); }
  // The outline in world units as it lies on the page (turned by Rotation).
  QPainterPath WorldOutline() const;
  // A rectangle that holds the turned outline (not always the smallest), in world units.
  QRectF TurnedExtent() const;
  // The rotation about the rotation point, in world units.
  QTransform WorldRotation() const;
  // A world point in the shape's unrotated frame, and back.
  TPointF ToShapeFrame(const TPointF& P) const;
  TPointF FromShapeFrame(const TPointF& P) const;
  // True when the geometry encloses an area that the brush fills.
  virtual bool IsClosedGeometry() const { return true; }
  // The width of the pen's ink in world units; 0 without a pen.
  float PenWorldWidth() const;
  // The pen's width in device pixels at Zoom (the engine's device-pen rounding), 0 without pen.
  int32_t InkWidth(double Zoom) const;

 protected:
  ~TVornShape() override = default;

  // The outline of vertices V in world units in the unrotated frame. Inset moves the outline
  // of a closed shape inwards by that many world units (where a frame pen's centre runs); open
  // shapes ignore it.
  virtual QPainterPath GeometryPath(const TVornVertices& V, float Inset) const = 0;
  // Paints the shape in its unrotated frame; the canvas already carries the rotation. ToDevice
  // maps world units to device pixels. The default fills and outlines GeometryPath.
  virtual void PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                          PmekDeviceCapsInfo DeviceCapsInfo);
  // Hit test in the unrotated frame (P already turned back); Fuzz is at least 0.
  virtual bool HitGeometry(const TPointF& P, float Fuzz) const;
  // Applies a drag of the editor to a copy of the vertices (for the sizing preview).
  virtual void ApplyDrag(TVornVertices& V, const TKxDeDragPoint& DragPoint) const;
  // How far the outline may reach beyond the vertices and their handles (arrow heads).
  virtual double ExtentPadding() const { return 0; }
  // A world rectangle widened by Reach and by a margin for rounding, as HitExtent answers it.
  static TRectF ExtentRect(const QRectF& R, double Reach);
  // The vertices that get selection handles (all by default).
  virtual TVornVertices HandleVertices(const TVornVertices& V) const { return V; }

  // Fills a device path with the gradient when the shape has one, else with the brush.
  void FillDevicePath(TCanvas* C, const QPainterPath& DevicePath);
  // Outlines a device path with the shape's device pen.
  void StrokeDevicePath(TCanvas* C, const QPainterPath& DevicePath, double Zoom, bool Closed);
  // The shape's pen as a Qt pen for the device (frame pen for closed outlines, line pen with
  // the dash pattern and caps otherwise).
  QPen DevicePen(double Zoom, bool Closed) const;
  // The shape's brush as a Qt brush.
  QBrush DeviceBrush() const;
  // True when the brush or the gradient paints something.
  bool IsFilled() const;
  // The standard paint: fill and outline of GeometryPath.
  void PaintGeometry(TCanvas* C, const QTransform& ToDevice, double Zoom);

  // How the open ends of the outline look (squared, rounded, arrowed); closed shapes ignore it.
  virtual TmekLineShape StartLineShape() const { return TmekLineShape::mekLshSquared; }
  virtual TmekLineShape EndLineShape() const { return TmekLineShape::mekLshSquared; }

  // Changes a property of the kit shape as the engine changes its own: announced for undo by its
  // published name, then delivered as a change. Nothing happens for an equal value.
  template <class T>
  void ChangeProperty(T& Field, const T& Value, const char* Name);

  // Adds styles to the shape's styles.
  void IncludeStyles(std::initializer_list<TKxDeShapeStyle> Styles);
  void ExcludeStyles(std::initializer_list<TKxDeShapeStyle> Styles);
};

template <class T>
void TVornShape::ChangeProperty(T& Field, const T& Value, const char* Name) {
  if (Field == Value) return;
  const QString prop = QString::fromLatin1(Name);
  StartAction(this, TKxDeAction::kxacChanging, prop);
  NotifyUndo(this, TKxDeAction::kxacChanging, prop);
  Field = Value;
  Changed(false);
  EndAction(this, TKxDeAction::kxacChanging, prop);
}

// Reads an enumeration stored by ordinal; values outside the enumeration keep Current.
template <class E>
E XmlReadEnum(TXmlNode Node, const char* Name, E Current, E Last) {
  return static_cast<E>(XmlReadIntegerIn(Node, Name, static_cast<int32_t>(Current), 0, static_cast<int32_t>(Last)));
}

// World units to device pixels at offset (X, Y) and Zoom.
inline QTransform VornDeviceTransform(double X, double Y, double Zoom) { return QTransform(Zoom, 0, 0, Zoom, X, Y); }
// Helpers shared by the kit's files.
inline QPointF ToQt(const TPointF& P) { return QPointF(P.X, P.Y); }
inline TPointF FromQt(const QPointF& P) { return TPointF{static_cast<float>(P.x()), static_cast<float>(P.y())}; }
inline QRectF ToQt(const TRectF& R) { return QRectF(QPointF(R.Left, R.Top), QPointF(R.Right, R.Bottom)); }

}  // namespace vorn
