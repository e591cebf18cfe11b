#include "masterdata/registers.h"

#include "common/pcre_regex.h"
#include "common/text_util.h"
#include "masterdata/master_database.h"

namespace krinu {

namespace {

QString RowCountMessage(qint32 n) {
  return QStringLiteral("Az érintett rekordok száma nem 1, hanem: ") + QString::number(n) +
         QStringLiteral(", művelet nem került végrehajtásra (rollback)");
}

// A commit that fails (another process reading the file, say) must not leave the change
// pending behind a success report: undo it and hand the failure on.
void CommitOrUndo(TSQLiteDatabase& db) {
  try {
    db.Commit();
  } catch (const ESQLiteException&) {
    try {
      db.Rollback();
    } catch (const ESQLiteException&) {
      // Nothing more to undo here; the connection rolls back when it closes.
    }
    throw;
  }
}

// Runs one write statement in its own transaction; noRowMessage when nothing changed.
Trrc WriteRule(TSQLiteDatabase& db, const QString& sql, const SqlParams& params,
               const QString& noRowMessage) {
  Trrc result;
  db.BeginTransaction();
  try {
    db.ExecSQL(sql, params);
  } catch (const ESQLiteException& e) {
    db.Rollback();
    result.Fail(e.Message());
    return result;
  }
  const qint32 n = db.RowsChanged();
  try {
    if (n == 1) {
      CommitOrUndo(db);
    } else if (n == 0) {
      result.Fail(noRowMessage);
      CommitOrUndo(db);
    } else {
      result.Fail(RowCountMessage(n));
      db.Rollback();
    }
  } catch (const ESQLiteException& e) {
    result.Fail(e.Message());
  }
  return result;
}

bool InRange(const QString& s, int min, int max) {
  return s.size() >= min && s.size() <= max;
}

}  // namespace

Trrc CheckAdozoAdat(const TAdozoAdat& rec) {
  Trrc result;
  const QString szamla = rec.Szamlaszam1 + rec.Szamlaszam2;
  // \z rather than $: a trailing line break must not slip through as part of a number.
  if (!PcreRegex::Matches(QStringLiteral("^\\d{11}\\z"), rec.Adoszam))
    result.Fail(QStringLiteral("Az 'Adószám' formátuma nem helyes: 11 számjegyből kell állnia"));
  else if (!InRange(rec.Nev, 1, 80))
    result.Fail(
        QStringLiteral("A 'Név' formátuma nem helyes: min. 1, max 80 karakterből kell állnia"));
  else if (!InRange(rec.Bank, 1, 80))
    result.Fail(
        QStringLiteral("A 'Bank' formátuma nem helyes: min. 1, max 80 karakterből kell állnia"));
  else if (!PcreRegex::Matches(QStringLiteral("^\\d{16}\\z"), szamla) &&
           !PcreRegex::Matches(QStringLiteral("^\\d{24}\\z"), szamla))
    result.Fail(
        QStringLiteral("A 'Számlaszám' formátuma nem helyes: 16 vagy 24 számjegyből kell állnia"));
  return result;
}

Trrc CheckUgyintezoAdat(const TUgyintezoAdat& rec) {
  Trrc result;
  if (!InRange(rec.Nev, 1, 80))
    result.Fail(
        QStringLiteral("A 'Név' formátuma nem helyes: min. 1, max 80 karakterből kell állnia"));
  else if (!InRange(rec.Telefon, 1, 40))
    result.Fail(
        QStringLiteral("A 'Telefon' formátuma nem helyes: min. 1, max 40 karakterből kell állnia"));
  return result;
}

Trrc InsertAdozo(TSQLiteDatabase& db, const TAdozoAdat& rec) {
  return WriteRule(db,
                   QStringLiteral("Insert into Adozok (Adoszam,Nev,Bank,Szamlaszam1,Szamlaszam2) "
                                  "VALUES (?1, ?2, ?3, ?4, ?5 ) "),
                   {rec.Adoszam, rec.Nev, rec.Bank, rec.Szamlaszam1, rec.Szamlaszam2},
                   QStringLiteral("Nem sikerült beszúrni az új rekordot"));
}

Trrc UpdateAdozo(TSQLiteDatabase& db, const TAdozoAdat& rec) {
  return WriteRule(db,
                   QStringLiteral("Update Adozok Set Nev = ?1, Bank = ?2, Szamlaszam1 = ?3, "
                                  "Szamlaszam2 = ?4 where Adoszam = ?5"),
                   {rec.Nev, rec.Bank, rec.Szamlaszam1, rec.Szamlaszam2, rec.Adoszam},
                   QStringLiteral("Nem található a módosítani szándékozott Adózó"));
}

Trrc InsertUgyintezo(TSQLiteDatabase& db, const TUgyintezoAdat& rec) {
  return WriteRule(db, QStringLiteral("Insert into Ugyintezok (Nev,Telefon) VALUES (?1, ?2 ) "),
                   {rec.Nev, rec.Telefon}, QStringLiteral("Nem sikerült beszúrni az új rekordot"));
}

Trrc UpdateUgyintezo(TSQLiteDatabase& db, const TUgyintezoAdat& rec) {
  return WriteRule(db,
                   QStringLiteral("Update Ugyintezok Set Nev = ?1, Telefon = ?2 where UserId = ?3"),
                   {rec.Nev, rec.Telefon, QVariant(qint64(rec.UserId))},
                   QStringLiteral("Nem található a módosítani szándékozott Ügyintéző"));
}

QString AdozoItemText(const TAdozoAdat& rec) {
  return rec.Adoszam + QStringLiteral(" / ") + rec.Nev;
}

QString UgyintezoItemText(const TUgyintezoAdat& rec) {
  return rec.Nev + QStringLiteral(" / ") + rec.Telefon;
}

QString UgyintezoIdText(qint32 userId) {
  return ZeroPadded(userId, 4);
}

void RefreshAdozokComboBox(TSQLiteDatabase& db, TRecordList<TAdozoAdat>& mainList,
                           ComboControl& combo) {
  LoadItems(db, mainList, combo, LoadAdozok, AdozoItemText);
}

void RefreshUgyintezokComboBox(TSQLiteDatabase& db, TRecordList<TUgyintezoAdat>& mainList,
                               ComboControl& combo) {
  LoadItems(db, mainList, combo, LoadUgyintezok, UgyintezoItemText);
}

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

bool DeleteWithMessages(TSQLiteDatabase& db, UserInterface& ui, const QString& sql,
                        const SqlParams& params, const QString& notFoundMessage) {
  db.BeginTransaction();
  try {
    db.ExecSQL(sql, params);
  } catch (const ESQLiteException& e) {
    db.Rollback();
    ui.Error(QStringLiteral("Probléma merült fel a törlés során: ") + e.Message());
    return false;
  }
  const qint32 n = db.RowsChanged();
  try {
    if (n == 1) {
      ui.Information(QStringLiteral("Törlés végrehajtva"));
      CommitOrUndo(db);
      return true;
    }
    if (n == 0) {
      ui.Information(notFoundMessage);
      CommitOrUndo(db);
    } else {
      ui.Information(QStringLiteral("Valami nem stimmel a törléssel, az érintett rekordok száma "
                                    "nem 1, hanem: ") +
                     QString::number(n) +
                     QStringLiteral(", művelet nem került végrehajtásra (rollback)"));
      db.Rollback();
    }
  } catch (const ESQLiteException& e) {
    ui.Error(QStringLiteral("Probléma merült fel a törlés során: ") + e.Message());
  }
  return false;
}

}  // namespace krinu
