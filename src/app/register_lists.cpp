#include "app/register_lists.h"

#include "common/text_util.h"

namespace krinu {

void SearchListItems(ListControl& list, const QString& text) {
  if (text.size() < 2) return;
  const QString wanted = AsciiUpperCase(text);
  for (int i = 0; i < list.Items.size(); ++i) {
    if (AsciiUpperCase(list.Items[i]).contains(wanted)) {
      list.ItemIndex = i;
      return;
    }
  }
}

void MarkListItem(ListControl& list, qint32& markedIndex, int k) {
  if (k == markedIndex || k < 0 || k >= list.Items.size()) return;
  list.Items[k] = QStringLiteral(">>") + list.Items[k];
  if (markedIndex >= 0 && markedIndex < list.Items.size())
    list.Items[markedIndex] = list.Items[markedIndex].mid(2);
  markedIndex = k;
  list.ItemIndex = k;
}

bool ReportDelete(UserInterface& ui, const TWriteOutcome& outcome, const QString& notFoundMessage) {
  switch (outcome.Kind) {
    case TWriteOutcome::Written:
      ui.Information(QStringLiteral("Törlés végrehajtva"));
      return true;
    case TWriteOutcome::NoRow:
      ui.Information(notFoundMessage);
      break;
    case TWriteOutcome::OtherCount:
      ui.Information(QStringLiteral("Valami nem stimmel a törléssel, az érintett rekordok száma "
                                    "nem 1, hanem: ") +
                     QString::number(outcome.Rows) +
                     QStringLiteral(", művelet nem került végrehajtásra (rollback)"));
      break;
    case TWriteOutcome::Failed:
      ui.Error(QStringLiteral("Probléma merült fel a törlés során: ") + outcome.Error);
      break;
  }
  return false;
}

}  // namespace krinu
