// What assistive technologies see of the layer manager: a tree whose children are its rows, top to
// bottom as the list shows them (a caption row per layer, then the item rows of an expanded layer).
// A row says what it shows (the text painted in it and whether its layer or shape is hidden or
// locked), whether it is selected (an item whose shape the editor has selected, a caption whose
// layer is active) and where it is on screen. Pressing a row does what a click on its text does;
// toggling a caption opens or closes its layer.
//
// Row interfaces stand for a place in the list, as the cells of a table do: they are kept by rank,
// made on first use, and a rank past the last row is invalid until the list grows again.

#include "vorn/layermanager/KxDeLayerManager.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeShapeBase.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>

#include <vector>

namespace vorn {

namespace {

// Where a rank lies: the list layer, and the shape within it (-1 for the caption).
struct TRowPlace {
  int32_t Layer = -1;
  int32_t Shape = -1;
};

class TRowAccessible;

}  // namespace

class TLayerManagerAccessible : public QAccessibleWidget {
 public:
  explicit TLayerManagerAccessible(TKxDeCustomLayerManager* List)
      : QAccessibleWidget(List, QAccessible::Tree), FList(List) {}
  ~TLayerManagerAccessible() override {
    for (QAccessible::Id id : FRows)
      if (id) QAccessible::deleteAccessibleInterface(id);
  }

  TKxDeCustomLayerManager* List() const { return FList.data(); }

  QString text(QAccessible::Text T) const override {
    QString s = QAccessibleWidget::text(T);
    if (s.isEmpty() && T == QAccessible::Name && FList) s = QCoreApplication::translate("Accessibility", "Layers");
    return s;
  }

  int childCount() const override { return FList && FList->Following() ? FList->GetVisibleItemCount() : 0; }
  QAccessibleInterface* child(int Index) const override;
  int indexOfChild(const QAccessibleInterface* Child) const override;
  QAccessibleInterface* childAt(int X, int Y) const override;
  QAccessibleInterface* focusChild() const override;

  // The place of a rank, or none past the last row.
  bool Locate(int32_t Rank, TRowPlace& Place) const {
    if (!FList || !FList->Following() || Rank < 0) return false;
    for (int32_t li = 0; li < FList->ListLayerCount(); ++li) {
      const TKxDeListLayer* l = FList->ListLayer(li);
      const int32_t rows = 1 + (l->Expanded() ? l->GetShapeCount() : 0);
      if (Rank < rows) {
        Place = TRowPlace{li, Rank - 1};
        return true;
      }
      Rank -= rows;
    }
    return false;
  }

  // The rank of a place (the caption when Shape is -1).
  int32_t RankOf(const TRowPlace& Place) const {
    int32_t rank = 0;
    for (int32_t li = 0; li < Place.Layer; ++li) {
      const TKxDeListLayer* l = FList->ListLayer(li);
      rank += 1 + (l->Expanded() ? l->GetShapeCount() : 0);
    }
    return rank + 1 + Place.Shape;
  }

  // A press on a row's text: the same as a click.
  void Press(const TRowPlace& Place) const { FList->ClickRow(Place.Layer, Place.Shape, TMouseButton::mbLeft, {}); }

  // The row's rectangle in the list's client, empty when it is scrolled out of view.
  QRect RowRect(const TRowPlace& Place) const {
    QRect at;
    FList->WalkRows([&](const TKxDeCustomLayerManager::TRow& Row) {
      if (Row.Kind == TKxDeCustomLayerManager::TRowKind::Separator || Row.Layer != Place.Layer ||
          Row.Shape != Place.Shape)
        return false;
      at = QRect(Row.Rect.Left, Row.Rect.Top, Row.Rect.Width(), Row.Rect.Height());
      return true;
    });
    return at;
  }

 private:
  QPointer<TKxDeCustomLayerManager> FList;
  mutable std::vector<QAccessible::Id> FRows;
};

namespace {

// One row of the list, by rank.
class TRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TRowAccessible(TLayerManagerAccessible* Parent, int32_t Rank) : FParent(Parent), FRank(Rank) {}

