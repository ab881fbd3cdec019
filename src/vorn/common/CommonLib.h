#pragma once
// Services every part of the engine and its hosts share: the debug-message collector, the
// installed-font lookup and the environment-variable expander for file paths.

#include <QString>
#include <QStringList>

#include <functional>

namespace vorn {

// ---- debug messages ----------------------------------------------------------------------------
// Diagnostic text (a font substitution, a skipped element) is posted here, never written to a
// file. A host hooks a sink to show or log it; without a sink the messages are dropped.
using TDebugMessageSink = std::function<void(const QString& Message)>;
// Installs Sink (an empty function removes it) and returns the previous one.
TDebugMessageSink SetDebugMessageSink(TDebugMessageSink Sink);
bool HasDebugMessageSink();
void PostDebugMessage(const QString& Message);

// ---- fonts -------------------------------------------------------------------------------------
// The installed font family that serves a requested family name: the name itself when it is
// installed (compared without regard to case, answered with the installed spelling), otherwise
// fontconfig's best match. An empty request gives the default sans-serif family.
QString CheckForFont(const QString& FamilyName);
// The font file fontconfig picks for a family and style (empty when there is none).
QString FontFileFor(const QString& FamilyName, bool Bold = false, bool Italic = false);

// ---- environment variables ---------------------------------------------------------------------
// Expands $VAR, ${VAR} and %VAR% from the process environment. Nothing is run: an undefined
// variable expands to nothing in the $ forms and stays as written in the % form, "$$" and "%%"
// are a literal "$" and "%", and a "$" not followed by a name stays as it is.
QString ExpandEnvironmentVariables(const QString& Text);

}  // namespace vorn
