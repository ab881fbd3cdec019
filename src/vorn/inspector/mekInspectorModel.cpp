#include "vorn/inspector/mekInspectorModel_p.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace vorn {

TmekInspectorModel::TmekInspectorModel(TmekInspector* Tree) : QAbstractItemModel(Tree), FTree(Tree) {
  FRoot.ChildrenReady = true;
}

TmekInspectorModel::~TmekInspectorModel() = default;

void TmekInspectorModel::FreeNodes(TInspectorNode* Node) {
  for (auto& c : Node->Children) {
    FreeNodes(c.get());
    FTree->DoFreeNode(c->Data);
  }
  Node->Children.clear();
}

void TmekInspectorModel::Rebuild(const std::function<void()>& Between) {
  beginResetModel();
  FreeNodes(&FRoot);
  FRoot.ChildrenReady = false;
  if (Between) Between();
  InitChildren(&FRoot);
  endResetModel();
}

TInspectorNode* TmekInspectorModel::NodeOf(const QModelIndex& Index) const {
  return Index.isValid() ? static_cast<TInspectorNode*>(Index.internalPointer()) : &FRoot;
}

QModelIndex TmekInspectorModel::IndexOf(const TInspectorNode* Node, int Column) const {
  if (!Node || Node == &FRoot) return {};
  return createIndex(Node->Row, Column, const_cast<TInspectorNode*>(Node));
}

TInspectorNode* TmekInspectorModel::AddChild(TInspectorNode* Parent, const TmekInspectorNodeData& Data) const {
  auto node = std::make_unique<TInspectorNode>();
  node->Data = Data;
  node->Data.Caption = FTree->Translate(Data.Name);
  node->Parent = Parent;
  node->Row = static_cast<int>(Parent->Children.size());
  if (Data.PropInfo && Data.PropInfo->Kind == TTypeKind::tkClass &&
      Data.Representation == TNodeRepresentation::nrStandard)
    node->Object = CurrentObject(node.get());
  Parent->Children.push_back(std::move(node));
  TInspectorNode* added = Parent->Children.back().get();
  if (FTree->OnInitNode) FTree->OnInitNode(FTree, IndexOf(added));
  return added;
}

const void* TmekInspectorModel::CurrentObject(const TInspectorNode* Node) const {
  TMObjectInspector* owner = FTree->Owner(Node->Data);
  if (!owner) return nullptr;
  PPropInfo p = Node->Data.PropInfo;
  if (p->IsQObject) return owner->GetComponentProperty(p);
  return owner->GetClassProperty(p);
}

void TmekInspectorModel::InitChildren(TInspectorNode* Node) const {
  if (Node->ChildrenReady) return;
  Node->ChildrenReady = true;
  TMObjectInspector* first = FTree->ObjectInspector(0);
  if (Node == &FRoot) {
    TCategoryList* cats = first->Categories();
    for (int32_t i = 0; i < cats->Count(); ++i) {
      TmekInspectorNodeData d;
      d.Representation = TNodeRepresentation::nrCategory;
      d.Name = cats->GetCategories(i);
      AddChild(Node, d);
    }
    return;
  }
  const TmekInspectorNodeData& data = Node->Data;
  if (data.Representation == TNodeRepresentation::nrCategory) {
    TCategoryList* cats = first->Categories();
    int32_t index = -1;
    if (!cats->Find(data.Name, index)) return;
    for (int32_t i = 0; i < cats->GetPropInfoItemsCount(index); ++i) {
      TmekInspectorNodeData d;
      d.PropInfo = cats->GetPropInfoItems(index, i);
      d.Name = d.PropInfo->Name;
      d.IsBoolean = d.PropInfo->IsBoolean;
      AddChild(Node, d);
    }
    return;
  }
  if (data.Representation != TNodeRepresentation::nrStandard || !data.PropInfo) return;
  if (FTree->PropertyHasChildren(data.PropInfo, data.InspectorIndex) <= 0) return;
  PPropInfo p = data.PropInfo;
  if (p->Kind == TTypeKind::tkSet) {
    for (size_t i = 0; i < p->Elements.size(); ++i) {
      TmekInspectorNodeData d = data;
      d.Representation = TNodeRepresentation::nrIndividualSetValue;
      d.Name = p->Elements[i].Name;
      d.IsBoolean = false;
      d.SetElement = static_cast<int32_t>(i);
      AddChild(Node, d);
    }
    return;
  }
  // A class-typed property: the properties of its object, by name, through an inspector of
  // their own.
  TMObjectInspector* owner = FTree->Owner(data);
  const int32_t sub = FTree->CreateNewObjectInspector();
  TMObjectInspector* child = FTree->ObjectInspector(sub);
  if (p->IsQObject) child->SetObject(owner->GetComponentProperty(p));
  else child->SetObject(owner->GetClassProperty(p));
  Node->Data.ChildInspector = sub;
  std::vector<PPropInfo> props;
  TCategoryList* cats = child->Categories();
  for (int32_t c = 0; c < cats->Count(); ++c)
    for (int32_t i = 0; i < cats->GetPropInfoItemsCount(c); ++i) props.push_back(cats->GetPropInfoItems(c, i));
  std::stable_sort(props.begin(), props.end(),
                   [](PPropInfo a, PPropInfo b) { return a->Name.compare(b->Name, Qt::CaseInsensitive) < 0; });
  for (PPropInfo prop : props) {
    TmekInspectorNodeData d;
    d.PropInfo = prop;
    d.InspectorIndex = sub;
    d.Name = prop->Name;
    d.IsBoolean = prop->IsBoolean;
    AddChild(Node, d);
  }
}

