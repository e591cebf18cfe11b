#include "app/batch_manifest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "common/text_util.h"

namespace krinu {

namespace {

// A manifest lists jobs, not data: anything larger is no manifest.
constexpr qint64 kMaxManifestBytes = 16 << 20;
constexpr qsizetype kMaxManifestRows = 100000;

constexpr std::array<TManifestColumn, 4> kPathColumns{mcBemenet, mcKimenet, mcNaplo, mcOsszesito};

// The records of ";"-separated text: quoted fields may hold ";", quotes ("") and line
// breaks. A record that begins with "#" is a comment.
std::vector<std::pair<int, QStringList>> SplitRecords(const QString& text) {
  std::vector<std::pair<int, QStringList>> records;
  QStringList fields;
  QString field;
  bool quoted = false, atRecordStart = true, comment = false;
  int line = 1, recordLine = 1;
  const auto endRecord = [&] {
    fields << field;
    field.clear();
    bool empty = true;
    for (const QString& f : fields) empty = empty && f.trimmed().isEmpty();
    if (!comment && !empty) records.emplace_back(recordLine, fields);
    fields.clear();
    atRecordStart = true;
    comment = false;
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (atRecordStart) {
      atRecordStart = false;
      recordLine = line;
      comment = ch == u'#';
    }
    if (ch == u'\n') ++line;
    if (quoted) {
      if (ch != u'"')
        field += ch;
      else if (i + 1 < text.size() && text[i + 1] == u'"')
        field += text[++i];
      else
        quoted = false;
    } else if (ch == u'"' && !comment) {
      quoted = true;
    } else if (ch == u';') {
      fields << field;
      field.clear();
    } else if (ch == u'\n') {
      if (field.endsWith(u'\r')) field.chop(1);
      endRecord();
    } else {
      field += ch;
    }
  }
  if (!atRecordStart) endRecord();
  return records;
}

QString Resolved(const QString& folder, const QString& path) {
  if (path.isEmpty()) return path;
  return QDir::cleanPath(QDir(folder).absoluteFilePath(QDir::fromNativeSeparators(path)));
}

}  // namespace

QString ManifestColumnName(TManifestColumn column) {
  static const std::array<QString, kManifestColumns> names{
      QStringLiteral("Bemenet"),
      QStringLiteral("Adószám"),
      QStringLiteral("Ügyintéző"),
      QStringLiteral("Kezdete"),
      QStringLiteral("Vége"),
      QStringLiteral("Kimenet"),
      QStringLiteral("Napló"),
      QStringLiteral("Összesítő"),
      QStringLiteral("Profil"),
      QStringLiteral("Összevonás"),
      QStringLiteral("Nullás tételek kihagyása")};
  return names[size_t(column)];
}

bool ManifestColumnRequired(TManifestColumn column) {
  return column <= mcKimenet;
}

TResult<std::vector<TBatchRow>> ParseManifest(const QByteArray& bytes, const QString& folder) {
  if (bytes.size() > kMaxManifestBytes)
    return Fail(TFailureKind::Input,
                QStringLiteral("A köteg leírása túl nagy (legfeljebb 16 MB)."));
  QByteArrayView view(bytes);
  if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(view);
  if (utf8.hasError())
    return Fail(TFailureKind::Input,
                QStringLiteral("A köteg leírása nem UTF-8 kódolású szöveg. Kérem, mentse "
                               "UTF-8 kódolású CSV fájlként."));
  const auto records = SplitRecords(text);
  if (records.empty())
    return Fail(TFailureKind::Input, QStringLiteral("A köteg leírásában nincs fejrovat."));
  if (qsizetype(records.size()) > kMaxManifestRows + 1)
    return Fail(TFailureKind::Input,
                QStringLiteral("A köteg leírásában túl sok sor van (legfeljebb %1).")
                    .arg(kMaxManifestRows));

  // Which column each field of the header names.
  std::vector<int> columnOf;
  std::array<bool, kManifestColumns> present{};
  for (const QString& cell : records.front().second) {
    // A spreadsheet on some systems writes accented letters decomposed.
    const QString name = cell.trimmed().normalized(QString::NormalizationForm_C);
    // A spreadsheet ends rows with empty cells of its own: a column without a name is
    // passed over as long as it holds nothing.
    if (name.isEmpty()) {
      columnOf.push_back(-1);
      continue;
    }
    int found = -1;
    for (int c = 0; c < kManifestColumns && found < 0; ++c)
      if (ManifestColumnName(TManifestColumn(c)) == name) found = c;
    if (found < 0)
      return Fail(TFailureKind::Input,
                  QStringLiteral("A köteg leírásában ismeretlen oszlop van: \"%1\". Az oszlopok "
                                 "nevei: %2.")
                      .arg(EscapeControlCharacters(name, false), [] {
                        QStringList all;
                        for (int c = 0; c < kManifestColumns; ++c)
                          all << ManifestColumnName(TManifestColumn(c));
                        return all.join(QStringLiteral(", "));
                      }()));
    if (present[size_t(found)])
      return Fail(TFailureKind::Input,
                  QStringLiteral("A köteg leírásában kétszer szerepel a(z) \"%1\" oszlop.")
                      .arg(ManifestColumnName(TManifestColumn(found))));
    present[size_t(found)] = true;
    columnOf.push_back(found);
  }
  QStringList missing;
  for (int c = 0; c < kManifestColumns; ++c)
    if (ManifestColumnRequired(TManifestColumn(c)) && !present[size_t(c)])
      missing << QLatin1Char('"') + ManifestColumnName(TManifestColumn(c)) + QLatin1Char('"');
  if (!missing.isEmpty())
    return Fail(TFailureKind::Input, QStringLiteral("A köteg leírásából hiányzik a(z) %1 oszlop.")
                                         .arg(missing.join(QStringLiteral(", "))));

  std::vector<TBatchRow> rows;
  rows.reserve(records.size() - 1);
  for (size_t r = 1; r < records.size(); ++r) {
    const auto& [line, fields] = records[r];
    if (fields.size() > qsizetype(columnOf.size()))
      return Fail(TFailureKind::Input,
                  QStringLiteral("A köteg leírásának %1. sorában több mező van (%2), mint a "
                                 "fejrovatban (%3).")
                      .arg(line)
                      .arg(fields.size())
                      .arg(columnOf.size()));
    TBatchRow row;
    row.Line = line;
    for (qsizetype f = 0; f < fields.size(); ++f) {
      const int column = columnOf[size_t(f)];
      if (column >= 0) {
        row.Cells[size_t(column)] = fields[f].trimmed();
      } else if (!fields[f].trimmed().isEmpty()) {
        return Fail(TFailureKind::Input,
                    QStringLiteral("A köteg leírásának %1. sorában a(z) %2. mezőnek nincs "
                                   "oszlopneve a fejrovatban: \"%3\".")
                        .arg(line)
                        .arg(f + 1)
                        .arg(EscapeControlCharacters(fields[f].trimmed(), false)));
      }
    }
    for (TManifestColumn c : kPathColumns) row[c] = Resolved(folder, row[c]);
    rows.push_back(std::move(row));
  }
  return rows;
}

TResult<std::vector<TBatchRow>> ReadManifest(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly))
    return Fail(TFailureKind::Access, QStringLiteral("A köteg leírása nem nyitható meg: %1\n%2")
                                          .arg(QDir::toNativeSeparators(file), f.errorString()));
  if (f.size() > kMaxManifestBytes)
    return Fail(TFailureKind::Input,
                QStringLiteral("A köteg leírása túl nagy (legfeljebb 16 MB)."));
  return ParseManifest(f.readAll(), QFileInfo(file).absolutePath());
}

