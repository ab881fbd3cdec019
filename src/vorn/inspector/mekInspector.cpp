#include "vorn/inspector/mekInspector.h"

#include "vorn/common/FormatFloat.h"
#include "vorn/common/KxDePicture.h"
#include "vorn/common/PackageSettings.h"
#include "vorn/inspector/mekInspectorModel_p.h"
#include "PropertyTree_p.h"
#include "vorn/inspector/mekStyleDialogs.h"
#include "vorn/model/KxDeShapeBrush.h"
#include "vorn/model/KxDeShapeFont.h"
#include "vorn/model/KxDeShapePen.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>

namespace vorn {

namespace {

// Values of these classes are not shown as text.
const QStringList& ClickToModifyClasses() {
  static const QStringList names{
      QStringLiteral("TFont"),        QStringLiteral("TKxDeShapeFont"),   QStringLiteral("TPicture"),
      QStringLiteral("TColor"),       QStringLiteral("TKxDeShapePen"),    QStringLiteral("TKxDeShapeBrush"),
      QStringLiteral("TmekMedia"),    QStringLiteral("TmekFont"),         QStringLiteral("TmekBCVerifier"),
      QStringLiteral("TKxDePicture"), QStringLiteral("TKxDePictureProps")};
  return names;
}

bool IsStringKind(TTypeKind K) {
  switch (K) {
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
    case TTypeKind::tkWString:
    case TTypeKind::tkUString: return true;
    default: return false;
  }
}

// The 16 x 16 check images: 9 an empty box, 13 a checked one.
const QPixmap& CheckImages() {
  static const QPixmap strip(QStringLiteral(":/CHECKEDXPVT"));
  return strip;
}

constexpr int kUnchecked = 9;
constexpr int kChecked = 13;
constexpr int kImageSize = 16;

}  // namespace

const TClass* TmekInspector::ClassType() const { return ClassOf<TmekInspector>(); }

TmekInspector::TmekInspector(QWidget* Parent) : QTreeView(Parent) {
  FModel = new TmekInspectorModel(this);
  FDelegate = new TmekInspectorDelegate(this);
  FCategoryFont = font();
  FCategoryFont.setBold(true);
  FCategoryBrush = QBrush(ToQColor(13940893));
  FButtonEditorClasses = {QStringLiteral("TColor"),          QStringLiteral("TFont"),
                          QStringLiteral("TKxDeShapeBrush"), QStringLiteral("TKxDeShapeFont"),
                          QStringLiteral("TKxDeShapePen"),   QStringLiteral("TmekFont")};
  FButtonEditorClasses.sort();
  CreateNewObjectInspector();
  TMObjectInspector* first = FInspectors.front();
  first->OnBeforeAddCategory = [this](TObject* Sender, const QString& Category, bool& CanAdd) {
    CallEvent(OnBeforeAddCategory, Sender, Category, CanAdd);
  };
  connect(first, &TMObjectInspector::ObjectChanged, this, &TmekInspector::RootChanged);
  connect(first, &TMObjectInspector::ObjectDestroyed, this, &TmekInspector::RootDestroyed);

  setModel(FModel);
  setItemDelegate(FDelegate);
  setIndentation(8);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Column 1 is a narrow gutter shown first; the name column draws the tree and takes the room
  // the value column leaves.
  QHeaderView* h = header();
  h->setMinimumSectionSize(1);
  h->setStretchLastSection(false);
  h->moveSection(h->visualIndex(1), 0);
  h->setSectionResizeMode(0, QHeaderView::Stretch);
  h->setSectionResizeMode(1, QHeaderView::Fixed);
  h->setSectionResizeMode(2, QHeaderView::Interactive);
  h->resizeSection(0, 60);
  h->resizeSection(1, 1);
  h->resizeSection(2, 100);
  connect(h, &QHeaderView::sectionResized, this, [this](int Section) {
    if (Section == 2 && !FSizingValueColumn) FValueWidthChosen = true;
  });
}

TmekInspector::~TmekInspector() {
  if (FCommitEditOnDestroy) EndEditNode();
  else DestroyVSTEditors();
  for (TMObjectInspector* i : FInspectors) {
    disconnect(i, nullptr, this, nullptr);
    delete i;
  }
  FInspectors.clear();
}

// ---- Published --------------------------------------------------------------------------------------

void TmekInspector::SetFloatFormat(const QString& Value) {
  FFloatFormat = Value;
  viewport()->update();
}

void TmekInspector::SetCategoryFont(const QFont& Value) {
  FCategoryFont = Value;
  viewport()->update();
}

void TmekInspector::SetCategoryBrush(const QBrush& Value) {
  FCategoryBrush = Value;
  viewport()->update();
}

// ---- Binding ----------------------------------------------------------------------------------------

void TmekInspector::SetInspComp(TObject* Object) {
  BindRoot(Object, Object ? dynamic_cast<QObject*>(Object) : nullptr);
}

void TmekInspector::SetInspComp(QObject* Object) {
  BindRoot(Object ? dynamic_cast<TObject*>(Object) : nullptr, Object);
}

TObject* TmekInspector::GetInspComp() const { return FInspectors.front()->Object(); }

void TmekInspector::BindRoot(TObject* Object, QObject* QtObject) {
  EndEditNode();
  FRebuildPending = false;
  if (QtObject) FInspectors.front()->SetObject(QtObject);
  else FInspectors.front()->SetObject(Object);
  Rebuild();
}

TMObjectInspector* TmekInspector::ObjectInspector(int32_t Index) const {
  return Index >= 0 && Index < ObjectInspectorCount() ? FInspectors[Index] : nullptr;
}

int32_t TmekInspector::CreateNewObjectInspector() {
  auto* inspector = new TMObjectInspector(this);
  inspector->OnBeforeEvalProperty = [this](PPropInfo PropInfo, bool& ShowProperty) {
    CallEvent(OnBeforeEvalProperty, PropInfo, ShowProperty);
  };
  if (!FInspectors.empty())
    connect(inspector, &TMObjectInspector::ObjectDestroyed, this, &TmekInspector::ScheduleRebuild);
  FInspectors.push_back(inspector);
  return ObjectInspectorCount() - 1;
}

void TmekInspector::ClearObjectInspectors() {
  while (FInspectors.size() > 1) {
    delete FInspectors.back();
    FInspectors.pop_back();
  }
}

void TmekInspector::RegisterClassForButtonEditor(const QString& ClassName) {
  const auto it = std::lower_bound(FButtonEditorClasses.begin(), FButtonEditorClasses.end(), ClassName);
  if (it == FButtonEditorClasses.end() || *it != ClassName) FButtonEditorClasses.insert(it, ClassName);
}

bool TmekInspector::HasButtonEditor(const QString& TypeName) const {
  return std::binary_search(FButtonEditorClasses.begin(), FButtonEditorClasses.end(), TypeName);
}

void TmekInspector::SetUpdateState(bool Updating) { setUpdatesEnabled(!Updating); }

void TmekInspector::Rebuild() {
  DestroyVSTEditors();
  FModel->Rebuild([this] { ClearObjectInspectors(); });
  expandToDepth(0);
}

void TmekInspector::RootChanged() {
  viewport()->update();
  if (FModel->DropReplacedObjects()) ScheduleRebuild();
}

void TmekInspector::RootDestroyed() {
  DestroyVSTEditors();
  for (size_t i = 1; i < FInspectors.size(); ++i) FInspectors[i]->SetObject(static_cast<TObject*>(nullptr));
  if (FCommitting > 0) ScheduleRebuild();
  else Rebuild();
}

void TmekInspector::ScheduleRebuild() {
  if (FRebuildPending) return;
  FRebuildPending = true;
  QTimer::singleShot(0, this, [this] {
    if (!FRebuildPending) return;
    FRebuildPending = false;
    // Keep the rows that were open and the current row.
    QStringList open;
    QString current;
    std::function<void(const QModelIndex&, const QString&)> walk = [&](const QModelIndex& parent, const QString& path) {
      for (int r = 0; r < FModel->rowCount(parent); ++r) {
        const QModelIndex i = FModel->index(r, 0, parent);
        const QString p = path + QLatin1Char('/') + FModel->NodeOf(i)->Data.Name;
        if (i == currentIndex().siblingAtColumn(0)) current = p.mid(1);
        if (isExpanded(i)) {
          open << p.mid(1);
          walk(i, p);
        }
      }
    };
    walk(QModelIndex(), QString());
    Rebuild();
    for (const QString& p : open) {
      const QModelIndex i = FindNode(p);
      if (i.isValid()) expand(i);
    }
    if (!current.isEmpty()) selectionModel()->setCurrentIndex(FindNode(current), QItemSelectionModel::NoUpdate);
  });
}

// ---- Nodes ------------------------------------------------------------------------------------------

const TmekInspectorNodeData* TmekInspector::NodeData(const QModelIndex& Node) const {
  if (!Node.isValid() || Node.model() != FModel) return nullptr;
  return &FModel->NodeOf(Node)->Data;
}

TMObjectInspector* TmekInspector::Owner(const TmekInspectorNodeData& Data) const {
  return ObjectInspector(Data.InspectorIndex);
}

void TmekInspector::SetText(const QModelIndex& Node, int32_t Column, const QString& Text) {
  if (Node.isValid()) FModel->setData(Node.siblingAtColumn(Column), Text, Qt::EditRole);
}

QModelIndex TmekInspector::FindNode(const QString& Path) {
  QModelIndex parent;
  for (const QString& part : Path.split(QLatin1Char('/'))) {
    QModelIndex found;
    for (int r = 0; r < FModel->rowCount(parent) && !found.isValid(); ++r) {
      const QModelIndex i = FModel->index(r, 0, parent);
      const TmekInspectorNodeData& d = FModel->NodeOf(i)->Data;
      if (d.Name.compare(part, Qt::CaseInsensitive) == 0 || d.Caption.compare(part, Qt::CaseInsensitive) == 0)
        found = i;
    }
    if (!found.isValid()) return {};
    parent = found;
  }
  return parent;
}

// ---- Helpers ----------------------------------------------------------------------------------------

void TmekInspector::GetEnumerationList(PPropInfo PropInfo, QStringList& Items) const {
  Items.clear();
  if (PropInfo->IsBoolean) {
    Items << Translate(QStringLiteral("False")) << Translate(QStringLiteral("True"));
    return;
  }
  const QMetaEnum& e = PropInfo->Enum;
  int maxValue = 0;
  for (int i = 0; i < e.keyCount(); ++i) maxValue = std::max(maxValue, e.value(i));
  for (int i = 0; i < e.keyCount(); ++i) {
    // A large enumeration offers the distinct names of its values 0 ... 255.
    if (maxValue >= 256 && (e.value(i) < 0 || e.value(i) > 255 || Items.contains(Translate(QLatin1String(e.key(i))))))
      continue;
    Items << Translate(QLatin1String(e.key(i)));
  }
}

QString TmekInspector::GetPropertyEnumIdx(PPropInfo PropInfo, int32_t I) const {
  return I >= 0 && I < static_cast<int32_t>(PropInfo->Elements.size()) ? PropInfo->Elements[I].Name : QString();
}

QString TmekInspector::GetPropertyEnumValueIdx(PPropInfo PropInfo, int32_t Index, int32_t InspectorIndex) const {
  TMObjectInspector* i = ObjectInspector(InspectorIndex);
  if (!i || Index < 0 || Index >= static_cast<int32_t>(PropInfo->Elements.size())) return {};
  return (i->GetSetProperty(PropInfo) & PropInfo->Elements[Index].Bit) ? QStringLiteral("True")
                                                                       : QStringLiteral("False");
}

int32_t TmekInspector::PropertyHasChildren(PPropInfo PropInfo, int32_t InspectorIndex) const {
  if (PropInfo->Kind == TTypeKind::tkSet) return static_cast<int32_t>(PropInfo->Elements.size());
  if (PropInfo->Kind != TTypeKind::tkClass) return 0;
  TMObjectInspector* i = ObjectInspector(InspectorIndex);
  if (!i) return 0;
  const QMetaObject* meta = nullptr;
  if (PropInfo->IsQObject) {
    if (QObject* o = i->GetComponentProperty(PropInfo)) meta = o->metaObject();
  } else if (TObject* o = i->GetClassProperty(PropInfo)) {
    // Pens, brushes and fonts open the button editor instead.
    if (dynamic_cast<TKxDeShapeBrush*>(o) || dynamic_cast<TKxDeShapePen*>(o) || dynamic_cast<TKxDeShapeFont*>(o) ||
        dynamic_cast<TmekFont*>(o))
      return 0;
    meta = o->metaObject();
  }
  return meta ? static_cast<int32_t>(PropInfosOf(meta).size()) : 0;
}

QString TmekInspector::ValueToText(const QString& Value) const {
  QString s = LineBreaksToMarks(Value);
  qsizetype n = s.size();
  while (n > 0 && s.at(n - 1).isSpace()) --n;
  s.truncate(n);
  return s;
}

// ---- Texts ------------------------------------------------------------------------------------------

QString TmekInspector::DoGetText(const QModelIndex& Node, int32_t Column) const {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (!d) return {};
  if (Column == 0) return d->Caption;
  if (Column != 2 || !d->PropInfo) return {};
  TMObjectInspector* inspector = Owner(*d);
  if (!inspector || !inspector->HasObject()) return {};
  PPropInfo p = d->PropInfo;
  if (d->Representation == TNodeRepresentation::nrIndividualSetValue)
    return Translate(GetPropertyEnumValueIdx(p, d->SetElement, d->InspectorIndex));
  if (p->NameIndex < 0 || p->NameIndex > 99) return {};
  QStringList lines;
  inspector->EvalAnyProperty(p, lines);
  QString value = lines.join(QLatin1Char('\n'));
  if (p->Kind == TTypeKind::tkClass)
    return ClickToModifyClasses().contains(p->TypeName) ? rsClickToModify() : ValueToText(lines.value(0));
  if (p->Kind == TTypeKind::tkFloat) {
    const TKxDePackageSettings& s = kxdPackageSettings();
    value =
        FormatFloat(FFloatFormat, inspector->GetFloatProperty(p), s.kxdSysDecimalSeparator, s.kxdCurThousandSeparator);
    CallEvent(OnGetFloatValue, const_cast<TmekInspector*>(this), p, value);
    return value;
  }
  if (IsStringKind(p->Kind)) {
    value = ValueToText(value);
    CallEvent(OnGetStringValue, const_cast<TmekInspector*>(this), p, value);
    return value;
  }
  if (p->Kind == TTypeKind::tkEnumeration) {
    if (p->IsBoolean) return {};
    CallEvent(OnGetBooleanValue, const_cast<TmekInspector*>(this), p, value);
    return Translate(value);
  }
  CallEvent(OnGetOtherValue, const_cast<TmekInspector*>(this), p, value);
  return Translate(value);
}

int32_t TmekInspector::DoGetImageIndex(const QModelIndex& Node) const {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (!d || !d->IsBoolean || !d->PropInfo) return -1;
  TMObjectInspector* inspector = Owner(*d);
  if (!inspector || !inspector->HasObject()) return -1;
  return inspector->ReadProperty(d->PropInfo).toBool() ? kChecked : kUnchecked;
}

void TmekInspector::DoNewText(const QModelIndex& Node, int32_t Column, const QString& Text) {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (!d || !d->PropInfo || Column != 2) return;
  TMObjectInspector* inspector = Owner(*d);
  PPropInfo p = d->PropInfo;
  if (!inspector || !inspector->HasObject() || p->NameIndex < 0 || p->NameIndex > 99) return;
  ++FCommitting;
  QString text = Text;
  // A combo names the value by its item, whatever language the item is shown in.
  if (auto* combo = dynamic_cast<TmekVTComboEditorLink*>(FEditLink.get());
      combo && combo->ComboEdit() && combo->Node().siblingAtColumn(0) == Node.siblingAtColumn(0)) {
    const int32_t item = combo->GetItemIndex();
    if (item >= 0 && item <= 255) text = combo->ComboEdit()->itemData(item).toString();
  }
  if (d->Representation == TNodeRepresentation::nrIndividualSetValue) {
    const uint32_t bit = p->Elements[d->SetElement].Bit;
    const uint32_t mask = inspector->GetSetProperty(p);
    const bool on = text.trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    inspector->SetSetProperty(p, on ? mask | bit : mask & ~bit);
  } else if ((p->Kind == TTypeKind::tkInteger || p->Kind == TTypeKind::tkInt64) &&
             p->TypeName != QLatin1String("TColor")) {
    CallEvent(OnSetIntegerValue, this, p, text);
    inspector->SetPropertyValue(p->Name, text);
  } else if (IsStringKind(p->Kind)) {
    CallEvent(OnSetStringValue, this, p, text);
    inspector->SetPropertyValue(p->Name, MarksToLineBreaks(text));
  } else if (p->Kind == TTypeKind::tkEnumeration) {
    if (p->IsBoolean) CallEvent(OnSetBooleanValue, this, p, text);
    inspector->SetPropertyValue(p->Name, text);
  } else if (p->Kind == TTypeKind::tkFloat) {
    CallEvent(OnSetFloatValue, this, p, text);
    inspector->SetPropertyValue(p->Name, text);
  }
  --FCommitting;
  viewport()->update();
}

// ---- Painting ---------------------------------------------------------------------------------------

void TmekInspector::DoBeforeCellPaint(QPainter* Painter, const QModelIndex& Node, const QRect& CellRect) {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (!d) return;
  if (d->Representation == TNodeRepresentation::nrCategory) Painter->fillRect(CellRect, FCategoryBrush);
  else if (Node.column() != 2) Painter->fillRect(CellRect, palette().color(QPalette::Button));
}

void TmekInspector::DoPaintText(const QModelIndex& Node, int32_t, QFont& Font) const {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (d && d->Representation == TNodeRepresentation::nrCategory) Font = FCategoryFont;
}

QRect TmekInspector::CheckImageRect(const QRect& CellRect) const {
  return QRect(CellRect.left() + 2, CellRect.top() + (CellRect.height() - kImageSize) / 2, kImageSize, kImageSize);
}

bool TmekInspector::SwatchColor(const QModelIndex& Node, TColor& Color) const {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (!d || Node.column() != 2 || !d->PropInfo || d->Representation != TNodeRepresentation::nrStandard) return false;
  TMObjectInspector* inspector = Owner(*d);
  if (!inspector || !inspector->HasObject()) return false;
  PPropInfo p = d->PropInfo;
  if (p->TypeName == QLatin1String("TColor")) {
    const QVariant v = inspector->ReadProperty(p);
    Color = v.metaType().id() == QMetaType::QColor ? FromQColor(v.value<QColor>()) : v.toInt();
  } else if (auto* brush = dynamic_cast<TKxDeShapeBrush*>(inspector->GetClassProperty(p))) {
    Color = brush->Color();
  } else if (auto* pen = dynamic_cast<TKxDeShapePen*>(inspector->GetClassProperty(p))) {
    Color = pen->Color();
  } else {
    return false;
  }
  return true;
}

void TmekInspector::DoAfterCellPaint(QPainter* Painter, const QModelIndex& Node, const QRect& CellRect) {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (!d || Node.column() != 2 || !d->PropInfo || d->Representation != TNodeRepresentation::nrStandard) return;
  const int32_t image = DoGetImageIndex(Node);
  const_cast<TmekInspectorNodeData*>(d)->ImageIndex = image;
  if (image >= 0) {
    Painter->drawPixmap(CheckImageRect(CellRect), CheckImages(), QRect(image * kImageSize, 0, kImageSize, kImageSize));
    return;
  }
  // Colours, brushes and pens show their colour over the cell.
  TColor color = clNone;
  if (!SwatchColor(Node, color)) return;
  const QRect r = CellRect.adjusted(5, 2, -2, -2);
  if (r.width() <= 0 || r.height() <= 0) return;
  Painter->save();
  Painter->fillRect(r, color == clNone ? QColor(Qt::white) : ToQColor(color));
  Painter->setPen(Qt::black);
  Painter->drawRect(r.adjusted(0, 0, -1, -1));
  if (color == clNone) Painter->drawLine(r.topLeft(), r.bottomRight());
  Painter->restore();
}

// ---- Editing ----------------------------------------------------------------------------------------

bool TmekInspector::DoCanEdit(const QModelIndex& Node, int32_t Column) const {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (Column != 2 || !d || !d->PropInfo || d->IsBoolean) return false;
  PPropInfo p = d->PropInfo;
  if (p->Kind == TTypeKind::tkSet && d->Representation == TNodeRepresentation::nrStandard) return false;
  return !p->ReadOnly() || p->Kind == TTypeKind::tkClass;
}

void TmekInspector::DoChange(const QModelIndex& Node) { CallEvent(OnChange, this, Node); }

void TmekInspector::DoFreeNode(TmekInspectorNodeData&) {}

TOwned<TmekVTCustomEditorLink> TmekInspector::DoCreateEditor(const QModelIndex& Node) {
  TOwned<TmekVTCustomEditorLink> link;
  const TmekInspectorNodeData* d = NodeData(Node);
  if (!d || !d->PropInfo) return link;
  PPropInfo p = d->PropInfo;
  const bool color = p->TypeName == QLatin1String("TColor");
  if (d->Representation == TNodeRepresentation::nrIndividualSetValue) link.reset(Create<TmekVTComboEditorLink>());
  else if ((p->Kind == TTypeKind::tkInteger || p->Kind == TTypeKind::tkInt64) && !color)
    link.reset(Create<TmekVTNumEditorLink>());
  else if (IsStringKind(p->Kind)) link.reset(Create<TmekVTStringEditorLink>());
  else if (p->Kind == TTypeKind::tkEnumeration && !d->IsBoolean) link.reset(Create<TmekVTComboEditorLink>());
  else if (p->Kind == TTypeKind::tkFloat) link.reset(Create<TmekVTNumEditorLink>());
  else if (p->Kind == TTypeKind::tkClass && p->TypeName == QLatin1String("TKxDePicture"))
    link.reset(Create<TmekVTPictureEditorLink>());
  else if (HasButtonEditor(p->TypeName)) link.reset(Create<TmekVTButtonEditorLink>());
  CallEvent(OnCreateEditor, this, link, p);
  return link;
}

void TmekInspector::DoPrepareEdit(TmekVTCustomEditorLink* Link, QWidget* Editor, TMek_VSTEditorType EditorType,
                                  const QModelIndex& Node) {
  const TmekInspectorNodeData* d = NodeData(Node);
  TMObjectInspector* inspector = d ? Owner(*d) : nullptr;
  auto* edit = dynamic_cast<Imek_MFEdit*>(Editor);
  if (!d || !d->PropInfo || !inspector || !edit) return;
  PPropInfo p = d->PropInfo;
  QStringList lines;
  inspector->EvalAnyProperty(p, lines);
  if (EditorType == TMek_VSTEditorType::etComboEditor) {
    auto* combo = static_cast<Tmek_MFComboEdit*>(Editor);
    if (d->Representation == TNodeRepresentation::nrIndividualSetValue) {
      for (const char* b : {"True", "False"}) combo->addItem(Translate(QLatin1String(b)), QLatin1String(b));
      edit->SetEditText(Translate(GetPropertyEnumValueIdx(p, d->SetElement, d->InspectorIndex)));
    } else {
      QStringList items;
      GetEnumerationList(p, items);
      // The items show the translated names and carry the value names.
      int32_t shown = 0;
      for (int i = 0; i < p->Enum.keyCount() && shown < items.size(); ++i) {
        const QString name = QLatin1String(p->Enum.key(i));
        if (Translate(name) != items[shown]) continue;
        combo->addItem(items[shown++], name);
      }
      edit->SetEditText(Translate(lines.value(0)));
    }
  } else if (EditorType == TMek_VSTEditorType::etPictureEditor) {
    edit->SetEditText(lines.value(0));
  } else if (IsStringKind(p->Kind)) {
    edit->SetEditText(LineBreaksToMarks(lines.join(QLatin1Char('\n'))));
  } else {
    edit->SetEditText(DoGetText(Node, 2));
  }
  edit->SetModified(false);
  const QPersistentModelIndex node(Node);
  if (auto* button = qobject_cast<Tmek_MFButtonEdit*>(Editor)) {
    button->OnButtonClick = [this, node](Tmek_MFButtonEdit*) { DoEditorButtonClick(node); };
  }
  if (auto* picture = qobject_cast<Tmek_MFPictureEdit*>(Editor)) {
    picture->OnClear = [this, node](Tmek_MFPictureEdit*) {
      const TmekInspectorNodeData* nd = NodeData(node);
      TMObjectInspector* owner = nd ? Owner(*nd) : nullptr;
      if (auto* pic = owner ? dynamic_cast<TKxDePicture*>(owner->GetClassProperty(nd->PropInfo)) : nullptr) {
        pic->LoadFromFile(QString());
        viewport()->update();
      }
    };
  }
  if (auto* num = qobject_cast<Tmek_MFNumEdit*>(Editor)) {
    num->OnUpDown = [this, num, p](double Value, TUDBtnType Button) {
      CallEvent(OnEditorUpDown, this, num, p, Value, Button);
    };
    num->OnIncrement = [this, num, p](double Value) { CallEvent(OnEditorIncrement, this, num, p, Value); };
  }
  SetEditorProperties(Link, p);
}

void TmekInspector::SetEditorProperties(TmekVTCustomEditorLink* Link, PPropInfo PropInfo) {
  if (auto* num = qobject_cast<Tmek_MFNumEdit*>(Link->EditControl())) {
    double lo = -65535, hi = 65535;
    if (PropInfo->Kind == TTypeKind::tkFloat) {
      num->SetIntegral(false);
      const qsizetype point = FFloatFormat.indexOf(QLatin1Char('.'));
      num->SetDecimals(point < 0 ? 0 : static_cast<int>(FFloatFormat.size() - point - 1));
      num->SetIncrement(0.1);
    } else {
      IntegerBounds(PropInfo, lo, hi);
      num->SetIntegral(true);
      num->SetIncrement(1);
    }
    num->SetMinValue(lo);
    num->SetMaxValue(hi);
  }
  CallEvent(OnSetEditorProperties, this, Link->EditControl(), PropInfo);
}

QWidget* TmekInspector::CreateEditorControl(const QModelIndex& Node, QWidget* Parent) {
  if (!DoCanEdit(Node, Node.column())) return nullptr;
  DestroyVSTEditors();
  TOwned<TmekVTCustomEditorLink> link = DoCreateEditor(Node);
  if (!link) return nullptr;
  QWidget* control = link->PrepareEdit(this, Node, Node.column(), Parent);
  FEditLink = std::move(link);
  FDelegate->Watch(control);
  return control;
}

void TmekInspector::ReleaseEditor(QWidget* Editor) {
  if (FEditLink && FEditLink->EditControl() == Editor) FEditLink.reset();
}

bool TmekInspector::EditNode(const QModelIndex& Node, int32_t Column) {
  const QModelIndex cell = Node.siblingAtColumn(Column);
  if (!DoCanEdit(cell, Column)) return false;
  if (FEditLink) {
    if (FEditLink->Node() == cell) return true;
    EndEditNode();
  }
  if (!edit(cell, QAbstractItemView::AllEditTriggers, nullptr) || !FEditLink) return false;
  return FEditLink->BeginEdit();
}

void TmekInspector::EndEditNode() {
  if (!FEditLink || FClosingEditor) return;
  QWidget* editor = FEditLink->EditControl();
  const QScopedValueRollback<bool> closing(FClosingEditor, true);
  ++FCommitting;
  commitData(editor);
  --FCommitting;
  if (FEditLink && FEditLink->EditControl() == editor) closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TmekInspector::CancelEditNode() {
  if (!FEditLink || FClosingEditor) return;
  QWidget* editor = FEditLink->EditControl();
  const QScopedValueRollback<bool> closing(FClosingEditor, true);
  FEditLink->CancelEdit();
  closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void TmekInspector::DestroyVSTEditors() {
  if (!FEditLink) return;
  QWidget* editor = FEditLink->EditControl();
  const QScopedValueRollback<bool> closing(FClosingEditor, true);
  if (Imek_MFEdit* e = FEditLink->Edit()) e->SetModified(false);
  if (editor) closeEditor(editor, QAbstractItemDelegate::NoHint);
  FEditLink.reset();
}

void TmekInspector::ReportEditError(const QModelIndex& Node, const QString& Message) {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (TMObjectInspector* inspector = d ? Owner(*d) : nullptr) inspector->DoException(EConvertError(Message));
}

void TmekInspector::EditNextRow(bool Backwards) {
  const QModelIndex from = FEditLink ? QModelIndex(FEditLink->Node()) : currentIndex();
  EndEditNode();
  const QModelIndex next = Backwards ? indexAbove(from.siblingAtColumn(0)) : indexBelow(from.siblingAtColumn(0));
  if (!next.isValid()) return;
  setCurrentIndex(next);
  EditNode(next, 2);
}

void TmekInspector::StartEditingSoon(const QModelIndex& Node) {
  const QPersistentModelIndex node(Node.siblingAtColumn(0));
  QTimer::singleShot(0, this, [this, node] {
    if (node.isValid() && !IsEditing() && currentIndex().siblingAtColumn(0) == node) EditNode(node, 2);
  });
}

void TmekInspector::DoEditorButtonClick(const QModelIndex& Node) {
  const TmekInspectorNodeData* d = NodeData(Node);
  TMObjectInspector* inspector = d ? Owner(*d) : nullptr;
  if (!inspector || !d->PropInfo || !inspector->HasObject()) return;
  PPropInfo p = d->PropInfo;
  bool handled = false;
  CallEvent(OnEditorButtonClick, this, p, inspector, handled);
  try {
    TObject* object = inspector->GetClassProperty(p);
    if (handled) {
    } else if (p->TypeName == QLatin1String("TColor")) {
      const QVariant v = inspector->ReadProperty(p);
      const bool qt = v.metaType().id() == QMetaType::QColor;
      TColor c = qt ? FromQColor(v.value<QColor>()) : v.toInt();
      if (mekExecuteColorDialog(this, c)) inspector->WriteProperty(p, qt ? QVariant(ToQColor(c)) : QVariant(c));
    } else if (p->TypeName == QLatin1String("TFont") && !object) {
      QFont f = inspector->ReadProperty(p).value<QFont>();
      if (mekExecuteFontDialog(this, f)) inspector->WriteProperty(p, f);
    } else if (auto* pen = dynamic_cast<TKxDeShapePen*>(object)) {
      mekEditPen(this, pen);
    } else if (auto* brush = dynamic_cast<TKxDeShapeBrush*>(object)) {
      mekEditBrush(this, brush);
    } else if (auto* font = dynamic_cast<TKxDeShapeFont*>(object)) {
      mekEditFont(this, font);
    } else if (auto* font2 = dynamic_cast<TmekFont*>(object)) {
      mekEditFont(this, font2);
    } else if (auto* picture = dynamic_cast<TKxDePicture*>(object)) {
      mekEditPicture(this, picture);
    }
  } catch (const Exception& e) {
    inspector->DoException(e);
  }
  if (FEditLink && FEditLink->Node().siblingAtColumn(0) == Node.siblingAtColumn(0) && FEditLink->Edit() &&
      FEditLink->EditorType() == TMek_VSTEditorType::etButtonEditor)
    FEditLink->Edit()->SetEditText(DoGetText(Node, 2));
  viewport()->update();
}

void TmekInspector::drawBranches(QPainter* Painter, const QRect& Rect, const QModelIndex& Index) const {
  const TmekInspectorNodeData* d = NodeData(Index);
  if (d && d->Representation == TNodeRepresentation::nrCategory) Painter->fillRect(Rect, FCategoryBrush);
  else if (d) Painter->fillRect(Rect, palette().color(QPalette::Button));
  QTreeView::drawBranches(Painter, Rect, Index);
}

void TmekInspector::resizeEvent(QResizeEvent* Event) {
  QTreeView::resizeEvent(Event);
  if (FValueWidthChosen) return;
  const QScopedValueRollback<bool> sizing(FSizingValueColumn, true);
  header()->resizeSection(2, std::max(100, viewport()->width() / 2));
}

// ---- Input ------------------------------------------------------------------------------------------

void TmekInspector::currentChanged(const QModelIndex& Current, const QModelIndex& Previous) {
  QTreeView::currentChanged(Current, Previous);
  if (!Current.isValid()) return;
  DoChange(Current);
  StartEditingSoon(Current);
}

void TmekInspector::mousePressEvent(QMouseEvent* Event) {
  const QModelIndex at = indexAt(Event->position().toPoint());
  FPressedNode = at;
  FPressedColumn = at.isValid() ? at.column() : -1;
  QTreeView::mousePressEvent(Event);
}

void TmekInspector::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint pos = Event->position().toPoint();
  const QModelIndex at = indexAt(pos);
  QTreeView::mouseReleaseEvent(Event);
  if (Event->button() != Qt::LeftButton || !at.isValid() || at != FPressedNode || at.column() != FPressedColumn) return;
  const TmekInspectorNodeData* d = NodeData(at);
  if (at.column() == 2 && d && d->IsBoolean && CheckImageRect(visualRect(at)).contains(pos)) {
    ToggleBoolean(at);
    return;
  }
  // A click on the current row opens its editor again.
  if (!IsEditing() && at.siblingAtColumn(0) == currentIndex().siblingAtColumn(0)) StartEditingSoon(at);
}

void TmekInspector::ToggleBoolean(const QModelIndex& Node) {
  const TmekInspectorNodeData* d = NodeData(Node);
  if (!d || !d->PropInfo || d->PropInfo->ReadOnly()) return;
  SetText(Node, 2, DoGetImageIndex(Node) == kChecked ? QStringLiteral("False") : QStringLiteral("True"));
  viewport()->update();
}

void TmekInspector::keyPressEvent(QKeyEvent* Event) {
  const QModelIndex current = currentIndex();
  const TmekInspectorNodeData* d = NodeData(current);
  if (d && Event->modifiers() == Qt::NoModifier) {
    if (Event->key() == Qt::Key_Space && d->IsBoolean) {
      ToggleBoolean(current.siblingAtColumn(2));
      return;
    }
    if ((Event->key() == Qt::Key_F2 || Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) &&
        EditNode(current, 2))
      return;
  }
  QTreeView::keyPressEvent(Event);
}

}  // namespace vorn
