// The document file: saving and loading layers through files and streams, failed loads that lose
// nothing, damaged content that is skipped and reported, and many mutated documents fed to the
// loader.

#include "XmlTestSupport.h"

#include <vorn/common/Units.h>
#include <vorn/model/KxDeControl.h>
#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDePackage.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/model/KxDeShapeGradient.h>
#include <vorn/common/CommonLib.h>
#include <vorn/common/Graphic.h>
#include <vorn/common/Picture.h>
#include <vorn/model/KxDeRegister.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <random>

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
  // a stored picture, and an empty layer with its own defaults.
  static TKxDeLayerList MakeLayers() {
    TKxDeLayer* a = Create<TKxDeLayer>(nullptr);
    a->SetName(QStringLiteral("Drawing"));
    TTestShape* s = Create<TTestShape>(nullptr, a);
    s->Add(0, 0);
    s->Add(100.5f, 50.25f);
    s->SetName(QStringLiteral("box"));
    TCurveShape* c = Create<TCurveShape>(nullptr, a);
    c->Add(10, 10);
    c->Add(20, 5);
    c->Points(1)->SetControl_1(c->Points(1)->NewControl(3, 4));
    c->SetRotation(45);
    TKxDeContainer* outer = Create<TKxDeContainer>(nullptr, a);
    TKxDeContainer* inner = Create<TKxDeContainer>(nullptr, outer);
    THandleShape* h = Create<THandleShape>(nullptr, inner);
    h->Add(1, 2);
    TKxDeControl* ctl = Create<TKxDeControl>();
    ctl->SetValue({5, 6});
    h->InsertControl(ctl);
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
    b->SetPrintingAllowed(false);
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
  static int32_t CountShapes(const TKxDeContainer* C) {
    int32_t n = 0;
    for (int32_t i = 0; i < C->ItemCount(); ++i) {
      ++n;
      if (auto* sub = dynamic_cast<const TKxDeContainer*>(C->Items(i))) n += CountShapes(sub);
    }
    return n;
  }

  QTemporaryDir Dir;
  TKxDeLayerList Layers;
};

TEST_F(DocumentFile, RoundTripsThroughAFile) {
  TKxDeLayerList source = MakeLayers();
  TKxDePenRec widePen;
  widePen.Width = 1.5f;
  source[0]->ObjectsDefaultProperties()->SetPen(widePen);
  const TKxDeDocumentSettings settings = MakeSettings();
  const QString path = Dir.filePath(QStringLiteral("drawing.") + TKxDeDocumentFile::Extension);
  TKxDeDocumentFile::SaveLayersToFile(path, source, settings);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray written = f.readAll();

  TKxDeDocumentSettings loaded;
  const TKxDeXmlReadReport report = TKxDeDocumentFile::LoadLayersFromFile(path, Layers, loaded);
  EXPECT_EQ(report.ObjectsSkipped, 0) << report.Messages.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(report.ObjectsRead, 2 + 11);
  ASSERT_EQ(Layers.size(), 2u);
  EXPECT_EQ(Layers[0]->Name(), QStringLiteral("Drawing"));
  EXPECT_EQ(Layers[0]->ID(), source[0]->ID());
  EXPECT_EQ(CountShapes(Layers[0]), 11);
  EXPECT_FALSE(Layers[1]->Visible());
  EXPECT_FALSE(Layers[1]->PrintingAllowed());
  EXPECT_EQ(Layers[0]->ObjectsDefaultProperties()->Pen().Width, 0.2f);  // never stored
  EXPECT_FALSE(Layers[1]->ObjectsDefaultProperties()->UseDefaultFont());
  EXPECT_EQ(Layers[0]->Items(4)->Picture()->GetWidth(), 3);
  EXPECT_EQ(dynamic_cast<TKxDeGroup*>(Layers[0]->Items(3))->GetBounds(),
            dynamic_cast<TKxDeGroup*>(source[0]->Items(3))->GetBounds());
  EXPECT_EQ(Layers[0]->GetSurface(), nullptr);
  EXPECT_EQ(Layers[1]->GetBounds(), (TRectF{0, 0, 794, 1123}));  // the page
  EXPECT_EQ(loaded.PageWidth, 794);
  EXPECT_EQ(loaded.PageHeight, 1123);
  EXPECT_EQ(loaded.PageColor, 0x00F0E0D0);
  EXPECT_EQ(loaded.Guides, settings.Guides);
  EXPECT_EQ(Save(Layers, loaded), written);
  FreeAll(source);
}

