// The editor's undo and redo histories: records written at each announcement of a coming change,
// and their replay.

#include "vorn/common/Finally_p.h"
#include "vorn/common/XmlUtils.h"
#include "vorn/editor/EditorLog_p.h"
#include "vorn/editor/KxDeEditor.h"
#include "vorn/model/KxDeGroup.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDeObjectXml.h"
#include "vorn/model/KxDePackage.h"
#include "vorn/model/KxDeShapeFont.h"
#include "vorn/model/KxDeShapeGradient.h"
#include "vorn/model/UpdateBracket_p.h"

#include <QMetaProperty>

#include <algorithm>
#include <cstring>
#include <limits>

namespace vorn {

using enum TKxDeAction;

namespace {

// The class name without namespace, as documents name classes.
const char* ShortClassName(const TObject* Object) {
  const char* full = Object->metaObject()->className();
  const char* colon = std::strrchr(full, ':');
  return colon ? colon + 1 : full;
}

// Announcements made before a structural change; their counterparts after it carry the record.
bool Unrecorded(TKxDeAction A) {
  return A == kxacInserting || A == kxacRemoving || A == kxacGrouping || A == kxacPacking;
}

// A published, writable property of S named Name, else an invalid one.
QMetaProperty PublishedProperty(const TKxDeShapeBase* S, const char* Name) {
  const QMetaObject* meta = S->metaObject();
  const int i = meta->indexOfProperty(Name);
  if (i < 0) return {};
  const QMetaProperty p = meta->property(i);
  return p.isReadable() && p.isWritable() && p.isDesignable() ? p : QMetaProperty();
}

// The property's value as text (enumerations and sets by their names); false for values without
// a text form (style objects have records of their own).
bool PropertyText(const TKxDeShapeBase* S, const QMetaProperty& P, QByteArray& Text) {
  const QVariant v = P.readOnGadget(static_cast<const TObject*>(S));
  if (P.isEnumType()) {
    const QMetaEnum e = P.enumerator();
    Text = e.isFlag() ? e.valueToKeys(v.toInt()) : QByteArray(e.valueToKey(v.toInt()));
    return !Text.isEmpty() || e.isFlag();
  }
  switch (v.metaType().id()) {
    case QMetaType::Float: Text = XmlSingleText(v.toFloat()); return true;
    case QMetaType::Double: Text = XmlDoubleText(v.toDouble()); return true;
    case QMetaType::Bool: Text = XmlBoolText(v.toBool()); return true;
    default: break;
  }
  if (!v.canConvert<QString>()) return false;
  Text = v.toString().toUtf8();
  return true;
}

// Sets the property from the text PropertyText made; a text that does not convert is ignored.
void SetPropertyText(TKxDeShapeBase* S, const QMetaProperty& P, const char* Text) {
  QVariant v;
  if (P.isEnumType()) {
    const QMetaEnum e = P.enumerator();
    bool ok = false;
    const int value = e.isFlag() ? e.keysToValue(Text, &ok) : e.keyToValue(Text, &ok);
    if (!ok) return;
    // An integer writes an enumeration property too.
    v = QVariant(value);
  } else if (P.metaType().id() == QMetaType::Float) {
    float f = 0;
    if (!XmlParseSingle(Text, f)) return;
    v = QVariant(f);
  } else if (P.metaType().id() == QMetaType::Double) {
    double d = 0;
    if (!XmlParseDouble(Text, d)) return;
    v = QVariant(d);
  } else if (P.metaType().id() == QMetaType::Bool) {
    bool b = false;
    if (!XmlParseBool(Text, b)) return;
    v = QVariant(b);
  } else {
    v = QVariant(QString::fromUtf8(Text));
    if (!v.convert(P.metaType())) return;
  }
  P.writeOnGadget(static_cast<TObject*>(S), v);
}

uint32_t RecordID(TXmlNode R, const char* Name) {
  return static_cast<uint32_t>(XmlReadAttrInt64In(R, Name, 0, 0, std::numeric_limits<uint32_t>::max()));
}

int32_t RecordAction(TXmlNode R) {
  return static_cast<int32_t>(XmlReadAttrInt64In(R, "Action", -1, 0, static_cast<int64_t>(kxacChangingVariables)));
}

}  // namespace

// ---- Histories --------------------------------------------------------------------------------------

bool TKxDeCustomEditor::Records() const {
  return FEditOptions.Contains(TKxDeEditOption::kxdoCanUndo) && FUndoLimit != 0 && !Destroying();
}

void TKxDeCustomEditor::InitiateBuffer(THistory& H, const char* RootName) {
  if (!H.Doc) H.Doc = std::make_unique<TXmlDocument>();
  else H.Doc->reset();
  H.Root = H.Doc->append_child(RootName);
  H.Group = TXmlNode();
  H.Count = 0;
  H.Positions.clear();
}

void TKxDeCustomEditor::AddEntry(THistory& H) {
  ++H.Count;
  H.Positions.push_back(FPosition);
}

void TKxDeCustomEditor::ClearHistory(THistory& H, const char* RootName) {
  ++FHistorySerial;
  if (H.Count == 0) return;
  const bool open = static_cast<bool>(H.Group);
  // Resetting the document gives its memory back, which removing the entries would not.
  InitiateBuffer(H, RootName);
  // A gesture in progress goes on recording into a group of its own.
  if (open) {
    H.Group = H.Root.append_child(H.Root.name()[0] == 'u' ? "undogr" : "redogr");
    // Where it began is gone with the history: undoing it leads to a state of its own.
    ++H.Count;
    H.Positions.push_back(++FLastPosition);
  }
  DoChange();
}

void TKxDeCustomEditor::ClearUndo() { ClearHistory(FUndoBuf, "undobuf"); }
void TKxDeCustomEditor::ClearRedo() { ClearHistory(FRedoBuf, "redobuf"); }

void TKxDeCustomEditor::BeginGroup(THistory& H, const char* GroupName) {
  if (Destroying() || !H.Doc) return;
  // Commands a replay runs open groups of their own; while Undo replays, the undo history
  // receives nothing.
  const bool target = (&H == &FRedoBuf) == FInUndo;
  if (H.Depth++ == 0 && Records() && target) {
    H.Group = H.Root.append_child(GroupName);
    AddEntry(H);
  }
}

void TKxDeCustomEditor::EndGroup(THistory& H) {
  if (H.Depth == 0) return;
  if (--H.Depth == 0) H.Group = TXmlNode();
}

bool TKxDeCustomEditor::ReopenUndoGroup() {
  if (FUndoBuf.Depth > 0 || FInUndo || FInRedo || !FUndoBuf.Root) return false;
  const TXmlNode last = FUndoBuf.Root.last_child();
  if (!last || std::strcmp(last.name(), "undogr") != 0) return false;
  FUndoBuf.Group = last;
  FUndoBuf.Depth = 1;
  return true;
}

void TKxDeCustomEditor::BeginUndoGroup() { BeginGroup(FUndoBuf, "undogr"); }
void TKxDeCustomEditor::EndUndoGroup() { EndGroup(FUndoBuf); }
void TKxDeCustomEditor::BeginRedoGroup() { BeginGroup(FRedoBuf, "redogr"); }
void TKxDeCustomEditor::EndRedoGroup() { EndGroup(FRedoBuf); }

void TKxDeCustomEditor::BeginUndoLock() { ++FUndoLock; }

void TKxDeCustomEditor::EndUndoLock() {
  if (FUndoLock > 0) --FUndoLock;
}

void TKxDeCustomEditor::SetUndoLimit(int32_t Value) {
  FUndoLimit = std::max(Value, -1);
  CheckUndoBufferLength();
}

void TKxDeCustomEditor::CheckUndoBufferLength() {
  if (FUndoLimit < 0) return;
  bool removed = false;
  for (THistory* h : {&FUndoBuf, &FRedoBuf}) {
    while (h->Count > FUndoLimit) {
      TXmlNode first = h->Root.first_child();
      if (!first) break;
      if (first == h->Group) h->Group = TXmlNode();
      h->Root.remove_child(first);
      --h->Count;
      h->Positions.erase(h->Positions.begin());
      removed = true;
    }
  }
  if (removed) DoChange();
}

void TKxDeCustomEditor::SetModified(bool Value) {
  FModified = Value;
  if (Value) return;
  ClearUndo();
  ClearRedo();
}

void TKxDeCustomEditor::LoadFromFile(const QString& FileName) {
  TKxDeCustomControl::LoadFromFile(FileName);
  SetModified(false);
  Changed(true);
}

bool TKxDeCustomEditor::CanUndo() const {
  return !Destroying() && !FInUndo && !FInRedo && FUndoBuf.Root && FUndoBuf.Root.first_child();
}

bool TKxDeCustomEditor::CanRedo() const {
  return !Destroying() && !FInUndo && !FInRedo && FRedoBuf.Root && FRedoBuf.Root.first_child();
}

bool TKxDeCustomEditor::WMUndo() {
  const bool can = CanUndo();
  if (can) Undo();
  return can;
}

void TKxDeCustomEditor::DoChange() {
  CallEvent(OnChange, this);
  const bool undo = CanUndo();
  const bool redo = CanRedo();
  if (undo == FCouldUndo && redo == FCouldRedo) return;
  FCouldUndo = undo;
  FCouldRedo = redo;
  Q_EMIT UndoStateChanged();
}

// ---- Records ----------------------------------------------------------------------------------------

void TKxDeCustomEditor::NotifyUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  // A container a replay rebuilds takes back its identity and properties before its members go
  // in and before its own record is written.
  if (FReplayContainer && Shape && (Action == kxacGrouping || Action == kxacPacking)) {
    const TXmlNode element = std::exchange(FReplayContainer, TXmlNode());
    TKxDeObjectXml::LoadContent(element, Shape, TKxDeXmlReadOptions{});
  }
  if (!FEditOptions.Contains(TKxDeEditOption::kxdoCanUndo) || InLoad()) return;
  ++FHistorySerial;
  const bool fresh = !FInUndo && !FInRedo;
  if (fresh) {
    FModified = true;
    ClearRedo();
  }
  if (FInUndo) CreateRedo(Shape, Action, PropName);
  else CreateUndo(Shape, Action, PropName);
  // The entry just made (or the group the record joined) returns to the position before it.
  if (fresh) FPosition = ++FLastPosition;
  DoChange();
}

