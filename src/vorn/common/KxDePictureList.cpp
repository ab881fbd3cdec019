#include "vorn/common/KxDePictureList.h"

#include <algorithm>

namespace vorn {

TKxDePictureListItem::TKxDePictureListItem(TKxDePictureList* AList) : FPicture(Create<TKxDePicture>(nullptr)) {
  FPicture->OnChange = [AList](TKxDePicture*) { AList->Changed(); };
}

TKxDePictureList::TKxDePictureList(QObject* Parent) : QObject(Parent) {}

TKxDePictureList::~TKxDePictureList() {
  // Pictures die with the list; props that link to it drop it through their QPointer.
  FItems.clear();
  Notify(TKxDePictureChangeAction::kxpcaDestroyed);
}

TKxDePictureListItem* TKxDePictureList::Add() {
  FItems.push_back(std::make_unique<TKxDePictureListItem>(this));
  Changed();
  return FItems.back().get();
}

void TKxDePictureList::Delete(int32_t Index) {
  if (Index < 0 || Index >= GetCount()) return;
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TKxDePictureList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

TKxDePictureListItem* TKxDePictureList::Items(int32_t Index) const {
  return Index >= 0 && Index < GetCount() ? FItems[static_cast<size_t>(Index)].get() : nullptr;
}

TKxDePicture* TKxDePictureList::GetPicture(int32_t Index) const {
  TKxDePictureListItem* item = Items(Index);
  return item ? item->Picture() : nullptr;
}

TKxDePicture* TKxDePictureList::GetPicture(const QString& Name) const {
  for (const auto& item : FItems)
    if (item->Name.compare(Name, Qt::CaseInsensitive) == 0) return item->Picture();
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
