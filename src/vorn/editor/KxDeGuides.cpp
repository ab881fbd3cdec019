#include "vorn/editor/KxDeGuides.h"

#include "vorn/common/Finally_p.h"
#include "vorn/editor/KxDeGuide.h"
#include "vorn/model/KxDeObjectXml.h"

#include <algorithm>

namespace vorn {

TKxDeGuides::~TKxDeGuides() { FreeAll(); }

void TKxDeGuides::FreeAll() {
  std::vector<TKxDeGuide*> items = std::move(FItems);
  FItems.clear();
  for (TKxDeGuide* g : items) {
    g->FOwner = nullptr;
    Free(g);
  }
}

void TKxDeGuides::Changed() {
  if (FUpdateCount > 0) {
    FPending = true;
    return;
  }
  FPending = false;
  CallEvent(OnChange, this);
}

void TKxDeGuides::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FPending) Changed();
}

void TKxDeGuides::Detach(TKxDeGuide* Guide) {
  TKxDeGuides* owner = Guide->FOwner;
  if (!owner) return;
  auto it = std::find(owner->FItems.begin(), owner->FItems.end(), Guide);
  if (it != owner->FItems.end()) owner->FItems.erase(it);
  Guide->FOwner = nullptr;
  owner->Changed();
}

TKxDeGuide* TKxDeGuides::Add() {
  auto* g = Create<TKxDeGuide>(this);
  FItems.push_back(g);
  Changed();
  return g;
}

int32_t TKxDeGuides::Add(TKxDeGuide* Guide) {
  if (!Guide) return -1;
  if (Guide->FOwner == this) return IndexOf(Guide);
  Insert(GetCount(), Guide);
  return GetCount() - 1;
}

void TKxDeGuides::Insert(int32_t Index, TKxDeGuide* Guide) {
  if (!Guide || Guide->FOwner == this) return;
  Detach(Guide);
  Index = std::clamp(Index, 0, GetCount());
  FItems.insert(FItems.begin() + Index, Guide);
  Guide->FOwner = this;
  Changed();
}

int32_t TKxDeGuides::Remove(TKxDeGuide* Guide) {
  const int32_t i = IndexOf(Guide);
  Delete(i);
  return i;
}

void TKxDeGuides::Delete(int32_t Index) {
  TKxDeGuide* g = GetItem(Index);
  if (!g) return;
  FItems.erase(FItems.begin() + Index);
  g->FOwner = nullptr;
  Free(g);
  Changed();
}

void TKxDeGuides::Clear() {
  if (FItems.empty()) return;
  FreeAll();
  Changed();
}

int32_t TKxDeGuides::IndexOf(const TKxDeGuide* Guide) const {
  auto it = std::find(FItems.begin(), FItems.end(), Guide);
  return it == FItems.end() ? -1 : static_cast<int32_t>(it - FItems.begin());
}

TKxDeGuide* TKxDeGuides::GetItem(int32_t Index) const {
  return Index >= 0 && Index < GetCount() ? FItems[static_cast<size_t>(Index)] : nullptr;
}

void TKxDeGuides::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeGuides*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  if (s == this) return;
  BeginUpdate();
  TFinally done([this] { EndUpdate(); });
  Clear();
  for (const TKxDeGuide* g : s->FItems) Add()->Assign(g);
}

void TKxDeGuides::SaveToXML(TXmlNode Node) const {
  for (const TKxDeGuide* g : FItems) {
    TXmlNode o = XmlAddChild(Node, "o");
    XmlWriteAttrString(o, "Class", g->ClassName());
    g->SaveToXML(o);
  }
}

void TKxDeGuides::LoadFromXML(TXmlNode Node, TKxDeXmlReadReport* Report) {
  BeginUpdate();
  TFinally done([this] { EndUpdate(); });
  Clear();
  for (TXmlNode o : XmlChildren(Node, "o")) {
    TKxDeGuide* g = Create<TKxDeGuide>(this);
    if (g->LoadFromXML(o)) {
      FItems.push_back(g);
      Changed();
      continue;
    }
    g->FOwner = nullptr;
    Free(g);
    if (Report) Report->Skip(o, QStringLiteral("Skipped a guide whose position is not a usable number"));
  }
}

std::vector<TKxDeDocumentGuide> TKxDeGuides::SaveToDocument() const {
  std::vector<TKxDeDocumentGuide> out;
  out.reserve(FItems.size());
  for (const TKxDeGuide* g : FItems) out.push_back(TKxDeDocumentGuide{g->Position(), g->GuideType()});
  return out;
}

void TKxDeGuides::LoadFromDocument(const std::vector<TKxDeDocumentGuide>& Guides) {
  BeginUpdate();
  TFinally done([this] { EndUpdate(); });
  Clear();
  for (const TKxDeDocumentGuide& d : Guides) {
    TKxDeGuide* g = Add();
    g->SetPosition(d.Position);
    g->SetGuideType(d.GuideType);
  }
}

}  // namespace vorn
