#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace krinu {

// Appends the pieces of text between occurrences of separator: every piece before an
// occurrence (even empty), and the rest after the last one only when it is not empty.
void SplitToList(const QString& text, QStringList& list, const QString& separator);

// Upper-casing with the locale's rules, accented letters included (Adószám -> ADÓSZÁM).
QString AnsiUpperCase(const QString& text);

// Upper-casing of ASCII letters only; everything else stays as it is.
QString AsciiUpperCase(const QString& text);

// Number with at least `digits` digits, padded with leading zeros ("0000" pattern).
QString ZeroPadded(qint64 value, int digits);

// Whether the text holds a control character (below U+0020, or U+007F): no name, bank,
// phone or form version has one, and most of them are not allowed in XML.
bool HasControlCharacter(QStringView text);

// The text with every control character (C0, U+007F and C1) written as "\x1b", so that a
// stored value cannot drive a terminal. keepLineFeeds leaves line feeds as they are.
QString EscapeControlCharacters(const QString& text, bool keepLineFeeds);

// UTF-8 with a lone surrogate written as U+FFFD (QString::toUtf8 writes "?"), one at the
// very end included.
QByteArray Utf8WithReplacement(QStringView text);
// The same appended to a buffer, for many short texts: no converter and no array of its own
// for each.
void AppendUtf8WithReplacement(QByteArray& to, QStringView text);

// A CSV cell (";" between cells): quoted only when it would otherwise split or end the row.
QString CsvCell(const QString& value);
// A cell a spreadsheet would run as a formula ("=HYPERLINK(...)") made text with a leading
// apostrophe; a plain number ("-12,5") stays as it is.
QString SpreadsheetSafe(const QString& value);

}  // namespace krinu
