#include "content/date_format_choices.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <vector>

#include "content/recognisers.h"

namespace krinu {
namespace {

// One value cut into its date parts (runs of digits, or a run of letters for a month
// name) and the text around them.
struct TDateLayout {
  QStringList Parts;
  QStringList Seps;  // before the first part, between the parts, after the last
};

std::optional<TDateLayout> LayoutOf(const QString& value) {
  TDateLayout layout;
  layout.Seps << QString();
  qsizetype i = 0;
  while (i < value.size()) {
    const QChar c = value[i];
    if (c.isDigit() || c.isLetter()) {
      const bool digits = c.isDigit();
      qsizetype j = i;
      while (j < value.size() && (digits ? value[j].isDigit() : value[j].isLetter())) ++j;
      layout.Parts << value.mid(i, j - i);
      layout.Seps << QString();
      i = j;
    } else {
      layout.Seps.back() += c;
      ++i;
    }
  }
  // Eight or six digits in one run: the parts stand side by side.
  if (layout.Parts.size() == 1 && layout.Parts[0].front().isDigit() &&
      (layout.Parts[0].size() == 8 || layout.Parts[0].size() == 6)) {
    const QString run = layout.Parts[0];
    const QString before = layout.Seps[0];
    const QString after = layout.Seps[1];
    layout.Parts = QStringList{};
    layout.Seps = QStringList{before, QString(), QString(), after};
    // The widths depend on where the year stands; the text is only measured.
    layout.Parts << run << QString() << QString();
  }
  if (layout.Parts.size() != 3) return std::nullopt;
  return layout;
}

enum TRole { rYear, rMonth, rDay };
constexpr std::array<std::array<TRole, 3>, 3> kOrders{{
    {rYear, rMonth, rDay},  // the Hungarian order first
    {rDay, rMonth, rYear},
    {rMonth, rDay, rYear},
}};

// How strictly the parts are read: "dd" or "d", long or short month names.
struct TStyle {
  bool Loose = false;
  bool ShortNames = false;
};
// The fixed widths say more, so they come first; the loose ones only when a value needs
// them ("3.4.2024").
constexpr std::array<TStyle, 4> kStyles{
    {{false, false}, {false, true}, {true, false}, {true, true}}};

// The format letters of one part in one role; empty when the part cannot stand for it.
QString PartFormat(const QString& part, TRole role, TStyle style) {
  if (!part.isEmpty() && part.front().isLetter())
    return role == rMonth ? QString::fromLatin1(style.ShortNames ? "mmm" : "mmmm") : QString();
  const bool loose = style.Loose;
  const qsizetype n = part.size();
  switch (role) {
    case rYear:
      return n == 4 ? QStringLiteral("yyyy") : n == 2 ? QStringLiteral("yy") : QString();
    case rMonth:
      return n == 1 || (n == 2 && loose) ? QStringLiteral("m")
             : n == 2                    ? QStringLiteral("mm")
                                         : QString();
    case rDay:
      return n == 1 || (n == 2 && loose) ? QStringLiteral("d")
             : n == 2                    ? QStringLiteral("dd")
                                         : QString();
  }
  return {};
}

// The pieces of a run without separators: the year takes what the other two leave.
QStringList CompactParts(const QString& run, const std::array<TRole, 3>& order) {
  QStringList parts;
  qsizetype pos = 0;
  for (TRole role : order) {
    const qsizetype width = role == rYear ? run.size() - 4 : 2;
    parts << run.mid(pos, width);
    pos += width;
  }
  return parts;
}

QString FormatOf(const TDateLayout& layout, const std::array<TRole, 3>& order, TStyle style) {
  const bool compact = layout.Parts[1].isEmpty();
  const QStringList parts = compact ? CompactParts(layout.Parts[0], order) : layout.Parts;
  if (compact && style.Loose) return {};  // without separators only fixed widths tell apart
  QString format = layout.Seps[0];
  for (int k = 0; k < 3; ++k) {
    const QString part = PartFormat(parts[k], order[k], style);
    if (part.isEmpty()) return {};
    format += part + layout.Seps[k + 1];
  }
  return format;
}

bool ReadsAll(const QString& format, const QStringList& values) {
  if (format.isEmpty() || format.size() > 20) return false;  // DateFormEd holds 20 characters
  const TDatumFormat reader(format);
  return std::all_of(values.begin(), values.end(),
                     [&](const QString& v) { return reader.Convert(TrimText(v)).has_value(); });
}

bool HasFormatLetter(const QString& text) {
  // Literal text is looked up lower-cased too, so "D" or "Y" would turn into a date part.
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

}  // namespace

QStringList DateFormatsReadingAll(const QStringList& values) {
  if (values.isEmpty()) return {};
  const std::optional<TDateLayout> layout = LayoutOf(TrimText(values.front()));
  if (!layout) return {};
  if (std::any_of(layout->Seps.begin(), layout->Seps.end(), HasFormatLetter)) return {};
  QStringList formats;
  for (const auto& order : kOrders) {
    for (const TStyle style : kStyles) {
      const QString format = FormatOf(*layout, order, style);
      if (ReadsAll(format, values)) {
        formats << format;
        break;
      }
    }
  }
  formats.removeDuplicates();
  return formats;
}

QString DateFormatChoiceReason(const QStringList& values) {
  if (values.isEmpty()) return {};
  const std::optional<TDateLayout> layout = LayoutOf(TrimText(values.front()));
  if (!layout || std::any_of(layout->Seps.begin(), layout->Seps.end(), HasFormatLetter)) return {};
  const auto reads = [&](const std::array<TRole, 3>& order, const QStringList& some) {
    return std::any_of(kStyles.begin(), kStyles.end(), [&](TStyle style) {
      return ReadsAll(FormatOf(*layout, order, style), some);
    });
  };
  std::vector<const std::array<TRole, 3>*> candidates;
  for (const auto& order : kOrders)
    if (reads(order, {values.front()})) candidates.push_back(&order);
  if (candidates.size() < 2) return {};
  static const std::array<QString, 3> kNames{QStringLiteral("év"), QStringLiteral("hónap"),
                                             QStringLiteral("nap")};
  for (const QString& value : values) {
    std::vector<const std::array<TRole, 3>*> reading;
    for (const auto* order : candidates)
      if (reads(*order, {value})) reading.push_back(order);
    if (reading.size() != 1 || reading.size() == candidates.size()) continue;
    const auto& order = *reading.front();
    return TrimText(value) + QStringLiteral(" csak ") + kNames[order[0]] + u'.' + kNames[order[1]] +
           u'.' + kNames[order[2]] + QStringLiteral(" lehet");
  }
  return {};
}

QString HungarianDateText(const QDate& date) {
  static const QLocale hungarian(QLocale::Hungarian, QLocale::Hungary);
  return hungarian.toString(date, QStringLiteral("yyyy. MMMM d."));
}

QString DateFormatPreviewText(const QString& value, const QString& format, qsizetype choiceCount) {
  const QString trimmed = TrimText(value);
  if (trimmed.isEmpty()) return QStringLiteral("Az első dátum mező üres");
  const QString quoted = QStringLiteral("„") + trimmed + QStringLiteral("”");
  if (format.isEmpty()) {
    if (choiceCount > 0)
      return quoted +
             QStringLiteral(": válasszon formátumot a ▾ gombbal (%1 lehetőség)").arg(choiceCount);
    return quoted + QStringLiteral(": adja meg a formátumát (pl. yyyy.mm.dd)");
  }
  if (const std::optional<QDate> date = ConvertDatum(trimmed, format))
    return quoted + QStringLiteral(" így olvasva: ") + HungarianDateText(*date);
  return quoted + QStringLiteral(" ezzel a formátummal nem olvasható");
}

}  // namespace krinu