QByteArray ManifestBytes(const std::vector<TBatchRow>& rows, const QString& folder) {
  const QDir base(folder);
  QStringList header;
  for (int c = 0; c < kManifestColumns; ++c) header << ManifestColumnName(TManifestColumn(c));
  QString text = header.join(u';') + QStringLiteral("\r\n");
  for (const TBatchRow& row : rows) {
    QStringList cells;
    for (int c = 0; c < kManifestColumns; ++c) {
      QString cell = row.Cells[size_t(c)];
      if (std::find(kPathColumns.begin(), kPathColumns.end(), TManifestColumn(c)) !=
              kPathColumns.end() &&
          !cell.isEmpty()) {
        const QString relative = base.relativeFilePath(cell);
        if (!relative.startsWith(QStringLiteral(".."))) cell = relative;
        cell = QDir::toNativeSeparators(cell);
      }
      // A cell that begins with "#" would make the row a comment.
      if (c == 0 && cell.startsWith(u'#')) cell = QStringLiteral("./") + cell;
      cells << CsvCell(cell);
    }
    text += cells.join(u';') + QStringLiteral("\r\n");
  }
  return QByteArray("\xEF\xBB\xBF") + Utf8WithReplacement(text);
}

QByteArray ManifestTemplate() {
  QStringList header;
  for (int c = 0; c < kManifestColumns; ++c) header << ManifestColumnName(TManifestColumn(c));
  const QString text = header.join(u';') +
                       QStringLiteral(
                           "\r\n#szamlak/minta_2024_11.csv;12345678242;0001;2024-11-01;2024-11-30;"
                           "bevallas/12345678_2024_11.xml;;;;igen;nem\r\n");
  return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

TYesNo ReadYesNo(const QString& cell) {
  const QString v = cell.trimmed().toLower();
  if (v.isEmpty()) return TYesNo::Default;
  if (v == QStringLiteral("igen")) return TYesNo::Yes;
  if (v == QStringLiteral("nem")) return TYesNo::No;
  return TYesNo::Invalid;
}

}  // namespace krinu
