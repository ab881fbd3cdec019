#pragma once
// TmekInspector: the object inspector's tree. It shows the published properties of one object
// in two levels, categories and their properties, with a name and a value column; class-typed
// properties open into the properties of their object and sets into their elements. Selecting a
// row opens its in-place editor in the value column: a text edit, a number edit with up/down
// buttons, a combo for enumerations and set elements, a button edit for colours, fonts, pens and
// brushes (and any class registered for it), or a picture edit. Booleans are check boxes toggled
// with one click.
//
// Edits go through the inspected object's own setters, so a shape announces each one as an
// action of the property's published name (or of its style, for pen, brush and font dialogs).
// The tree follows the inspected shape: its changes repaint the values, a style object it drops
// or replaces leaves the tree, and its destruction clears the tree. Each TMObjectInspector of the
// tree reports conversion errors through its OnException.

#include "vorn/common/Color.h"
#include "vorn/inspector/MObjectInspector.h"
#include "vorn/inspector/mekVTEditorLinks.h"

#include <QBrush>
#include <QFont>
#include <QTreeView>

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vorn {

class TmekInspectorModel;
class TmekInspectorDelegate;

// The data of one node of the tree.
struct TmekInspectorNodeData {
  PPropInfo PropInfo = nullptr;  // none for a category
  int32_t InspectorIndex = 0;    // the TMObjectInspector the property belongs to
  int32_t ChildInspector = -1;   // class-typed: the inspector made when the node first opens
  int32_t ImageIndex = -1;       // Booleans: 9 (False) or 13 (True) once painted
  TNodeRepresentation Representation = TNodeRepresentation::nrStandard;
  bool IsBoolean = false;
  QString Name;             // category, property or set element name
  QString Caption;          // the name, through OnTranslate when it is assigned
  int32_t SetElement = -1;  // set elements: the element's position in the set
};

using TmekInspectorCreateEditorEvent =
    std::function<void(TmekInspector* Sender, TOwned<TmekVTCustomEditorLink>& EditorLink, PPropInfo PropInfo)>;
using TSetEditorPropertiesEvent = std::function<void(TmekInspector* Sender, QWidget* Editor, PPropInfo PropInfo)>;
using TSetEditorUpDownEvent =
    std::function<void(TmekInspector* Sender, QWidget* Editor, PPropInfo PropInfo, double Value, TUDBtnType Button)>;
using TSetEditorIncrementEvent =
    std::function<void(TmekInspector* Sender, QWidget* Editor, PPropInfo PropInfo, double Value)>;
using TmekInspectorTranslateEvent = std::function<QString(const QString& ATextToTranslate)>;
using TmekGetSetValueEvent = std::function<void(TmekInspector* Sender, PPropInfo PropInfo, QString& AValue)>;
using TmekInspectorNodeEvent = std::function<void(TmekInspector* Sender, const QModelIndex& Node)>;
// Lets a host edit a class registered for the button editor; Handled skips the built-in dialog.
using TmekInspectorButtonClickEvent =
    std::function<void(TmekInspector* Sender, PPropInfo PropInfo, TMObjectInspector* Inspector, bool& Handled)>;

class TmekInspector : public QTreeView, public TObject {
  Q_OBJECT
  Q_PROPERTY(bool CommitEditOnDestroy READ CommitEditOnDestroy WRITE SetCommitEditOnDestroy)
  Q_PROPERTY(QString FloatFormat READ FloatFormat WRITE SetFloatFormat)
  Q_PROPERTY(QFont CategoryFont READ CategoryFont WRITE SetCategoryFont)
  Q_PROPERTY(QBrush CategoryBrush READ CategoryBrush WRITE SetCategoryBrush)
  Q_PROPERTY(bool CtrlEnterCommits READ CtrlEnterCommits WRITE SetCtrlEnterCommits)
  Q_CLASSINFO("Category.CommitEditOnDestroy", "Editing")
  Q_CLASSINFO("Category.CtrlEnterCommits", "Editing")
  Q_CLASSINFO("Category.FloatFormat", "Display")
  Q_CLASSINFO("Category.CategoryFont", "Display")
  Q_CLASSINFO("Category.CategoryBrush", "Display")

 public:
  using inherited = TObject;
  const TClass* ClassType() const override;

  explicit TmekInspector(QWidget* Parent = nullptr);
  // Commits an open edit first when CommitEditOnDestroy is set.
  ~TmekInspector() override;

  // ---- Published ----------------------------------------------------------------------------------
  bool CommitEditOnDestroy() const { return FCommitEditOnDestroy; }
  void SetCommitEditOnDestroy(bool Value) { FCommitEditOnDestroy = Value; }
  // The format of floating-point values ("0.##").
  QString FloatFormat() const { return FFloatFormat; }
  void SetFloatFormat(const QString& Value);
  QFont CategoryFont() const { return FCategoryFont; }
  void SetCategoryFont(const QFont& Value);
  QBrush CategoryBrush() const { return FCategoryBrush; }
  void SetCategoryBrush(const QBrush& Value);
  // Enter no longer commits an edit (Ctrl+Enter does), and Up and Down reach the edit control
  // instead of moving the caret.
  bool CtrlEnterCommits() const { return FCtrlEnterCommits; }
  void SetCtrlEnterCommits(bool Value) { FCtrlEnterCommits = Value; }

  // ---- Binding ------------------------------------------------------------------------------------
  // Binds the first TMObjectInspector and builds the tree again (categories open); nothing clears
  // it. An open edit is committed first.
  void SetInspComp(TObject* Object);
  void SetInspComp(QObject* Object);
  void SetInspComp(std::nullptr_t) { SetInspComp(static_cast<TObject*>(nullptr)); }
  template <class T>
  requires(std::derived_from<T, QObject>&& std::derived_from<T, TObject>) void SetInspComp(T* Object) {
    SetInspComp(static_cast<QObject*>(Object));
  }
  TObject* GetInspComp() const;
  int32_t ObjectInspectorCount() const { return static_cast<int32_t>(FInspectors.size()); }
  TMObjectInspector* ObjectInspector(int32_t Index) const;
  // Appends an inspector with the full filter and the tree's evaluation event; returns its index.
  int32_t CreateNewObjectInspector();
  // Class names whose properties get the button editor (besides colours, fonts, pens, brushes).
  void RegisterClassForButtonEditor(const QString& ClassName);
  bool HasButtonEditor(const QString& TypeName) const;
  // Stops or resumes repainting while the caller changes many things.
  void SetUpdateState(bool Updating);

  // ---- Nodes --------------------------------------------------------------------------------------
  // The data of a node (any column of its row); null for an invalid index.
  const TmekInspectorNodeData* NodeData(const QModelIndex& Node) const;
  // The text of a cell, as painted.
  QString Text(const QModelIndex& Node, int32_t Column) const { return DoGetText(Node, Column); }
  // Stores text in a node's value as an edit commits it.
  void SetText(const QModelIndex& Node, int32_t Column, const QString& Text);
  // Finds a row by the captions on its path ("Appearance/Pen"); invalid when there is none.
  QModelIndex FindNode(const QString& Path);

  // ---- Editing ------------------------------------------------------------------------------------
  bool EditNode(const QModelIndex& Node, int32_t Column);
  // Commits, or drops, the open edit.
  void EndEditNode();
  void CancelEditNode();
  bool IsEditing() const { return FEditLink != nullptr; }
  // Reports a refused edit through the OnException of the node's inspector.
  void ReportEditError(const QModelIndex& Node, const QString& Message);
  TmekVTCustomEditorLink* EditLink() const { return FEditLink.get(); }
  // Closes any open edit without committing it.
  void DestroyVSTEditors();

  // ---- Helpers ------------------------------------------------------------------------------------
  // The names of an enumeration's values as the combo editor lists them (translated).
  void GetEnumerationList(PPropInfo PropInfo, QStringList& Items) const;
  // The name of set element I.
  QString GetPropertyEnumIdx(PPropInfo PropInfo, int32_t I) const;
  // "True" or "False": whether set element Index is in the set.
  QString GetPropertyEnumValueIdx(PPropInfo PropInfo, int32_t Index, int32_t InspectorIndex) const;
  // Rows a property opens into: a set's elements, a class's properties (none for pens, brushes
  // and fonts, which the button editor handles), else 0.
  int32_t PropertyHasChildren(PPropInfo PropInfo, int32_t InspectorIndex) const;
  // A value as one line of a cell: line breaks shown as marks, trimmed on the right.
  QString ValueToText(const QString& Value) const;
  QString Translate(const QString& Text) const { return OnTranslate ? OnTranslate(Text) : Text; }

  // ---- Events -------------------------------------------------------------------------------------
  TmekInspectorNodeEvent OnInitNode;
  TmekInspectorNodeEvent OnChange;
  TmekInspectorCreateEditorEvent OnCreateEditor;
  TBeforeEvalPropertyEvent OnBeforeEvalProperty;
  TSetEditorPropertiesEvent OnSetEditorProperties;
  TAddCategoryEvent OnBeforeAddCategory;
  TSetEditorUpDownEvent OnEditorUpDown;
  TSetEditorIncrementEvent OnEditorIncrement;
  TmekInspectorTranslateEvent OnTranslate;
  TmekGetSetValueEvent OnGetFloatValue;
  TmekGetSetValueEvent OnGetStringValue;
  TmekGetSetValueEvent OnGetBooleanValue;
  TmekGetSetValueEvent OnGetOtherValue;
  TmekGetSetValueEvent OnSetFloatValue;
  TmekGetSetValueEvent OnSetStringValue;
  TmekGetSetValueEvent OnSetBooleanValue;
  TmekGetSetValueEvent OnSetIntegerValue;
  TmekInspectorButtonClickEvent OnEditorButtonClick;

 protected:
  // The tree's operations, in the order the view calls them.
  virtual void DoBeforeCellPaint(QPainter* Painter, const QModelIndex& Node, const QRect& CellRect);
  virtual void DoPaintText(const QModelIndex& Node, int32_t Column, QFont& Font) const;
  virtual void DoAfterCellPaint(QPainter* Painter, const QModelIndex& Node, const QRect& CellRect);
  virtual bool DoCanEdit(const QModelIndex& Node, int32_t Column) const;
  virtual void DoChange(const QModelIndex& Node);
  virtual TOwned<TmekVTCustomEditorLink> DoCreateEditor(const QModelIndex& Node);
  virtual void DoFreeNode(TmekInspectorNodeData& Data);
  virtual int32_t DoGetImageIndex(const QModelIndex& Node) const;
  virtual QString DoGetText(const QModelIndex& Node, int32_t Column) const;
  virtual void DoNewText(const QModelIndex& Node, int32_t Column, const QString& Text);
  // Fills the edit control the link made: items, texts, bounds of numbers.
  virtual void DoPrepareEdit(TmekVTCustomEditorLink* Link, QWidget* Editor, TMek_VSTEditorType EditorType,
                             const QModelIndex& Node);
  virtual void SetEditorProperties(TmekVTCustomEditorLink* Link, PPropInfo PropInfo);
  // The button of a button editor: the dialog for the property's type.
  virtual void DoEditorButtonClick(const QModelIndex& Node);

  void currentChanged(const QModelIndex& Current, const QModelIndex& Previous) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  // The indentation in front of a row takes the row's background.
  void drawBranches(QPainter* Painter, const QRect& Rect, const QModelIndex& Index) const override;
  void resizeEvent(QResizeEvent* Event) override;

 private:
  friend class TmekInspectorModel;
  friend class TmekInspectorDelegate;
  friend class TmekVTCustomEditorLink;

  TMObjectInspector* Owner(const TmekInspectorNodeData& Data) const;
  void BindRoot(TObject* Object, QObject* QtObject);
  void ClearObjectInspectors();
  void Rebuild();
  void RootChanged();
  void RootDestroyed();
  void ScheduleRebuild();
  // The editor link's part: creating the control, committing, releasing.
  QWidget* CreateEditorControl(const QModelIndex& Node, QWidget* Parent);
  void ReleaseEditor(QWidget* Editor);
  // Tab (Shift+Tab): commits, makes the next (previous) row current and edits it when it may be.
  void EditNextRow(bool Backwards);
  // The check image of a Boolean value cell.
  QRect CheckImageRect(const QRect& CellRect) const;
  // The colour a value cell shows as a swatch over its text (colours, brushes, pens).
  bool SwatchColor(const QModelIndex& Node, TColor& Color) const;
  void ToggleBoolean(const QModelIndex& Node);
  void StartEditingSoon(const QModelIndex& Node);

  TmekInspectorModel* FModel;
  TmekInspectorDelegate* FDelegate;
  std::vector<TMObjectInspector*> FInspectors;  // children of the tree
  QStringList FButtonEditorClasses;             // sorted
  TOwned<TmekVTCustomEditorLink> FEditLink;
  QPersistentModelIndex FPressedNode;
  int32_t FPressedColumn = -1;
  bool FCommitEditOnDestroy = true;
  bool FCtrlEnterCommits = false;
  bool FRebuildPending = false;
  // Set while an edit closes: the focus it gives back must not commit it again.
  bool FClosingEditor = false;
  // Until the user sizes the value column, it takes half the width.
  bool FValueWidthChosen = false;
  bool FSizingValueColumn = false;
  int32_t FCommitting = 0;
  QString FFloatFormat = QStringLiteral("0.##");
  QFont FCategoryFont;
  QBrush FCategoryBrush;
};

}  // namespace vorn
