#include "declaration/declaration_run.h"

#include "common/large_pages.h"
#include "common/output_file.h"
#include "common/text_util.h"
#include "content/input_load.h"

#include <QHash>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

namespace krinu {

namespace {

// The whole-forint part of an amount, as the log shows it and the checks compare it.
qint64 Truncated(double amount) {
  const double t = std::trunc(amount);
  if (std::isnan(t)) return 0;
  if (t >= 9223372036854775808.0) return std::numeric_limits<qint64>::max();
  if (t < -9223372036854775808.0) return std::numeric_limits<qint64>::min();
  return qint64(t);
}

// One log line built in a local buffer and copied once into a string of its exact size: a
// large run logs hundreds of thousands of lines, and memory is what they cost.
class TLogLine {
 public:
  TLogLine& operator<<(QStringView part) {
    if (long_.isNull() && size_ + part.size() <= kShort) {
      std::copy_n(part.utf16(), part.size(), short_ + size_);
      size_ += part.size();
    } else {
      if (long_.isNull()) long_ = QString(reinterpret_cast<const QChar*>(short_), size_);
      long_.append(part);
    }
    return *this;
  }
  TLogLine& operator<<(QLatin1StringView part) {
    if (long_.isNull() && size_ + part.size() <= kShort) {
      for (const char c : part) short_[size_++] = char16_t(uchar(c));
    } else {
      if (long_.isNull()) long_ = QString(reinterpret_cast<const QChar*>(short_), size_);
      long_.append(part);
    }
    return *this;
  }
  TLogLine& operator<<(const TLineText& part) {
    return part.Visit([this](auto view) -> TLogLine& { return *this << view; });
  }
  TLogLine& operator<<(const QString& part) { return *this << QStringView(part); }
  // A number right-aligned in `width` characters, padded with `fill`.
  TLogLine& Number(qint64 value, int width, char16_t fill) {
    char digits[24];
    const int length = int(std::to_chars(digits, digits + 24, value).ptr - digits);
    char16_t text[48];
    int at = 0;
    for (int i = length; i < width && at < 24; ++i) text[at++] = fill;
    for (int i = 0; i < length; ++i) text[at++] = char16_t(digits[i]);
    return *this << QStringView(text, at);
  }
  TLogLine& Amount(double amount) { return Number(Truncated(amount), 12, u' '); }
  [[nodiscard]] QString Take() const {
    return long_.isNull() ? QString(reinterpret_cast<const QChar*>(short_), size_) : long_;
  }

 private:
  static constexpr qsizetype kShort = 200;
  char16_t short_[kShort];
  qsizetype size_ = 0;
  QString long_;
};

// Lines ahead of a walk whose invoice numbers are asked for early.
constexpr std::size_t kTextsAhead = 8;

class TPreparation {
 public:
  // With a progress the preparation may be stopped, and it remembers what Undo() needs.
  TPreparation(TAFAAdatList& list, const TPrepareOptions& options,
               CancellableProgressFn progress = {})
      : list_(list), options_(options), progress_(std::move(progress)) {}

  // Empty when stopped through the progress.
  TPrepareResult Run() {
    Log(QString());
    if (!ticker_.Now(0, qint64(list_.size()))) return {};
    FindRuns();
    Remember();
    // Units: the lines each pass visits; the last two see the combined lines as well.
    const qint64 lines = qint64(list_.size());
    total_ = options_.BizSum ? 3 * lines : 2 * lines;
    if (options_.BizSum) {
      Combine();
      total_ = lines + 2 * qint64(list_.size());
    } else {
      Log(QStringLiteral("Bizonylat összesítés kihagyva"));
    }
    if (ticker_.Stopped()) return {};
    base_ = total_ - 2 * qint64(list_.size());
    DropNegative();
    if (ticker_.Stopped()) return {};
    base_ += qint64(list_.size());
    CountIncluded();
    if (ticker_.Stopped()) return {};
    return std::move(result_);
  }

  [[nodiscard]] bool Stopped() const { return ticker_.Stopped(); }

