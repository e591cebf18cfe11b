#include "common/text_util.h"

#include <algorithm>
#include <cstring>

#include <QLocale>
#include <QStringEncoder>

namespace krinu {

void SplitToList(const QString& text, QStringList& list, const QString& separator) {
  if (separator.isEmpty()) {
    if (!text.isEmpty()) list.append(text);
    return;
  }
  qsizetype from = 0;
  for (;;) {
    const qsizetype at = text.indexOf(separator, from);
    if (at < 0) break;
    list.append(text.mid(from, at - from));
    from = at + separator.size();
  }
  if (from < text.size()) list.append(text.mid(from));
}

QString AnsiUpperCase(const QString& text) {
  return QLocale(QLocale::Hungarian).toUpper(text);
}

QString AsciiUpperCase(const QString& text) {
  QString out = text;
  for (QChar& c : out)
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
  return out;
}

QString ZeroPadded(qint64 value, int digits) {
  const bool negative = value < 0;
  QString s = QString::number(negative ? -value : value).rightJustified(digits, QLatin1Char('0'));
  return negative ? QLatin1Char('-') + s : s;
}

bool HasControlCharacter(QStringView text) {
  for (QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
  return false;
}

QString EscapeControlCharacters(const QString& text, bool keepLineFeeds) {
  const auto isControl = [keepLineFeeds](char16_t c) {
    if (keepLineFeeds && c == u'\n') return false;
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
  };
  if (std::none_of(text.cbegin(), text.cend(), [&](QChar c) { return isControl(c.unicode()); }))
    return text;
  QString out;
  out.reserve(text.size() + 16);
  for (QChar c : text) {
    if (isControl(c.unicode()))
      out += QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0'));
    else
      out += c;
  }
  return out;
}

QByteArray Utf8WithReplacement(QStringView text) {
  // Stateless, so that a high surrogate at the end is not held back for a next call.
  QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
  return encoder.encode(text);
}

void AppendUtf8WithReplacement(QByteArray& to, QStringView text) {
  // Surrogates (pairs or lone) are the converter's; everything else is encoded here.
  const char16_t* s = text.utf16();
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (s[i] >= 0xD800 && s[i] <= 0xDFFF) {
      to += Utf8WithReplacement(text);
      return;
    }
  }
  const qsizetype at = to.size();
  to.resize(at + n * 3);
  char* p = to.data() + at;
  for (qsizetype i = 0; i < n; ++i) {
    // Four characters below 0x80 at a time: most of a log is ASCII.
    for (quint64 four; i + 4 <= n; i += 4, p += 4) {
      std::memcpy(&four, s + i, 8);
      if (four & 0xFF80FF80FF80FF80ull) break;
      for (int k = 0; k < 4; ++k) p[k] = char(s[i + k]);
    }
    if (i == n) break;
    const char16_t c = s[i];
    if (c < 0x80) {
      *p++ = char(c);
    } else if (c < 0x800) {
      *p++ = char(0xC0 | (c >> 6));
      *p++ = char(0x80 | (c & 0x3F));
    } else {
      *p++ = char(0xE0 | (c >> 12));
      *p++ = char(0x80 | ((c >> 6) & 0x3F));
      *p++ = char(0x80 | (c & 0x3F));
    }
  }
  to.resize(p - to.constData());
}

// Quoted only when the cell would otherwise split or end the row.
QString CsvCell(const QString& value) {
  if (!value.contains(u';') && !value.contains(u'"') && !value.contains(u'\r') &&
      !value.contains(u'\n'))
    return value;
  QString quoted = value;
  quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

// A spreadsheet runs a cell that begins with one of these as a formula ("=HYPERLINK(...)");
// a leading apostrophe makes it text, as spreadsheet-safe CSV writers do. A plain number
// ("-12,5") stays as it is.
QString SpreadsheetSafe(const QString& value) {
  if (value.isEmpty()) return value;
  const char16_t first = value.front().unicode();
  if (first != u'=' && first != u'+' && first != u'-' && first != u'@' && first != u'\t' &&
      first != u'\r')
    return value;
  bool digit = false;
  bool plain = first == u'+' || first == u'-';
  for (qsizetype i = 1; plain && i < value.size(); ++i) {
    const char16_t c = value[i].unicode();
    if (c >= u'0' && c <= u'9')
      digit = true;
    else if (c != u'.' && c != u',' && c != u' ')
      plain = false;
  }
  if (plain && digit) return value;
  return u'\'' + value;
}

}  // namespace krinu
