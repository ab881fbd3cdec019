#pragma once
// A named collection of pictures that controls pick from by index or name; its notifiers hear
// of every change.

#include "vorn/common/Events.h"
#include "vorn/common/KxDePicture.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

namespace vorn {

class TKxDePictureList;

class TKxDePictureListItem {
 public:
  explicit TKxDePictureListItem(TKxDePictureList* AList);
  TKxDePicture* Picture() const { return FPicture.get(); }
  QString Caption;
  QStringList Description;
  QString Name;

 private:
  TOwned<TKxDePicture> FPicture;
};

// Hears of the changes of the lists it is registered with.
class TKxDePictureNotifier {
 public:
  TKxDePictureChangedEvent OnChange;
};

class TKxDePictureList : public QObject, public TObject {
  Q_OBJECT

 public:
  explicit TKxDePictureList(QObject* Parent = nullptr);
  ~TKxDePictureList() override;

  // The collection.
  TKxDePictureListItem* Add();
  void Delete(int32_t Index);
  void Clear();
  TKxDePictureListItem* Items(int32_t Index) const;

  TKxDePicture* GetPicture(int32_t Index) const;
  // The first item whose Name equals Name, ignoring case (null when there is none).
  TKxDePicture* GetPicture(const QString& Name) const;
  int32_t GetCount() const { return static_cast<int32_t>(FItems.size()); }

  // Changes inside an update bracket are announced once when it closes.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  void RegisterNotifier(TKxDePictureNotifier* Notifier);
  void UnregisterNotifier(TKxDePictureNotifier* Notifier);

  // Tells the notifiers that a picture of the list changed.
  void Changed();

 private:
  void Notify(TKxDePictureChangeAction Action);

  std::vector<std::unique_ptr<TKxDePictureListItem>> FItems;
  std::vector<TKxDePictureNotifier*> FNotifiers;
  int32_t FUpdateCount = 0;
  bool FPendingChange = false;
};

}  // namespace vorn
