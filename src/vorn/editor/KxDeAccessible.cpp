// What assistive technologies see of a surface (a viewer or an editor): the control as a canvas
// whose children are the shapes lying directly in its visible layers, bottom layer first and in
// z-order within a layer. A shape says what it is (its name, or its kind and text), where it is
// on screen and, in an editor, whether it is selected. The interfaces are made only when an
// assistive technology (or a test) asks for them.

#include "vorn/common/Object.h"
#include "vorn/editor/KxDeEditor.h"
#include "vorn/editor/KxDeEditorClient.h"
#include "vorn/model/KxDeContainer.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeRegister.h"
#include "vorn/model/KxDeShapeBase.h"
#include "vorn/model/KxDeSurfaceClient.h"
#include "vorn/surface/KxDeHitExtent.h"
#include "vorn/surface/KxDeSurface.h"
#include "vorn/surface/KxDeViewer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>

#include <cmath>
#include <unordered_map>

namespace vorn {
namespace {

class TSurfaceAccessible;

// One shape of the surface. It lives until the shape leaves the document (or the surface's
// interface goes), whichever comes first.
class TShapeAccessible : public QAccessibleInterface {
 public:
  TShapeAccessible(TSurfaceAccessible* Parent, TKxDeShapeBase* Shape) : FParent(Parent), FShape(Shape) {}
  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QVector<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation) const override {
    return {};
  }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text T) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  TKxDeShapeBase* Shape() const { return FShape; }

 private:
  TSurfaceAccessible* FParent;
  TKxDeShapeBase* FShape;
};

// The surface itself. Its children are counted and found through the layers each time, so the
// interface never holds a list of its own; the interfaces handed out for shapes are kept by
// shape and dropped as soon as the document loses a shape.
class TSurfaceAccessible : public QAccessibleWidget {
 public:
  explicit TSurfaceAccessible(TKxDeSurface* Surface)
      : QAccessibleWidget(Surface, QAccessible::Canvas),
        FSurface(Surface),
        FEditor(qobject_cast<TKxDeCustomEditor*>(Surface)) {
    // Shapes and layers that leave take their interfaces with them; selection changes are told on.
    auto forget = [this](TObject*, TKxDeShapeBase*) { ForgetShapes(); };
    if (FEditor) {
      auto* client = Create<TKxDeEditorClient>(static_cast<TKxDeSurface*>(FEditor));
      client->OnSelectionChange = [this](TObject*) { TellSelection(); };
      FClient.reset(client);
    } else {
      FClient.reset(Create<TKxDeSurfaceClient>(Surface));
    }
    FClient->OnRemoveShape = forget;
    FClient->OnClearShape = forget;
    FClient->OnRemoveLayer = forget;
  }
  ~TSurfaceAccessible() override { ForgetShapes(); }

  TKxDeSurface* Surface() const { return FSurface.data(); }
  TKxDeCustomEditor* Editor() const { return FSurface ? FEditor : nullptr; }

  QString text(QAccessible::Text T) const override {
    QString s = QAccessibleWidget::text(T);
    if (s.isEmpty() && T == QAccessible::Name && FSurface)
      s = FEditor ? QCoreApplication::translate("Accessibility", "Drawing editor")
                  : QCoreApplication::translate("Accessibility", "Drawing");
    return s;
  }

  int childCount() const override {
    int n = 0;
    if (FSurface)
      for (TKxDeLayer* l : FSurface->LayersList())
        if (l->Visible()) n += l->ItemCount();
    return n;
  }

  QAccessibleInterface* child(int Index) const override {
    if (!FSurface || Index < 0) return nullptr;
    for (TKxDeLayer* l : FSurface->LayersList()) {
      if (!l->Visible()) continue;
      if (Index < l->ItemCount()) return Of(l->Items(Index));
      Index -= l->ItemCount();
    }
    return nullptr;
  }

  int indexOfChild(const QAccessibleInterface* Child) const override {
    auto* c = dynamic_cast<const TShapeAccessible*>(Child);
    if (!c || !FSurface || !FShapes.contains(c->Shape())) return -1;
    int before = 0;
    for (TKxDeLayer* l : FSurface->LayersList()) {
      if (!l->Visible()) continue;
      if (c->Shape()->Owner() == l) return before + l->IndexOf(c->Shape());
      before += l->ItemCount();
    }
    return -1;
  }

  QAccessibleInterface* childAt(int X, int Y) const override {
    if (!FSurface) return nullptr;
    const QPoint at = FSurface->mapFromGlobal(QPoint(X, Y));
    const TKxDeHitTest hit = FSurface->HitTest(FSurface->ScreenToWorld(TPointF{float(at.x()), float(at.y())}));
    TKxDeShapeBase* s = hit.Shape;
    while (s && s->Owner() && !dynamic_cast<TKxDeLayer*>(s->Owner())) s = s->Owner();
    return s ? Of(s) : nullptr;
  }

