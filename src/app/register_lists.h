#pragma once
// What the register windows and the main window's combos share: record lists shown as
// list items, search as you type, the ">>" mark, and a delete with its messages.

#include <QString>

#include "app/controls.h"
#include "app/user_interface.h"
#include "common/record_list.h"
#include "common/records.h"
#include "masterdata/master_database.h"
#include "masterdata/registers.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

// The main window's lists: reload from the database, refill the combo, select item 0
// (ItemIndex -1 when empty). Item i of the combo stands for entry i of the list. The
// taxpayer list keeps query order (by name); the administrator list should be created
// sorted by key with duplicates refused, so it lists by ID text.
void RefreshAdozokComboBox(TSQLiteDatabase& db, TRecordList<TAdozoAdat>& mainList,
                           ComboControl& combo);
void RefreshUgyintezokComboBox(TSQLiteDatabase& db, TRecordList<TUgyintezoAdat>& mainList,
                               ComboControl& combo);

// Refills a list box or combo from the database: item i shows entry i of records, item 0
// is selected (ItemIndex -1 when empty).
template <class TRecord, class TControl>
void LoadItems(TSQLiteDatabase& db, TRecordList<TRecord>& records, TControl& control,
               void (*load)(TSQLiteDatabase&, TRecordList<TRecord>&),
               QString (*itemText)(const TRecord&)) {
  records.Clear();
  control.Items.clear();
  control.ItemIndex = -1;
  load(db, records);
  for (const auto& e : records) control.Items.append(itemText(*e.Object));
  control.ItemIndex = control.Items.isEmpty() ? -1 : 0;
}

// Search as you type: the first item containing text, both upper-cased for ASCII letters
// only, becomes selected; shorter than two characters or no match leaves the selection.
void SearchListItems(ListControl& list, const QString& text);

// Moves the ">>" mark to item k (a no-op when k already carries it).
void MarkListItem(ListControl& list, qint32& markedIndex, int k);

// A delete in its own transaction, with the write rule's counting; its outcome message is
// shown after the transaction has ended (committed or rolled back). Returns true when the
// row was deleted and the deletion committed.
bool DeleteWithMessages(TSQLiteDatabase& db, UserInterface& ui, const QString& sql,
                        const SqlParams& params, const QString& notFoundMessage);

}  // namespace krinu
