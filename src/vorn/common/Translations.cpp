#include "vorn/common/Translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace vorn {

QTranslator* InstallVornTranslator(const QLocale& Locale) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(Locale, QStringLiteral("vorn"), QStringLiteral("_"), QStringLiteral(":/vorn/translations"))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  return translator;
}

}  // namespace vorn