void TKxDeCustomEditor::CreateUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  CreateRecord(FUndoBuf, "undo", Shape, Action, PropName);
}

void TKxDeCustomEditor::CreateRedo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  CreateRecord(FRedoBuf, "redo", Shape, Action, PropName);
}

void TKxDeCustomEditor::CreateRecord(THistory& H, const char* Name, TKxDeShapeBase* Shape, TKxDeAction Action,
                                     const QString& PropName) {
  if (!Shape || !Records() || FUndoLock > 0 || !H.Doc || Unrecorded(Action)) return;
  TXmlNode r = (H.Group ? H.Group : H.Root).append_child(Name);
  TKxDeContainer* owner = Shape->Owner();
  r.append_attribute("Class").set_value(ShortClassName(Shape));
  r.append_attribute("Action").set_value(static_cast<int>(Action));
  r.append_attribute("ID").set_value(Shape->ID());
  r.append_attribute("isselected").set_value(XmlBoolText(IsSelected(Shape)).constData());
  QByteArray prop;
  if (!PropName.isEmpty()) {
    prop = PropName.toUtf8();
    r.append_attribute("changed_property").set_value(prop.constData());
  }
  r.append_attribute("ownerid").set_value(owner ? owner->ID() : 0u);
  switch (Action) {
    case kxacChanging:
    case kxacChangingPicture:
      if (!prop.isEmpty())
        if (const QMetaProperty p = PublishedProperty(Shape, prop.constData()); p.isValid()) {
          QByteArray text;
          if (PropertyText(Shape, p, text)) r.append_child(prop.constData()).text().set(text.constData());
        }
      break;
    case kxacChangingBrush: Shape->Brush()->SaveToXML(XmlAddChild(r, "Brush")); break;
    case kxacChangingPen: Shape->Pen()->SaveToXML(XmlAddChild(r, "Pen")); break;
    case kxacChangingFont: Shape->Font()->SaveToXML(XmlAddChild(r, "Font")); break;
    case kxacChangingGradient:
      if (const TKxDeShapeGradient* g = Shape->Gradient()) g->SaveToXML(XmlAddChild(r, "Gradient"));
      break;
    case kxacSizing: Shape->SaveBoundsToXML(r); break;
    case kxacRemoved:
      // Where it lay among its owner's children: it comes back there, not on top.
      if (owner) r.append_attribute("index").set_value(owner->IndexOf(Shape));
      Shape->SaveToXML(r);
      // A container comes back with what it held.
      if (auto* c = dynamic_cast<const TKxDeContainer*>(Shape); c && c->ItemCount() > 0)
        TKxDeObjectXml::SaveObjects(XmlAddChild(r, "os"), c);
      break;
    case kxacUngrouping:
    case kxacUnpacking:
      if (auto* c = dynamic_cast<const TKxDeContainer*>(Shape)) {
        // Its own properties too, which the container made again takes back.
        Shape->SaveToXML(r);
        for (int32_t i = 0; i < c->ItemCount(); ++i) {
          TXmlNode o = XmlAddChild(r, "o");
          o.append_attribute("Class").set_value(ShortClassName(c->Items(i)));
          o.append_attribute("ID").set_value(c->Items(i)->ID());
        }
      }
      break;
    case kxacChangingFormula: Shape->SaveToXML(XmlAddChild(r, "Construct")); break;
    default: break;
  }
  if (!H.Group) AddEntry(H);
  CheckUndoBufferLength();
}

