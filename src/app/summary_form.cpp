#include "app/summary_form.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <numeric>

#include "common/atomic_write.h"

namespace krinu {

TReturnSummary SummaryOf(const TJob& job) {
  TReturnSummary s;
  // The findings beyond the checks, of the load and of the run, each once.
  for (const std::vector<TJobWarning>* list : {&job.LoadWarnings, &job.Run.Warnings})
    for (const TJobWarning& warning : *list)
      if (!s.Warnings.contains(warning.Text)) s.Warnings << warning.Text;
  if (!job.Run.Return) return s;
  s.Return = &*job.Run.Return;
  s.XmlFileName = QDir::toNativeSeparators(job.Run.LastWrittenXml);
  s.XmlBytes = job.Run.XmlBytes;
  s.RunTime = job.Run.WrittenAt;
  s.LoadedLines = job.LoadedLines;
  s.SkippedLines = job.MissedRows.size();
  return s;
}

std::optional<TSummaryFormat> SummaryFormatOf(const QString& file) {
  const QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == QStringLiteral("pdf")) return TSummaryFormat::Pdf;
  if (suffix == QStringLiteral("html") || suffix == QStringLiteral("htm"))
    return TSummaryFormat::Html;
  if (suffix == QStringLiteral("csv")) return TSummaryFormat::Csv;
  return std::nullopt;
}

TStatus WriteSummary(UserInterface& ui, const TReturnSummary& summary, const QString& file) {
  const std::optional<TSummaryFormat> format = SummaryFormatOf(file);
  if (!format || !summary.Return)
    return Fail(TFailureKind::Input,
                QStringLiteral("Az összesítő fájl neve .pdf, .html vagy .csv végű legyen: ") +
                    QDir::toNativeSeparators(file));
  if (*format == TSummaryFormat::Pdf) return ui.WritePdf(file, SummaryPrintDocument(summary));
  const QByteArray bytes =
      *format == TSummaryFormat::Csv ? SummaryCsv(*summary.Return) : SummaryHtml(summary).toUtf8();
  if (const std::optional<QString> reason = WriteFileAtomically(file, bytes))
    return Fail(TFailureKind::Access, QStringLiteral("Nem sikerült a(z) \"%1\" fájl írása: %2")
                                          .arg(QDir::toNativeSeparators(file), *reason));
  return {};
}

SummaryState::SummaryState() {
  Caption = QStringLiteral("Bevallás összesítő");
  FilterLb.Caption = QStringLiteral("Szűrés (adószám vagy név):");
  PartnerSG.Columns = {
      {QStringLiteral("Adószám"), false, false}, {QStringLiteral("Név"), false, false},
      {QStringLiteral("Tételek"), true, false},  {QStringLiteral("Lapok"), true, false},
      {QStringLiteral("Nettó"), true, false},    {QStringLiteral("ÁFA"), true, false},
      {QStringLiteral("Nettó Ft"), true, false}, {QStringLiteral("ÁFA Ft"), true, false}};
  LinesSG.Columns = {{QStringLiteral("Bizonylatszám"), false, false},
                     {QStringLiteral("Dátum"), false, false},
                     {QStringLiteral("Nettó Ft"), true, false},
                     {QStringLiteral("ÁFA Ft"), true, false},
                     {QStringLiteral("Állapot"), false, false}};
  LinesLb.Caption = QStringLiteral("Egy partner tételeihez kattintson duplán a sorára.");
  MentesPdfBtn.Caption = QStringLiteral("Mentés PDF-be…");
  MentesHtmlBtn.Caption = QStringLiteral("Mentés HTML-be…");
  MentesCsvBtn.Caption = QStringLiteral("Mentés CSV-be…");
  SummaryOkBtn.Caption = QStringLiteral("Bezárás");
}

NamedControls SummaryState::Controls() {
  return {{QStringLiteral("HeadLb"), &HeadLb},
          {QStringLiteral("FilterLb"), &FilterLb},
          {QStringLiteral("FilterEd"), &FilterEd},
          {QStringLiteral("PartnerSG"), &PartnerSG},
          {QStringLiteral("LinesLb"), &LinesLb},
          {QStringLiteral("LinesSG"), &LinesSG},
          {QStringLiteral("AccountingLb"), &AccountingLb},
          {QStringLiteral("MentesPdfBtn"), &MentesPdfBtn},
          {QStringLiteral("MentesHtmlBtn"), &MentesHtmlBtn},
          {QStringLiteral("MentesCsvBtn"), &MentesCsvBtn},
          {QStringLiteral("SummaryOkBtn"), &SummaryOkBtn}};
}

