// IMG files load into shape pictures like every other registered format.
#include <vorn/common/KxDePicture.h>
#include <vorn/common/PictureRegisteredFormats.h>
#include <vorn/raster/IMGGraphic.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace vorn {
namespace {

TEST(IMGPictures, RegisteredForTheExtensionAndLoadedByPictures) {
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral(".img")), ClassOf<TIMGGraphic>());
  QList<TPictureFormatLine> formats;
  GetListOfRegisteredPictureFileFormats(formats);
  EXPECT_TRUE(formats.contains(TPictureFormatLine{QStringLiteral("img=IMG Image"), ClassOf<TIMGGraphic>()}));
  EXPECT_EQ(GraphicClassForClipboardFormat(CF_IMG()), ClassOf<TIMGGraphic>());

  QImage mono(24, 3, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mono.fill(1);
  for (int x = 0; x < 8; ++x) mono.setPixel(x, 1, 0);
  TOwned<TIMGGraphic> img(Create<TIMGGraphic>());
  img->SetBitmap(mono);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("label.img"));
  img->SaveToFile(path);

  TOwned<TKxDePicture> picture(Create<TKxDePicture>(nullptr));
  picture->LoadFromFile(path);
  ASSERT_TRUE(picture->GetGraphic());
  EXPECT_EQ(picture->GetGraphic()->ClassName(), QStringLiteral("TIMGGraphic"));
  EXPECT_EQ(picture->GetWidth(), 24);
  EXPECT_FALSE(picture->GetTransparent());  // a 1-bit image is drawn opaque
  const QImage shown = picture->GetGraphic()->ToImage();
  EXPECT_EQ(QColor(shown.pixel(3, 1)), QColor(Qt::black));
  EXPECT_EQ(QColor(shown.pixel(12, 1)), QColor(Qt::white));
  // The stored form names the class and reads back.
  const QByteArray stored = PictureToBytes(picture->Picture());
  TOwned<TPicture> back(Create<TPicture>());
  PictureFromBytes(back.get(), stored);
  ASSERT_TRUE(back->Graphic());
  EXPECT_EQ(back->Graphic()->ClassName(), QStringLiteral("TIMGGraphic"));
  EXPECT_EQ(back->Width(), 24);
}

TEST(IMGPictures, LeavingTheRegistryTakesTheExtensionAndTheClipboardFormat) {
  // What the library does when it unloads; registered again afterwards for the other tests.
  UnregisterIMGGraphic(UnregisterGraphicClass);
  const bool extensionGone = GraphicClassForExtension(QStringLiteral("img")) == nullptr;
  const bool clipboardGone = GraphicClassForClipboardFormat(CF_IMG()) == nullptr;
  QList<TGraphicClass> classes;
  GetListOfRegisteredPictureTypes(classes);
  RegisterIMGGraphic(RegisterPictureFileFormat, RegisterPictureClipboardFormat);
  EXPECT_TRUE(extensionGone);
  EXPECT_TRUE(clipboardGone);
  EXPECT_FALSE(classes.contains(ClassOf<TIMGGraphic>()));
  EXPECT_TRUE(GraphicClassForExtension(QStringLiteral("png"))) << "other classes stay";
  EXPECT_EQ(GraphicClassForExtension(QStringLiteral("img")), ClassOf<TIMGGraphic>());
}

}  // namespace
}  // namespace vorn
