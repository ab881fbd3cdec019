// The document file: saving and loading layers through files and streams, failed loads that lose
// nothing, and damaged content that is skipped and reported. Mutated documents go to the fuzz
// target of the document reader; a few named damaged inputs stay here.

#include "XmlTestSupport.h"

#include <QDir>

namespace vorn::test {
namespace {

class DocumentFile : public ::testing::Test {
 protected:
  TRegisteredClasses Registered{ClassOf<TTestShape>(), ClassOf<TCurveShape>(), ClassOf<THandleShape>(),
                                ClassOf<TFullStyleShape>(), ClassOf<TKxDeContainer>()};
  void TearDown() override { FreeAll(Layers); }

  static void FreeAll(TKxDeLayerList& L) {
    for (TKxDeLayer*& l : L) Free(l);
    L.clear();
  }

  // Two layers: shapes of every kind, a container holding a container, a group, a package with
  // a stored picture, and an empty hidden layer with its own defaults.
  static TKxDeLayerList MakeLayers() {
    TKxDeLayer* a = Create<TKxDeLayer>(nullptr);
    a->SetName(QStringLiteral("Drawing"));
    TTestShape* s = Create<TTestShape>(nullptr, a);
    s->Add(0, 0);
    s->Add(100.5f, 50.25f);
    TCurveShape* c = Create<TCurveShape>(nullptr, a);
    c->Add(10, 10);
    c->Points(0)->SetControl_1(c->Points(0)->NewControl(3, 4));
    c->SetRotation(45);
    TKxDeContainer* outer = Create<TKxDeContainer>(nullptr, a);
    THandleShape* h = Create<THandleShape>(nullptr, Create<TKxDeContainer>(nullptr, outer));
    h->Add(1, 2);
    Create<TKxDeControl>(h)->SetValue({5, 6});
    Create<TTestShape>(nullptr, outer)->Add(7, 8);
    TKxDeGroup* g = Create<TKxDeGroup>(nullptr, a);
    TFullStyleShape* styled = Create<TFullStyleShape>(nullptr, g);
    styled->Add(30, 30);
    styled->Add(60, 45);
    styled->Font()->SetName(CheckForFont(QStringLiteral("sans-serif")));
    styled->Gradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsLinearH);
    Create<TTestShape>(nullptr, g)->Add(70, 70);
    TKxDePackage* p = Create<TKxDePackage>(nullptr, a);
    Create<TTestShape>(nullptr, p)->Add(80, 90);
    TOwned<TPicture> pic(Create<TPicture>());
    TOwned<TBitmap> bmp(Create<TBitmap>());
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::yellow);
    bmp->SetImage(img);
    pic->SetGraphic(bmp.get());
    p->Picture()->Assign(pic.get());
    TKxDeLayer* b = Create<TKxDeLayer>(nullptr);
    b->SetName(QStringLiteral("Notes"));
    b->SetVisible(false);
    b->ObjectsDefaultProperties()->SetUseDefaultFont(false);
    return {a, b};
  }
  static TKxDeDocumentSettings MakeSettings() {
    TKxDeDocumentSettings s;
    s.PageWidth = 794;
    s.PageHeight = 1123;
    s.PageColor = 0x00F0E0D0;
    s.Guides = {{12.5, TKxDeGuideType::kxgtHorizontal}, {300, TKxDeGuideType::kxgtVertical}};
    return s;
  }
  static QByteArray Save(const TKxDeLayerList& L, const TKxDeDocumentSettings& S) {
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    TKxDeDocumentFile::SaveLayersToStream(&buf, L, S);
    return buf.data();
  }

  QTemporaryDir Dir;
  TKxDeLayerList Layers;
};

