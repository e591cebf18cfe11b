// Loads a generated 1,000,000-line windows-1250 invoice file (header + 999,999 records, 8
// fields, quoted names with accents and ";" inside, decimal commas and thousands points, a
// few thousand bad records) as the input tab does, and times it best of 3: the reader alone
// for scale, the whole load, the sort of the loaded lines by itself and freeing them. Prints
// the peak RSS of a load.
//   content_bench [file to generate; default: krinu_content_bench.csv in the temp folder]
// A file given as argument is kept, so that it can be fed to krinu-cli afterwards.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringEncoder>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

#include "content/input_load.h"
#include "reader/csv_reader.h"
#include "reader/input_file.h"

namespace {

using namespace krinu;

constexpr int kLines = 1000000;

// Deterministic: the same file on every machine and every run. Written in slices so that
// the generator does not dominate the peak RSS.
bool WriteText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QStringEncoder encoder("windows-1250");
  static const char16_t* const kNames[] = {u"Őrség Kft.",
                                           u"Tükörfúró Bt.",
                                           u"Árvíz Zrt.",
                                           u"\"Kovács; és Társa\" Kft.",
                                           u"Szőlő; Bor és Társai Kft.",
                                           u"Élő Víz Nonprofit Kft."};
  quint32 seed = 4711;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  const QLocale hungarian(QLocale::Hungarian);
  QString text;
  text += u"Adószám;Partner neve;Számla kelte;Számlaszám;Nettó;ÁFA;Megjegyzés;Rögzítő\r\n";
  for (int i = 0; i < kLines - 1; ++i) {
    const quint32 r = next();
    const double net = (r % 100000000) / 100.0;
    QString name = QString::fromUtf16(kNames[r % 6]);
    if (name.contains(u';') || name.contains(u'"'))
      name = u'"' + name.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    QString netText = hungarian.toString(net, 'f', 2);  // 1 234 567,89
    netText.replace(QChar(0xA0), u'.').replace(u' ', u'.');
    QString vatText = QString::number(net * 0.27, 'f', 2).replace(u'.', u',');
    QString tax = QStringLiteral("%1-%2-%3")
                      .arg(10000000 + next() % 89999999)
                      .arg(1 + r % 5)
                      .arg(10 + r % 34);
    QString date = QStringLiteral("2024.%1.%2")
                       .arg(1 + r % 12, 2, 10, QChar(u'0'))
                       .arg(1 + (r >> 8) % 28, 2, 10, QChar(u'0'));
    switch (i % 1009) {  // ~4,000 bad records of four kinds
      case 17:
        vatText = netText;
        break;
      case 101:
        date = QStringLiteral("2024.02.30");
        break;
      case 505:
        tax.prepend(QStringLiteral("HU"));
        break;
      case 707:
        netText += QStringLiteral(" Ft");
        break;
    }
    text += tax + u';' + name + u';' + date +
            QStringLiteral(";SZ-2024/%1;").arg(i, 7, 10, QChar(u'0')) + netText + u';' + vatText +
            u';';
    text += (r & 1) ? u"\"Áru, szolgáltatás; egyéb\";" : u"Könyvelési tétel;";
    text += (r & 2) ? u"Nagy Éva\r\n" : u"Kiss Ödön\r\n";
    if (text.size() > (1 << 20)) {
      file.write(encoder(text));
      text.clear();
    }
  }
  file.write(encoder(text));
  return file.error() == QFile::NoError;
}

TInputSettings Settings(const QString& path) {
  TInputSettings s;
  s.InputFileName = path;
  s.InputCodePage = 0;  // the ANSI code page, windows-1250 here
  s.InputSeparatorChar = u';';
  s.HeaderPresent = true;
  s.InputLineCount = kLines;
  return s;
}

// Wall-clock and CPU time: on a shared machine the CPU time is the steadier figure.
struct Times {
  double wall = 1e9;
  double cpu = 1e9;
  void KeepBest(const Times& t) {
    wall = std::min(wall, t.wall);
    cpu = std::min(cpu, t.cpu);
  }
};

class Stopwatch {
 public:
  Stopwatch() {
    wall_.start();
    cpu_ = CpuNow();
  }
  Times Elapsed() const { return {wall_.nsecsElapsed() / 1e9, CpuNow() - cpu_}; }

 private:
  static double CpuNow() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
  }
  QElapsedTimer wall_;
  double cpu_ = 0;
};

