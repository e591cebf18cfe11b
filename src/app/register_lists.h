#pragma once
// What the register windows and the main window's combos share: record lists shown as
// list items, search as you type, the ">>" mark, and a delete with its messages.

#include <QString>

#include "app/controls.h"
#include "app/user_interface.h"
#include "common/record_list.h"
#include "common/records.h"
#include "common/result.h"
#include "masterdata/master_database.h"
#include "masterdata/registers.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

// Fills a list box or combo from records: item i shows entry i, item 0 is selected
// (ItemIndex -1 when empty).
template <class TRecord, class TControl>
void FillItems(const TRecordList<TRecord>& records, TControl& control,
               QString (*itemText)(const TRecord&)) {
  control.Items.clear();
  for (const auto& e : records) control.Items.append(itemText(*e.Object));
  control.ItemIndex = control.Items.isEmpty() ? -1 : 0;
}

// Refills records from the database and the control from them; the control stays empty
// when the database cannot be read.
template <class TRecord, class TControl>
[[nodiscard]] TStatus LoadItems(TSQLiteDatabase& db, TRecordList<TRecord>& records,
                                TControl& control,
                                TStatus (*load)(TSQLiteDatabase&, TRecordList<TRecord>&),
                                QString (*itemText)(const TRecord&)) {
  records.Clear();
  control.Items.clear();
  control.ItemIndex = -1;
  TStatus loaded = load(db, records);
  if (loaded) FillItems(records, control, itemText);
  return loaded;
}

// LoadItems for a window: a database that cannot be read is shown as an error box.
template <class TRecord, class TControl>
bool LoadItems(UserInterface& ui, TSQLiteDatabase& db, TRecordList<TRecord>& records,
               TControl& control, TStatus (*load)(TSQLiteDatabase&, TRecordList<TRecord>&),
               QString (*itemText)(const TRecord&)) {
  const TStatus loaded = LoadItems(db, records, control, load, itemText);
  if (!loaded) ui.Error(loaded.Message());
  return loaded.Ok();
}

// Search as you type: the first item containing text, both upper-cased for ASCII letters
// only, becomes selected; shorter than two characters or no match leaves the selection.
void SearchListItems(ListControl& list, const QString& text);

// Moves the ">>" mark to item k (a no-op when k already carries it).
void MarkListItem(ListControl& list, qint32& markedIndex, int k);

// Shows how a delete ended, once its transaction is over (committed or rolled back), so
// that no box says a row is gone before the commit has succeeded. True when it was deleted.
bool ReportDelete(UserInterface& ui, const TWriteOutcome& outcome, const QString& notFoundMessage);

}  // namespace krinu