TSummaryForm::TSummaryForm(UserInterface& ui, const TJob& job) : ui_(ui), job_(job) {
  State.PartnerSG.Cell = [this](qsizetype row, int column) { return PartnerCell(row, column); };
  State.LinesSG.Cell = [this](qsizetype row, int column) { return LineCell(row, column); };
}

void TSummaryForm::FormShow() {
  State.Closed = false;
  summary_ = SummaryOf(job_);
  const bool any = summary_.Return != nullptr;
  State.HeadLb.Caption = any ? SummaryHeadHtml(summary_)
                             : QStringLiteral("Még nem készült bevallás ebben a munkában.");
  State.AccountingLb.Caption = any ? SummaryAccountingHtml(summary_) : QString();
  if (any) {
    const QString unit = QStringLiteral(" (") + WrittenUnit(*summary_.Return) + u')';
    State.PartnerSG.Columns[NettoCol].Caption = QStringLiteral("Nettó") + unit;
    State.PartnerSG.Columns[AfaCol].Caption = QStringLiteral("ÁFA") + unit;
  }
  for (CaptionControl* b : {&State.MentesPdfBtn, &State.MentesHtmlBtn, &State.MentesCsvBtn})
    b->Enabled = any;
  State.PartnerSG.SortColumn = -1;
  State.PartnerSG.Descending = false;
  linesOf_ = -1;
  lines_.clear();
  State.LinesSG.RowCount = 0;
  ++State.LinesSG.Revision;
  Arrange();
}

void TSummaryForm::FilterEdChange() {
  Arrange();
}

void TSummaryForm::PartnerSGHeaderClick(int column) {
  if (column < 0 || column >= kPartnerColumns) return;
  TableControl& table = State.PartnerSG;
  table.Descending = table.SortColumn == column && !table.Descending;
  table.SortColumn = column;
  Arrange();
}

qsizetype TSummaryForm::SheetAt(qsizetype row) const {
  return row >= 0 && row < qsizetype(shown_.size()) ? shown_[std::size_t(row)] : -1;
}

void TSummaryForm::PartnerSGDblClick(qsizetype row) {
  const qsizetype sheet = SheetAt(row);
  if (sheet < 0) return;
  const TPartnerSheet& s = summary_.Return->Sheets[std::size_t(sheet)];
  linesOf_ = sheet;
  lines_.resize(s.End - s.First);
  std::iota(lines_.begin(), lines_.end(), s.First);
  State.LinesLb.Caption = s.Azonosito + QStringLiteral(" ") + s.Megnevezes + QStringLiteral(": ") +
                          QString::number(lines_.size()) + QStringLiteral(" tétel, ebből ") +
                          QString::number(s.RowCount) + QStringLiteral(" a bevallásban");
  State.LinesSG.RowCount = qsizetype(lines_.size());
  ++State.LinesSG.Revision;
}