TEST_F(DocumentFile, RootNamesVersionPageLayersAndGuides) {
  TKxDeLayerList source = MakeLayers();
  const QByteArray text = Save(source, MakeSettings());
  EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
  TXmlDocument doc;
  XmlParse(doc, text);
  const TXmlNode root = doc.document_element();
  EXPECT_STREQ(root.name(), "VornDocument");
  EXPECT_STREQ(root.attribute("Version").value(), "1.0");
  std::vector<std::string> names;
  for (TXmlNode c : root.children()) names.emplace_back(c.name());
  EXPECT_EQ(names, (std::vector<std::string>{"Page", "Layers", "Guides"}));
  EXPECT_DOUBLE_EQ(XmlReadDouble(root.child("Page"), "Width", 0),
                   794 / static_cast<double>(CoordsPixelsPerMMConvertValue));
  const TXmlNode layer = root.child("Layers").child("o");
  EXPECT_STREQ(layer.attribute("Class").value(), "TKxDeLayer");
  EXPECT_EQ(std::distance(layer.child("os").children("o").begin(), layer.child("os").children("o").end()), 5);
  const TXmlNode guide = root.child("Guides").child("o").next_sibling("o");
  EXPECT_STREQ(guide.attribute("Class").value(), "TKxDeGuide");
  EXPECT_EQ(XmlReadDouble(guide, "GuidPosition", 0), 300.0);
  EXPECT_EQ(XmlReadInteger(guide, "GuideType", -1), 1);
  FreeAll(source);
}

TEST_F(DocumentFile, FailedLoadsRaiseClearlyAndLoseNothing) {
  TKxDeLayerList source = MakeLayers();
  const QByteArray good = Save(source, MakeSettings());
  FreeAll(source);
  Layers = MakeLayers();
  const TKxDeLayerList before = Layers;
  const int32_t shapesBefore = CountShapes(Layers[0]);
  TKxDeDocumentSettings settings;
  settings.PageWidth = 55;

  struct TCase {
    QByteArray Text;
    const char* Expected;
  };
  std::vector<TCase> cases = {
      {"", "not well-formed"},
      {"<VornDocument Version=\"1.0\"><Layers><o Class=\"TKxDeLayer\">", "not well-formed"},
      {"<svg/>", "root element is \"svg\""},
      {"<VornDocument/>", "does not name its format version"},
      {"<VornDocument Version=\"2.0\"/>", "format version 2.0"},
      {"<VornDocument Version=\"one\"/>", "not a version number"},
      {"<VornDocument Version=\"1\"/>", "not a version number"},
      {"just text", "not well-formed"},
  };
  // Cut the good document at many places: every cut is malformed.
  for (int i = 1; i < 40; ++i) cases.push_back({good.left(good.size() * i / 40), "not well-formed"});
  for (const TCase& c : cases) {
    try {
      TKxDeDocumentFile::LoadLayersFromText(c.Text, Layers, settings);
      ADD_FAILURE() << "loaded: " << c.Text.left(80).toStdString();
    } catch (const EKxDeDocumentError& e) {
      EXPECT_TRUE(e.Message().contains(QLatin1String(c.Expected))) << e.what();
    }
    EXPECT_EQ(Layers, before);
    EXPECT_EQ(CountShapes(Layers[0]), shapesBefore);
    EXPECT_EQ(settings.PageWidth, 55);
  }
  // Files: missing, a directory, larger than allowed.
  EXPECT_THROW(TKxDeDocumentFile::LoadLayersFromFile(Dir.filePath(QStringLiteral("none.vorn")), Layers, settings),
               EKxDeDocumentError);
  EXPECT_THROW(TKxDeDocumentFile::LoadLayersFromFile(Dir.path(), Layers, settings), EKxDeDocumentError);
  const QString path = Dir.filePath(QStringLiteral("big.vorn"));
  TKxDeDocumentFile::SaveLayersToFile(path, Layers, settings);
  TKxDeDocumentLoadOptions tight;
  tight.MaxFileSize = 100;
  try {
    TKxDeDocumentFile::LoadLayersFromFile(path, Layers, settings, tight);
    ADD_FAILURE() << "a file over the limit was read";
  } catch (const EKxDeDocumentError& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("size limit"))) << e.what();
  }
  QBuffer closed;
  EXPECT_THROW(TKxDeDocumentFile::LoadLayersFromStream(&closed, Layers, settings), EKxDeDocumentError);
  EXPECT_EQ(Layers, before);
}