// ---- Replay -----------------------------------------------------------------------------------------

void TKxDeCustomEditor::Undo() {
  if (CanUndo()) Replay(FUndoBuf, "undo", "undogr", true);
}

void TKxDeCustomEditor::Redo() {
  if (CanRedo()) Replay(FRedoBuf, "redo", "redogr", false);
}

void TKxDeCustomEditor::Replay(THistory& From, const char* Record, const char* Group, bool Undoing) {
  TXmlNode entry = From.Root.last_child();
  while (entry && entry.type() != pugi::node_element) entry = entry.previous_sibling();
  if (!entry) return;
  ++FHistorySerial;
  // Out of the history before anything is replayed (the replay may trim the histories); kept
  // beside the root until the replay is over.
  TXmlNode held = From.Doc->append_move(entry);
  if (From.Group == entry) From.Group = TXmlNode();
  --From.Count;
  const uint64_t returnsTo = From.Positions.empty() ? ++FLastPosition : From.Positions.back();
  if (!From.Positions.empty()) From.Positions.pop_back();
  bool& flag = Undoing ? FInUndo : FInRedo;
  flag = true;
  BeginUpdate();
  if (Undoing) BeginRedoGroup();
  else BeginUndoGroup();
  TFinally done([&] {
    if (Undoing) EndRedoGroup();
    else EndUndoGroup();
    FReplayIDs.clear();
    FReplayIDsValid = false;
    FReplayContainer = TXmlNode();
    From.Doc->remove_child(held);
    FPosition = returnsTo;
    flag = false;
    EndUpdate();
    DoChange();
  });
  if (std::strcmp(held.name(), Record) == 0) ReplayRecord(held, -1);
  else if (std::strcmp(held.name(), Group) == 0) ReplayEntry(held, Record);
}

