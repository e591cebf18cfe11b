#include "content/input_load.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

#include "common/large_pages.h"
#include "content/content_check.h"
#include "content/recognisers.h"
#include "content/record_blocks.h"
#include "content/skipped_report.h"
#include "intake/structure.h"

namespace krinu {

namespace {

constexpr qint64 kProgressEvery = 1 << 16;

// A hash of a short text for the pools below, eight bytes at a time: the pools' tables are
// private to one load, so it needs no seed, only a good spread of the low bits.
quint64 TextHash(QStringView text) {
  const char* p = reinterpret_cast<const char*>(text.data());
  std::size_t bytes = std::size_t(text.size()) * 2;
  quint64 h = 0x9E3779B97F4A7C15ull ^ bytes;
  const auto mix = [&h](quint64 v) {
    h = (h ^ v) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
  };
  for (; bytes >= 8; bytes -= 8, p += 8) {
    quint64 v;
    std::memcpy(&v, p, 8);
    mix(v);
  }
  if (bytes > 0) {
    quint64 v = 0;
    std::memcpy(&v, p, bytes);
    mix(v);
  }
  h *= 0x94D049BB133111EBull;
  return h ^ (h >> 31);
}

// Invoice numbers are nearly all different: they go into the list's text blocks, and the
// lines of one invoice, which tend to follow each other, share one copy.
class TPreviousString {
 public:
  explicit TPreviousString(TTextArena& arena) : arena_(arena) {}
  const TLineText& Share(QStringView value) {
    if (last_ != value) last_ = arena_.Add(value);
    return last_;
  }

 private:
  TTextArena& arena_;
  TLineText last_;
};

// Tax numbers and names repeat: a few thousand partners over a million lines. Each distinct
// value is stored once, in the list's text blocks, and every line shares it. Open
// addressing over the values themselves: a lookup of a value already there allocates
// nothing.
class TStringPool {
 public:
  explicit TStringPool(TTextArena& arena) : arena_(arena) {}
  // The value's number tells it from every other distinct value: 0, 1, 2... in the order
  // they first came.
  const TLineText& Intern(QStringView value, quint32& id) {
    if (last_ != nullptr && *last_ == value) {
      id = lastId_;
      return *last_;
    }
    if (2 * (count_ + 1) > slots_.size()) Grow();
    const size_t mask = slots_.size() - 1;
    const size_t hash = size_t(TextHash(value));
    for (size_t s = hash & mask;; s = (s + 1) & mask) {
      TSlot& slot = slots_[s];
      if (!slot.Used) {
        slot.Hash = hash;
        slot.Value = arena_.Add(value);
        slot.Used = true;
        slot.Id = quint32(count_++);
        values_.push_back(&slot.Value);
      } else if (slot.Hash != hash || slot.Value != value) {
        continue;
      }
      id = lastId_ = slot.Id;
      return *(last_ = &slot.Value);
    }
  }

  const TLineText& Value(quint32 id) const { return *values_[id]; }

  // The numbers of the values in the list's order of keys (plain 16-bit character order):
  // rank[id] is the place of value id among all of them.
  std::vector<quint32> Ranks() const {
    std::vector<quint32> byKey(values_.size());
    for (size_t i = 0; i < byKey.size(); ++i) byKey[i] = quint32(i);
    std::sort(byKey.begin(), byKey.end(),
              [this](quint32 a, quint32 b) { return *values_[a] < *values_[b]; });
    std::vector<quint32> rank(byKey.size());
    for (size_t r = 0; r < byKey.size(); ++r) rank[byKey[r]] = quint32(r);
    return rank;
  }

