#include "FuzzSupport.h"

#include <vorn/editor/KxDeEditor.h>
#include <vorn/model/KxDeDocument.h>
#include <vorn/shapes/VornShapes.h>

#include <QBuffer>

#include <QApplication>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>

namespace vorn::fuzz {

QByteArray WithoutSubstitutions(const QByteArray& Text) {
  // Indented text has the element on a line of its own; text on one line has it inline.
  static const QRegularExpression subst(QStringLiteral("(\\n[ \\t]*)?<Subst>[^<]*</Subst>"));
  return QString::fromUtf8(Text).remove(subst).toUtf8();
}

bool ParseXml(TXmlDocument& Doc, const uint8_t* Data, size_t Size) {
  try {
    XmlParse(Doc, reinterpret_cast<const char*>(Data), Size);
    return true;
  } catch (const EXmlError&) {
    return false;
  }
}

TKxDeEditor& EmptyEditor() {
  static TKxDeEditor* editor = [] {
    auto* e = new TKxDeEditor;
    e->resize(400, 300);
    return e;
  }();
  editor->Clear();
  editor->ClearUndo();
  editor->ClearRedo();
  return *editor;
}

QByteArray DocumentText(const TKxDeLayerList& Layers) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  TKxDeDocumentFile::SaveLayersToStream(&buffer, Layers);
  return buffer.data();
}

void Fail(const char* What, const QByteArray& Expected, const QByteArray& Actual) {
  std::fprintf(stderr, "fuzz: %s\n", What);
  if (!Expected.isEmpty() || !Actual.isEmpty())
    std::fprintf(stderr, "---- expected\n%s\n---- actual\n%s\n", Expected.constData(), Actual.constData());
  std::abort();
}

}  // namespace vorn::fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Decoders warn about every damaged file; at thousands of inputs a second that is only noise.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  static int qtArgc = 1;
  static char* qtArgv[] = {argc && *argc > 0 ? (*argv)[0] : const_cast<char*>("fuzz"), nullptr};
  // Never destroyed: torn down among the exit handlers, after the font caches it relies on, the
  // application crashes on the way out.
  static QApplication* app = new QApplication(qtArgc, qtArgv);
  (void)app;
  vorn::RegisterVornShapes();
  return 0;
}