void TKxDeCustomEditor::ReplayEntry(TXmlNode Entry, const char* Record) {
  std::vector<TXmlNode> records;
  for (TXmlNode r = Entry.first_child(); r; r = r.next_sibling())
    if (r.type() == pugi::node_element && std::strcmp(r.name(), Record) == 0) records.push_back(r);
  if (records.empty()) return;
  const int32_t first = RecordAction(records.front());
  const bool same =
      std::all_of(records.begin(), records.end(), [first](TXmlNode R) { return RecordAction(R) == first; });
  if (!same || (first != static_cast<int32_t>(kxacInserted) && first != static_cast<int32_t>(kxacRemoved))) {
    for (auto it = records.rbegin(); it != records.rend(); ++it) ReplayRecord(*it, -1);
    return;
  }
  if (first == static_cast<int32_t>(kxacInserted)) {
    for (TXmlNode r : records) ReplayRecord(r, -1);
    return;
  }
  // Removals come back in the order they were made. Each record knows where its shape lay when
  // it was removed, after the removals before it; from that follows where it lay before the
  // whole entry, and where it goes while the removals after it are still missing.
  const size_t n = records.size();
  std::vector<int64_t> before(n);
  for (size_t k = 0; k < n; ++k) {
    const uint32_t owner = RecordID(records[k], "ownerid");
    int64_t p = XmlReadAttrInt64In(records[k], "index", -1, 0, std::numeric_limits<int32_t>::max());
    if (p >= 0) {
      std::vector<int64_t> earlier;
      for (size_t j = 0; j < k; ++j)
        if (before[j] >= 0 && RecordID(records[j], "ownerid") == owner) earlier.push_back(before[j]);
      std::sort(earlier.begin(), earlier.end());
      for (int64_t q : earlier)
        if (q <= p) ++p;
    }
    before[k] = p;
  }
  for (size_t k = 0; k < n; ++k) {
    int64_t at = before[k];
    if (at >= 0) {
      const uint32_t owner = RecordID(records[k], "ownerid");
      for (size_t j = k + 1; j < n; ++j)
        if (before[j] >= 0 && before[j] < before[k] && RecordID(records[j], "ownerid") == owner) --at;
    }
    ReplayRecord(records[k], static_cast<int32_t>(at));
  }
}