void TmekInspectorModel::UnbindBelow(TInspectorNode* Node) {
  if (Node->Data.ChildInspector >= 0)
    if (TMObjectInspector* i = FTree->ObjectInspector(Node->Data.ChildInspector))
      i->SetObject(static_cast<TObject*>(nullptr));
  for (auto& c : Node->Children) UnbindBelow(c.get());
}

bool TmekInspectorModel::DropReplacedObjects() {
  bool replaced = false;
  std::function<void(TInspectorNode*)> visit = [&](TInspectorNode* n) {
    for (auto& c : n->Children) {
      const TmekInspectorNodeData& d = c->Data;
      TMObjectInspector* owner = FTree->Owner(d);
      if (d.PropInfo && d.PropInfo->Kind == TTypeKind::tkClass && d.Representation == TNodeRepresentation::nrStandard &&
          owner && owner->HasObject() && CurrentObject(c.get()) != c->Object) {
        UnbindBelow(c.get());
        replaced = true;
      } else {
        visit(c.get());
      }
    }
  };
  visit(&FRoot);
  return replaced;
}

QModelIndex TmekInspectorModel::index(int Row, int Column, const QModelIndex& Parent) const {
  if (Column < 0 || Column >= 3 || (Parent.isValid() && Parent.column() != 0)) return {};
  TInspectorNode* p = NodeOf(Parent);
  InitChildren(p);
  if (Row < 0 || Row >= static_cast<int>(p->Children.size())) return {};
  return createIndex(Row, Column, p->Children[Row].get());
}

QModelIndex TmekInspectorModel::parent(const QModelIndex& Index) const {
  if (!Index.isValid()) return {};
  return IndexOf(NodeOf(Index)->Parent);
}

int TmekInspectorModel::rowCount(const QModelIndex& Parent) const {
  if (Parent.isValid() && Parent.column() != 0) return 0;
  TInspectorNode* p = NodeOf(Parent);
  InitChildren(p);
  return static_cast<int>(p->Children.size());
}

int TmekInspectorModel::columnCount(const QModelIndex&) const { return 3; }

bool TmekInspectorModel::hasChildren(const QModelIndex& Parent) const {
  if (Parent.isValid() && Parent.column() != 0) return false;
  const TInspectorNode* n = NodeOf(Parent);
  if (n->ChildrenReady) return !n->Children.empty();
  if (n == &FRoot) return FTree->ObjectInspector(0)->Categories()->Count() > 0;
  const TmekInspectorNodeData& d = n->Data;
  if (d.Representation == TNodeRepresentation::nrCategory) return true;
  if (d.Representation != TNodeRepresentation::nrStandard || !d.PropInfo) return false;
  return FTree->PropertyHasChildren(d.PropInfo, d.InspectorIndex) > 0;
}

QVariant TmekInspectorModel::data(const QModelIndex& Index, int Role) const {
  if (!Index.isValid()) return {};
  switch (Role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return FTree->DoGetText(Index, Index.column());
    case Qt::FontRole: {
      QFont f = FTree->font();
      FTree->DoPaintText(Index, Index.column(), f);
      return f;
    }
    default: return {};
  }
}

bool TmekInspectorModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
  if (!Index.isValid() || Role != Qt::EditRole) return false;
  FTree->DoNewText(Index, Index.column(), Value.toString());
  Q_EMIT dataChanged(Index.siblingAtColumn(0), Index.siblingAtColumn(2));
  return true;
}

