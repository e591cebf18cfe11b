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

QString SideEffectMessage(const QString& fileName, qint64 others) {
  return QStringLiteral(
             "Az adatbázisban (%1) egy eseményindító (trigger) vagy más szabály további %2 "
             "rekordot is megváltoztatott volna; a művelet nem került végrehajtásra (rollback). "
             "Ez az adatbázis nem ennek a programnak a szerkezetét követi")
      .arg(fileName)
      .arg(others);
}

// After a failed step: undo what can be undone. The failure already at hand is the one to
// report, so a failing rollback adds nothing to it (the connection keeps an open
// transaction marked only while the engine really still has one).
void UndoQuietly(TSQLiteDatabase& db) {
  try {
    db.Rollback();
  } catch (const ESQLiteException&) {
  }
}

}  // namespace

TResult<TWriteOutcome> RunWriteTransaction(TSQLiteDatabase& db, const QString& sql,
                                           const SqlParams& params) {
  TWriteOutcome outcome;
  try {
    db.BeginTransaction();
  } catch (const ESQLiteException& e) {
    return Fail(TFailureKind::Database, e.Message());
  }
  try {
    const qint64 before = db.TotalChanges();
    db.ExecSQL(sql, params);
    outcome.Rows = db.RowsChanged();
    // A trigger (or a cascade) of the file changes rows the statement never named: they
    // would be lost or altered behind the user's back.
    if (const qint64 others = db.TotalChanges() - before - outcome.Rows; others != 0) {
      db.Rollback();
      outcome.Kind = TWriteOutcome::Failed;
      outcome.Error = SideEffectMessage(db.FileName(), others);
      return outcome;
    }
    if (outcome.Rows == 1 || outcome.Rows == 0) {
      outcome.Kind = outcome.Rows == 1 ? TWriteOutcome::Written : TWriteOutcome::NoRow;
      db.Commit();
    } else {
      outcome.Kind = TWriteOutcome::OtherCount;
      db.Rollback();
    }
  } catch (const ESQLiteException& e) {
    // The statement, or a commit that another process's lock or a full disk refused.
    UndoQuietly(db);
    outcome.Kind = TWriteOutcome::Failed;
    outcome.Error = e.Message();
  }
  return outcome;
}

namespace {

// Runs one write statement in its own transaction; noRowMessage when nothing changed.
TResult<Trrc> WriteRule(TSQLiteDatabase& db, const QString& sql, const SqlParams& params,
                        const QString& noRowMessage) {
  const TResult<TWriteOutcome> run = RunWriteTransaction(db, sql, params);
  if (!run) return run.Failure();
  const TWriteOutcome& outcome = run.Value();
  Trrc result;
  switch (outcome.Kind) {
    case TWriteOutcome::Written:
      break;
    case TWriteOutcome::NoRow:
      result.Fail(noRowMessage);
      break;
    case TWriteOutcome::OtherCount:
      result.Fail(RowCountMessage(outcome.Rows));
      break;
    case TWriteOutcome::Failed:
      result.Fail(outcome.Error);
      break;
  }
  return result;
}

// A text field holds 1 to maxLength characters: its edit's length, its column's size.
bool LengthOk(const QString& value, int maxLength) {
  return value.size() >= 1 && value.size() <= maxLength;
}

QString LengthMessage(const QString& field, int maxLength) {
  return QStringLiteral("A '") + field + QStringLiteral("' formátuma nem helyes: min. 1, max ") +
         QString::number(maxLength) + QStringLiteral(" karakterből kell állnia");
}

// A control character would reach the return's XML and the terminal of krinu-cli.
QString ControlCharacterMessage(const QString& field) {
  return QStringLiteral("A '") + field +
         QStringLiteral("' formátuma nem helyes: vezérlő karaktert nem tartalmazhat");
}

}  // namespace

Trrc CheckAdozoAdat(const TAdozoAdat& rec) {
  Trrc result;
  const QString szamla = rec.Szamlaszam1 + rec.Szamlaszam2;
  // \z rather than $: a trailing line break must not slip through as part of a number.
  if (!PcreRegex::Matches(QStringLiteral("^\\d{11}\\z"), rec.Adoszam))
    result.Fail(QStringLiteral("Az 'Adószám' formátuma nem helyes: 11 számjegyből kell állnia"));
  else if (!LengthOk(rec.Nev, kNevMaxLength))
    result.Fail(LengthMessage(QStringLiteral("Név"), kNevMaxLength));
  else if (!LengthOk(rec.Bank, kBankMaxLength))
    result.Fail(LengthMessage(QStringLiteral("Bank"), kBankMaxLength));
  else if (HasControlCharacter(rec.Nev))
    result.Fail(ControlCharacterMessage(QStringLiteral("Név")));
  else if (HasControlCharacter(rec.Bank))
    result.Fail(ControlCharacterMessage(QStringLiteral("Bank")));
  else if (!PcreRegex::Matches(QStringLiteral("^\\d{16}\\z"), szamla) &&
           !PcreRegex::Matches(QStringLiteral("^\\d{24}\\z"), szamla))
    result.Fail(
        QStringLiteral("A 'Számlaszám' formátuma nem helyes: 16 vagy 24 számjegyből kell állnia"));
  return result;
}