TEST_F(DocumentFile, RoundTripsThroughAFileAndWritesTheSameAgain) {
  TKxDeLayerList source = MakeLayers();
  TKxDePenRec widePen;
  widePen.Width = 1.5f;
  source[0]->ObjectsDefaultProperties()->SetPen(widePen);
  const TKxDeDocumentSettings settings = MakeSettings();
  const QString path = Dir.filePath(QStringLiteral("drawing.") + TKxDeDocumentFile::Extension);
  TKxDeDocumentFile::SaveLayersToFile(path, source, settings);
  const QByteArray written = ReadFile(path);
  TKxDeDocumentSettings loaded;
  const TKxDeXmlReadReport report = TKxDeDocumentFile::LoadLayersFromFile(path, Layers, loaded);
  EXPECT_EQ(report.ObjectsSkipped, 0) << report.Messages.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(report.ObjectsRead, 2 + 11);
  ASSERT_EQ(Layers.size(), 2u);
  // Written again, the same bytes: every stored value came back. What is not stored:
  EXPECT_EQ(Save(Layers, loaded), written);
  EXPECT_EQ(Layers[0]->ObjectsDefaultProperties()->Pen().Width, 0.2f) << "never stored";
  EXPECT_EQ(Layers[0]->Items(4)->Picture()->GetWidth(), 3);
  EXPECT_EQ(Layers[1]->GetBounds(), (TRectF{0, 0, 794, 1123})) << "a layer's area is the page";
  // The document's outline.
  TXmlDocument doc;
  XmlParse(doc, written);
  const TXmlNode root = doc.document_element();
  EXPECT_TRUE(written.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VornDocument Version=\"1.0\">"));
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"Page", "Layers", "Guides"}));
  EXPECT_DOUBLE_EQ(XmlReadDouble(root.child("Page"), "Width", 0), 794 / double(CoordsPixelsPerMMConvertValue));
  const TXmlNode guide = root.child("Guides").child("o").next_sibling("o");
  EXPECT_STREQ(guide.attribute("Class").value(), "TKxDeGuide");
  EXPECT_EQ(XmlReadInteger(guide, "GuideType", -1), 1);
  FreeAll(source);
}

TEST_F(DocumentFile, FailedLoadsRaiseClearlyAndLoseNothing) {
  Layers = MakeLayers();
  const TKxDeLayerList before = Layers;
  const QByteArray good = Save(Layers, MakeSettings());
  TKxDeDocumentSettings settings;
  settings.PageWidth = 55;
  const std::pair<QByteArray, const char*> cases[] = {
      {"", "not well-formed"},
      {good.left(good.size() / 2), "not well-formed"},
      {good.left(good.indexOf("<Guides>") + 3), "not well-formed"},
      {"<svg/>", "root element is \"svg\""},
      {"<VornDocument/>", "does not name its format version"},
      {"<VornDocument Version=\"2.0\"/>", "format version 2.0"},
      {"<VornDocument Version=\"1\"/>", "not a version number"},
  };
  for (const auto& [text, expected] : cases) {
    try {
      TKxDeDocumentFile::LoadLayersFromText(text, Layers, settings);
      ADD_FAILURE() << "loaded: " << text.left(80).toStdString();
    } catch (const EKxDeDocumentError& e) {
      EXPECT_TRUE(e.Message().contains(QLatin1String(expected))) << e.what();
    }
  }
  EXPECT_THROW(TKxDeDocumentFile::LoadLayersFromFile(Dir.filePath(QStringLiteral("none.vorn")), Layers, settings),
               EKxDeDocumentError);
  EXPECT_THROW(TKxDeDocumentFile::LoadLayersFromFile(Dir.path(), Layers, settings), EKxDeDocumentError);
  QBuffer closed;
  EXPECT_THROW(TKxDeDocumentFile::LoadLayersFromStream(&closed, Layers, settings), EKxDeDocumentError);
  TKxDeDocumentLoadOptions tight;
  tight.MaxFileSize = 100;
  try {
    TKxDeDocumentFile::LoadLayersFromFile(WriteFile(Dir.filePath(QStringLiteral("big.vorn")), good), Layers, settings,
                                          tight);
    ADD_FAILURE() << "a file over the limit was read";
  } catch (const EKxDeDocumentError& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("size limit"))) << e.what();
  }
  EXPECT_EQ(Layers, before);
  EXPECT_EQ(Layers[0]->ItemCount(), 5);
  EXPECT_EQ(settings.PageWidth, 55);
}