Times ReadOnly(const QString& path) {
  const Stopwatch timer;
  TqdxCSVFileReader reader(512);
  ConfigureInputReaderFully(reader, Settings(path));
  reader.Open();
  qint64 sum = 0;
  while (!reader.Eof()) {
    for (int i = 0; i < reader.FieldCount(); ++i) sum += reader.Fields(i).Value().size();
    reader.Next();
  }
  const Times times = timer.Elapsed();
  if (sum == 0) std::printf("(empty)\n");
  return times;
}

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

long PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

struct Run {
  Times reader, load, sort, free;
  qint64 loaded = 0;
  qint64 skipped = 0;
  long rssMb = 0;
  long faults = 0;  // page faults during the load
  bool failed = false;
};

// One load as the program does it after start-up, then the sort alone on the lines put back
// into file order (the invoice numbers count up), then freeing them as the next load would.
Run LoadOnce(const QString& path) {
  Run run;
  run.reader = ReadOnly(path);
  const long faults = MinorFaults();
  Stopwatch timer;
  auto result = std::make_unique<TLoadResult>(LoadInputData(
      Settings(path), TColumnSelection{{1, 2, 3, 4, 5, 6}}, QStringLiteral("yyyy.mm.dd"), 0));
  run.load = timer.Elapsed();
  run.faults = MinorFaults() - faults;
  run.failed = !result->Succeeded();
  run.loaded = qint64(result->AFAAdatList.size());
  run.skipped = result->MissedRows.size();
  run.rssMb = PeakRssMb();
  std::sort(result->AFAAdatList.begin(), result->AFAAdatList.end(),
            [](const TAFAAdat& a, const TAFAAdat& b) { return a.BizSzam < b.BizSzam; });
  timer = Stopwatch();
  SortAFAAdatList(result->AFAAdatList);
  run.sort = timer.Elapsed();
  timer = Stopwatch();
  result.reset();
  run.free = timer.Elapsed();
  return run;
}

// Each run in a child of its own: a heap that still holds the lines of an earlier run
// (glibc tidies freed blocks lazily, inside later allocations) would be timed with it.
Run InChild(const QString& path) {
  Run failed;
  failed.failed = true;
  int fds[2];
  if (pipe(fds) != 0) return failed;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const Run run = LoadOnce(path);
    const bool ok = write(fds[1], &run, sizeof run) == ssize_t(sizeof run);
    _exit(ok ? 0 : 1);
  }
  close(fds[1]);
  Run run;
  if (pid < 0 || read(fds[0], &run, sizeof run) != ssize_t(sizeof run)) run.failed = true;
  close(fds[0]);
  if (pid > 0) waitpid(pid, nullptr, 0);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("KRINU_ANSI_CODEPAGE", "1250");
  const bool keep = argc > 1;
  const QString path =
      keep ? QString::fromLocal8Bit(argv[1])
           : QDir(QDir::tempPath()).filePath(QStringLiteral("krinu_content_bench.csv"));
  if (!WriteText(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return 1;
  }
  std::printf("%s: %.1f MB, %d lines\n", qPrintable(path), QFileInfo(path).size() / 1e6, kLines);

  Run best;
  for (int i = 0; i < 3; ++i) {
    const Run run = InChild(path);
    if (run.failed) {
      std::fprintf(stderr, "load failed\n");
      return 1;
    }
    best.reader.KeepBest(run.reader);
    best.load.KeepBest(run.load);
    best.sort.KeepBest(run.sort);
    best.free.KeepBest(run.free);
    best.loaded = run.loaded;
    best.skipped = run.skipped;
    best.rssMb = std::max(best.rssMb, run.rssMb);
    best.faults = run.faults;
  }
  auto line = [](const char* what, const Times& t) {
    std::printf("%-20s %6.3f s wall  %6.3f s CPU\n", what, t.wall, t.cpu);
  };
  line("reader alone", best.reader);
  line("load incl. sort", best.load);
  line("  above the reader",
       Times{best.load.wall - best.reader.wall, best.load.cpu - best.reader.cpu});
  line("sort alone", best.sort);
  line("freeing the lines", best.free);
  std::printf("loaded %lld, skipped %lld; %ld page faults in the load; peak RSS %ld MB\n",
              static_cast<long long>(best.loaded), static_cast<long long>(best.skipped),
              best.faults, best.rssMb);
  if (!keep) QFile::remove(path);
  return 0;
}