  // Puts the list back as it came: the combined lines out, Status and Enabled as they were.
  void Undo() {
    if (unsorted_) {
      list_ = std::move(*unsorted_);
      return;
    }
    if (inserted_) RemoveCombined();
    for (std::size_t i = 0; i < states_.size(); ++i) {
      list_[i].Status = TAFAAdatStatus(states_[i] >> 1);
      list_[i].Enabled = (states_[i] & 1) != 0;
    }
  }

 private:
  // A pass over the lines at index i; false once the user asked to stop.
  bool Tick(std::size_t i) { return ticker_.At(base_ + qint64(i), total_); }

  void Remember() {
    if (!progress_ || unsorted_) return;
    states_.resize(list_.size());
    for (std::size_t i = 0; i < list_.size(); ++i)
      states_[i] = quint8(quint8(list_[i].Status) << 1 | quint8(list_[i].Enabled));
  }

  // The lines InsertAtRunEnds put at the end of each run taken out again, in one pass.
  void RemoveCombined() {
    std::size_t to = 0;
    std::size_t begin = 0;
    for (std::size_t r = 0; r < runEnds_.size(); ++r) {
      const std::size_t keep = runEnds_[r] - added_[r];
      for (std::size_t i = begin; i < keep; ++i, ++to)
        if (to != i) list_[to] = std::move(list_[i]);
      begin = runEnds_[r];
    }
    list_.resize(to);
  }

  void Log(QString line) { result_.Log.append(std::move(line)); }

  // Few distinct dates against many lines: format each one once.
  const QString& ShortDate(QDate date) {
    auto it = dates_.constFind(date.toJulianDay());
    if (it == dates_.constEnd())
      it = dates_.insert(date.toJulianDay(), options_.Locale.toString(date, QLocale::ShortFormat));
    return *it;
  }

  // The runs of lines with one tax number: runEnds_[r] is one past the last line of run r.
  // A load leaves the list sorted by key; should it come otherwise, it is sorted here, as
  // the partner sheets could not find their lines in it either.
  void FindRuns() {
    for (int attempt = 0; attempt < 2; ++attempt) {
      runEnds_.clear();
      bool sorted = true;
      const std::size_t n = list_.size();
      for (std::size_t begin = 0, end = 0; begin < n; begin = end) {
        end = begin + 1;
        while (end < n && list_[end].Adoszam == list_[begin].Adoszam) ++end;
        if (end < n && list_[end].Adoszam < list_[begin].Adoszam) sorted = false;
        runEnds_.push_back(end);
      }
      if (sorted) return;
      if (progress_ && !unsorted_) unsorted_ = list_;  // rare enough to keep whole
      SortByKey(list_);
    }
  }

  // Every enabled line that is not a combined one forms a group with the other such lines of
  // its invoice (same tax number, date and invoice number, compared exactly); the group is
  // led by its first line in list order and its members follow in ascending index, exactly
  // as comparing every line with every other one would find them. Lines of one invoice lie
  // in one run, so each run is grouped with a small hash table of its own.
  void Combine() {
    Log(QStringLiteral("Bizonylatok össszesítése"));
    const qsizetype countLine = result_.Log.size();
    Log(QString());                     // the count, once it is known
    added_.assign(runEnds_.size(), 0);  // combined lines per run
    TAFAAdatList combined;
    std::size_t begin = 0;
    for (std::size_t r = 0; r < runEnds_.size(); ++r) {
      if (!Tick(begin)) return;
      const std::size_t before = combined.size();
      if (runEnds_[r] - begin > 1) CombineRun(begin, runEnds_[r], combined);
      added_[r] = combined.size() - before;
      begin = runEnds_[r];
    }
    InsertAtRunEnds(combined, added_);
    result_.Log[countLine] = QString::number(result_.Counts.Combinations) +
                             QStringLiteral(" esetben történt bizonylat összesítés");
  }

  // FNV-1a over the invoice number and the date, mixed at the end for the table's low bits.
  // Invoice numbers are short, and a simple hash beats qHash's SipHash on them.
  static quint32 InvoiceHash(const TAFAAdat& line) {
    quint32 h = 2166136261u ^ quint32(line.Datum.toJulianDay());
    // By character code, however the text is kept.
    line.BizSzam.Visit([&h](auto view) {
      for (qsizetype i = 0; i < view.size(); ++i) h = (h ^ view[i].unicode()) * 16777619u;
    });
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    return h ^ (h >> 16);
  }

