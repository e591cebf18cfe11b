#include "declaration/declaration_run.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <limits>
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

QString Width12(double amount) {
  return QString::number(Truncated(amount)).rightJustified(12, u' ');
}

// Lines of one invoice: same tax number, date and invoice number, compared exactly.
struct TInvoiceKey {
  const TAFAAdat* Line;
  friend bool operator==(TInvoiceKey a, TInvoiceKey b) {
    return a.Line->Adoszam == b.Line->Adoszam && a.Line->Datum == b.Line->Datum &&
           a.Line->BizSzam == b.Line->BizSzam;
  }
  friend size_t qHash(TInvoiceKey k, size_t seed) {
    return qHashMulti(seed, k.Line->Adoszam, k.Line->BizSzam, k.Line->Datum.toJulianDay());
  }
};

class TPreparation {
 public:
  TPreparation(TAFAAdatList& list, const TPrepareOptions& options)
      : list_(list), options_(options) {}

  TPrepareResult Run() {
    Log(QString());
    if (options_.BizSum) {
      Combine();
    } else {
      Log(QStringLiteral("Bizonylat összesítés kihagyva"));
    }
    DropNegative();
    CountIncluded();
    return std::move(result_);
  }

 private:
  void Log(const QString& line) { result_.Log.append(line); }
  QString ShortDate(QDate date) const {
    return options_.Locale.toString(date, QLocale::ShortFormat);
  }

  // Every enabled line that is not a combined one forms a group with the other such lines of
  // its invoice; the group is led by its first line in list order, its members follow in
  // ascending index. A hash index gives the same groups as comparing every pair of lines.
  void Combine() {
    Log(QStringLiteral("Bizonylatok össszesítése"));
    const std::size_t n = list_.size();
    std::vector<qsizetype> next(n, -1);    // the next line of the same invoice
    std::vector<bool> follower(n, false);  // a line that is not the first of its invoice
    {
      QHash<TInvoiceKey, qsizetype> last;  // index + 1 of the invoice's last line so far
      last.reserve(qsizetype(n));
      for (std::size_t i = 0; i < n; ++i) {
        const TAFAAdat& line = list_[i];
        if (!line.Enabled || line.Status == TAFAAdatStatus::stAFAComp) continue;
        qsizetype& slot = last[TInvoiceKey{&line}];
        if (slot != 0) {
          next[std::size_t(slot - 1)] = qsizetype(i);
          follower[i] = true;
        }
        slot = qsizetype(i) + 1;
      }
    }

    TAFAAdatList combined;
    QStringList report;
    for (std::size_t i = 0; i < n; ++i) {
      if (follower[i] || next[i] < 0) continue;
      TAFAAdat& first = list_[i];
      const int group = ++result_.Combinations;
      first.Status = TAFAAdatStatus::stAFAPair;
      first.Enabled = false;
      TAFAAdat sum = first;
      sum.Status = TAFAAdatStatus::stAFAComp;
      sum.Enabled = true;
      report << QString() << QString::number(group) + QStringLiteral(". Bizonylat összesítés:")
             << QStringLiteral("Adószám: ") + first.Adoszam + QStringLiteral(", BizonylatSzám: ") +
                    first.BizSzam + QStringLiteral(", Dátum: ") + ShortDate(first.Datum)
             << QStringLiteral("Tételek:");
      int member = 1;
      report << MemberLine(member, first);
      for (qsizetype j = next[i]; j >= 0; j = next[std::size_t(j)]) {
        TAFAAdat& line = list_[std::size_t(j)];
        line.Status = TAFAAdatStatus::stAFAPair;
        line.Enabled = false;
        sum.AFAAlap += line.AFAAlap;
        sum.AFA += line.AFA;
        report << MemberLine(++member, line);
      }
      report << QStringLiteral("Összesítve:")
             << QStringLiteral("       ÁfaAlap: ") + Width12(sum.AFAAlap) +
                    QStringLiteral(", Áfa: ") + Width12(sum.AFA) + QStringLiteral("   / Név: ") +
                    sum.Megnevezes;
      combined.push_back(std::move(sum));
    }

    list_.reserve(list_.size() + combined.size());
    std::move(combined.begin(), combined.end(), std::back_inserter(list_));
    SortByKey(list_);
    Log(QString::number(result_.Combinations) +
        QStringLiteral(" esetben történt bizonylat összesítés"));
    result_.Log.append(report);
  }

  static QString MemberLine(int member, const TAFAAdat& line) {
    return QStringLiteral("  ") + QString::number(member).rightJustified(3, u'0') +
           QStringLiteral(": ÁfaAlap: ") + Width12(line.AFAAlap) + QStringLiteral(", Áfa: ") +
           Width12(line.AFA) + QStringLiteral("   / Név: ") + line.Megnevezes;
  }

