#include "content/input_load.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/large_pages.h"
#include "content/content_check.h"
#include "content/recognisers.h"
#include "intake/structure.h"
#include "reader/csv_reader.h"

namespace krinu {

namespace {

enum TFailBit : unsigned {
  fbAdoszam = 1u << 0,
  fbDatum = 1u << 1,
  fbAFAAlap = 1u << 2,
  fbAFA = 1u << 3,
  fbAFATooHigh = 1u << 4,
};

QStringList ReasonsOf(unsigned failed) {
  QStringList reasons;
  if (failed & fbAdoszam) reasons << QStringLiteral("Adószám");
  if (failed & fbDatum) reasons << QStringLiteral("Dátum");
  if (failed & fbAFAAlap) reasons << QStringLiteral("Nettó összeg");
  if (failed & fbAFA) reasons << QStringLiteral("ÁFA összeg");
  if (failed & fbAFATooHigh) reasons << QStringLiteral("ÁFA > nettó/2");
  return reasons;
}

constexpr qint64 kProgressEvery = 1 << 16;

// A string of its own, just as long as the value: sharing the reader's field would make the
// reader allocate anew for the next record and keep its spare capacity in the list.
QString Copy(QStringView value) {
  return value.toString();
}

// The lines of one invoice, and the invoices of one partner, tend to follow each other:
// a value equal to the one before shares its string instead of allocating.
class TPreviousString {
 public:
  const QString& Share(QStringView value) {
    if (last_ != value) last_ = Copy(value);
    return last_;
  }

 private:
  QString last_;
};

// Tax numbers hold blanks, hyphens and digits only, at most 13 of them: four bits per
// character (end 0, blank 1, hyphen 2, digits 3 to 12) keep the characters' order in one
// integer, shorter keys first.
bool PackKey(const QString& key, quint64& packed) {
  constexpr qsizetype kMaxChars = 15;
  if (key.size() > kMaxChars) return false;
  quint64 v = 0;
  for (qsizetype i = 0; i < kMaxChars; ++i) {
    unsigned code = 0;
    if (i < key.size()) {
      const char16_t c = key[i].unicode();
      if (c == u' ')
        code = 1;
      else if (c == u'-')
        code = 2;
      else if (c >= u'0' && c <= u'9')
        code = 3 + unsigned(c - u'0');
      else
        return false;
    }
    v = (v << 4) | code;
  }
  packed = v;
  return true;
}

// Moves the lines so that new position p holds the line that stood at order[p]; no second
// copy of the list (a million lines are ~100 MB).
void Permute(TAFAAdatList& list, std::vector<quint32>& order) {
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i] == i) continue;
    TAFAAdat held = std::move(list[i]);
    size_t j = i;
    for (;;) {
      const size_t k = order[j];
      order[j] = quint32(j);
      // The line after next is a random jump away: ask for it early (a third faster).
      const char* ahead = reinterpret_cast<const char*>(&list[order[k]]);
      __builtin_prefetch(ahead);
      __builtin_prefetch(ahead + sizeof(TAFAAdat) - 1);
      if (k == i) {
        list[j] = std::move(held);
        break;
      }
      list[j] = std::move(list[k]);
      j = k;
    }
  }
}

// Packed key and index of each line.
using TKeyedLines = std::vector<std::pair<quint64, quint32>>;

// The index breaks ties: equal keys keep their order.
void SortPacked(TAFAAdatList& list, TKeyedLines& keyed) {
  std::sort(keyed.begin(), keyed.end());
  std::vector<quint32> order(keyed.size());
  for (size_t i = 0; i < keyed.size(); ++i) order[i] = keyed[i].second;
  keyed = {};
  Permute(list, order);
}

}  // namespace

void SortAFAAdatList(TAFAAdatList& list) {
  const size_t n = list.size();
  if (n < 2) return;
  TKeyedLines keyed(n);
  bool packed = true;
  for (size_t i = 0; i < n && packed; ++i) {
    keyed[i].second = quint32(i);
    packed = PackKey(list[i].Adoszam, keyed[i].first);
  }
  if (packed) {
    SortPacked(list, keyed);
    return;
  }
  keyed = {};
  std::vector<quint32> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = quint32(i);
  std::stable_sort(order.begin(), order.end(), [&list](quint32 a, quint32 b) {
    return QString::compare(list[a].Adoszam, list[b].Adoszam, Qt::CaseSensitive) < 0;
  });
  Permute(list, order);
}

