#include "app/settings.h"

#include <QFile>
#include <QStringDecoder>
#include <optional>
#include <vector>

#include "common/text_util.h"
#include "reader/code_page_tables.h"

namespace krinu {
namespace {

struct MaskKey {
  const char* Key;
  const char16_t* Default;
};
constexpr MaskKey kMaskKeys[6] = {
    {"ADOSZAM", u"Adószám"}, {"MEGNEVEZES", u"Megnevezés"}, {"DATUM", u"Dátum"},
    {"BIZSZAM", u"Szám"},    {"AFAALAP", u"Alap"},          {"AFA", u"ÁFA"},
};

// The shipped file is UTF-8; one saved by a Windows editor in the ANSI code page is
// read as windows-1250 rather than turned into replacement characters. A UTF-8 file (a
// byte-order mark, or a line of accented UTF-8) is taken line by line: one bad line (a
// comment typed in another editor) is left out alone and named, the rest stays readable.
QString DecodeIni(const QByteArray& bytes, QStringList* skippedLines) {
  QStringDecoder whole(QStringDecoder::Utf8);
  QString text = whole.decode(bytes);
  if (!whole.hasError()) {
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
  }
  const QList<QByteArray> lines = bytes.split('\n');
  bool utf8File = bytes.startsWith("\xEF\xBB\xBF");
  std::vector<std::optional<QString>> decoded;
  for (const QByteArray& line : lines) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString value = utf8.decode(line);
    if (utf8.hasError()) {
      decoded.emplace_back();
      continue;
    }
    for (QChar c : value) utf8File = utf8File || c.unicode() > 0x7F;
    decoded.emplace_back(std::move(value));
  }
  if (!utf8File) return DecodeWithTable(*WindowsByteTable(1250), bytes);
  QStringList kept;
  for (size_t i = 0; i < decoded.size(); ++i) {
    if (decoded[i])
      kept << *decoded[i];
    else if (skippedLines)
      *skippedLines << QString::number(i + 1);
  }
  text = kept.join(u'\n');
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return text;
}

QString Unquote(QString value) {
  value = value.trimmed();
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
    value = value.mid(1, value.size() - 2);
  return value;
}

}  // namespace

std::optional<QString> IniValue(const QString& iniText, const QString& section,
                                const QString& key) {
  bool inSection = false;
  const QStringList lines = iniText.split(QLatin1Char('\n'));
  for (QString line : lines) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
    if (line.startsWith(QLatin1Char('['))) {
      const qsizetype close = line.indexOf(QLatin1Char(']'));
      const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
      inSection = name.compare(section, Qt::CaseInsensitive) == 0;
      continue;
    }
    if (!inSection) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) continue;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
      return Unquote(line.mid(eq + 1));
  }
  return std::nullopt;
}

namespace {

THeaderMasks HeaderMasksOf(const QString& text) {
  THeaderMasks masks;
  for (int i = 0; i < 6; ++i) {
    const QString value =
        IniValue(text, QStringLiteral("DATA_COLUMN"), QLatin1String(kMaskKeys[i].Key))
            .value_or(QString::fromUtf16(kMaskKeys[i].Default));
    SplitToList(AnsiUpperCase(value), masks[size_t(i)], QStringLiteral(","));
  }
  return masks;
}

}  // namespace

std::optional<THeaderMasks> LoadHeaderMasks(const QString& iniFileName, QStringList* skippedLines) {
  QFile file(iniFileName);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return HeaderMasksOf(DecodeIni(file.read(kMaxIniBytes), skippedLines));
}

THeaderMasks BuiltInHeaderMasks() {
  return HeaderMasksOf(QString());
}

std::pair<QDate, QDate> PreviousMonth(const QDate& today) {
  const QDate end = QDate(today.year(), today.month(), 1).addDays(-1);
  return {QDate(end.year(), end.month(), 1), end};
}

}  // namespace krinu
