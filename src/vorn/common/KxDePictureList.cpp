#include "vorn/common/KxDePictureList.h"

#include <algorithm>

namespace vorn {

namespace {

// Holds the list's announcements until the bracket closes, so a compound change is one change.
class TListBracket {
 public:
  explicit TListBracket(TKxDePictureList* List) : FList(List) { FList->BeginUpdate(); }
  ~TListBracket() { FList->EndUpdate(); }
  TListBracket(const TListBracket&) = delete;
  TListBracket& operator=(const TListBracket&) = delete;

 private:
  TKxDePictureList* FList;
};

}  // namespace

// ---- items ---------------------------------------------------------------------------------------

TKxDePictureListItem::TKxDePictureListItem(TKxDePictureList* AList)
    : FList(AList), FPicture(Create<TKxDePicture>(nullptr)) {
  FPicture->OnChange = [AList](TKxDePicture*) { AList->Changed(); };
}

void TKxDePictureListItem::SetPicture(const TKxDePicture* Value) {
  if (Value) FPicture->Assign(Value);  // the picture's change event tells the list
}

void TKxDePictureListItem::SetCaption(const QString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  FList->Changed();
}

void TKxDePictureListItem::SetDescription(const QStringList& Value) {
  if (FDescription == Value) return;
  FDescription = Value;
  FList->Changed();
}

void TKxDePictureListItem::SetName(const QString& Value) {
  if (FName == Value) return;
  FName = Value;
  FList->Changed();
}

void TKxDePictureListItem::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDePictureListItem*>(Source)) {
    if (src == this) return;
    const TListBracket bracket(FList);
    SetPicture(src->Picture());
    SetCaption(src->FCaption);
    SetDescription(src->FDescription);
    SetName(src->FName);
    return;
  }
  TPersistent::Assign(Source);
}

// ---- collection ----------------------------------------------------------------------------------

TKxDePictureListItem* TKxDePictureCollection::Add() {
  FItems.emplace_back(Create<TKxDePictureListItem>(FList));
  FList->Changed();
  return FItems.back().get();
}

void TKxDePictureCollection::Delete(int32_t Index) {
  if (Index < 0 || Index >= Count()) return;
  FItems.erase(FItems.begin() + Index);
  FList->Changed();
}

void TKxDePictureCollection::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  FList->Changed();
}

TKxDePictureListItem* TKxDePictureCollection::Items(int32_t Index) const {
  return Index >= 0 && Index < Count() ? FItems[static_cast<size_t>(Index)].get() : nullptr;
}

void TKxDePictureCollection::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDePictureCollection*>(Source)) {
    if (src == this) return;
    const TListBracket bracket(FList);
    while (Count() > src->Count()) Delete(Count() - 1);
    while (Count() < src->Count()) Add();
    for (int32_t i = 0; i < Count(); ++i) Items(i)->Assign(src->Items(i));
    return;
  }
  TPersistent::Assign(Source);
}

// ---- list ----------------------------------------------------------------------------------------

TKxDePictureList::TKxDePictureList(QObject* Parent)
    : QObject(Parent), FPictures(Create<TKxDePictureCollection>(this)) {}

TKxDePictureList::~TKxDePictureList() {
  // Pictures die with the list; props that link to it drop it through their QPointer.
  FPictures.reset();
  Notify(TKxDePictureChangeAction::kxpcaDestroyed);
}

void TKxDePictureList::SetPictures(const TKxDePictureCollection* Value) {
  if (Value) FPictures->Assign(Value);
}

TKxDePicture* TKxDePictureList::GetPicture(int32_t Index) const {
  TKxDePictureListItem* item = FPictures->Items(Index);
  return item ? item->Picture() : nullptr;
}

TKxDePicture* TKxDePictureList::GetPicture(const QString& Name) const {
  for (int32_t i = 0; i < FPictures->Count(); ++i) {
    TKxDePictureListItem* item = FPictures->Items(i);
    if (item->Name().compare(Name, Qt::CaseInsensitive) == 0) return item->Picture();
  }
  return nullptr;
}

void TKxDePictureList::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FPendingChange) {
    FPendingChange = false;
    Notify(TKxDePictureChangeAction::kxpcaChanged);
  }
}

void TKxDePictureList::RegisterNotifier(TKxDePictureNotifier* Notifier) {
  if (Notifier && std::find(FNotifiers.begin(), FNotifiers.end(), Notifier) == FNotifiers.end())
    FNotifiers.push_back(Notifier);
}

void TKxDePictureList::UnregisterNotifier(TKxDePictureNotifier* Notifier) { std::erase(FNotifiers, Notifier); }

void TKxDePictureList::Changed() {
  if (FUpdateCount > 0) {
    FPendingChange = true;
    return;
  }
  Notify(TKxDePictureChangeAction::kxpcaChanged);
}

void TKxDePictureList::Notify(TKxDePictureChangeAction Action) {
  // A notifier may unregister itself while being told.
  const std::vector<TKxDePictureNotifier*> notifiers = FNotifiers;
  for (TKxDePictureNotifier* n : notifiers)
    if (n->OnChange) n->OnChange(this, Action);
}

}  // namespace vorn