 private:
  struct TSlot {
    size_t Hash = 0;
    TLineText Value;
    quint32 Id = 0;
    bool Used = false;
  };
  void Grow() {
    std::vector<TSlot> old =
        std::exchange(slots_, std::vector<TSlot>(std::max<size_t>(64, slots_.size() * 2)));
    const size_t mask = slots_.size() - 1;
    for (TSlot& slot : old) {
      if (!slot.Used) continue;
      size_t s = slot.Hash & mask;
      while (slots_[s].Used) s = (s + 1) & mask;
      slots_[s] = std::move(slot);
      values_[slots_[s].Id] = &slots_[s].Value;
    }
    last_ = nullptr;
  }
  TTextArena& arena_;
  std::vector<TSlot> slots_;
  std::vector<const TLineText*> values_;  // by number
  size_t count_ = 0;
  const TLineText* last_ = nullptr;
  quint32 lastId_ = 0;
};

// Tax numbers hold blanks, hyphens and digits only, at most 13 of them: four bits per
// character (end 0, blank 1, hyphen 2, digits 3 to 12) keep the characters' order in one
// integer, shorter keys first.
template <class View>
bool PackKey(View key, quint64& packed) {
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

// Moves every line i to position place[i]; no second copy of the list (a million lines are
// ~48 MB). This is most of the sort's time, spent waiting for lines a random jump away:
// they are relocated as bytes, which is sound for a line's texts (a pointer each), its date
// and numbers. place ends up as 0, 1, 2...
//
// A walk takes the line from where it starts, puts it in its place and goes on with the
// line it found there, until it comes to a place whose line a walk took at its start: that
// place is filled and the walk ends. One walk goes round a whole cycle of the permutation,
// and a random one is most of the lines; each step then waits for the memory. So several
// walks go at once, one step each in turn, and each asks for its next line as it learns
// where that is: the waits overlap. Every line is still moved exactly once, to its place.
constexpr int kWalks = 8;
constexpr quint32 kTaken = ~quint32(0);  // a place whose line a walk took at its start

void Permute(TAFAAdatList& list, std::vector<quint32>& place) {
  static_assert(sizeof(TLineText) == sizeof(quintptr));
  static_assert(std::is_trivially_copyable_v<TLineDate>);
  const std::size_t n = place.size();
  auto bytes = [&list](std::size_t at) { return static_cast<void*>(&list[at]); };
  const auto prefetch = [&](std::size_t at) {
    const char* line = static_cast<const char*>(bytes(at));
    __builtin_prefetch(line);
    __builtin_prefetch(line + sizeof(TAFAAdat) - 1);
    __builtin_prefetch(&place[at]);
  };
  struct TWalk {
    std::size_t To = 0;  // where the line in hand goes
    alignas(TAFAAdat) unsigned char Held[sizeof(TAFAAdat)];
  };
  TWalk walks[kWalks];
  bool going[kWalks] = {};
  int active = 0;
  std::size_t scan = 0;  // below it every line is in its place or taken
  const auto start = [&](int w) {
    while (scan < n && (place[scan] == scan || place[scan] == kTaken)) ++scan;
    if (scan == n) return;
    walks[w].To = place[scan];
    std::memcpy(walks[w].Held, bytes(scan), sizeof(TAFAAdat));
    place[scan] = kTaken;
    prefetch(walks[w].To);
    ++scan;
    going[w] = true;
    ++active;
  };
  for (int w = 0; w < kWalks; ++w) start(w);
  while (active > 0) {
    for (int w = 0; w < kWalks; ++w) {
      if (!going[w]) continue;
      TWalk& walk = walks[w];
      const std::size_t to = walk.To;
      const quint32 next = place[to];
      place[to] = quint32(to);
      if (next == kTaken) {
        std::memcpy(bytes(to), walk.Held, sizeof(TAFAAdat));
        going[w] = false;
        --active;
        start(w);
        continue;
      }
      alignas(TAFAAdat) unsigned char found[sizeof(TAFAAdat)];
      std::memcpy(found, bytes(to), sizeof(TAFAAdat));
      std::memcpy(bytes(to), walk.Held, sizeof(TAFAAdat));
      std::memcpy(walk.Held, found, sizeof(TAFAAdat));
      walk.To = next;
      prefetch(next);
    }
  }
}

// Packed key and index of each line.
using TKeyedLines = std::vector<std::pair<quint64, quint32>>;

// The index breaks ties: equal keys keep their order.
void SortPacked(TAFAAdatList& list, TKeyedLines& keyed) {
  std::sort(keyed.begin(), keyed.end());
  std::vector<quint32> place(keyed.size());
  for (size_t p = 0; p < keyed.size(); ++p) place[keyed[p].second] = quint32(p);
  keyed = {};
  Permute(list, place);
}

// The loaded lines in key order by counting: a million lines share a few thousand tax
// numbers, each known by its number in the pool, so the places follow from how many lines
// each key has, in one pass and stable, with no comparison per line. The numbers are
// turned into the places where they stand.
void SortByKeyNumbers(TAFAAdatList& list, std::vector<quint32>& keyIds, const TStringPool& keys) {
  const std::vector<quint32> rank = keys.Ranks();
  std::vector<quint32> start(rank.size() + 1, 0);
  for (const quint32 id : keyIds) ++start[rank[id] + 1];
  for (size_t r = 1; r < start.size(); ++r) start[r] += start[r - 1];
  for (quint32& id : keyIds) id = start[rank[id]]++;
  Permute(list, keyIds);
}

}  // namespace

void SortAFAAdatList(TAFAAdatList& list) {
  const size_t n = list.size();
  if (n < 2) return;
  TKeyedLines keyed(n);
  bool packed = true;
  for (size_t i = 0; i < n && packed; ++i) {
    keyed[i].second = quint32(i);
    packed = list[i].Adoszam.Visit([&](auto key) { return PackKey(key, keyed[i].first); });
  }
  if (packed) {
    SortPacked(list, keyed);
    return;
  }
  keyed = {};
  std::vector<quint32> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = quint32(i);
  std::stable_sort(order.begin(), order.end(),
                   [&list](quint32 a, quint32 b) { return list[a].Adoszam < list[b].Adoszam; });
  std::vector<quint32> place(n);
  for (size_t p = 0; p < n; ++p) place[order[p]] = quint32(p);
  order = {};
  Permute(list, place);
}

namespace {
TLoadResult Stopped() {
  TLoadResult stopped;
  stopped.Outcome = Fail(TFailureKind::Cancelled, QString());
  return stopped;
}
}  // namespace

bool IsForint(QStringView currency) {
  const QStringView c = TrimView(currency);
  // As nearly every line of an export says it: compared in place.
  if (c.size() == 3 && c[0] == u'H' && c[1] == u'U' && c[2] == u'F') return true;
  return c.isEmpty() || c.compare(u"HUF", Qt::CaseInsensitive) == 0 ||
         c.compare(u"Ft", Qt::CaseInsensitive) == 0;
}

int FindCurrencyColumn(const TPreviewGrid& grid, bool header, const TColumnSelection& assigned) {
  const int rows = std::min<int>(grid.RowCount, int(grid.Cells.size()));
  const int first = header ? 1 : 0;
  const auto taken = [&](int field) {
    return std::find(assigned.Item.begin(), assigned.Item.end(), field) != assigned.Item.end();
  };
  // Codes of the currencies an export is likely to carry: a column of other three-letter
  // codes ("AAM", "TAM" for VAT exemptions) is no currency column.
  static const QStringList kCodes{
      QStringLiteral("HUF"), QStringLiteral("EUR"), QStringLiteral("USD"), QStringLiteral("GBP"),
      QStringLiteral("CHF"), QStringLiteral("CZK"), QStringLiteral("PLN"), QStringLiteral("RON"),
      QStringLiteral("HRK"), QStringLiteral("RSD"), QStringLiteral("BGN"), QStringLiteral("UAH"),
      QStringLiteral("SEK"), QStringLiteral("NOK"), QStringLiteral("DKK"), QStringLiteral("JPY"),
      QStringLiteral("CNY"), QStringLiteral("CAD"), QStringLiteral("AUD"), QStringLiteral("TRY"),
      QStringLiteral("RUB")};
  const auto code = [](QStringView v) { return v == u"Ft" || kCodes.contains(v); };
  int byValues = 0;
  for (int col = 0; col < grid.ColCount; ++col) {
    if (taken(col + 1)) continue;
    if (header && rows > 0) {
      const QString name = TrimText(grid.Cells[0].value(col)).toLower();
      for (const char16_t* known : {u"pénznem", u"deviza", u"valuta", u"currency"})
        if (name == QStringView(known)) return col + 1;
    }
    bool all = rows > first;
    for (int r = first; all && r < rows; ++r) all = code(TrimView(grid.Cells[r].value(col)));
    if (all && byValues == 0) byValues = col + 1;
  }
  return byValues;
}

TLoadResult LoadInputData(const TInputSettings& settings, const TColumnSelection& columns,
                          const QString& dateFormat, int decSepIndex,
                          const CancellableProgressFn& progress, int currencyColumn) {
  TLoadResult result;
  const TDecSeps seps = DecSepsOf(decSepIndex);
  InputFormatSettings().DecimalSeparator = seps.Decimal;
  InputFormatSettings().ThousandSeparator = seps.Thousand;
  const TDatumFormat format(dateFormat);
  const QChar separator = settings.InputSeparatorChar;
  const qint64 total = std::max<qint64>(settings.InputLineCount, 0);
  if (total > 0) {
    // Room for the combined lines the declaration run adds, at most one for every two
    // lines: it merges them in place. Address space only; pages never touched cost nothing.
    result.AFAAdatList.reserve(size_t(total) + size_t(total) / 2);
    AdviseLargePages(result.AFAAdatList.data(), result.AFAAdatList.capacity() * sizeof(TAFAAdat));
  }
  auto textBlocks = std::make_shared<TTextArena>();
  result.AFAAdatList.TextBlocks = textBlocks;
  TStringPool taxNumbers(*textBlocks);
  TStringPool names(*textBlocks);
  TPreviousString invoiceNumbers(*textBlocks);
  // The number of each loaded line's tax number, for the sort at the end.
  std::vector<quint32> keyIds;
  if (total > 0) keyIds.reserve(size_t(total));
  bool keyed = false;

  // Names go with tax numbers: the name a tax number came with last is tried first.
  constexpr quint32 kNoName = ~quint32(0);
  std::vector<quint32> nameOfKey;
  qint64 records = 0;
  const auto stopped = [&] { return progress && !progress(records, total); };
  try {
    // The lines' pages are taken by the reading's thread, ahead of the lines.
    TRecordReading reading(
        settings, columns, format,
        {result.AFAAdatList.data(), std::size_t(total) * sizeof(TAFAAdat), sizeof(TAFAAdat)});
    const TRecordBlock* block = &reading.Next();
    if (block->End && !block->End->Ok()) {
      result.Outcome = block->End->Failure();
      return result;
    }
    if (stopped()) return Stopped();
    block = &reading.Next();
    const int fieldCount = block->FieldCount();
    const std::array<int, 6> field = FieldsOfItems(columns, fieldCount);
    // Without a tax number column every key is empty and the order is the file's.
    keyed = field[dcAdoszam] >= 0;
    const int currency =
        currencyColumn >= 1 && currencyColumn <= fieldCount ? currencyColumn - 1 : -1;
    for (;;) {
      for (std::size_t r = 0; r < block->Size(); ++r) {
        // A file that grows while it is read (another program appending) would otherwise
        // fill the memory: the load stops where the count before it would have refused.
        if (records >= kMaxInputLines) {
          result.Outcome = Fail(TFailureKind::Input,
                                QStringLiteral("Az input fájl több mint 1 millió sort tartalmaz"));
          return result;
        }
        const TReadRecord& record = block->Record(r);
        unsigned failed = record.DatumFailed ? unsigned(srDatum) : 0u;
        TAFAAdat& line = result.AFAAdatList.emplace_back();
        quint32 keyId = 0;
        if (field[dcAdoszam] >= 0) {
          // The hand-written matcher is AdoszamPattern without a regex call per record.
          const QStringView trimmed = TrimView(block->Field(r, field[dcAdoszam]));
          if (MatchesAdoszamPattern(trimmed))
            line.Adoszam = taxNumbers.Intern(trimmed, keyId);
          else
            failed |= srAdoszam;
        }
        if (field[dcMegnevezes] >= 0) {
          const QStringView name = block->Field(r, field[dcMegnevezes]);
          quint32* last = nullptr;
          if (field[dcAdoszam] >= 0 && !(failed & srAdoszam)) {
            if (keyId >= nameOfKey.size()) nameOfKey.resize(keyId + 1, kNoName);
            last = &nameOfKey[keyId];
          }
          if (last && *last != kNoName && names.Value(*last) == name) {
            line.Megnevezes = names.Value(*last);
          } else {
            quint32 nameId = 0;
            line.Megnevezes = names.Intern(name, nameId);
            if (last) *last = nameId;
          }
        }
        line.Datum = record.Datum;
        if (field[dcBizSzam] >= 0)
          line.BizSzam = invoiceNumbers.Share(block->Field(r, field[dcBizSzam]));
        const auto amount = [&](int item, double& to, unsigned bit) {
          if (field[item] < 0) return;
          if (const std::optional<double> v =
                  ConvertOsszeg(block->Field(r, field[item]), seps.Decimal, seps.Thousand))
            to = *v;
          else
            failed |= bit;
        };
        amount(dcAFAAlap, line.AFAAlap, srAFAAlap);
        amount(dcAFA, line.AFA, srAFA);
        if (!failed && VatAboveHalf(line.AFAAlap, line.AFA)) failed = srAFATooHigh;

        if (failed) {
          result.AFAAdatList.pop_back();
          // The row text is built only now: a clean record costs nothing for it.
          TSkippedRecord skipped;
          skipped.RecordNumber = record.RecordNumber;
          skipped.Failed = quint8(failed);
          result.MissedRows.append(SkippedRowOf(
              fieldCount, [&](qsizetype i) { return block->Field(r, int(i)); }, separator,
              skipped));
          result.Skipped.push_back(std::move(skipped));
        } else {
          line.Enabled = true;
          line.Status = TAFAAdatStatus::stAFABase;
          if (keyed) keyIds.push_back(keyId);
          if (currency >= 0) {
            const QStringView value = block->Field(r, currency);
            if (!IsForint(value))
              result.ForeignLines.push_back({record.RecordNumber, TrimView(value).toString()});
          }
        }
        if (++records % kProgressEvery == 0 && stopped()) return Stopped();
      }
      if (block->End) break;
      block = &reading.Next();
    }
    if (!block->End->Ok()) {
      result.Outcome = block->End->Failure();
      return result;
    }
  } catch (const std::bad_alloc&) {
    // What was taken in goes: it is what filled the memory, and a load that ran out of it
    // is of no use.
    result = TLoadResult();
    result.Outcome = Fail(TFailureKind::Memory, OutOfMemoryText());
    return result;
  } catch (const std::exception& e) {
    result.Outcome = Fail(TFailureKind::Access, QString::fromLocal8Bit(e.what()));
    return result;
  }

  if (keyed) SortByKeyNumbers(result.AFAAdatList, keyIds, taxNumbers);
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

QStringList TSkippedRecord::Reasons() const {
  QStringList reasons;
  if (Failed & srAdoszam) reasons << QStringLiteral("Adószám");
  if (Failed & srDatum) reasons << QStringLiteral("Dátum");
  if (Failed & srAFAAlap) reasons << QStringLiteral("Nettó összeg");
  if (Failed & srAFA) reasons << QStringLiteral("ÁFA összeg");
  if (Failed & srAFATooHigh) reasons << QStringLiteral("ÁFA > nettó/2");
  return reasons;
}

QStringView TSkippedRecord::Field(const QString& row, qsizetype i) const {
  if (i < 0 || i >= FieldCount()) return {};
  // One separator character stands between two fields.
  const qsizetype begin = i == 0 ? 0 : FieldEnds[size_t(i - 1)] + 1;
  const qsizetype end = FieldEnds[size_t(i)];
  if (begin > end || end > row.size()) return {};
  return QStringView(row).mid(begin, end - begin);
}

QString LoadErrorReason(const QString& message) {
  // The reader breaks its messages with carriage returns.
  const QString line = message.simplified();
  if (line.isEmpty()) return {};
  return QStringLiteral("A betöltés megszakadt: ") + line;
}

}  // namespace krinu
