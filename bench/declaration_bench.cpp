// The declaration run on 1,000,000 generated invoice lines (about 5 % of the invoices split
// over two lines, 3000 partners, a few credit notes and lines outside the period): times the
// preparation, the document build and the file write separately, and prints the XML size and the
// peak RSS.
//   declaration_bench [folder for the XML file, default: the system's temporary folder]
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <optional>

#include "declaration/declaration_run.h"

namespace {

using namespace krinu;

constexpr int kLines = 1000000;
constexpr int kPartners = 3000;

// A fresh copy of the text, as every loaded line holds its own strings.
QString Copy(const QString& text) {
  return QString(text.constData(), text.size());
}

TAFAAdatList MakeLines() {
  quint32 seed = 20240305;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  static const char16_t* const kNames[] = {u"Őrség Kft.", u"Tükörfúró Bt.", u"Árvíz Zrt.",
                                           u"\"Kovács & Társa\"", u"Szőlő és Bor Kft."};
  QStringList keys, names;
  for (int p = 0; p < kPartners; ++p) {
    keys << QStringLiteral("%1-%2-%3")
                .arg(10000000 + next() % 89999999)
                .arg(1 + p % 5)
                .arg(10 + p % 34);
    names << QString::fromUtf16(kNames[p % 5]) + QStringLiteral(" %1").arg(p);
  }
  TAFAAdatList list;  // grown line by line, as a load grows it
  for (int invoice = 0; qsizetype(list.size()) < kLines; ++invoice) {
    const quint32 r = next();
    const int p = int(r % kPartners);
    TAFAAdat line;
    line.Adoszam = Copy(keys[p]);
    line.Megnevezes = Copy(names[p]);
    // one line in a thousand lies just outside the first quarter
    line.Datum =
        (r >> 12) % 1000 == 0 ? QDate(2024, 4, 1) : QDate(2024, 1, 1).addDays((r >> 8) % 91);
    line.BizSzam = QStringLiteral("SZ-2024/%1").arg(invoice, 7, 10, QChar(u'0'));
    line.AFAAlap = (next() % 10000000) / 100.0;
    line.AFA = line.AFAAlap * 0.27;
    if ((r >> 4) % 500 == 0) line.AFAAlap = -line.AFAAlap;  // a few credit notes
    line.Enabled = true;
    if ((r >> 20) % 20 == 0 && qsizetype(list.size()) + 2 <= kLines) {
      TAFAAdat second = line;
      second.Adoszam = Copy(keys[p]);
      second.Megnevezes = Copy(names[p]);
      second.BizSzam = line.BizSzam.ToString();
      second.AFAAlap = (next() % 100000) / 100.0;
      second.AFA = second.AFAAlap * 0.27;
      list.push_back(std::move(line));
      list.push_back(std::move(second));
    } else {
      list.push_back(std::move(line));
    }
  }
  SortByKey(list);  // as a load leaves it
  return list;
}

// Wall and CPU time of one phase; the machine may be shared, and wall time then says little.
class TPhase {
 public:
  TPhase() {
    wall_.start();
    cpu_ = CpuSeconds();
  }
  [[nodiscard]] double Wall() const { return wall_.nsecsElapsed() / 1e9; }
  [[nodiscard]] double Cpu() const { return CpuSeconds() - cpu_; }

 private:
  static double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  }
  QElapsedTimer wall_;
  double cpu_;
};

long PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath());
  const QString path = dir.filePath(QStringLiteral("krinu_declaration_bench.xml"));

  std::optional<TPhase> phase(std::in_place);
  TAFAAdatList list = MakeLines();
  std::printf("generated    %6.3f s wall %6.3f s CPU  %zu lines  (peak RSS %ld MB)\n",
              phase->Wall(), phase->Cpu(), list.size(), PeakRssMegabytes());

  TPrepareOptions options;
  options.PeriodStart = QDate(2024, 1, 1);
  options.PeriodEnd = QDate(2024, 3, 31);
  options.Locale = QLocale(QLocale::Hungarian, QLocale::Hungary);
  phase.emplace();
  const TPrepareResult prepared = PrepareDeclarationLines(list, options);
  const double prepareWall = phase->Wall(), prepareCpu = phase->Cpu();
  std::printf(
      "preparation  %6.3f s wall %6.3f s CPU  %d combinations, %lld included, %lld outside, "
      "%d partners, %lld log lines\n",
      prepareWall, prepareCpu, prepared.Counts.Combinations,
      static_cast<long long>(prepared.Counts.IncludedLines),
      static_cast<long long>(prepared.Counts.OutsidePeriod), int(prepared.PartnerList.size()),
      static_cast<long long>(prepared.Log.size()));

  const TAdozoAdat taxpayer{QStringLiteral("12345678242"), QStringLiteral("Minta Kft."),
                            QStringLiteral("OTP Bank"), QStringLiteral("11700000"),
                            QStringLiteral("12345678")};
  const TUgyintezoAdat administrator{QStringLiteral("Kiss Ödön"), QStringLiteral("+36 1 234 5678"),
                                     1};
  const TDeclarationParams params =
      DeclarationParams(options.PeriodStart, options.PeriodEnd, QStringLiteral("1.0"));
  phase.emplace();
  const QByteArray document =
      BuildDeclarationDocument(taxpayer, administrator, params, list, prepared.PartnerList);
  const double buildWall = phase->Wall(), buildCpu = phase->Cpu();
  std::printf("document     %6.3f s wall %6.3f s CPU  %.1f MB, %lld lines\n", buildWall, buildCpu,
              document.size() / 1e6, static_cast<long long>(document.count('\n')));

  phase.emplace();
  const TStatus written = WriteDeclarationFile(path, document);
  const double writeWall = phase->Wall(), writeCpu = phase->Cpu();
  if (!written) {
    std::fprintf(stderr, "%s\n", qPrintable(written.Message()));
    return 1;
  }
  std::printf("write        %6.3f s wall %6.3f s CPU  %s\n", writeWall, writeCpu, qPrintable(path));
  std::printf("total        %6.3f s wall %6.3f s CPU  (preparation + document + write)\n",
              prepareWall + buildWall + writeWall, prepareCpu + buildCpu + writeCpu);
  std::printf("peak RSS     %ld MB\n", PeakRssMegabytes());
  QFile::remove(path);
  return 0;
}
