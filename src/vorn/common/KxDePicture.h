#pragma once
// TKxDePicture: the picture every shape carries (and controls carry for their background). It
// holds a graphic, remembers the file it came from, keeps the raw bytes of that file so documents
// can embed them, and carries the drawing options shapes honour.

#include "vorn/common/Consts.h"
#include "vorn/common/Events.h"
#include "vorn/common/Color.h"
#include "vorn/common/Picture.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

class QIODevice;

namespace vorn {

class TKxDePictureList;

// An owner whose update bracket a picture opens around its changes (shapes implement it), so
// that every change of the picture is one change of the owner. A property setter also tells the
// owner of its change (PicturePropertyChanged); a load, an assignment or a transparency change
// raises the picture's own change event instead, through which the owner hears of it.
class IKxDePictureOwner {
 public:
  virtual void BeginPictureChange() = 0;
  virtual void PicturePropertyChanged() = 0;
  virtual void EndPictureChange() = 0;

 protected:
  ~IKxDePictureOwner() = default;
};

// Called with a graphic right after it is created while loading, before it reads its data.
using TKxDeGraphicCallback = std::function<void(TGraphic* Graphic)>;

class TKxDePicture : public TPersistent {
  VORN_OBJECT(TKxDePicture, TPersistent)

 public:
  using TConstructor = TKxDePicture* (*)(TPersistent*);
  template <class T>
  static TKxDePicture* NewInstance(TPersistent* AOwner) { return Create<T>(AOwner); }

  explicit TKxDePicture(TPersistent* AOwner);

  // Largest picture file that is read (bytes); larger files are refused.
  static int64_t MaxPictureFileSize;

  TPersistent* Owner() const { return FOwner; }
  TPicture* Picture() const { return FPicture.get(); }

  bool StorePicture() const { return FStorePicture; }
  // Turning storage off reloads the picture from PicturePath.
  void SetStorePicture(bool Value);
  const QString& PicturePath() const { return FPicturePath; }
  void SetPicturePath(const QString& Value);
  bool KeepRatio() const { return FKeepRatio; }
  void SetKeepRatio(bool Value);
  // The colour a transparent bitmap leaves out when drawn (white unless set); clDefault takes the
  // colour of the bitmap's bottom-left pixel.
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int32_t DitherMode() const { return FDitherMode; }
  void SetDitherMode(int32_t Value);
  double Rotation() const { return FRotation; }
  void SetRotation(double Value);
  bool NoAntialiasingAllowed() const { return FNoAntialiasingAllowed; }
  void SetNoAntialiasingAllowed(bool Value);
  bool HasEmptyPicture() const { return FHasEmptyPicture; }
  bool PictureChanged() const { return FPictureChanged; }
  void ResetPictureChange() { FPictureChanged = false; }
  double Ratio() const { return FRatio; }
  bool PartialTransparency() const { return FPartialTransparency; }

  // The raw bytes of the last file or stream loaded (empty when there are none).
  const QByteArray& ImageFileStream() const { return FImageFileStream; }
  bool HasImageFileStream() const { return FHasImageFileStream; }
  void ClearImageFileStream();

  // Loads a file (environment references in the name are expanded). An empty name clears the
  // picture. A name that is not a regular file, is larger than MaxPictureFileSize, cannot be read
  // or holds no readable image raises and leaves the picture as it was.
  void LoadFromFile(const QString& FileName, const TKxDeGraphicCallback& GraphicCallback = {});
  // Loads from a stream (from its start); PicturePath decides the graphic class.
  void LoadFromStream(QIODevice* Stream, const TKxDeGraphicCallback& GraphicCallback = {});
  // Shows the built-in placeholder picture.
  void LoadEmptyPicture();

  // True when there is no graphic, or an empty one that is not the placeholder.
  bool GetEmpty() const;
  // A toned-down copy of the picture for shapes drawn disabled (owned by the caller).
  TOwned<TPicture> GetDisabledPicture() const;
  int32_t GetWidth() const { return FPicture->Width(); }
  int32_t GetHeight() const { return FPicture->Height(); }
  TGraphic* GetGraphic() const { return FPicture->Graphic(); }
  bool GetTransparent() const;
  void SetTransparent(bool Value);

  void Assign(const TPersistent* Source) override;

  // The picture element: storage and drawing options, then, when the picture is stored, its data
  // (the bytes of the file it came from, or else its serialised form). Reading a picture that is
  // not stored loads it again from its path; a picture that stays empty although it names a file
  // shows the placeholder. Damaged data leaves the picture empty and is reported as a debug
  // message; reading never raises.
  virtual void SaveToXML(TXmlNode Node) const;
  virtual void LoadFromXML(TXmlNode Node);

  std::function<void(TKxDePicture* Sender)> OnChange;
  TKxDeGraphicCallback OnGraphicCreated;