  // Anything of minus one forint or less stays out; the form's correction page is not
  // filled, so the user has to deal with these lines by hand.
  void DropNegative() {
    for (TAFAAdat& line : list_) {
      if (!line.Enabled || (Truncated(line.AFAAlap) >= 0 && Truncated(line.AFA) >= 0)) continue;
      line.Enabled = false;
      if (result_.NegativeLines++ == 0) {
        Log(QString());
        Log(QStringLiteral(
            "!!! Negatív összeggel rendelkező tételt találtam, ezek nem kerülnek be a "
            "bevallásba:"));
      }
      Log(QStringLiteral("  ÁfaAlap: ") + Width12(line.AFAAlap) + QStringLiteral(", Áfa: ") +
          Width12(line.AFA) + QStringLiteral(",  Adószám: ") + line.Adoszam +
          QStringLiteral(", BizonylatSzám: ") + line.BizSzam + QStringLiteral(", Dátum: ") +
          ShortDate(line.Datum) + QStringLiteral(", Név: ") + line.Megnevezes);
    }
    if (result_.NegativeLines == 0) return;
    Log(result_.NegativeLines == 1
            ? QStringLiteral("Vizsgálja meg a fenti tételt és kezelje azt manuálisan")
            : QStringLiteral("Vizsgálja meg a fenti tételeket és kezelje azokat manuálisan"));
    Log(QStringLiteral("A program az M lap \"Korrekciós\" oldalát nem kezeli, nem tölti"));
  }

  // Lines outside the period are only reported: the user may have chosen the period wrong,
  // but the lines are the user's data all the same.
  void CountIncluded() {
    bool sorted = true;
    for (TAFAAdat& line : list_) {
      if (!line.Enabled) continue;
      if (options_.DropZero && Truncated(line.AFAAlap) == 0 && Truncated(line.AFA) == 0) {
        line.Enabled = false;
        if (result_.ZeroLines++ == 0) {
          Log(QString());
          Log(QStringLiteral("'0'-s tételek kihagyása:"));
        }
        Log(QStringLiteral("  Adószám: ") + line.Adoszam + QStringLiteral(", BizonylatSzám: ") +
            line.BizSzam + QStringLiteral(", Dátum: ") + ShortDate(line.Datum) +
            QStringLiteral(", Név: ") + line.Megnevezes);
        continue;
      }
      ++result_.IncludedLines;
      if (line.Datum < options_.PeriodStart || line.Datum > options_.PeriodEnd)
        ++result_.OutsidePeriod;
      QStringList& partners = result_.PartnerList;
      if (partners.isEmpty() || partners.constLast() != line.Adoszam) {
        if (!partners.isEmpty() && line.Adoszam < partners.constLast()) sorted = false;
        partners.append(line.Adoszam);
      }
    }
    // The partner list is a sorted list of distinct keys; on a sorted line list (the only
    // kind a load leaves) it already is one.
    if (!sorted) {
      QStringList& partners = result_.PartnerList;
      std::sort(partners.begin(), partners.end());
      partners.erase(std::unique(partners.begin(), partners.end()), partners.end());
    }
    if (result_.OutsidePeriod > 0) {
      Log(QString());
      Log(QStringLiteral("!!! ") + QString::number(result_.IncludedLines) +
          QStringLiteral(" tételből ") + QString::number(result_.OutsidePeriod) +
          QStringLiteral(" tétel kívül esik a kijelölt időszakon !!!"));
    }
  }

  TAFAAdatList& list_;
  const TPrepareOptions& options_;
  TPrepareResult result_;
};

}  // namespace

TPrepareResult PrepareDeclarationLines(TAFAAdatList& list, const TPrepareOptions& options) {
  return TPreparation(list, options).Run();
}

void SortByKey(TAFAAdatList& list) {
  const auto byKey = [](const TAFAAdat& a, const TAFAAdat& b) { return a.Adoszam < b.Adoszam; };
  // The list is sorted but for the lines just appended: sort those and merge them in from the
  // back, a line of the tail going after the lines already there with its key. That is what a
  // stable sort of the whole list gives, in linear time and without a second list.
  const auto sortedEnd = std::is_sorted_until(list.begin(), list.end(), byKey);
  if (sortedEnd == list.end()) return;
  const std::size_t head = std::size_t(sortedEnd - list.begin());
  TAFAAdatList tail(std::make_move_iterator(sortedEnd), std::make_move_iterator(list.end()));
  std::stable_sort(tail.begin(), tail.end(), byKey);
  std::size_t write = list.size();
  std::size_t h = head;
  std::size_t t = tail.size();
  while (t > 0) {
    if (h > 0 && byKey(tail[t - 1], list[h - 1]))
      list[--write] = std::move(list[--h]);
    else
      list[--write] = std::move(tail[--t]);
  }
}

QString XmlFileNameFor(const QString& editText) {
  const qsizetype slash = editText.lastIndexOf(u'/');
  if (editText.indexOf(u'.', slash + 1) >= 0) return editText;
  return editText + QStringLiteral(".xml");
}

}  // namespace krinu