TEST_F(DocumentFile, SavingWhereNothingCanBeWrittenRaisesAndKeepsTheOldFile) {
  TKxDeLayerList source = MakeLayers();
  EXPECT_THROW(TKxDeDocumentFile::SaveLayersToFile(Dir.filePath(QStringLiteral("no/such/dir/x.vorn")), source, {}),
               EKxDeDocumentError);
  QBuffer readOnly;
  readOnly.open(QIODevice::ReadOnly);
  EXPECT_THROW(TKxDeDocumentFile::SaveLayersToStream(&readOnly, source, {}), EKxDeDocumentError);
  // A successful save replaces the file as a whole.
  const QString path = Dir.filePath(QStringLiteral("keep.vorn"));
  TKxDeDocumentFile::SaveLayersToFile(path, source, {});
  TKxDeDocumentFile::SaveLayersToFile(path, {source[1]}, {});
  TKxDeDocumentSettings s;
  TKxDeDocumentFile::LoadLayersFromFile(path, Layers, s);
  ASSERT_EQ(Layers.size(), 1u);
  EXPECT_EQ(Layers[0]->Name(), QStringLiteral("Notes"));
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.vorn")});
  FreeAll(source);
}

TEST_F(DocumentFile, ReplacedLayersLeaveTheirSurface) {
  TCallLog log;
  TRecordingSurface* surface = new TRecordingSurface(&log);
  Layers = {Create<TKxDeLayer>(surface), Create<TKxDeLayer>(surface)};
  ASSERT_EQ(surface->LayerCount(), 2);
  TKxDeLayerList source = MakeLayers();
  TKxDeDocumentSettings s;
  TKxDeDocumentFile::LoadLayersFromText(Save(source, {}), Layers, s);
  EXPECT_EQ(surface->LayerCount(), 0);
  ASSERT_EQ(Layers.size(), 2u);
  EXPECT_EQ(Layers[0]->GetSurface(), nullptr);
  FreeAll(source);
  delete surface;
}