TEST_F(DocumentFile, SavingWhereNothingCanBeWrittenRaisesAndASaveReplacesTheFileWhole) {
  TKxDeLayerList source = MakeLayers();
  EXPECT_THROW(TKxDeDocumentFile::SaveLayersToFile(Dir.filePath(QStringLiteral("no/such/dir/x.vorn")), source, {}),
               EKxDeDocumentError);
  QBuffer readOnly;
  readOnly.open(QIODevice::ReadOnly);
  EXPECT_THROW(TKxDeDocumentFile::SaveLayersToStream(&readOnly, source, {}), EKxDeDocumentError);
  const QString path = Dir.filePath(QStringLiteral("keep.vorn"));
  TKxDeDocumentFile::SaveLayersToFile(path, source, {});
  TKxDeDocumentFile::SaveLayersToFile(path, {source[1]}, {});
  TKxDeDocumentSettings s;
  TKxDeDocumentFile::LoadLayersFromFile(path, Layers, s);
  ASSERT_EQ(Layers.size(), 1u);
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.vorn")}) << "no leftovers";
  // Loading replaces layers a surface held: they leave it.
  TCallLog log;
  auto* surface = new TRecordingSurface(&log);
  FreeAll(Layers);
  Layers = {Create<TKxDeLayer>(surface), Create<TKxDeLayer>(surface)};
  TKxDeDocumentFile::LoadLayersFromText(Save(source, {}), Layers, s);
  EXPECT_EQ(surface->LayerCount(), 0);
  EXPECT_EQ(Layers[0]->GetSurface(), nullptr);
  FreeAll(source);
  delete surface;
}

TEST_F(DocumentFile, DamagedContentIsSkippedOrDefaultedAndReported) {
  // A later minor version; a layer of an unknown class, a shape at layer level, an unknown shape,
  // 300 containers inside each other, an unusable guide and values no document can mean.
  const QString path = QStringLiteral(VORN_SOURCE_DIR "/fuzz/regressions/document/damaged-content.vorn");
  TKxDeDocumentSettings s;
  const TKxDeXmlReadReport report = TKxDeDocumentFile::LoadLayersFromFile(path, Layers, s);
  ASSERT_EQ(Layers.size(), 1u);
  TKxDeLayer* l = Layers[0];
  EXPECT_TRUE(l->Visible());
  EXPECT_EQ(l->Rotation(), 0.0f);
  ASSERT_EQ(l->ItemCount(), 2);
  EXPECT_EQ(l->Items(0)->PointValue(0), (TPointF{0, 2 * CoordsPixelsPerMMConvertValue}));
  // The nesting is read down to the limit: the layer is level 1, so 255 containers follow.
  int depth = 1;
  for (const TKxDeShapeBase* c = l->Items(1); c; ++depth) {
    auto* cont = dynamic_cast<const TKxDeContainer*>(c);
    c = cont && cont->ItemCount() > 0 ? cont->Items(0) : nullptr;
  }
  EXPECT_EQ(depth, 256);
  EXPECT_EQ(s.PageWidth, 400);
  EXPECT_EQ(s.PageHeight, 400);
  EXPECT_EQ(s.PageColor, clWhite);
  EXPECT_EQ(s.Guides, (std::vector<TKxDeDocumentGuide>{{7, TKxDeGuideType::kxgtHorizontal}}));
  // The unknown layer class, the shape at layer level, the unknown shape, the level beyond the
  // limit and the unusable guide.
  EXPECT_EQ(report.ObjectsSkipped, 5) << report.Messages.join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(report.Messages.join(QLatin1Char('\n')).contains(QStringLiteral("TMyLayer")));
}

TEST_F(DocumentFile, LongSavesAndLoadsTellTheirProgress) {
  TKxDeLayerList source = MakeLayers();
  std::vector<std::pair<int64_t, int64_t>> saved;
  QBuffer buf;
  buf.open(QIODevice::WriteOnly);
  TKxDeDocumentFile::SaveLayersToStream(&buf, source, {},
                                        [&](int64_t Done, int64_t Total) { saved.emplace_back(Done, Total); });
  EXPECT_EQ(saved, (std::vector<std::pair<int64_t, int64_t>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
  // A skipped layer counts its shapes as done at once.
  QByteArray text = buf.data();
  text.replace("<Layers>",
               "<Layers><o Class=\"TOtherLayer\"><os><o Class=\"TTestShape\"/><o Class=\"TTestShape\"/></os></o>");
  std::vector<std::pair<int64_t, int64_t>> loaded;
  TKxDeDocumentLoadOptions options;
  options.OnProgress = [&](int64_t Done, int64_t Total) { loaded.emplace_back(Done, Total); };
  TKxDeDocumentSettings s;
  TKxDeDocumentFile::LoadLayersFromText(text, Layers, s, options);
  EXPECT_EQ(loaded, (std::vector<std::pair<int64_t, int64_t>>{{2, 7}, {3, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}}));
  FreeAll(source);
}

}  // namespace
}  // namespace vorn::test