Qt::ItemFlags TmekInspectorModel::flags(const QModelIndex& Index) const {
  if (!Index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (FTree->DoCanEdit(Index, Index.column())) f |= Qt::ItemIsEditable;
  return f;
}

QVariant TmekInspectorModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
  if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole) return {};
  if (Section == 0) return rsInspectorName();
  if (Section == 2) return rsInspectorValue();
  return QString();
}

// ---- Delegate ---------------------------------------------------------------------------------------

TmekInspectorDelegate::TmekInspectorDelegate(TmekInspector* Tree) : QStyledItemDelegate(Tree), FTree(Tree) {}

void TmekInspectorDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                                  const QModelIndex& Index) const {
  FTree->DoBeforeCellPaint(Painter, Index, Option.rect);
  QStyleOptionViewItem option(Option);
  initStyleOption(&option, Index);
  // A swatch covers the cell but for a few pixels, where the text would show in pieces.
  TColor color = clNone;
  if (FTree->SwatchColor(Index, color)) option.text.clear();
  const QWidget* widget = Option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &option, Painter, widget);
  FTree->DoAfterCellPaint(Painter, Index, Option.rect);
}

QSize TmekInspectorDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const {
  // Room for the 16-pixel check images and the edit controls.
  QSize s = QStyledItemDelegate::sizeHint(Option, Index);
  s.setHeight(std::max(s.height() + 4, 20));
  return s;
}

QWidget* TmekInspectorDelegate::createEditor(QWidget* Parent, const QStyleOptionViewItem&,
                                             const QModelIndex& Index) const {
  return FTree->CreateEditorControl(Index, Parent);
}

void TmekInspectorDelegate::setEditorData(QWidget*, const QModelIndex&) const {
  // The link filled the control when it prepared it; a repaint must not overwrite typing.
}

void TmekInspectorDelegate::setModelData(QWidget* Editor, QAbstractItemModel*, const QModelIndex&) const {
  TmekVTCustomEditorLink* link = FTree->EditLink();
  if (link && link->EditControl() == Editor) link->EndEdit();
}

void TmekInspectorDelegate::updateEditorGeometry(QWidget* Editor, const QStyleOptionViewItem& Option,
                                                 const QModelIndex&) const {
  TmekVTCustomEditorLink* link = FTree->EditLink();
  if (link && link->EditControl() == Editor) link->SetBounds(Option.rect);
  else Editor->setGeometry(Option.rect);
}

void TmekInspectorDelegate::destroyEditor(QWidget* Editor, const QModelIndex& Index) const {
  FTree->ReleaseEditor(Editor);
  // The view unhooks the edit control itself only; its child widgets, deleted later (perhaps by the tree's
  // own destruction), must no longer reach the filter.
  for (QWidget* w : Editor->findChildren<QWidget*>()) w->removeEventFilter(const_cast<TmekInspectorDelegate*>(this));
  QStyledItemDelegate::destroyEditor(Editor, Index);
}

void TmekInspectorDelegate::Watch(QWidget* Editor) {
  Editor->installEventFilter(this);
  for (QWidget* w : Editor->findChildren<QWidget*>()) w->installEventFilter(this);
}

bool TmekInspectorDelegate::eventFilter(QObject* Object, QEvent* Event) {
  TmekVTCustomEditorLink* link = FTree->EditLink();
  QWidget* editor = link ? link->EditControl() : nullptr;
  if (!editor) return false;
  if (Event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(Event);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
      case Qt::Key_Escape: FTree->CancelEditNode(); return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (FTree->CtrlEnterCommits() && !ctrl) return false;
        FTree->EndEditNode();
        return true;
      case Qt::Key_Tab:
      case Qt::Key_Backtab: FTree->EditNextRow(key->key() == Qt::Key_Backtab); return true;
      case Qt::Key_Up:
      case Qt::Key_Down: {
        // In a text the arrows move the caret; a combo keeps them for its items.
        auto* line = qobject_cast<QLineEdit*>(Object);
        if (FTree->CtrlEnterCommits() || !line || qobject_cast<QComboBox*>(editor)) return false;
        QKeyEvent moved(QEvent::KeyPress, key->key() == Qt::Key_Up ? Qt::Key_Left : Qt::Key_Right, key->modifiers());
        QApplication::sendEvent(line, &moved);
        return true;
      }
      case Qt::Key_A:
        if (!ctrl) return false;
        if (Imek_MFEdit* e = link->Edit()) e->SelectText();
        return true;
      default: return false;
    }
  }
  if (Event->type() == QEvent::FocusOut && !FTree->FClosingEditor) {
    const auto reason = static_cast<QFocusEvent*>(Event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
      return false;
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
      if (w == editor) return false;
    FTree->EndEditNode();
  }
  return false;
}

}  // namespace vorn