TEST_F(DocumentFile, DamagedContentIsSkippedOrDefaultedAndReported) {
  QByteArray nested;
  for (int i = 0; i < 300; ++i) nested += "<o Class=\"TKxDeContainer\"><os>";
  nested += "<o Class=\"TTestShape\"/>";
  for (int i = 0; i < 300; ++i) nested += "</os></o>";
  const QByteArray text =
      "<VornDocument Version=\"1.7\">"  // a later minor version reads
      "<Page><Width>1e300</Width><Height>-5</Height><Color>red</Color></Page>"
      "<Layers>"
      "<o Class=\"TMyLayer\"><os><o Class=\"TTestShape\"/></os></o>"
      "<o Class=\"TTestShape\"/>"  // not a layer
      "<o Class=\"TKxDeLayer\"><Name>L</Name><Visible>maybe</Visible><Rotation>NaN</Rotation><os>"
      "<o Class=\"TUnknown\"/>"
      "<o Class=\"TTestShape\"><Points><Point><x>1e300</x><y>2</y></Point>"
      "<Point><x>3</x><y>x</y></Point></Points></o>" +
      nested +
      "</os></o>"
      "<Future>ignored</Future>"
      "</Layers>"
      "<Guides><o><GuidPosition>abc</GuidPosition></o>"
      "<o><GuidPosition>7</GuidPosition><GuideType>5</GuideType></o></Guides>"
      "</VornDocument>";
  TKxDeDocumentSettings s;
  const TKxDeXmlReadReport report = TKxDeDocumentFile::LoadLayersFromText(text, Layers, s);
  ASSERT_EQ(Layers.size(), 1u);
  TKxDeLayer* l = Layers[0];
  EXPECT_EQ(l->Name(), QStringLiteral("L"));
  EXPECT_TRUE(l->Visible());
  EXPECT_EQ(l->Rotation(), 0.0f);
  ASSERT_EQ(l->ItemCount(), 2);
  const float f = CoordsPixelsPerMMConvertValue;
  EXPECT_EQ(l->Items(0)->PointValue(0), (TPointF{0, static_cast<float>(2.0 * f)}));
  EXPECT_EQ(l->Items(0)->PointValue(1), (TPointF{static_cast<float>(3.0 * f), static_cast<float>(2.0 * f)}));
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

// The text without the lines that note a font substitution.
QByteArray WithoutSubstitutions(const QByteArray& Text) {
  QList<QByteArray> lines = Text.split('\n');
  lines.removeIf([](const QByteArray& L) { return L.trimmed().startsWith("<Subst>"); });
  return lines.join('\n');
}

// A few kinds of damage a file suffers: flipped, lost, repeated or cut bytes, numbers that are
// not numbers, tags in the wrong place, names that are not classes.
QByteArray Mutate(QByteArray Text, std::mt19937& Rng) {
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(Rng); };
  static const char* const kNumbers[] = {"1e300", "-1", "NaN", "99999999999", "abc", "", "-0", "4294967296", "1e-300"};
  static const char* const kTags[] = {"<o Class=\"TKxDeContainer\"><os>",
                                      "</os></o>",
                                      "<o>",
                                      "<Points>",
                                      "</Points>",
                                      "<Point><x>1</x></Point>",
                                      "<o Class=\"TKxDeLayer\"/>",
                                      "<Controls><Control/></Controls>",
                                      "<os><o Class=\"TTestShape\"/></os>",
                                      "&amp;",
                                      "<![CDATA[x]]>",
                                      "<!-- c -->"};
  static const char* const kClasses[] = {"TKxDeLayer", "TTestShape", "TKxDeGroup", "TNope", "", "TKxDePackage"};
  const int rounds = 1 + pick(3);
  for (int r = 0; r < rounds && !Text.isEmpty(); ++r) {
    const int at = pick(static_cast<int>(Text.size()));
    switch (pick(7)) {
      case 0:
        Text[at] = static_cast<char>(32 + pick(95));
        break;
      case 1:
        Text.remove(at, 1 + pick(20));
        break;
      case 2:
        Text.insert(at, Text.mid(at, 1 + pick(60)));
        break;
      case 3:
        Text.truncate(at);
        break;
      case 4: {
        // Replace the number that starts at or after `at`.
        qsizetype s = at;
        while (s < Text.size() && !(Text[s] >= '0' && Text[s] <= '9')) ++s;
        qsizetype e = s;
        while (e < Text.size() && ((Text[e] >= '0' && Text[e] <= '9') || Text[e] == '.' || Text[e] == 'e')) ++e;
        if (s < Text.size()) Text.replace(s, e - s, kNumbers[pick(9)]);
        break;
      }
      case 5: {
        // Only between elements, so the result is often still well-formed.
        const qsizetype gt = Text.indexOf('>', at);
        if (gt >= 0) Text.insert(gt + 1, kTags[pick(12)]);
        break;
      }
      default: {
        const qsizetype c = Text.indexOf("Class=\"", at);
        if (c >= 0) {
          const qsizetype q = Text.indexOf('"', c + 7);
          if (q >= 0) Text.replace(c + 7, q - c - 7, kClasses[pick(6)]);
        }
      }
    }
  }
  return Text;
}

TEST_F(DocumentFile, MutatedDocumentsNeverBreakTheLoader) {
  TKxDeLayerList source = MakeLayers();
  const QByteArray good = Save(source, MakeSettings());
  FreeAll(source);
  std::mt19937 rng(20240611u);
  int loaded = 0;
  int refused = 0;
  for (int i = 0; i < 1500; ++i) {
    const QByteArray text = Mutate(good, rng);
    TKxDeLayerList fresh;
    TKxDeDocumentSettings s;
    try {
      TKxDeDocumentFile::LoadLayersFromText(text, fresh, s);
    } catch (const EKxDeDocumentError&) {
      ++refused;
      EXPECT_TRUE(fresh.empty());
      continue;
    }
    ++loaded;
    // Whatever was read saves, and from then on saving and loading change nothing, except that
    // a font substituted on the first reading is no longer substituted on the second.
    const QByteArray t1 = Save(fresh, s);
    TKxDeLayerList again;
    TKxDeDocumentSettings s2;
    const TKxDeXmlReadReport r = TKxDeDocumentFile::LoadLayersFromText(t1, again, s2);
    EXPECT_EQ(r.ObjectsSkipped, 0) << "sample " << i;
    const QByteArray t2 = Save(again, s2);
    EXPECT_EQ(t2, WithoutSubstitutions(t1)) << "sample " << i << "\n" << text.toStdString();
    FreeAll(fresh);
    FreeAll(again);
    if (HasFailure()) break;
  }
  RecordProperty("loaded", loaded);
  RecordProperty("refused", refused);
  // The mutations reach both outcomes, so both paths were exercised.
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace vorn::test
