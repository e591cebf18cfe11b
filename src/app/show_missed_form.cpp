#include "app/show_missed_form.h"

#include <QCollator>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <numeric>

#include "app/environment.h"
#include "content/skipped_report.h"

namespace krinu {

ShowMissedState::ShowMissedState() {
  Caption = QStringLiteral("Kihagyott adatsorok áttkintése");
  ShowMissedSG.Columns = {{SkippedNumberCaption(), true, false},
                          {SkippedReasonCaption(), false, false},
                          {QStringLiteral("Adatsor"), false, true}};
  MentesBtn.Caption = QStringLiteral("Mentés...");
  ShowMissedOkBtn.Caption = QStringLiteral("OK");
}

TShowMissedForm::TShowMissedForm(UserInterface& ui, const TJob& job, QString documentsDir)
    : ui_(ui), job_(job), documentsDir_(std::move(documentsDir)) {
  State.ShowMissedSG.Cell = [this](qsizetype row, int column) { return CellText(row, column); };
}

void TShowMissedForm::FormShow() {
  State.Closed = false;
  order_.resize(job_.MissedRows.size());
  std::iota(order_.begin(), order_.end(), qsizetype(0));
  TableControl& table = State.ShowMissedSG;
  table.RowCount = qsizetype(order_.size());
  table.SortColumn = SorszamCol;
  table.Descending = false;
  ++table.Revision;
}

QString TShowMissedForm::CellText(qsizetype row, int column) const {
  if (row < 0 || row >= qsizetype(order_.size())) return {};
  const qsizetype i = order_[row];
  // The two lists are filled together; a row without its record shows no number or reason.
  const bool known = i < qsizetype(job_.SkippedRecords.size());
  switch (column) {
    case SorszamCol:
      return known ? QString::number(job_.SkippedRecords[i].RecordNumber) : QString();
    case OkCol:
      return known ? SkippedReasonText(job_.SkippedRecords[i]) : QString();
    case AdatsorCol:
      return job_.MissedRows.value(i);
  }
  return {};
}

void TShowMissedForm::ShowMissedSGHeaderClick(int column) {
  if (column < SorszamCol || column > AdatsorCol) return;
  TableControl& table = State.ShowMissedSG;
  table.Descending = table.SortColumn == column && !table.Descending;
  table.SortColumn = column;
  SortRows();
  ++table.Revision;
}

// Rows are sorted by a number or a small integer key wherever that can be had, so that a
// million rows take a moment, not minutes: the record number as a number (10 after 9), the
// few distinct reasons ranked once in Hungarian alphabetical order (Á beside A). The row
// texts are compared character by character: collating a million long texts would hold the
// window far too long.
void TShowMissedForm::SortRows() {
  const TableControl& table = State.ShowMissedSG;
  const std::vector<TSkippedRecord>& records = job_.SkippedRecords;
  const qsizetype known = qsizetype(records.size());
  const auto ordered = [&table](auto key) {
    return [key, descending = table.Descending](qsizetype a, qsizetype b) {
      return descending ? key(b) < key(a) : key(a) < key(b);
    };
  };
  std::sort(order_.begin(), order_.end());  // ties keep file order whatever came before
  if (table.SortColumn == SorszamCol) {
    const auto number = [&](qsizetype i) { return i < known ? records[i].RecordNumber : 0; };
    std::stable_sort(order_.begin(), order_.end(), ordered(number));
  } else if (table.SortColumn == OkCol) {
    std::vector<int> rank(order_.size(), 0);
    QHash<QString, int> rankOf;
    QStringList distinct;
    for (qsizetype i = 0; i < qsizetype(rank.size()) && i < known; ++i) {
      const QString reason = SkippedReasonText(records[i]);
      auto it = rankOf.constFind(reason);
      if (it == rankOf.constEnd()) {
        it = rankOf.insert(reason, int(distinct.size()));
        distinct << reason;
      }
      rank[i] = it.value();
    }
    QCollator collator{QLocale(QLocale::Hungarian, QLocale::Hungary)};
    QStringList sorted = distinct;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const QString& a, const QString& b) {
      return collator.compare(a, b) < 0;
    });
    std::vector<int> place(distinct.size());
    for (qsizetype d = 0; d < distinct.size(); ++d) place[d] = int(sorted.indexOf(distinct[d]));
    // Rows without a record have no reason: they stand first, as an empty text would.
    for (qsizetype i = 0; i < qsizetype(rank.size()); ++i)
      rank[i] = i < known ? place[rank[i]] + 1 : 0;
    std::stable_sort(order_.begin(), order_.end(), ordered([&](qsizetype i) { return rank[i]; }));
  } else {
    const QStringList& rows = job_.MissedRows;
    std::stable_sort(order_.begin(), order_.end(),
                     ordered([&](qsizetype i) { return QStringView(rows[i]); }));
  }
}

void TShowMissedForm::MentesBtnClick() {
  FileDialogSpec spec;
  spec.Title = QStringLiteral("Kihagyott adatsorok mentése");
  spec.Filter = QStringLiteral("CSV files (*.csv)|*.csv|All Files (*.*)|*.*");
  spec.FileName = QStringLiteral("kihagyott_adatsorok.csv");
  // Not the current folder: from the Start menu that is the program's own.
  if (const QString folder = DialogStartFolder({documentsDir_}); !folder.isEmpty())
    spec.FileName = WithTrailingSeparator(folder) + spec.FileName;
  spec.MustExist = false;
  const std::optional<QString> chosen = ui_.SaveFile(spec);
  if (!chosen || chosen->isEmpty()) return;
  QString file = *chosen;
  if (!QFileInfo(file).fileName().contains(QLatin1Char('.'))) file += QStringLiteral(".csv");
  if (const TStatus written = WriteSkippedReport(file, job_.MissedRows, job_.SkippedRecords);
      !written) {
    ui_.Error(written.Message());
    return;
  }
  ui_.Information(QStringLiteral("A kihagyott adatsorok jegyzéke elkészült:\n") + file);
}

}  // namespace krinu