 protected:
  ~TKxDePicture() override = default;
  // Marks the change, recomputes the ratio and tells OnChange.
  virtual void DoOnChange();

 private:
  // Runs Change inside the owner's update bracket; a property change also tells the owner.
  template <class F>
  void ChangeProperty(F&& Change, bool IsProperty = true);
  // Decodes Bytes with the class for the extension of Path, then "bmp", then "jpg".
  TOwned<TGraphic> DecodeGraphic(const QByteArray& Bytes, const QString& Path,
                                 const TKxDeGraphicCallback& Callback) const;
  // Puts a decoded graphic and the bytes it came from in place and applies the transparency rule.
  void InstallGraphic(TOwned<TGraphic> Graphic, const QByteArray& Bytes);
  // A load: InstallGraphic, plus the options a freshly loaded file starts with, then the change.
  void CommitGraphic(TOwned<TGraphic> Graphic, const QByteArray& Bytes);

  TPersistent* FOwner;
  bool FStorePicture = true;
  TOwned<TPicture> FPicture;
  QString FPicturePath;
  QByteArray FImageFileStream;
  bool FHasImageFileStream = false;
  bool FKeepRatio = true;
  TColor FTransparentColor = 0xFFFFFF;
  bool FVisible = true;
  int32_t FDitherMode = 6;
  double FRotation = 0;
  bool FHasEmptyPicture = false;
  bool FPictureChanged = false;
  double FRatio = 0;
  bool FNoAntialiasingAllowed = false;
  bool FPartialTransparency = false;
};

// The picture of a control: its own, or one picked by index from a linked picture list.
class TKxDeCustomPictureProps : public TKxDePicture {
  VORN_OBJECT(TKxDeCustomPictureProps, TKxDePicture)

 public:
  using TKxDePicture::TKxDePicture;

  TKxDePictureList* PictureList() const;
  void SetPictureList(TKxDePictureList* Value);
  int32_t PictureIndex() const { return FPictureIndex; }
  void SetPictureIndex(int32_t Value);
  int32_t HorizontalIndent() const { return FHorizontalIndent; }
  void SetHorizontalIndent(int32_t Value);
  int32_t VerticalIndent() const { return FVerticalIndent; }
  void SetVerticalIndent(int32_t Value);
  TKxDePictureOrient Orient() const { return FOrient; }
  void SetOrient(TKxDePictureOrient Value);

  // The picture at the index of the linked list when a list is linked, else the own picture.
  TPicture* GetPicture() const;
  // True only when the props are visible and Picture has a graphic at least 1 x 1 pixel.
  bool HasPicture(const TPicture* Picture) const;

  // The picture element followed by the placement ("Indent", "Orient", "Index", "TopIndent").
  void SaveToXML(TXmlNode Node) const override;
  void LoadFromXML(TXmlNode Node) override;

 private:
  QPointer<TKxDePictureList> FPictureList;
  int32_t FPictureIndex = -1;
  int32_t FHorizontalIndent = 0;
  int32_t FVerticalIndent = 0;
  TKxDePictureOrient FOrient = TKxDePictureOrient::kxdpoTiled;
};

// A picture-props class chosen at run time; made through the picture family's constructor
// (TClass::Construct<TKxDePicture>(Owner)).
using TKxDeCustomPicturePropsClass = const TClass*;

// A control's background picture, taken from a picture list by index or name, with its placement.
class TKxDePictureProps : public TKxDeCustomPictureProps {
  VORN_OBJECT(TKxDePictureProps, TKxDeCustomPictureProps)
  Q_PROPERTY(int HorizontalIndent READ HorizontalIndent WRITE SetHorizontalIndent)
  Q_PROPERTY(int VerticalIndent READ VerticalIndent WRITE SetVerticalIndent)
  Q_PROPERTY(vorn::KxDEConsts::TKxDePictureOrient Orient READ Orient WRITE SetOrient)
  Q_PROPERTY(bool Transparent READ GetTransparent WRITE SetTransparent)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(bool StorePicture READ StorePicture WRITE SetStorePicture)
  Q_PROPERTY(QString PicturePath READ PicturePath WRITE SetPicturePath)
  Q_CLASSINFO("Category.HorizontalIndent", "Layout")
  Q_CLASSINFO("Category.VerticalIndent", "Layout")
  Q_CLASSINFO("Category.Orient", "Layout")
  Q_CLASSINFO("Category.Transparent", "Appearance")
  Q_CLASSINFO("Category.Visible", "Appearance")
  Q_CLASSINFO("Category.StorePicture", "Picture")
  Q_CLASSINFO("Category.PicturePath", "Picture")

 public:
  using TKxDeCustomPictureProps::TKxDeCustomPictureProps;
};

// The engine's rule for a freshly loaded picture: 1- and 8-bit bitmaps are drawn opaque, every
// other graphic transparent. Nothing happens for a null picture.
void SetPictureTransparency(TPicture* APicture);

}  // namespace vorn
