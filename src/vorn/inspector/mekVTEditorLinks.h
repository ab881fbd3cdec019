#pragma once
// The editor links of the inspector tree: each chooses and owns one in-place edit control and
// takes it through the edit's life cycle (prepare, place, begin, end or cancel) for the tree.

#include "vorn/common/Object.h"
#include "vorn/inspector/PropertyTypes.h"
#include "vorn/inspector/mek_MFEdit.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QRect>
#include <QStringList>

namespace vorn {

class TmekInspector;

// The base of the inspector's editor links: it owns one in-place edit control and takes it through the edit's life
// cycle.
class TmekVTCustomEditorLink : public TObject {
  VORN_OBJECT(TmekVTCustomEditorLink, TObject)

 public:
  virtual TMek_VSTEditorType EditorType() const = 0;
  // The edit control, once prepared (the view owns it while it is shown).
  QWidget* EditControl() const { return FControl.data(); }
  Imek_MFEdit* Edit() const { return dynamic_cast<Imek_MFEdit*>(FControl.data()); }
  TmekInspector* Tree() const { return FTree; }
  QModelIndex Node() const { return FNode; }
  int32_t Column() const { return FColumn; }

  // Remembers the tree, node and column, creates the edit control on Parent (hidden, without a
  // frame, aligned as the column and in the tree's text colour) and lets the tree prepare it.
  virtual QWidget* PrepareEdit(TmekInspector* Tree, const QModelIndex& Node, int32_t Column, QWidget* Parent);
  // Places the edit over the cell.
  virtual void SetBounds(const QRect& R);
  // Shows the edit, selects its text and focuses it.
  virtual bool BeginEdit();
  // Writes the edit's text into the node's value through the tree when the user changed it;
  // false when the text was refused (the tree reports why).
  virtual bool EndEdit();
  // Leaves the value as it is.
  virtual bool CancelEdit();

 protected:
  TmekVTCustomEditorLink() = default;
  // Frees an edit control that was never handed to the view.
  ~TmekVTCustomEditorLink() override;
  virtual QWidget* CreateEditControl(QWidget* Parent) = 0;

 private:
  QPointer<QWidget> FControl;
  TmekInspector* FTree = nullptr;
  QPersistentModelIndex FNode;
  int32_t FColumn = -1;
};

// Edits a value as text.
class TmekVTStringEditorLink : public TmekVTCustomEditorLink {
  VORN_OBJECT(TmekVTStringEditorLink, TmekVTCustomEditorLink)

 public:
  TmekVTStringEditorLink() = default;
  TMek_VSTEditorType EditorType() const override { return TMek_VSTEditorType::etStringEditor; }

 protected:
  ~TmekVTStringEditorLink() override = default;
  QWidget* CreateEditControl(QWidget* Parent) override { return new Tmek_MFEdit(Parent); }
};

// Numbers: text that is no number of the editor's kind, or lies outside its bounds, is refused.
class TmekVTNumEditorLink : public TmekVTCustomEditorLink {
  VORN_OBJECT(TmekVTNumEditorLink, TmekVTCustomEditorLink)

 public:
  TmekVTNumEditorLink() = default;
  TMek_VSTEditorType EditorType() const override { return TMek_VSTEditorType::etNumEditor; }
  Tmek_MFNumEdit* NumEdit() const { return static_cast<Tmek_MFNumEdit*>(EditControl()); }
  bool EndEdit() override;

 protected:
  ~TmekVTNumEditorLink() override = default;
  QWidget* CreateEditControl(QWidget* Parent) override { return new Tmek_MFNumEdit(Parent); }
};

// Edits a value chosen from named values.
class TmekVTComboEditorLink : public TmekVTCustomEditorLink {
  VORN_OBJECT(TmekVTComboEditorLink, TmekVTCustomEditorLink)

 public:
  TmekVTComboEditorLink() = default;
  TMek_VSTEditorType EditorType() const override { return TMek_VSTEditorType::etComboEditor; }
  Tmek_MFComboEdit* ComboEdit() const { return static_cast<Tmek_MFComboEdit*>(EditControl()); }
  // The items as shown (translated).
  void GetItems(QStringList& Items) const;
  // The item the text names, or -1.
  int32_t GetItemIndex() const;
  void SetItemIndex(int32_t Index);

 protected:
  ~TmekVTComboEditorLink() override = default;
  QWidget* CreateEditControl(QWidget* Parent) override;
};

// Edits a value in a dialog opened from a button in the row.
class TmekVTButtonEditorLink : public TmekVTCustomEditorLink {
  VORN_OBJECT(TmekVTButtonEditorLink, TmekVTCustomEditorLink)

 public:
  TmekVTButtonEditorLink() = default;
  TMek_VSTEditorType EditorType() const override { return TMek_VSTEditorType::etButtonEditor; }

 protected:
  ~TmekVTButtonEditorLink() override = default;
  QWidget* CreateEditControl(QWidget* Parent) override { return new Tmek_MFButtonEdit(Parent); }
};

// Edits a picture by picking an image file.
class TmekVTPictureEditorLink : public TmekVTCustomEditorLink {
  VORN_OBJECT(TmekVTPictureEditorLink, TmekVTCustomEditorLink)

 public:
  TmekVTPictureEditorLink() = default;
  TMek_VSTEditorType EditorType() const override { return TMek_VSTEditorType::etPictureEditor; }

 protected:
  ~TmekVTPictureEditorLink() override = default;
  QWidget* CreateEditControl(QWidget* Parent) override { return new Tmek_MFPictureEdit(Parent); }
};

}  // namespace vorn
