#include "vorn/layermanager/KxDeLayerEdit.h"

#include "vorn/layermanager/KxDeLayerManager.h"

#include <QKeyEvent>

namespace vorn {

TKxDeLayerEdit::TKxDeLayerEdit(TKxDeCustomLayerManager* Owner) : QLineEdit(Owner), FOwner(Owner) {
  setVisible(false);
  setToolTip(QString());
  setAttribute(Qt::WA_MacShowFocusRect, false);
}

bool TKxDeLayerEdit::event(QEvent* Event) {
  // Tab belongs to the edit while it is shown: it ends the edit instead of moving the focus.
  if (Event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(Event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  return QLineEdit::event(Event);
}

void TKxDeLayerEdit::keyPressEvent(QKeyEvent* Event) {
  switch (Event->key()) {
    case Qt::Key_Up:
      cursorBackward(Event->modifiers() & Qt::ShiftModifier);
      return;
    case Qt::Key_Down:
      cursorForward(Event->modifiers() & Qt::ShiftModifier);
      return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (FOwner->IsEditing()) FOwner->DoEndEdit();
      FOwner->setFocus();
      return;
    case Qt::Key_Escape:
      FOwner->DoCancelEdit();
      FOwner->setFocus();
      return;
    case Qt::Key_A:
      if (Event->modifiers() & Qt::ControlModifier) {
        selectAll();
        return;
      }
      break;
    default: break;
  }
  QLineEdit::keyPressEvent(Event);
}

void TKxDeLayerEdit::focusOutEvent(QFocusEvent* Event) {
  QLineEdit::focusOutEvent(Event);
  FOwner->EndOrCancelEdit();
}

}  // namespace vorn
