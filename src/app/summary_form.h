#pragma once
// The summary of the last return ("Bevallás összesítő"): the head and the accounting of the
// lines, the partner sheets in a table the user filters and sorts, the lines of a partner on
// a double click, and copies of it all as PDF, HTML or CSV.

#include <QString>
#include <vector>

#include "app/controls.h"
#include "app/job.h"
#include "app/named_controls.h"
#include "app/user_interface.h"
#include "declaration/return_summary.h"

namespace krinu {

// The summary of the job's last written return; Return is null when it wrote none.
[[nodiscard]] TReturnSummary SummaryOf(const TJob& job);

// A copy of the summary in the format its name ends with: .pdf, .html (.htm) or .csv.
// Unknown endings are refused with a message.
enum class TSummaryFormat { Pdf, Html, Csv };
[[nodiscard]] std::optional<TSummaryFormat> SummaryFormatOf(const QString& file);
TStatus WriteSummary(UserInterface& ui, const TReturnSummary& summary, const QString& file);

struct SummaryState {
  SummaryState();
  QString Caption;
  CaptionControl HeadLb;  // rich text
  CaptionControl FilterLb;
  TextControl FilterEd;
  TableControl PartnerSG;
  CaptionControl LinesLb;
  TableControl LinesSG;
  CaptionControl AccountingLb;  // rich text
  CaptionControl MentesPdfBtn, MentesHtmlBtn, MentesCsvBtn, SummaryOkBtn;
  bool Closed = false;
  NamedControls Controls();
};

class TSummaryForm {
 public:
  enum PartnerColumn {
    AdoszamCol,
    NevCol,
    TetelekCol,
    LapokCol,
    NettoCol,
    AfaCol,
    NettoFtCol,
    AfaFtCol,
    kPartnerColumns
  };
  enum LineColumn { BizSzamCol, DatumCol, LineNettoCol, LineAfaCol, AllapotCol };

  TSummaryForm(UserInterface& ui, const TJob& job);
  TSummaryForm(const TSummaryForm&) = delete;  // the tables read through this object
  TSummaryForm& operator=(const TSummaryForm&) = delete;

  void FormShow();
  // The partners whose tax number or name holds the filter text (letter case aside).
  void FilterEdChange();
  // By that column, ascending; by the same column again, the other way round. Ties keep the
  // sheet order.
  void PartnerSGHeaderClick(int column);
  // The lines of the partner in that row, every one of them with what became of it.
  void PartnerSGDblClick(qsizetype row);
  void MentesPdfBtnClick() { Save(TSummaryFormat::Pdf); }
  void MentesHtmlBtnClick() { Save(TSummaryFormat::Html); }
  void MentesCsvBtnClick() { Save(TSummaryFormat::Csv); }
  void SummaryOkBtnClick() { State.Closed = true; }

  // The sheet shown in a row of the partner table (-1 outside it).
  [[nodiscard]] qsizetype SheetAt(qsizetype row) const;

  SummaryState State;

 private:
  QString PartnerCell(qsizetype row, int column) const;
  QString LineCell(qsizetype row, int column) const;
  void Arrange();
  void Save(TSummaryFormat format);

  UserInterface& ui_;
  const TJob& job_;
  TReturnSummary summary_;
  std::vector<qsizetype> shown_;  // the sheets shown, in the order shown
  qsizetype linesOf_ = -1;        // the sheet whose lines are listed
  std::vector<std::size_t> lines_;
};

}  // namespace krinu