TLoadResult LoadInputData(const TInputSettings& settings, const TColumnSelection& columns,
                          const QString& dateFormat, int decSepIndex, const ProgressFn& progress) {
  TLoadResult result;
  const TDecSeps seps = DecSepsOf(decSepIndex);
  InputFormatSettings().DecimalSeparator = seps.Decimal;
  InputFormatSettings().ThousandSeparator = seps.Thousand;
  const TDatumFormat format(dateFormat);
  const QChar separator = settings.InputSeparatorChar;
  const qint64 total = std::max<qint64>(settings.InputLineCount, 0);
  if (total > 0) {
    result.AFAAdatList.reserve(size_t(total));
    AdviseLargePages(result.AFAAdatList.data(), result.AFAAdatList.capacity() * sizeof(TAFAAdat));
  }
  TPreviousString taxNumbers;
  TPreviousString names;
  TPreviousString invoiceNumbers;
  // Keys packed while the tax number is at hand spare the sort a second walk over a
  // hundred megabytes of lines.
  TKeyedLines keyed;
  bool packed = true;
  if (total > 0) {
    keyed.reserve(size_t(total));
    AdviseLargePages(keyed.data(), keyed.capacity() * sizeof(keyed[0]));
  }

  try {
    TqdxCSVFileReader reader(512);
    ConfigureInputReaderFully(reader, settings);
    reader.Open();
    const int fieldCount = reader.FieldCount();

    // Which item each field feeds: when two combos pick one field the first item wins and
    // the other keeps its initial value.
    std::vector<int> role(size_t(std::max(fieldCount, 0)), -1);
    for (int item = 0; item < 6; ++item) {
      const int k = columns.Item[size_t(item)];
      if (k >= 1 && k <= fieldCount && role[size_t(k - 1)] < 0) role[size_t(k - 1)] = item;
    }

    qint64 records = 0;
    while (!reader.Eof()) {
      // A file that grows while it is read (another program appending) would otherwise
      // fill the memory: the load stops where the count before it would have refused.
      if (records >= kMaxInputLines)
        throw EqdxCSVException(QStringLiteral("Az input fájl több mint 1 millió sort tartalmaz"));
      TAFAAdat& line = result.AFAAdatList.emplace_back();
      unsigned failed = 0;
      for (int i = 0; i < fieldCount; ++i) {
        const int item = role[size_t(i)];
        if (item < 0) continue;
        const QString& value = reader.Fields(i).Value();
        switch (item) {
          case dcAdoszam: {
            // The hand-written matcher is AdoszamPattern without a regex call per record.
            const QStringView trimmed = TrimView(value);
            if (MatchesAdoszamPattern(trimmed))
              line.Adoszam = taxNumbers.Share(trimmed);
            else
              failed |= fbAdoszam;
            break;
          }
          case dcMegnevezes:
            line.Megnevezes = names.Share(value);
            break;
          case dcDatum:
            if (const std::optional<QDate> d = format.Convert(TrimView(value)))
              line.Datum = *d;
            else
              failed |= fbDatum;
            break;
          case dcBizSzam:
            line.BizSzam = invoiceNumbers.Share(value);
            break;
          case dcAFAAlap:
            if (const std::optional<double> v =
                    ConvertOsszeg(QStringView(value), seps.Decimal, seps.Thousand))
              line.AFAAlap = *v;
            else
              failed |= fbAFAAlap;
            break;
          case dcAFA:
            if (const std::optional<double> v =
                    ConvertOsszeg(QStringView(value), seps.Decimal, seps.Thousand))
              line.AFA = *v;
            else
              failed |= fbAFA;
            break;
        }
      }
      if (!failed && VatAboveHalf(line.AFAAlap, line.AFA)) failed = fbAFATooHigh;

      if (failed) {
        result.AFAAdatList.pop_back();
        // The row text is built only now: a clean record costs nothing for it.
        TSkippedRecord skipped;
        skipped.RecordNumber = reader.RecordCountProcessedSoFar();
        skipped.Reasons = ReasonsOf(failed);
        skipped.Fields.reserve(fieldCount);
        for (int i = 0; i < fieldCount; ++i) skipped.Fields.append(reader.Fields(i).Value());
        result.MissedRows.append(skipped.Fields.join(separator));
        result.Skipped.push_back(std::move(skipped));
      } else {
        line.Enabled = true;
        line.Status = TAFAAdatStatus::stAFABase;
        quint64 key = 0;
        if (packed && (packed = PackKey(line.Adoszam, key)))
          keyed.emplace_back(key, quint32(result.AFAAdatList.size() - 1));
      }

      if (++records % kProgressEvery == 0 && progress) progress(records, total);
      reader.Next();
    }
    reader.Close();
  } catch (const EqdxCSVException& e) {
    result.Error = e.Message();
    return result;
  } catch (const std::exception& e) {
    result.Error = QString::fromLocal8Bit(e.what());
    return result;
  }

  if (packed)
    SortPacked(result.AFAAdatList, keyed);
  else
    SortAFAAdatList(result.AFAAdatList);
  return result;
}

TLoadResultMessage InputLoadResultMessage(qint64 loaded, qint64 missed,
                                          const QString& nextTabCaption) {
  const QString tab = QStringLiteral("\"") + TrimText(nextTabCaption) + QStringLiteral("\"");
  const QString lastLine = QStringLiteral(
      "(Előtte érdemes lehet ellenőrizni, hogy a szükséges input adatelemek (adószám, "
      "megnevezés, ...) beazonosítása valóban megfelelő)");
  if (missed == 0) {
    return {TMessageKind::Information,
            QStringLiteral("Sikeres Input Fájl betöltés, ") + QString::number(loaded) +
                QStringLiteral(" adatsor került betöltésre\nTovábbléphet a ") + tab +
                QStringLiteral(" fülre az NAV bevallás elkészítéséhez\n") + lastLine};
  }
  QString l = QString::number(loaded);
  QString m = QString::number(missed);
  const qsizetype width = std::max(l.size(), m.size());
  l = l.rightJustified(width, u'0');
  m = m.rightJustified(width, u'0');
  return {
      TMessageKind::Warning,
      QStringLiteral("Részben sikeres Input Fájl betöltés, \n") + l +
          QStringLiteral(" adatsor került betöltésre\n") + m +
          QStringLiteral(" adatsort nem sikerült betölteni\n"
                         "Vagy próbáljon módosítani az Input Fájl-on, vagy annak "
                         "feldolgozásán\n"
                         "Vagy lépjen tovább a ") +
          tab +
          QStringLiteral(
              " fülre az NAV bevallás elkészítéséhez a betöltött adatsorok felhasználásával\n") +
          lastLine};
}

}  // namespace krinu
