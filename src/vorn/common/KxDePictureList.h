#pragma once
// A named collection of pictures that controls pick from by index or name; its notifiers hear
// of every change, including a change of an item's caption, name or description.

#include "vorn/common/Events.h"
#include "vorn/common/KxDePicture.h"

#include <QObject>
#include <QStringList>

#include <vector>

namespace vorn {

class TKxDePictureList;

// One picture of a list with the texts a host shows beside it.
class TKxDePictureListItem : public TPersistent {
  VORN_OBJECT(TKxDePictureListItem, TPersistent)
  Q_PROPERTY(vorn::TKxDePicture* Picture READ Picture WRITE SetPicture)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QStringList Description READ Description WRITE SetDescription)
  Q_PROPERTY(QString Name READ Name WRITE SetName)

 public:
  explicit TKxDePictureListItem(TKxDePictureList* AList);

  TKxDePictureList* List() const { return FList; }
  TKxDePicture* Picture() const { return FPicture.get(); }
  // Copies Value's picture into the item's own.
  void SetPicture(const TKxDePicture* Value);
  const QString& Caption() const { return FCaption; }
  void SetCaption(const QString& Value);
  const QStringList& Description() const { return FDescription; }
  void SetDescription(const QStringList& Value);
  const QString& Name() const { return FName; }
  void SetName(const QString& Value);

  // From another item: its picture and texts, announced to the list as one change.
  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDePictureListItem() override = default;

 private:
  TKxDePictureList* FList;
  TOwned<TKxDePicture> FPicture;
  QString FCaption;
  QStringList FDescription;
  QString FName;
};

// The items of a picture list, in order; every change is a change of the list.
class TKxDePictureCollection : public TPersistent {
  VORN_OBJECT(TKxDePictureCollection, TPersistent)
  Q_PROPERTY(int Count READ Count)

 public:
  explicit TKxDePictureCollection(TKxDePictureList* AList) : FList(AList) {}

  TKxDePictureListItem* Add();
  void Delete(int32_t Index);
  void Clear();
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // Null outside [0, Count).
  TKxDePictureListItem* Items(int32_t Index) const;

  // From another collection: as many items, each assigned from its counterpart, as one change.
  void Assign(const TPersistent* Source) override;

 protected:
  ~TKxDePictureCollection() override = default;

 private:
  TKxDePictureList* FList;
  std::vector<TOwned<TKxDePictureListItem>> FItems;
};

// Hears of the changes of the lists it is registered with.
class TKxDePictureNotifier {
 public:
  TKxDePictureChangedEvent OnChange;
};

class TKxDePictureList : public QObject, public TObject {
  Q_OBJECT
  Q_PROPERTY(vorn::TKxDePictureCollection* Pictures READ Pictures WRITE SetPictures)

 public:
  using inherited = TObject;
  const TClass* ClassType() const override { return ClassOf<TKxDePictureList>(); }

  explicit TKxDePictureList(QObject* Parent = nullptr);
  ~TKxDePictureList() override;

  TKxDePictureCollection* Pictures() const { return FPictures.get(); }
  // Copies Value's items into the list's own.
  void SetPictures(const TKxDePictureCollection* Value);

  TKxDePicture* GetPicture(int32_t Index) const;
  // The first item whose Name equals Name, ignoring case (null when there is none).
  TKxDePicture* GetPicture(const QString& Name) const;
  int32_t GetCount() const { return FPictures->Count(); }

  // Changes inside an update bracket are announced once when it closes.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  void RegisterNotifier(TKxDePictureNotifier* Notifier);
  void UnregisterNotifier(TKxDePictureNotifier* Notifier);

  // Tells the notifiers that the list or a picture of it changed.
  void Changed();

 private:
  void Notify(TKxDePictureChangeAction Action);

  TOwned<TKxDePictureCollection> FPictures;
  std::vector<TKxDePictureNotifier*> FNotifiers;
  int32_t FUpdateCount = 0;
  bool FPendingChange = false;
};

}  // namespace vorn
