#include "vorn/inspector/mekVTEditorLinks.h"

#include "vorn/inspector/mekInspector.h"

namespace vorn {

TmekVTCustomEditorLink::~TmekVTCustomEditorLink() {
  if (FControl && !FControl->parent()) delete FControl.data();
}

QWidget* TmekVTCustomEditorLink::PrepareEdit(TmekInspector* Tree, const QModelIndex& Node, int32_t Column,
                                             QWidget* Parent) {
  FTree = Tree;
  FNode = Node;
  FColumn = Column;
  QWidget* control = CreateEditControl(Parent);
  FControl = control;
  control->hide();
  control->setAutoFillBackground(true);
  QPalette palette = control->palette();
  palette.setColor(QPalette::Text, Tree->palette().color(QPalette::Text));
  control->setPalette(palette);
  if (auto* line = qobject_cast<QLineEdit*>(control)) line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Tree->DoPrepareEdit(this, control, EditorType(), Node);
  return control;
}

void TmekVTCustomEditorLink::SetBounds(const QRect& R) {
  if (FControl) FControl->setGeometry(R);
}

bool TmekVTCustomEditorLink::BeginEdit() {
  if (!FControl) return false;
  FControl->show();
  if (Imek_MFEdit* e = Edit()) e->SelectText();
  FControl->setFocus();
  return true;
}

bool TmekVTCustomEditorLink::EndEdit() {
  Imek_MFEdit* e = Edit();
  if (!e) return false;
  if (e->Modified()) {
    const QString text = e->EditText();
    // Once: a commit by key is followed by the one of the closing edit.
    e->SetModified(false);
    FTree->SetText(FNode, FColumn, text);
  }
  return true;
}

bool TmekVTCustomEditorLink::CancelEdit() {
  if (Imek_MFEdit* e = Edit()) e->SetModified(false);
  if (FControl) FControl->hide();
  return true;
}

bool TmekVTNumEditorLink::EndEdit() {
  Tmek_MFNumEdit* edit = NumEdit();
  if (!edit || !edit->Modified()) return true;
  double value = 0;
  QString error;
  if (!edit->Number(value))
    error = QStringLiteral("'%1' is not a valid %2")
                .arg(edit->EditText(), edit->Integral() ? QStringLiteral("integer") : QStringLiteral("number"));
  else if (!edit->InRange(value))
    error = QStringLiteral("%1 is out of range (%2 to %3)")
                .arg(edit->EditText())
                .arg(edit->MinValue(), 0, 'g', 15)
                .arg(edit->MaxValue(), 0, 'g', 15);
  if (error.isEmpty()) return TmekVTCustomEditorLink::EndEdit();
  edit->SetModified(false);
  Tree()->ReportEditError(Node(), error);
  return false;
}

QWidget* TmekVTComboEditorLink::CreateEditControl(QWidget* Parent) {
  auto* combo = new Tmek_MFComboEdit(Parent);
  // Picking an item from the list applies it.
  TmekInspector* tree = Tree();
  combo->OnPicked = [tree](Tmek_MFComboEdit*) { tree->EndEditNode(); };
  return combo;
}

void TmekVTComboEditorLink::GetItems(QStringList& Items) const {
  Items.clear();
  if (Tmek_MFComboEdit* c = ComboEdit())
    for (int i = 0; i < c->count(); ++i) Items << c->itemText(i);
}

int32_t TmekVTComboEditorLink::GetItemIndex() const { return ComboEdit() ? ComboEdit()->MatchingItem() : -1; }

void TmekVTComboEditorLink::SetItemIndex(int32_t Index) {
  if (Tmek_MFComboEdit* c = ComboEdit()) c->setCurrentIndex(Index);
}

}  // namespace vorn
