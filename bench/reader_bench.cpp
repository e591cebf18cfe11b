// Reads a generated 1,000,000-line, 8-field file (~100 MB) record by record, touching every
// field value, in windows-1250 and in UTF-8, with the settings the application uses; prints
// MB/s and records/s, and the time of `wc -l` on the same file for scale; then the time to
// open a file whose first line holds 400,000 separators (field-count detection alone).
//   reader_bench [folder for the generated files, default: the system's temporary folder]
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "reader/csv_reader.h"

namespace {

using krinu::TqdxCSVFileReader;
using krinu::TTextEncoding;

constexpr int kLines = 1000000;

// Deterministic invoice-like text: the same file on every machine and every run.
QString MakeText() {
  static const char16_t* const kNames[] = {u"Őrség Kft.",
                                           u"Tükörfúró Bt.",
                                           u"Árvíz Zrt.",
                                           u"\"Kovács és Társa\"",
                                           u"Szőlő, Bor és Társai Kft.",
                                           u"Élő Víz Nonprofit Kft."};
  quint32 seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  QString text;
  text.reserve(qsizetype(kLines) * 104);
  text += u"Adószám;Partner neve;Számla kelte;Számlaszám;Nettó;ÁFA;Megjegyzés;Rögzítő\r\n";
  for (int i = 0; i < kLines - 1; ++i) {
    const quint32 r = next();
    const double net = (r % 10000000) / 100.0;
    QString name = QString::fromUtf16(kNames[r % 6]);
    if (name.contains(u',') || name.contains(u'"'))
      name = u'"' + QString(name).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    text += QStringLiteral("%1-%2-%3;%4;2024.%5.%6;SZ-2024/%7;%8;%9;")
                .arg(10000000 + next() % 89999999)
                .arg(1 + r % 5)
                .arg(10 + r % 34)
                .arg(name)
                .arg(1 + r % 12, 2, 10, QChar(u'0'))
                .arg(1 + (r >> 8) % 28, 2, 10, QChar(u'0'))
                .arg(i, 7, 10, QChar(u'0'))
                .arg(QString::number(net, 'f', 2).replace(u'.', u','))
                .arg(QString::number(net * 0.27, 'f', 2).replace(u'.', u','));
    text += (r & 1) ? u"\"Áru, szolgáltatás; egyéb\";" : u"Könyvelési tétel;";
    text += (r & 2) ? u"Nagy Éva\r\n" : u"Kiss Ödön\r\n";
  }
  return text;
}

struct Result {
  double seconds;
  qint64 records;
  qint64 checksum;
};

Result ReadOnce(const QString& path, const TTextEncoding& encoding, bool detectBOM) {
  QElapsedTimer timer;
  timer.start();
  TqdxCSVFileReader reader(512);
  reader.SetFile(path, encoding, detectBOM, 1024);
  reader.SetFieldSeparatorCharCode(u';');
  reader.SetHeaderPresent(true);
  reader.SetIgnoreEmptyLines(true);
  reader.SetIgnoreSpecialCharacters(true);
  reader.Open();
  qint64 records = 0;
  qint64 checksum = 0;
  while (!reader.Eof()) {
    ++records;
    for (int i = 0; i < reader.FieldCount(); ++i) {
      const QString& value = reader.Fields(i).Value();
      checksum += value.size() + (value.isEmpty() ? 0 : value.front().unicode());
    }
    reader.Next();
  }
  reader.Close();
  return {timer.nsecsElapsed() / 1e9, records, checksum};
}

void Measure(const char* label, const QString& path, const TTextEncoding& encoding,
             bool detectBOM) {
  const double megabytes = QFileInfo(path).size() / 1e6;
  Result best{1e9, 0, 0};
  for (int run = 0; run < 3; ++run) {
    const Result r = ReadOnce(path, encoding, detectBOM);
    if (r.seconds < best.seconds) best = r;
  }
  std::printf(
      "%-13s %7.1f MB  %8lld records  %6.3f s  %7.1f MB/s  %10.0f records/s  (checksum %lld)\n",
      label, megabytes, static_cast<long long>(best.records), best.seconds,
      megabytes / best.seconds, best.records / best.seconds, static_cast<long long>(best.checksum));
}

void WcLines(const QString& path) {
  QElapsedTimer timer;
  timer.start();
  const QByteArray command = "wc -l < '" + QFile::encodeName(path) + "' > /dev/null";
  if (std::system(command.constData()) != 0) return;
  const double seconds = timer.nsecsElapsed() / 1e9;
  std::printf("%-13s %7.1f MB  %6.3f s  %7.1f MB/s\n", "wc -l", QFileInfo(path).size() / 1e6,
              seconds, QFileInfo(path).size() / 1e6 / seconds);
}

// Field-count detection over a first record of 400,001 fields: what the structure check
// pays before it refuses such a file.
void MeasureWideFirstLine(const QString& path) {
  constexpr int kSeparators = 400000;
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    file.write(QByteArray(kSeparators, ';') + "\r\n");
  }
  QElapsedTimer timer;
  timer.start();
  TqdxCSVFileReader reader(512);
  reader.SetFile(path, TTextEncoding::UTF8(), true, 1024);
  reader.SetFieldSeparatorCharCode(u';');
  reader.Open();
  const int fields = reader.FieldCount();
  reader.Close();
  std::printf("%-13s %7d fields on line 1  %6.3f s\n", "wide line", fields,
              timer.nsecsElapsed() / 1e9);
  QFile::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath());
  const QString text = MakeText();
  const QString cp1250 = dir.filePath(QStringLiteral("krinu_bench_1250.csv"));
  const QString utf8 = dir.filePath(QStringLiteral("krinu_bench_utf8.csv"));
  for (const auto& [path, name] : {std::pair{cp1250, "windows-1250"}, std::pair{utf8, "UTF-8"}}) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
    QStringEncoder encoder(name);
    file.write(encoder(text));
  }
  Measure("windows-1250", cp1250, TTextEncoding::FromCodePage(1250), true);
  Measure("UTF-8", utf8, TTextEncoding::UTF8(), false);
  WcLines(cp1250);
  WcLines(utf8);
  QFile::remove(cp1250);
  QFile::remove(utf8);
  MeasureWideFirstLine(dir.filePath(QStringLiteral("krinu_bench_wide.csv")));
  return 0;
}