  static bool Eligible(const TAFAAdat& line) {
    return line.Enabled && line.Status != TAFAAdatStatus::stAFAComp;
  }

  void CombineRun(std::size_t begin, std::size_t end, TAFAAdatList& combined) {
    const std::size_t size = end - begin;
    std::size_t capacity = 4;
    while (capacity < 2 * size) capacity *= 2;
    const std::size_t mask = capacity - 1;
    slots_.assign(capacity, TSlot{});
    next_.assign(size, -1);
    follower_.assign(size, false);
    for (std::size_t k = 0; k < size; ++k) {
      if (begin + k + kTextsAhead < list_.size()) list_[begin + k + kTextsAhead].BizSzam.Prefetch();
      const TAFAAdat& line = list_[begin + k];
      if (!Eligible(line)) continue;
      const quint32 hash = InvoiceHash(line);
      for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
        TSlot& slot = slots_[s];
        if (slot.Last < 0) {
          slot = TSlot{hash, qint32(k)};
          break;
        }
        const TAFAAdat& other = list_[begin + std::size_t(slot.Last)];
        if (slot.Hash == hash && other.Datum == line.Datum && other.BizSzam == line.BizSzam) {
          next_[std::size_t(slot.Last)] = qint32(k);
          follower_[k] = true;
          slot.Last = qint32(k);
          break;
        }
      }
    }
    for (std::size_t k = 0; k < size; ++k) {
      if (follower_[k] || next_[k] < 0) continue;
      TAFAAdat& first = list_[begin + k];
      const int group = ++result_.Counts.Combinations;
      first.Status = TAFAAdatStatus::stAFAPair;
      first.Enabled = false;
      ++result_.Counts.CombinedLines;
      TAFAAdat sum = first;
      sum.Status = TAFAAdatStatus::stAFAComp;
      sum.Enabled = true;
      Log(QString());
      TLogLine title;
      title.Number(group, 0, u' ') << u". Bizonylat összesítés:";
      Log(title.Take());
      Log((TLogLine() << u"Adószám: " << first.Adoszam << u", BizonylatSzám: " << first.BizSzam
                      << u", Dátum: " << ShortDate(first.Datum))
              .Take());
      Log(QStringLiteral("Tételek:"));
      Log(MemberLine(1, first));
      int member = 1;
      for (qint32 j = next_[k]; j >= 0; j = next_[std::size_t(j)]) {
        TAFAAdat& line = list_[begin + std::size_t(j)];
        line.Status = TAFAAdatStatus::stAFAPair;
        line.Enabled = false;
        ++result_.Counts.CombinedLines;
        sum.AFAAlap += line.AFAAlap;
        sum.AFA += line.AFA;
        Log(MemberLine(++member, line));
      }
      Log(QStringLiteral("Összesítve:"));
      TLogLine total;
      total << u"       ÁfaAlap: ";
      total.Amount(sum.AFAAlap) << u", Áfa: ";
      total.Amount(sum.AFA) << u"   / Név: " << sum.Megnevezes;
      Log(total.Take());
      combined.push_back(std::move(sum));
    }
  }

  static QString MemberLine(int member, const TAFAAdat& line) {
    TLogLine text;
    text << u"  ";
    text.Number(member, 3, u'0') << u": ÁfaAlap: ";
    text.Amount(line.AFAAlap) << u", Áfa: ";
    text.Amount(line.AFA) << u"   / Név: " << line.Megnevezes;
    return text.Take();
  }

  // The list sorted again: a combined line goes after the lines already there with its key,
  // which is the end of its run, so the lines are merged in run by run without comparing
  // keys. A stable sort of the whole list would give the same order. The merge works in
  // place from the back: the load leaves room behind its lines, and a second list of a
  // million lines would add a hundred megabytes to the peak.
  void InsertAtRunEnds(TAFAAdatList& combined, const std::vector<std::size_t>& added) {
    if (combined.empty()) return;
    inserted_ = true;
    const std::size_t oldSize = list_.size();
    list_.resize(oldSize + combined.size());
    std::size_t to = list_.size();  // one past the place still to fill
    std::size_t c = combined.size();
    for (std::size_t r = runEnds_.size(); r-- > 0;) {
      const std::size_t begin = r > 0 ? runEnds_[r - 1] : 0;
      const std::size_t end = runEnds_[r];
      runEnds_[r] = to;
      for (std::size_t k = 0; k < added[r]; ++k) list_[--to] = std::move(combined[--c]);
      if (to == end) break;  // nothing before this run moves
      std::move_backward(list_.begin() + std::ptrdiff_t(begin), list_.begin() + std::ptrdiff_t(end),
                         list_.begin() + std::ptrdiff_t(to));
      to -= end - begin;
    }
  }

