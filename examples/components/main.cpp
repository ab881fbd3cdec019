// One short use of each component, as the API reference shows them (the //! [name] markers
// delimit what it quotes). Built and run by the test suite, so the quoted code always compiles
// and works.
//
//   components-example [DOCUMENT.vorn]
#include <vorn/VornDrawEngR.h>
#include <vorn/shapes/VornShapes.h>

#include <QApplication>
#include <QBuffer>
#include <QHBoxLayout>
#include <QImage>
#include <QWidget>

#include <cstdio>

using namespace vorn;

namespace {

// Loads a document's layers, or none with a message on failure.
TKxDeLayerList LoadDocument(const QString& FileName) {
  TKxDeLayerList layers;
  TKxDeDocumentSettings page;
  try {
    TKxDeDocumentFile::LoadLayersFromFile(FileName, layers, page);
  } catch (const Exception& e) {
    std::fprintf(stderr, "components-example: %s\n", qPrintable(e.Message()));
  }
  return layers;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterVornShapes();
  const QString document = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  int failures = 0;
  auto check = [&failures](bool Ok, const char* What) {
    std::printf("%-28s %s\n", What, Ok ? "ok" : "FAILED");
    failures += Ok ? 0 : 1;
  };

  QWidget window;
  auto* row = new QHBoxLayout(&window);

  //! [viewer]
  // A read-only view of a document: the viewer owns the layers it is given.
  auto* viewer = new TKxDeViewer(&window);
  for (TKxDeLayer* layer : LoadDocument(document)) viewer->InsertLayer(layer);
  viewer->SetZoom(50);  // per cent
  //! [viewer]
  row->addWidget(viewer);

  //! [editor]
  // An editor: the user selects, moves, sizes and creates shapes. Choosing a class makes the
  // next drag on the page draw a shape of it; its commands come as QActions for menus.
  auto* editor = new TKxDeEditor(&window);
  editor->InsertLayer(Create<TKxDeLayer>(static_cast<TKxDeSurface*>(editor)));
  auto* box = Create<TVornRectangle>(nullptr, editor->GetLayer(0));
  box->SetBounds(40, 40, 200, 120);  // world units
  editor->Select(box);
  editor->SetNewShapeClass(ClassOf<TVornEllipse>());
  auto* actions = new TKxDeEditorActions(editor);
  window.addActions({actions->DeleteAction(), actions->SelectAllAction()});
  //! [editor]
  row->addWidget(editor);

  //! [layermanager]
  // The layer manager lists the editor's layers and their shapes and follows the editor.
  auto* layerList = new TKxDeLayerManager(&window);
  layerList->SetEditor(editor);
  //! [layermanager]
  row->addWidget(layerList);

  //! [inspector]
  // The object inspector lists the published properties of one object and edits them in place.
  auto* inspector = new TmekInspector(&window);
  inspector->SetInspComp(box);
  //! [inspector]
  row->addWidget(inspector);

  window.resize(1400, 400);
  window.show();
  QApplication::processEvents();
  check(viewer->LayerCount() > 0 || document.isEmpty(), "viewer shows the document");
  check(editor->SelectionCount() == 1 && actions->DeleteAction()->isEnabled(), "editor selects the box");
  check(layerList->Editor() == editor, "layer manager follows");
  check(!window.grab().isNull(), "window paints");

  //! [img]
  // The IMG 1-bit raster format: a picture through the codec and back.
  QImage picture(64, 32, QImage::Format_Mono);
  picture.fill(1);  // white
  for (int x = 8; x < 56; ++x) picture.setPixel(x, 16, 0);
  TOwned<TIMGGraphic> img(Create<TIMGGraphic>());
  img->SetBitmap(picture);
  QBuffer bytes;
  bytes.open(QIODevice::ReadWrite);
  img->SaveToStream(&bytes);
  bytes.seek(0);
  TOwned<TIMGGraphic> again(Create<TIMGGraphic>());
  again->LoadFromStream(&bytes);
  //! [img]
  check(again->Bitmap().pixelIndex(20, 16) == 0 && again->Bitmap().pixelIndex(20, 0) == 1, "IMG round trip");

  //! [rotation]
  // A quarter turn of a bitmap, in place.
  TKxDeBitmap bitmap(40, 10, TPixelFormat::pf24bit);
  RotateBitmap90(&bitmap, 90);
  //! [rotation]
  check(bitmap.Width() == 10 && bitmap.Height() == 40, "bitmap quarter turn");

  //! [strokes]
  // The outline of a character as straight strokes in font design units.
  TOwned<TKxDeTTF> ttf(Create<TKxDeTTF>());
  TFont font;
  font.SetName(QStringLiteral("DejaVu Sans"));
  ttf->SetFont(&font);
  TOwned<TKxDeStrokes> strokes = ttf->GetCharacterGlyphs('A');
  //! [strokes]
  check(strokes && strokes->Count() > 0, "outline strokes of 'A'");

  return failures == 0 ? 0 : 1;
}