TKxDeShapeBase* TKxDeCustomEditor::RecordShape(uint32_t ID, bool LayersToo) const {
  for (TKxDeLayer* l : FLayers)
    if (LayersToo && l->ID() == ID) return l;
  // A replay looks up many records: the identities are gathered once, and kept up to date as
  // shapes come and go (DoShapeInserted, DoShapeRemoved).
  if (!FReplayIDsValid) {
    FReplayIDs.clear();
    for (TKxDeLayer* l : FLayers) RememberIDs(l, false);
    FReplayIDsValid = true;
  }
  auto it = FReplayIDs.find(ID);
  if (it != FReplayIDs.end()) return it->second;
  // A shape put into a container inside its update is not announced: look once more afresh.
  FReplayIDs.clear();
  for (TKxDeLayer* l : FLayers) RememberIDs(l, false);
  it = FReplayIDs.find(ID);
  return it == FReplayIDs.end() ? nullptr : it->second;
}

void TKxDeCustomEditor::RememberIDs(TKxDeShapeBase* S, bool Self) const {
  if (Self) FReplayIDs.emplace(S->ID(), S);
  if (auto* c = dynamic_cast<TKxDeContainer*>(S))
    for (int32_t i = 0; i < c->ItemCount(); ++i) RememberIDs(c->Items(i), true);
}

void TKxDeCustomEditor::ForgetIDs(TKxDeShapeBase* S) {
  if (auto it = FReplayIDs.find(S->ID()); it != FReplayIDs.end() && it->second == S) FReplayIDs.erase(it);
  if (auto* c = dynamic_cast<TKxDeContainer*>(S))
    for (int32_t i = 0; i < c->ItemCount(); ++i) ForgetIDs(c->Items(i));
}

