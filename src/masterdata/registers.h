#pragma once
// Validation and writes of the taxpayer and administrator records.
//
// Values always travel as bound statement parameters: a name such as `Bank` or one holding
// a double quote is stored as typed and can never change which row or column a statement
// touches. Messages still show the statements with their values between double quotes.

#include <QString>

#include "common/records.h"
#include "common/result.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

// Edit lengths of the register windows.
inline constexpr int kAdoszamMaxLength = 11;
inline constexpr int kNevMaxLength = 80;
inline constexpr int kBankMaxLength = 80;
inline constexpr int kSzamlaMaxLength = 24;
inline constexpr int kTelefonMaxLength = 40;
inline constexpr int kAzonositoMaxLength = 20;

Trrc CheckAdozoAdat(const TAdozoAdat& rec);
Trrc CheckUgyintezoAdat(const TUgyintezoAdat& rec);

// Each write is one transaction: exactly one changed row commits; anything else leaves the
// database as it was and reports why in Note. It fails (no Trrc) only when its transaction
// could not begin.
[[nodiscard]] TResult<Trrc> InsertAdozo(TSQLiteDatabase& db, const TAdozoAdat& rec);
[[nodiscard]] TResult<Trrc> UpdateAdozo(TSQLiteDatabase& db, const TAdozoAdat& rec);
[[nodiscard]] TResult<Trrc> InsertUgyintezo(TSQLiteDatabase& db, const TUgyintezoAdat& rec);
[[nodiscard]] TResult<Trrc> UpdateUgyintezo(TSQLiteDatabase& db, const TUgyintezoAdat& rec);

// How many taxpayers have the tax number / administrators the ID text.
[[nodiscard]] TResult<qint32> CountAdozo(TSQLiteDatabase& db, const QString& adoszam);
[[nodiscard]] TResult<qint32> CountUgyintezo(TSQLiteDatabase& db, const QString& idText);

// List and combo item texts.
QString AdozoItemText(const TAdozoAdat& rec);          // Adoszam / Nev
QString UgyintezoItemText(const TUgyintezoAdat& rec);  // Nev / Telefon
QString UgyintezoIdText(qint32 userId);                // "0007"

// How one write transaction ended; by the time it is known the transaction is over.
struct TWriteOutcome {
  enum TKind { Written, NoRow, OtherCount, Failed };
  TKind Kind = Written;
  qint32 Rows = 0;
  QString Error;  // Failed: the message of the step that failed
};

// Every write: begin, run the one statement, count the changed rows, then commit (one row,
// or none: the empty transaction) or roll back (any other count). A failure of the begin
// itself is the result's failure: nothing was run, and the callers report it apart from a
// failed statement.
[[nodiscard]] TResult<TWriteOutcome> RunWriteTransaction(TSQLiteDatabase& db, const QString& sql,
                                                         const SqlParams& params);

// Each delete is one write transaction of its own.
[[nodiscard]] TResult<TWriteOutcome> DeleteAdozo(TSQLiteDatabase& db, const QString& adoszam);
[[nodiscard]] TResult<TWriteOutcome> DeleteUgyintezo(TSQLiteDatabase& db, const QString& idText);

}  // namespace krinu
