#pragma once
// The item model and the delegate behind TmekInspector. The model holds the node tree (made
// lazily, a level when it is first asked for) and asks the tree for texts, edit rights and new
// values; the delegate paints the cells through the tree's paint operations and hands the
// in-place editing to the tree's editor links.

#include "vorn/inspector/mekInspector.h"

#include <QAbstractItemModel>
#include <QStyledItemDelegate>

#include <functional>
#include <memory>
#include <vector>

namespace vorn {

struct TInspectorNode {
  TmekInspectorNodeData Data;
  TInspectorNode* Parent = nullptr;
  int Row = 0;
  bool ChildrenReady = false;
  // Class-typed properties: the object the property held when the node was made.
  const void* Object = nullptr;
  std::vector<std::unique_ptr<TInspectorNode>> Children;
};

class TmekInspectorModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit TmekInspectorModel(TmekInspector* Tree);
  ~TmekInspectorModel() override;

  // Drops every node, runs Between (which may replace the inspectors) and lists the categories of
  // the first inspector again.
  void Rebuild(const std::function<void()>& Between = {});
  TInspectorNode* NodeOf(const QModelIndex& Index) const;
  QModelIndex IndexOf(const TInspectorNode* Node, int Column = 0) const;
  // Unbinds the inspector of every class-typed row whose property now holds another object (and
  // of the rows below it); true when there was one.
  bool DropReplacedObjects();
  // The object a class-typed row's property holds now.
  const void* CurrentObject(const TInspectorNode* Node) const;

  QModelIndex index(int Row, int Column, const QModelIndex& Parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& Index) const override;
  int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
  bool hasChildren(const QModelIndex& Parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& Index, const QVariant& Value, int Role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& Index) const override;
  QVariant headerData(int Section, Qt::Orientation Orientation, int Role = Qt::DisplayRole) const override;

 private:
  void InitChildren(TInspectorNode* Node) const;
  TInspectorNode* AddChild(TInspectorNode* Parent, const TmekInspectorNodeData& Data) const;
  void FreeNodes(TInspectorNode* Node);
  void UnbindBelow(TInspectorNode* Node);

  TmekInspector* FTree;
  mutable TInspectorNode FRoot;
};

class TmekInspectorDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit TmekInspectorDelegate(TmekInspector* Tree);

  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
  QWidget* createEditor(QWidget* Parent, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
  void setEditorData(QWidget* Editor, const QModelIndex& Index) const override;
  void setModelData(QWidget* Editor, QAbstractItemModel* Model, const QModelIndex& Index) const override;
  void updateEditorGeometry(QWidget* Editor, const QStyleOptionViewItem& Option,
                            const QModelIndex& Index) const override;
  void destroyEditor(QWidget* Editor, const QModelIndex& Index) const override;
  // Keys of the in-place edit (Escape, Enter, Tab, Up and Down, Ctrl+A) and leaving it.
  bool eventFilter(QObject* Object, QEvent* Event) override;
  // Puts the edit control and its child widgets under this filter.
  void Watch(QWidget* Editor);

 private:
  TmekInspector* FTree;
};

}  // namespace vorn