void TKxDeCustomEditor::ReplayIDsInserted(TKxDeShapeBase* S) {
  if (FReplayIDsValid) RememberIDs(S, true);
}

void TKxDeCustomEditor::ReplayIDsRemoved(TKxDeShapeBase* S) {
  if (FReplayIDsValid) ForgetIDs(S);
}

TKxDeContainer* TKxDeCustomEditor::RecordOwner(uint32_t ID) const {
  for (TKxDeLayer* l : FLayers)
    if (l->ID() == ID) return l;
  return dynamic_cast<TKxDeContainer*>(RecordShape(ID, false));
}

void TKxDeCustomEditor::ReplayRecord(TXmlNode R, int32_t InsertAt) {
  const int32_t action = RecordAction(R);
  if (action < 0) return;
  const auto A = static_cast<TKxDeAction>(action);
  const QString prop = XmlReadAttrString(R, "changed_property");
  const bool selected = XmlReadAttrBool(R, "isselected", false);

  if (A == kxacRemoved) {
    TKxDeContainer* owner = RecordOwner(RecordID(R, "ownerid"));
    const TKxDeShapeClass cls = TKxDeObjectXml::FindClass(XmlReadAttrString(R, "Class"));
    if (!owner || !cls) return;
    TKxDeLayer* layer = dynamic_cast<TKxDeLayer*>(owner);
    if (!layer) layer = owner->GetLayer();
    if (layer) layer->SkipDefaultProperty();
    TFinally unskip([layer] {
      if (layer) layer->UnskipDefaultProperty();
    });
    TOwned<TKxDeShapeBase> shape(
        cls->Construct<TKxDeShapeBase>(static_cast<TKxDeSurface*>(nullptr), static_cast<TKxDeContainer*>(nullptr)));
    if (!shape) return;
    try {
      TKxDeObjectXml::LoadContent(R, shape.get(), TKxDeXmlReadOptions{});
      if (auto* c = dynamic_cast<TKxDeContainer*>(shape.get()))
        TKxDeObjectXml::LoadObjects(XmlSelect(R, "os"), c, TKxDeXmlReadOptions{});
    } catch (const Exception& e) {
      qCDebug(lcEditor) << "Undo: a removed shape could not be read again:" << e.Message();
      return;
    }
    NotifyUndo(owner, kxacInserting, QString());
    {
      TNotifyLockBracket hold(owner);
      const int32_t at =
          InsertAt >= 0
              ? InsertAt
              : static_cast<int32_t>(XmlReadAttrInt64In(R, "index", -1, 0, std::numeric_limits<int32_t>::max()));
      if (at >= 0 && at <= owner->ItemCount()) owner->Insert(at, shape.get());
      else owner->InsertShape(shape.get());
    }
    if (shape->Owner() != owner) return;
    TKxDeShapeBase* s = shape.release();
    if (selected) AddSelection(s);
    NotifyUndo(s, kxacInserted, QString());
    return;
  }

  const bool layersToo = A == kxacChanging || A == kxacChangingPicture || A == kxacChangingBrush ||
                         A == kxacChangingPen || A == kxacChangingFont || A == kxacChangingGradient ||
                         A == kxacChangingFormula;
  TKxDeShapeBase* s = RecordShape(RecordID(R, "ID"), layersToo);
  if (!s && A != kxacUngrouping && A != kxacUnpacking) return;

  // The replays that destroy the shape, outside its notification lock.
  switch (A) {
    case kxacInserted:
      if (TKxDeContainer* owner = s->Owner()) {
        NotifyUndo(s, kxacRemoving, QString());
        NotifyUndo(s, kxacRemoved, QString());
        // The owner's own announcement of the removal would be a second record.
        TNotifyLockBracket hold(owner);
        Free(s);
      }
      return;
    case kxacGrouped:
    case kxacPacked: {
      auto* g = A == kxacGrouped ? dynamic_cast<TKxDeGroup*>(s) : nullptr;
      auto* p = A == kxacPacked ? dynamic_cast<TKxDePackage*>(s) : nullptr;
      if (!g && !p) return;
      NotifyUndo(s, A == kxacGrouped ? kxacUngrouping : kxacUnpacking, QString());
      // Ungrouping announces itself as well: that record was just made.
      BeginUndoLock();
      TFinally unlock([this] { EndUndoLock(); });
      if (g) Ungroup(g);
      else Unpack(p);
      return;
    }
    case kxacUngrouping:
    case kxacUnpacking: {
      TKxDeShapeArray members;
      for (TXmlNode o : XmlChildren(R, "o"))
        if (TKxDeShapeBase* m = RecordShape(RecordID(o, "ID"), false); m && !m->InDestroy()) members.push_back(m);
      if (members.empty()) return;
      FReplayContainer = R;
      TFinally forget([this] { FReplayContainer = TXmlNode(); });
      TKxDeContainer* c = nullptr;
      if (A == kxacUngrouping) c = Group(members);
      else c = Pack(members);
      if (c && !selected) RemoveSelection(c);
      return;
    }
    default: break;
  }

  TNotifyLockBracket hold(s);
  TKxDeContainer* owner = s->Owner();
  // A z-order change is undone by its opposite, announced as such.
  auto reorder = [&](TKxDeAction Opposite, void (TKxDeContainer::*Move)(TKxDeShapeBase*)) {
    if (!owner) return;
    NotifyUndo(s, Opposite, QString());
    TNotifyLockBracket ownerHold(owner);
    (owner->*Move)(s);
  };
  switch (A) {
    case kxacChanging:
    case kxacChangingPicture:
      NotifyUndo(s, A, prop);
      for (TXmlNode c = R.last_child(); c; c = c.previous_sibling())
        if (c.type() == pugi::node_element)
          if (const QMetaProperty p = PublishedProperty(s, c.name()); p.isValid())
            SetPropertyText(s, p, c.text().get());
      break;
    case kxacChangingBrush:
      if (TXmlNode c = XmlSelect(R, "Brush")) {
        NotifyUndo(s, A, prop);
        s->Brush()->LoadFromXML(c);
      }
      break;
    case kxacChangingPen:
      if (TXmlNode c = XmlSelect(R, "Pen")) {
        NotifyUndo(s, A, prop);
        s->Pen()->LoadFromXML(c);
      }
      break;
    case kxacChangingFont:
      if (TXmlNode c = XmlSelect(R, "Font")) {
        NotifyUndo(s, A, prop);
        s->Font()->LoadFromXML(c);
      }
      break;
    case kxacChangingGradient:
      // The gradient exists while the shape's styles ask for one.
      if (TXmlNode c = XmlSelect(R, "Gradient"); c && s->Gradient()) {
        NotifyUndo(s, A, prop);
        s->Gradient()->LoadFromXML(c);
      }
      break;
    case kxacSizing:
      NotifyUndo(s, kxacSizing, prop);
      s->LoadBoundsFromXML(R);
      break;
    case kxacSendingBack: reorder(kxacBringingFront, &TKxDeContainer::BringToFront); break;
    case kxacSendingBackward: reorder(kxacBringingForward, &TKxDeContainer::BringForward); break;
    case kxacBringingFront: reorder(kxacSendingBack, &TKxDeContainer::SendToBack); break;
    case kxacBringingForward: reorder(kxacSendingBackward, &TKxDeContainer::SendBackward); break;
    case kxacChangingFormula:
      if (TXmlNode c = XmlSelect(R, "Construct")) {
        TUpdateBracket update(s);
        NotifyUndo(s, A, prop);
        TKxDeObjectXml::LoadContent(c, s, TKxDeXmlReadOptions{});
      }
      break;
    default: break;
  }
}

}  // namespace vorn