  // Anything of minus one forint or less stays out; the form's correction page is not
  // filled, so the user has to deal with these lines by hand.
  void DropNegative() {
    for (std::size_t i = 0; i < list_.size(); ++i) {
      if ((i & 0xFFFF) == 0 && !Tick(i)) return;  // a register test per line, no more
      TAFAAdat& line = list_[i];
      if (!line.Enabled || (Truncated(line.AFAAlap) >= 0 && Truncated(line.AFA) >= 0)) continue;
      line.Enabled = false;
      if (result_.Counts.NegativeLines++ == 0) {
        Log(QString());
        Log(QStringLiteral(
            "!!! Negatív összeggel rendelkező tételt találtam, ezek nem kerülnek be a "
            "bevallásba:"));
      }
      TLogLine text;
      text << u"  ÁfaAlap: ";
      text.Amount(line.AFAAlap) << u", Áfa: ";
      text.Amount(line.AFA) << u",  Adószám: " << line.Adoszam << u", BizonylatSzám: "
                            << line.BizSzam << u", Dátum: " << ShortDate(line.Datum) << u", Név: "
                            << line.Megnevezes;
      Log(text.Take());
    }
    if (result_.Counts.NegativeLines == 0) return;
    Log(result_.Counts.NegativeLines == 1
            ? QStringLiteral("Vizsgálja meg a fenti tételt és kezelje azt manuálisan")
            : QStringLiteral("Vizsgálja meg a fenti tételeket és kezelje azokat manuálisan"));
    Log(QStringLiteral("A program az M lap \"Korrekciós\" oldalát nem kezeli, nem tölti"));
  }

  // Lines outside the period are only reported: they are written like any other. A run's
  // key joins the partner list with its first included line, so the list comes out sorted
  // and without repeats.
  void CountIncluded() {
    std::size_t begin = 0;
    for (const std::size_t end : runEnds_) {
      if (!Tick(begin)) return;
      bool partner = false;
      for (std::size_t i = begin; i < end; ++i) {
        TAFAAdat& line = list_[i];
        if (!line.Enabled) continue;
        if (options_.DropZero && Truncated(line.AFAAlap) == 0 && Truncated(line.AFA) == 0) {
          line.Enabled = false;
          if (result_.Counts.ZeroLines++ == 0) {
            Log(QString());
            Log(QStringLiteral("'0'-s tételek kihagyása:"));
          }
          Log((TLogLine() << u"  Adószám: " << line.Adoszam << u", BizonylatSzám: " << line.BizSzam
                          << u", Dátum: " << ShortDate(line.Datum) << u", Név: " << line.Megnevezes)
                  .Take());
          continue;
        }
        ++result_.Counts.IncludedLines;
        if (line.Datum < options_.PeriodStart || line.Datum > options_.PeriodEnd)
          ++result_.Counts.OutsidePeriod;
        if (!partner) result_.PartnerList.append(line.Adoszam.ToString());
        partner = true;
      }
      begin = end;
    }
    if (result_.Counts.OutsidePeriod > 0) {
      Log(QString());
      Log(QStringLiteral("!!! ") + QString::number(result_.Counts.IncludedLines) +
          QStringLiteral(" tételből ") + QString::number(result_.Counts.OutsidePeriod) +
          QStringLiteral(" tétel kívül esik a kijelölt időszakon !!!"));
    }
  }

  struct TSlot {
    quint32 Hash = 0;
    qint32 Last = -1;  // the invoice's last line so far, as an offset in the run
  };