  bool isValid() const override { return FParent->List() && FRank < FParent->childCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return FParent->window(); }
  QVector<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation) const override {
    return {};
  }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return FParent; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  void setText(QAccessible::Text, const QString&) override {}
  QAccessible::Role role() const override { return QAccessible::TreeItem; }
  void* interface_cast(QAccessible::InterfaceType Type) override {
    return Type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  int32_t Rank() const { return FRank; }

  QString text(QAccessible::Text T) const override {
    TRowPlace at;
    if (!FParent->Locate(FRank, at)) return {};
    TKxDeCustomLayerManager* list = FParent->List();
    const TKxDeListLayer* l = list->ListLayer(at.Layer);
    if (T == QAccessible::Name) return at.Shape < 0 ? list->GetRowText(l) : list->GetRowText(l->GetShape(at.Shape));
    if (T != QAccessible::Description) return {};
    const TKxDeShapeBase* s = at.Shape < 0 ? l->Layer() : l->GetShape(at.Shape)->Shape();
    QStringList marks;
    if (!s->Visible()) marks << QCoreApplication::translate("Accessibility", "hidden");
    if (s->Locked()) marks << QCoreApplication::translate("Accessibility", "locked");
    return marks.join(QStringLiteral(", "));
  }

  QRect rect() const override {
    TRowPlace at;
    if (!FParent->Locate(FRank, at)) return {};
    const QRect r = FParent->RowRect(at);
    return r.isEmpty() ? r : QRect(FParent->List()->mapToGlobal(r.topLeft()), r.size());
  }

  QAccessible::State state() const override {
    QAccessible::State st;
    TRowPlace at;
    if (!FParent->Locate(FRank, at)) {
      st.invalid = true;
      return st;
    }
    TKxDeCustomLayerManager* list = FParent->List();
    const TKxDeListLayer* l = list->ListLayer(at.Layer);
    TKxDeCustomEditor* e = list->Editor();
    st.offscreen = FParent->RowRect(at).isEmpty();
    st.selectable = !l->Layer()->Locked();
    st.multiSelectable = true;
    if (at.Shape < 0) {
      st.expandable = l->GetShapeCount() > 0;
      st.expanded = st.expandable && l->Expanded();
      st.collapsed = st.expandable && !l->Expanded();
      st.selected = e->ActiveLayer() == l->Layer();
    } else {
      TKxDeShapeBase* s = l->GetShape(at.Shape)->Shape();
      st.selectable = st.selectable && e->CanSelect(s);
      st.selected = e->IsSelected(s);
    }
    return st;
  }

  QStringList actionNames() const override {
    TRowPlace at;
    if (!FParent->Locate(FRank, at)) return {};
    if (at.Shape >= 0) return {pressAction()};
    return {pressAction(), toggleAction()};
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
  void doAction(const QString& Name) override {
    TRowPlace at;
    if (!FParent->Locate(FRank, at)) return;
    TKxDeCustomLayerManager* list = FParent->List();
    TKxDeListLayer* l = list->ListLayer(at.Layer);
    if (Name == toggleAction() && at.Shape < 0) l->SetExpanded(!l->Expanded());
    else if (Name == pressAction()) FParent->Press(at);
  }

 private:
  TLayerManagerAccessible* FParent;
  int32_t FRank;
};

}  // namespace

QAccessibleInterface* TLayerManagerAccessible::child(int Index) const {
  if (Index < 0 || Index >= childCount()) return nullptr;
  if (FRows.size() <= static_cast<size_t>(Index)) FRows.resize(static_cast<size_t>(Index) + 1, 0);
  QAccessible::Id& id = FRows[static_cast<size_t>(Index)];
  if (!id)
    id = QAccessible::registerAccessibleInterface(new TRowAccessible(const_cast<TLayerManagerAccessible*>(this), Index));
  return QAccessible::accessibleInterface(id);
}

int TLayerManagerAccessible::indexOfChild(const QAccessibleInterface* Child) const {
  auto* row = dynamic_cast<const TRowAccessible*>(Child);
  return row && row->parent() == this && row->isValid() ? row->Rank() : -1;
}

QAccessibleInterface* TLayerManagerAccessible::childAt(int X, int Y) const {
  if (!FList) return nullptr;
  const QPoint p = FList->mapFromGlobal(QPoint(X, Y));
  const TKxDeListHitInfo hit = FList->HitInfo(TPoint{p.x(), p.y()});
  return hit.Layer < 0 ? nullptr : child(RankOf(TRowPlace{hit.Layer, hit.Shape}));
}

QAccessibleInterface* TLayerManagerAccessible::focusChild() const {
  if (!FList || !FList->hasFocus() || !FList->Following()) return nullptr;
  TKxDeCustomEditor* e = FList->Editor();
  if (e->SelectionCount() == 0) return nullptr;
  const int32_t rank = FList->GetVisibleItemRank(e->GetSelection(0));
  return rank < childCount() ? child(rank) : nullptr;
}

namespace {

QAccessibleInterface* LayerManagerFactory(const QString&, QObject* Object) {
  auto* list = qobject_cast<TKxDeCustomLayerManager*>(Object);
  return list ? new TLayerManagerAccessible(list) : nullptr;
}

// Installed when the library loads, before any control asks.
void InstallLayerManagerAccessibility() { QAccessible::installFactory(LayerManagerFactory); }
Q_CONSTRUCTOR_FUNCTION(InstallLayerManagerAccessibility)

}  // namespace
}  // namespace vorn
