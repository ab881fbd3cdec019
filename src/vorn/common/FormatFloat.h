#pragma once
// Number formats for displaying floating-point values ("0.##", "#,##0.00", "0.00E+00").

#include <QChar>
#include <QString>

namespace vorn {

// Formats Value with a number format. A format has up to three sections separated by ';' (for
// positive, negative and zero values; an empty or missing section falls back to the first, which
// then writes the minus sign itself). In a section, '0' is a digit that is always written and '#'
// one written only when significant; the first '.' places the decimal point (left out when no
// decimal follows); ',' before the decimal point groups thousands; "E+" or "E-" (also "e")
// followed by '0's writes the number in scientific notation with at least that many exponent
// digits ("E+" always with its sign). Text in quotes and every other character before the first
// or after the last placeholder are written as they stand. An empty format gives the shortest
// general form.
QString FormatFloat(const QString& Format, double Value, QChar DecimalSeparator = QLatin1Char('.'),
                    QChar ThousandSeparator = QLatin1Char(','));

}  // namespace vorn