  TAFAAdatList& list_;
  const TPrepareOptions& options_;
  const CancellableProgressFn progress_;
  TProgressTicker ticker_{progress_};
  qint64 total_ = 0;
  qint64 base_ = 0;  // units of the passes before this one
  TPrepareResult result_;
  std::vector<std::size_t> runEnds_;
  std::vector<std::size_t> added_;  // combined lines at the end of each run
  bool inserted_ = false;
  // What a stopped run puts back: each line's Status and Enabled, or the whole list when it
  // came unsorted.
  std::vector<quint8> states_;
  std::optional<TAFAAdatList> unsorted_;
  QHash<qint64, QString> dates_;
  // Work space of CombineRun, kept from one run to the next.
  std::vector<TSlot> slots_;
  std::vector<qint32> next_;    // the next line of the same invoice, -1 at the end
  std::vector<bool> follower_;  // not the first line of its invoice
};

}  // namespace

TPrepareResult PrepareDeclarationLines(TAFAAdatList& list, const TPrepareOptions& options) {
  return TPreparation(list, options).Run();
}

void SortByKey(TAFAAdatList& list) {
  SortAFAAdatList(list);  // the load's order, so that both agree on every key
}

QString XmlFileNameFor(const QString& editText) {
  const qsizetype slash = editText.lastIndexOf(u'/');
  // A device or a FIFO is written as named.
  if (editText.indexOf(u'.', slash + 1) >= 0 || NamesSpecialFile(editText)) return editText;
  return editText + QStringLiteral(".xml");
}

namespace {

TPrepareOptions OptionsOf(const TDeclarationInput& input) {
  TPrepareOptions options;
  options.BizSum = input.BizSum;
  options.DropZero = input.DropZero;
  options.PeriodStart = input.Params.PeriodStart;
  options.PeriodEnd = input.Params.PeriodEnd;
  options.Locale = input.Locale;
  return options;
}

TDeclarationOutcome Stopped() {
  TDeclarationOutcome outcome;
  outcome.Written = Fail(TFailureKind::Cancelled, QString());
  return outcome;
}

}  // namespace

TDeclarationOutcome PrepareDeclaration(TAFAAdatList& list, const TDeclarationInput& input,
                                       const CancellableProgressFn& progress) {
  const TPrepareOptions options = OptionsOf(input);
  TPreparation preparation(list, options, progress);
  TDeclarationOutcome outcome;
  outcome.Prepared = preparation.Run();
  if (preparation.Stopped()) return Stopped();
  return outcome;
}

void WriteDeclaration(TDeclarationOutcome& outcome, const TAFAAdatList& list,
                      const TDeclarationInput& input, const TRunProgress& progress) {
  QStringList& log = outcome.Prepared.Log;
  // The document is written as it is built, so its two log lines come first; the log is
  // handed over whole at the end, and a failure still leaves it at the start of writing.
  log << QString() << QStringLiteral("XML nyomtatvány elkészült")
      << QStringLiteral("Fájlba történő kiírás kezdődik");
  outcome.Return = BuildReturn(input.Taxpayer, input.Administrator, input.Params, list,
                               outcome.Prepared.PartnerList, outcome.Prepared.Counts);
  outcome.Written = WriteDeclarationDocument(input.XmlFileName, *outcome.Return, progress.Document,
                                             progress.Write);
  if (outcome.Cancelled()) {
    outcome = Stopped();
    return;
  }
  if (!outcome.Written) return;
  log << QStringLiteral("Fájlba történő kiírás végetért")
      // One log line stays one line whatever the name holds.
      << QStringLiteral("Fájlnév:") + EscapeControlCharacters(input.XmlFileName, false);
}

TDeclarationOutcome RunDeclaration(TAFAAdatList& list, const TDeclarationInput& input,
                                   const TRunProgress& progress) {
  const TPrepareOptions options = OptionsOf(input);
  TPreparation preparation(list, options, progress.Preparation);
  TDeclarationOutcome outcome;
  outcome.Prepared = preparation.Run();
  if (!preparation.Stopped()) WriteDeclaration(outcome, list, input, progress);
  if (preparation.Stopped() || outcome.Cancelled()) {
    preparation.Undo();
    return Stopped();
  }
  return outcome;
}

}  // namespace krinu
