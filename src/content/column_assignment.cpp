#include "content/column_assignment.h"

#include <charconv>
#include <cmath>
#include <string>

#include "common/text_util.h"
#include "content/recognisers.h"

namespace krinu {

namespace {

int RowCount(const TPreviewGrid& grid) {
  return std::max(0, std::min<int>(grid.RowCount, int(grid.Cells.size())));
}

// A cell outside the grid reads as empty: a hand-made selection may point past it.
QString Cell(const TPreviewGrid& grid, int row, int col) {
  if (row < 0 || row >= grid.Cells.size()) return {};
  const QStringList& cells = grid.Cells[row];
  return col >= 0 && col < cells.size() ? cells[col] : QString();
}

// The sort of the original string list: Hoare partitioning around the middle key; which
// of two tied columns is tried first depends on exactly this loop.
void SortByKey(const std::vector<QString>& keys, std::vector<int>& order, int lo, int hi) {
  auto key = [&](int i) -> const QString& { return keys[size_t(order[size_t(i)])]; };
  while (lo < hi) {
    if (hi - lo == 1) {
      if (key(lo) > key(hi)) std::swap(order[size_t(lo)], order[size_t(hi)]);
      return;
    }
    int i = lo;
    int j = hi;
    const QString p = key((lo + hi) / 2);
    do {
      while (key(i) < p) ++i;
      while (key(j) > p) --j;
      if (i <= j) {
        if (i != j) std::swap(order[size_t(i)], order[size_t(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo > hi - i) {
      if (i < hi) SortByKey(keys, order, i, hi);
      hi = j;
    } else {
      if (lo < j) SortByKey(keys, order, lo, j);
      lo = i;
    }
  }
}

void Assign(TAssignment& result, TUsedCols& used, TDataColumn item, int col) {
  result.Columns.Item[item] = col + 1;
  used.Add(col);
}

int DecSepIndexOf(QChar decSep) {
  return decSep == u',' ? 0 : 1;
}

// The free candidates of one item's masks, most matching masks first.
template <class Accept>
int FirstHeaderCandidate(const QStringList& masks, const TPreviewGrid& grid, const TUsedCols& used,
                         Accept accept) {
  const std::vector<THdrMskSearchResult> found = SearchHdrMasks(masks, grid);
  for (auto it = found.rbegin(); it != found.rend(); ++it) {
    if (used.Contains(it->ColSeq)) continue;
    if (accept(it->ColSeq)) return it->ColSeq;
  }
  return -1;
}

void AssignWithHeader(TAssignment& result, const TPreviewGrid& grid, const THeaderMasks& masks,
                      TUsedCols& used) {
  auto firstValue = [&](int col) { return Cell(grid, 1, col); };

  int col = FirstHeaderCandidate(masks[dcAdoszam], grid, used,
                                 [&](int c) { return IsAdoszam(firstValue(c)); });
  if (col >= 0) Assign(result, used, dcAdoszam, col);

  col = FirstHeaderCandidate(masks[dcMegnevezes], grid, used, [](int) { return true; });
  if (col >= 0) Assign(result, used, dcMegnevezes, col);

  std::optional<TDatumGuess> datum;
  col = FirstHeaderCandidate(masks[dcDatum], grid, used, [&](int c) {
    datum = DetectDatumFormat(firstValue(c));
    return datum.has_value();
  });
  if (col >= 0) {
    Assign(result, used, dcDatum, col);
    result.DateFormat = datum->Format;
  }

  result.Columns.Item[dcBizSzam] = PickHdrCol(masks[dcBizSzam], grid, used);

  std::optional<TOsszegGuess> osszeg;
  col = FirstHeaderCandidate(masks[dcAFAAlap], grid, used, [&](int c) {
    osszeg = DetectOsszeg(firstValue(c));
    return osszeg.has_value();
  });
  if (col >= 0) {
    Assign(result, used, dcAFAAlap, col);
    result.DecSepIndex = DecSepIndexOf(osszeg->DecSep);
  }

  col = FirstHeaderCandidate(masks[dcAFA], grid, used,
                             [&](int c) { return DetectOsszeg(firstValue(c)).has_value(); });
  if (col >= 0) Assign(result, used, dcAFA, col);
}

void AssignWithoutHeader(TAssignment& result, const TPreviewGrid& grid, TUsedCols& used) {
  if (const int col = FindAdoszamCol(grid, used); col >= 0) Assign(result, used, dcAdoszam, col);

  if (const TDatumColFound datum = FindDatumCol(grid, used); datum.Col >= 0) {
    Assign(result, used, dcDatum, datum.Col);
    result.DateFormat = datum.Format;
  }

  // Net and VAT are told apart by size: the VAT of a plausible line is below half the net.
  const TOsszegColFound g = FindOsszegCol(grid, used);
  if (g.Col >= 0) {
    TUsedCols withG = used;
    withG.Add(g.Col);
    const TOsszegColFound h = FindOsszegCol(grid, withG);
    if (h.Col >= 0 && g.DecSep == h.DecSep) {
      int net = -1;
      int vat = -1;
      if (std::fabs(h.LastValue) < std::fabs(g.LastValue) / 2) {
        net = g.Col;
        vat = h.Col;
      } else if (std::fabs(g.LastValue) < std::fabs(h.LastValue) / 2) {
        net = h.Col;
        vat = g.Col;
      }
      if (net >= 0) {
        Assign(result, used, dcAFAAlap, net);
        Assign(result, used, dcAFA, vat);
        result.DecSepIndex = DecSepIndexOf(g.DecSep);
      }
    }
  }

  if (const int col = FindMegnevezesCol(grid, used); col >= 0)
    Assign(result, used, dcMegnevezes, col);
  if (const int col = FindBizSzamCol(grid, used); col >= 0) Assign(result, used, dcBizSzam, col);
}

// Single precision as the bounds were tuned for; an empty cell counts -1.
float AverageDigitRatio(const TPreviewGrid& grid, int col) {
  const int rows = RowCount(grid);
  float sum = 0;
  for (int r = 0; r < rows; ++r) sum += DigitRatio(Cell(grid, r, col));
  return sum / float(rows);
}

}  // namespace

bool TColumnSelection::Complete() const {
  for (int item : Item)
    if (item == 0) return false;
  return true;
}

QStringList ColumnComboItems(const TPreviewGrid& grid) {
  QStringList items{KeremJeloljeKi()};
  for (int col = 0; col < grid.ColCount; ++col) items.append(Cell(grid, 0, col));
  return items;
}

void TUsedCols::Add(int col) {
  text_ += u'-' + ZeroPadded(col, 4) + u'-';
}

bool TUsedCols::Contains(int col) const {
  return text_.contains(ZeroPadded(col, 4));
}

std::vector<THdrMskSearchResult> SearchHdrMasks(const QStringList& masks,
                                                const TPreviewGrid& grid) {
  std::vector<THdrMskSearchResult> found;
  for (int col = 0; col < grid.ColCount; ++col) {
    const QString header = AnsiUpperCase(Cell(grid, 0, col));
    bool excluded = false;
    qint32 count = 0;
    for (const QString& mask : masks) {
      if (mask.startsWith(u'-')) {
        const QStringView rest = QStringView(mask).mid(1);
        if (!rest.isEmpty() && header.contains(rest)) excluded = true;
      } else if (!mask.isEmpty() && header.contains(mask)) {
        ++count;
      }
    }
    if (!excluded && count >= 1) found.push_back({col, count});
  }
  if (found.size() < 2) return found;

  std::vector<QString> keys;
  std::vector<int> order;
  for (size_t i = 0; i < found.size(); ++i) {
    keys.push_back(ZeroPadded(found[i].MatchCount, 4));
    order.push_back(int(i));
  }
  SortByKey(keys, order, 0, int(found.size()) - 1);
  std::vector<THdrMskSearchResult> sorted;
  sorted.reserve(found.size());
  for (int i : order) sorted.push_back(found[size_t(i)]);
  return sorted;
}

int PickHdrCol(const QStringList& masks, const TPreviewGrid& grid, TUsedCols& usedCols) {
  const int col = FirstHeaderCandidate(masks, grid, usedCols, [](int) { return true; });
  if (col < 0) return 0;
  usedCols.Add(col);
  return col + 1;
}

int FindAdoszamCol(const TPreviewGrid& grid, const TUsedCols& usedCols) {
  const int rows = RowCount(grid);
  if (rows == 0) return -1;
  PcreRegex& re = SharedRegex();
  re.SetPattern(QString::fromUtf16(AdoszamPattern));
  for (int col = 0; col < grid.ColCount; ++col) {
    if (usedCols.Contains(col)) continue;
    bool all = true;
    for (int r = 0; r < rows && all; ++r) all = re.Match(TrimText(Cell(grid, r, col)));
    if (all) return col;
  }
  return -1;
}

TDatumColFound FindDatumCol(const TPreviewGrid& grid, const TUsedCols& usedCols) {
  const int rows = RowCount(grid);
  if (rows == 0) return {};
  for (int col = 0; col < grid.ColCount; ++col) {
    if (usedCols.Contains(col)) continue;
    const std::optional<TDatumGuess> guess = DetectDatumFormat(Cell(grid, 0, col));
    if (!guess) continue;
    const TDatumFormat format(guess->Format);
    bool all = true;
    for (int r = 0; r < rows && all; ++r)
      all = format.Convert(TrimText(Cell(grid, r, col))).has_value();
    if (all) return {col, guess->Format};
  }
  return {};
}

std::optional<double> PlatformTextToFloat(const QString& text, QChar decSep) {
  std::string ascii;
  ascii.reserve(size_t(text.size()));
  qsizetype i = 0;
  const qsizetype n = text.size();
  bool negative = false;
  if (i < n && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  int mantissaDigits = 0;
  for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i, ++mantissaDigits)
    ascii += char(text[i].unicode());
  if (i < n && text[i] == decSep) {
    ascii += '.';
    for (++i; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i, ++mantissaDigits)
      ascii += char(text[i].unicode());
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    ascii += 'e';
    ++i;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) ascii += char(text[i++].unicode());
    int exponentDigits = 0;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i, ++exponentDigits)
      ascii += char(text[i].unicode());
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ec != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value))
    return std::nullopt;
  return negative ? -value : value;
}

TOsszegColFound FindOsszegCol(const TPreviewGrid& grid, const TUsedCols& usedCols) {
  const int rows = RowCount(grid);
  if (rows == 0) return {};
  for (int col = 0; col < grid.ColCount; ++col) {
    if (usedCols.Contains(col)) continue;
    const std::optional<TOsszegGuess> guess = DetectOsszeg(Cell(grid, 0, col));
    if (!guess) continue;
    const QChar thousandSep = guess->DecSep == u',' ? QChar(u'.') : QChar(u',');
    std::optional<double> value;
    bool all = true;
    for (int r = 0; r < rows && all; ++r) {
      QString cell = Cell(grid, r, col);
      cell.remove(u' ');
      cell.remove(thousandSep);
      value = PlatformTextToFloat(cell, guess->DecSep);
      all = value.has_value();
    }
    if (all) return {col, guess->DecSep, *value};
  }
  return {};
}

int FindMegnevezesCol(const TPreviewGrid& grid, const TUsedCols& usedCols) {
  const int rows = RowCount(grid);
  if (rows == 0) return -1;
  PcreRegex& re = SharedRegex();
  re.SetPattern(QString::fromUtf16(CegnevPattern));
  for (int col = 0; col < grid.ColCount; ++col) {
    if (usedCols.Contains(col)) continue;
    int hits = 0;
    for (int r = 0; r < rows; ++r)
      if (re.Match(TrimText(Cell(grid, r, col)))) ++hits;
    if (2 * hits < rows) continue;
    const float avg = AverageDigitRatio(grid, col);
    if (double(avg) <= 0.25) return col;
  }
  return -1;
}

int FindBizSzamCol(const TPreviewGrid& grid, const TUsedCols& usedCols) {
  const int rows = RowCount(grid);
  if (rows == 0) return -1;
  for (int col = 0; col < grid.ColCount; ++col) {
    if (usedCols.Contains(col)) continue;
    const float avg = AverageDigitRatio(grid, col);
    if (double(avg) >= 0.5 && double(avg) <= 0.98) return col;
  }
  return -1;
}

TAssignment AssignColumns(const TPreviewGrid& grid, const THeaderMasks& masks, bool header) {
  TAssignment result;
  TUsedCols used;
  if (header)
    AssignWithHeader(result, grid, masks, used);
  else
    AssignWithoutHeader(result, grid, used);
  return result;
}

QString IdentificationFailureMessage(const TIdentificationCaptions& c) {
  const QString q = QStringLiteral("\"");
  const QStringList lines{
      QStringLiteral("Nem sikerült beazonosítani a szükséges adatokat az input fájlban"),
      QString(),
      QStringLiteral("Kérem Ellenőrizze először a fájl szerkezetének jellemzőit a(z) ") + q +
          c.SzerkezetPanelTitle + q + QStringLiteral(" panelon:"),
      QStringLiteral("A(z) ") + q + c.HeaderCbx + q + QStringLiteral(" és ") + q + c.Label5 + q +
          QStringLiteral(" beállítások rendben vannak?"),
      QStringLiteral("Ha nem, akkor korrigálja őket, majd nyomja meg a(z) ") + q +
          c.SzerkezetCheckBtn + q + QStringLiteral(" gombot"),
      QString(),
      QStringLiteral("Ha ott nem látni problémát, akkor kérem állítsa be manuálisan az "
                     "adat-összerendeléseket az ") +
          q + c.TartalomPanelTitle + q + QStringLiteral(" panelon"),
      QStringLiteral("Szükség esetén töltse ki ill. korrigálja a(z) ") + q + c.Label22 + q +
          QStringLiteral(" oszlop adatait is, "),
      QStringLiteral("majd nyomja meg a(z) ") + q + c.ContentCheckBtn + q +
          QStringLiteral(" gombot"),
  };
  return lines.join(u'\n');
}

}  // namespace krinu
