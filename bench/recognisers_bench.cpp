// Runs the per-record conversions of the load (tax number, date, two amounts) 1,000,000
// times and prints the time. The values cycle through 4096 generated records, so that
// they stand in the cache as a field the reader has just produced does.
//   recognisers_bench
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

#include "content/recognisers.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kDistinct = 4096;

struct TValues {
  QStringList adoszam, datum, net, vat;
};

// Deterministic values in the shapes an accounting export gives.
TValues MakeValues() {
  quint32 seed = 4711;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  TValues v;
  for (int i = 0; i < kDistinct; ++i) {
    const quint32 r = next();
    v.adoszam << (r % 3 ? QStringLiteral("%1-%2-%3")
                              .arg(10000000 + r % 89999999)
                              .arg(r % 9 + 1)
                              .arg(r % 90 + 10)
                        : QString::number(10000000 + r % 89999999));
    v.datum << QStringLiteral("2024.%1.%2")
                   .arg(r % 12 + 1, 2, 10, QLatin1Char('0'))
                   .arg(r % 28 + 1, 2, 10, QLatin1Char('0'));
    v.net << QStringLiteral("%1 %2,%3").arg(r % 1000).arg(r % 900 + 100).arg(r % 90 + 10);
    v.vat << QStringLiteral("%1,%2").arg(r % 100000).arg(r % 90 + 10);
  }
  return v;
}

}  // namespace

int main() {
  const TValues v = MakeValues();
  const krinu::TDatumFormat format(QStringLiteral("yyyy.mm.dd"));
  QElapsedTimer timer;
  timer.start();
  qint64 good = 0;
  double sum = 0;
  for (int i = 0; i < kRecords; ++i) {
    const int k = i % kDistinct;
    const bool adoszam = krinu::IsAdoszam(v.adoszam[k]);
    const auto datum = format.Convert(v.datum[k]);
    const auto net = krinu::ConvertOsszeg(v.net[k], u',', u'.');
    const auto vat = krinu::ConvertOsszeg(v.vat[k], u',', u'.');
    if (adoszam && datum && net && vat) {
      ++good;
      sum += *net + *vat;
    }
  }
  const qint64 ms = timer.elapsed();
  std::printf("%d records, %lld converted (sum %.2f): %lld ms\n", kRecords, good, sum, ms);
  return good == kRecords ? 0 : 1;
}