  QAccessibleInterface* focusChild() const override {
    TKxDeCustomEditor* e = Editor();
    return e && e->hasFocus() && e->SelectionCount() > 0 ? Of(e->GetSelection(e->SelectionCount() - 1)) : nullptr;
  }

  // The interface of a shape lying directly in a layer, made on first use.
  QAccessibleInterface* Of(TKxDeShapeBase* S) const {
    auto it = FShapes.find(S);
    if (it == FShapes.end())
      it = FShapes
               .emplace(S, QAccessible::registerAccessibleInterface(
                               new TShapeAccessible(const_cast<TSurfaceAccessible*>(this), S)))
               .first;
    return QAccessible::accessibleInterface(it->second);
  }

  bool Knows(const TKxDeShapeBase* S) const { return FShapes.contains(const_cast<TKxDeShapeBase*>(S)); }

 private:
  void ForgetShapes() {
    const auto shapes = std::exchange(FShapes, {});
    for (const auto& [shape, id] : shapes) QAccessible::deleteAccessibleInterface(id);
  }

  // The selection (and with it the focused shape) changed.
  void TellSelection() {
    if (!QAccessible::isActive() || !Editor()) return;
    QAccessibleEvent selection(FSurface.data(), QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&selection);
    if (QAccessibleInterface* focused = focusChild()) {
      QAccessibleEvent focus(focused, QAccessible::Focus);
      QAccessible::updateAccessibility(&focus);
    }
  }

  QPointer<TKxDeSurface> FSurface;
  TKxDeCustomEditor* FEditor;
  TOwned<TKxDeSurfaceClient> FClient;
  mutable std::unordered_map<TKxDeShapeBase*, QAccessible::Id> FShapes;
};

bool TShapeAccessible::isValid() const { return FParent->Surface() && FParent->Knows(FShape); }

QWindow* TShapeAccessible::window() const { return FParent->window(); }

QAccessibleInterface* TShapeAccessible::parent() const { return FParent; }

QString TShapeAccessible::text(QAccessible::Text T) const {
  if (!isValid()) return {};
  const QString kind = TKxDeRegister::FindShapeDisplayName(FShape);
  switch (T) {
    case QAccessible::Name:
      if (!FShape->Name().isEmpty()) return FShape->Name();
      return FShape->Text().isEmpty() ? kind : kind + QLatin1Char(' ') + FShape->Text();
    case QAccessible::Value: return FShape->Text();
    case QAccessible::Description: return TKxDeRegister::FindShapeDescription(FShape->ClassType());
    default: return {};
  }
}

// The shape's turned bounds on screen, with what its outline reaches beyond them.
QRect TShapeAccessible::rect() const {
  TKxDeSurface* s = FParent->Surface();
  if (!isValid()) return {};
  TRectF b = FShape->GetRotatedBounds();
  if (const auto* reach = dynamic_cast<const IKxDeHitExtent*>(FShape)) {
    const TRectF r = reach->HitExtent();
    b = TRectF{std::min(b.Left, r.Left), std::min(b.Top, r.Top), std::max(b.Right, r.Right),
               std::max(b.Bottom, r.Bottom)};
  }
  const TPointF a = s->LayerToScreen(TPointF{b.Left, b.Top});
  const TPointF z = s->LayerToScreen(TPointF{b.Right, b.Bottom});
  const QPoint topLeft(static_cast<int>(std::floor(std::min(a.X, z.X))),
                       static_cast<int>(std::floor(std::min(a.Y, z.Y))));
  const QPoint bottomRight(static_cast<int>(std::ceil(std::max(a.X, z.X))),
                           static_cast<int>(std::ceil(std::max(a.Y, z.Y))));
  return QRect(s->mapToGlobal(topLeft), s->mapToGlobal(bottomRight) - QPoint(1, 1));
}

QAccessible::Role TShapeAccessible::role() const {
  return dynamic_cast<const TKxDeContainer*>(FShape) ? QAccessible::Grouping : QAccessible::Graphic;
}

QAccessible::State TShapeAccessible::state() const {
  QAccessible::State st;
  if (!isValid()) {
    st.invalid = true;
    return st;
  }
  st.invisible = !FShape->Visible();
  if (TKxDeCustomEditor* e = FParent->Editor()) {
    st.selectable = e->CanSelect(FShape);
    st.selected = e->IsSelected(FShape);
    st.multiSelectable = e->EditOptions().Contains(TKxDeEditOption::kxdoMultiSelect);
    st.focusable = st.selectable;
    st.focused = e->hasFocus() && e->SelectionCount() > 0 && e->GetSelection(e->SelectionCount() - 1) == FShape;
  }
  return st;
}

QAccessibleInterface* SurfaceFactory(const QString&, QObject* Object) {
  auto* surface = qobject_cast<TKxDeSurface*>(Object);
  return surface ? new TSurfaceAccessible(surface) : nullptr;
}

// Installed when the library loads, before any control asks.
void InstallSurfaceAccessibility() { QAccessible::installFactory(SurfaceFactory); }
Q_CONSTRUCTOR_FUNCTION(InstallSurfaceAccessibility)

}  // namespace
}  // namespace vorn