Trrc CheckUgyintezoAdat(const TUgyintezoAdat& rec) {
  Trrc result;
  if (!LengthOk(rec.Nev, kNevMaxLength))
    result.Fail(LengthMessage(QStringLiteral("Név"), kNevMaxLength));
  else if (!LengthOk(rec.Telefon, kTelefonMaxLength))
    result.Fail(LengthMessage(QStringLiteral("Telefon"), kTelefonMaxLength));
  else if (HasControlCharacter(rec.Nev))
    result.Fail(ControlCharacterMessage(QStringLiteral("Név")));
  else if (HasControlCharacter(rec.Telefon))
    result.Fail(ControlCharacterMessage(QStringLiteral("Telefon")));
  return result;
}

TResult<Trrc> InsertAdozo(TSQLiteDatabase& db, const TAdozoAdat& rec) {
  return WriteRule(db,
                   QStringLiteral("Insert into Adozok (Adoszam,Nev,Bank,Szamlaszam1,Szamlaszam2) "
                                  "VALUES (?1, ?2, ?3, ?4, ?5 ) "),
                   {rec.Adoszam, rec.Nev, rec.Bank, rec.Szamlaszam1, rec.Szamlaszam2},
                   QStringLiteral("Nem sikerült beszúrni az új rekordot"));
}

TResult<Trrc> UpdateAdozo(TSQLiteDatabase& db, const TAdozoAdat& rec) {
  return WriteRule(db,
                   QStringLiteral("Update Adozok Set Nev = ?1, Bank = ?2, Szamlaszam1 = ?3, "
                                  "Szamlaszam2 = ?4 where Adoszam = ?5"),
                   {rec.Nev, rec.Bank, rec.Szamlaszam1, rec.Szamlaszam2, rec.Adoszam},
                   QStringLiteral("Nem található a módosítani szándékozott Adózó"));
}

TResult<Trrc> InsertUgyintezo(TSQLiteDatabase& db, const TUgyintezoAdat& rec) {
  return WriteRule(db, QStringLiteral("Insert into Ugyintezok (Nev,Telefon) VALUES (?1, ?2 ) "),
                   {rec.Nev, rec.Telefon}, QStringLiteral("Nem sikerült beszúrni az új rekordot"));
}

TResult<Trrc> UpdateUgyintezo(TSQLiteDatabase& db, const TUgyintezoAdat& rec) {
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

namespace {

bool AllAsciiDigits(const QString& s) {
  if (s.isEmpty()) return false;
  for (QChar c : s)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

// "... where UserId = " + the ID text. Digits go in as they stand ("0007" reads as 7);
// anything else is bound as a value, so it can only fail to match, never widen the
// statement.
QString WhereUserId(const QString& prefix, const QString& idText, SqlParams& params) {
  if (AllAsciiDigits(idText)) return prefix + idText;
  params = {idText};
  return prefix + QStringLiteral("?1");
}

}  // namespace

TResult<qint32> CountAdozo(TSQLiteDatabase& db, const QString& adoszam) {
  return QueryCount(db, QStringLiteral("Select count(*) from Adozok where Adoszam = ?1"),
                    {adoszam});
}

TResult<qint32> CountUgyintezo(TSQLiteDatabase& db, const QString& idText) {
  SqlParams params;
  const QString sql = WhereUserId(QStringLiteral("Select count(*) from Ugyintezok where UserId = "),
                                  idText, params);
  return QueryCount(db, sql, params);
}

TResult<TWriteOutcome> DeleteAdozo(TSQLiteDatabase& db, const QString& adoszam) {
  return RunWriteTransaction(db, QStringLiteral("Delete from Adozok where Adoszam = ?1"),
                             {adoszam});
}

TResult<TWriteOutcome> DeleteUgyintezo(TSQLiteDatabase& db, const QString& idText) {
  SqlParams params;
  const QString sql =
      WhereUserId(QStringLiteral("Delete from Ugyintezok where UserId = "), idText, params);
  return RunWriteTransaction(db, sql, params);
}

}  // namespace krinu
