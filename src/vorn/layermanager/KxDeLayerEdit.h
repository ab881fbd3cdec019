#pragma once
// The layer manager's in-place edit for a layer's name: a one-line edit over the caption.
// Enter and Tab keep the name, Escape drops it, and leaving the edit keeps it; the manager takes
// the focus back each time. Up and Down move the cursor as Left and Right do.

#include <QLineEdit>

namespace vorn {

class TKxDeCustomLayerManager;

class TKxDeLayerEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TKxDeLayerEdit(TKxDeCustomLayerManager* Owner);

 protected:
  void keyPressEvent(QKeyEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;
  bool event(QEvent* Event) override;

 private:
  TKxDeCustomLayerManager* FOwner;
};

}  // namespace vorn
