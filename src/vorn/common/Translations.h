#pragma once
// The engine's texts in the user's language: message texts, shape display names, hints and the
// inspector's captions and categories come from catalogues compiled into the library.

#include <QLocale>

class QTranslator;

namespace vorn {

// Loads the engine's catalogue for Locale (the first of its UI languages that has one) and
// installs it in the running application, which owns it from then on. Returns the translator,
// or none when the engine has no catalogue for the locale: its texts then stay English.
// A host that switches language removes it with QCoreApplication::removeTranslator and deletes it.
QTranslator* InstallVornTranslator(const QLocale& Locale = QLocale());

}  // namespace vorn