// Rows ordered by a number wherever the column holds one; names in Hungarian alphabetical
// order. A return has at most some tens of thousands of partners, so collating is quick.
void TSummaryForm::Arrange() {
  shown_.clear();
  if (summary_.Return) {
    const std::vector<TPartnerSheet>& sheets = summary_.Return->Sheets;
    const QString filter = State.FilterEd.Text.trimmed();
    for (std::size_t i = 0; i < sheets.size(); ++i)
      if (filter.isEmpty() || sheets[i].Azonosito.contains(filter, Qt::CaseInsensitive) ||
          sheets[i].Adoszam.contains(filter, Qt::CaseInsensitive) ||
          sheets[i].Megnevezes.contains(filter, Qt::CaseInsensitive))
        shown_.push_back(qsizetype(i));
    const TableControl& table = State.PartnerSG;
    const auto sortBy = [&](auto less) {
      std::stable_sort(shown_.begin(), shown_.end(), [&](qsizetype a, qsizetype b) {
        const TPartnerSheet& x = sheets[std::size_t(a)];
        const TPartnerSheet& y = sheets[std::size_t(b)];
        return table.Descending ? less(y, x) : less(x, y);
      });
    };
    using S = const TPartnerSheet&;
    switch (table.SortColumn) {
      case AdoszamCol:
        sortBy([](S x, S y) { return x.Adoszam < y.Adoszam; });
        break;
      case NevCol: {
        QCollator collator{QLocale(QLocale::Hungarian, QLocale::Hungary)};
        sortBy([&](S x, S y) { return collator.compare(x.Megnevezes, y.Megnevezes) < 0; });
        break;
      }
      case TetelekCol:
        sortBy([](S x, S y) { return x.RowCount < y.RowCount; });
        break;
      case LapokCol:
        sortBy([](S x, S y) { return x.Pages < y.Pages; });
        break;
      case NettoCol:
        sortBy([](S x, S y) { return x.SumAlap < y.SumAlap; });
        break;
      case AfaCol:
        sortBy([](S x, S y) { return x.SumAfa < y.SumAfa; });
        break;
      case NettoFtCol:
        sortBy([](S x, S y) { return x.SumAlapFt < y.SumAlapFt; });
        break;
      case AfaFtCol:
        sortBy([](S x, S y) { return x.SumAfaFt < y.SumAfaFt; });
        break;
      default:
        break;
    }
  }
  State.PartnerSG.RowCount = qsizetype(shown_.size());
  ++State.PartnerSG.Revision;
}

QString TSummaryForm::PartnerCell(qsizetype row, int column) const {
  const qsizetype i = SheetAt(row);
  if (i < 0) return {};
  const TPartnerSheet& s = summary_.Return->Sheets[std::size_t(i)];
  switch (column) {
    case AdoszamCol:
      return s.Azonosito;
    case NevCol:
      return s.Megnevezes;
    case TetelekCol:
      return HungarianNumber(s.RowCount);
    case LapokCol:
      return HungarianNumber(s.Pages);
    case NettoCol:
      return HungarianNumber(s.SumAlap);
    case AfaCol:
      return HungarianNumber(s.SumAfa);
    case NettoFtCol:
      return HungarianForints(s.SumAlapFt);
    case AfaFtCol:
      return HungarianForints(s.SumAfaFt);
  }
  return {};
}

QString TSummaryForm::LineCell(qsizetype row, int column) const {
  if (row < 0 || row >= qsizetype(lines_.size()) || !summary_.Return) return {};
  const TAFAAdat& line = (*summary_.Return->Lines)[lines_[std::size_t(row)]];
  switch (column) {
    case BizSzamCol:
      return line.BizSzam.ToString();
    case DatumCol:
      return line.Datum.Date().toString(QStringLiteral("yyyy. MM. dd."));
    case LineNettoCol:
      return HungarianForints(line.AFAAlap);
    case LineAfaCol:
      return HungarianForints(line.AFA);
    case AllapotCol:
      return LineStatusText(line);
  }
  return {};
}

void TSummaryForm::Save(TSummaryFormat format) {
  if (!summary_.Return) return;
  static const char* const kExt[] = {"pdf", "html", "csv"};
  static const char* const kName[] = {"PDF", "HTML", "CSV"};
  const QString ext = QLatin1StringView(kExt[int(format)]);
  const QString name = QLatin1StringView(kName[int(format)]);
  FileDialogSpec spec;
  spec.Title = QStringLiteral("Mentés ") + name + QStringLiteral("-be");
  spec.Filter = name + QStringLiteral(" files (*.") + ext + QStringLiteral(")|*.") + ext +
                QStringLiteral("|All Files (*.*)|*.*");
  const QFileInfo xml(job_.Run.LastWrittenXml);
  spec.FileName = QDir(xml.absolutePath())
                      .filePath(xml.completeBaseName() + QStringLiteral("_osszesito.") + ext);
  spec.MustExist = false;
  const std::optional<QString> chosen = ui_.SaveFile(spec);
  if (!chosen || chosen->isEmpty()) return;
  QString file = *chosen;
  if (SummaryFormatOf(file) != format) file += u'.' + ext;
  if (const TStatus written = WriteSummary(ui_, summary_, file); !written) {
    ui_.Error(written.Message());
    return;
  }
  ui_.Information(QStringLiteral("A bevallás összesítője elkészült:\n") +
                  QDir::toNativeSeparators(file));
}

}  // namespace krinu
