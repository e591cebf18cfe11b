#pragma once
#include <QString>

namespace krinu {

// One taxpayer of the Adozok table; every field is text.
struct TAdozoAdat {
  QString Adoszam;  // 11 digits, the key
  QString Nev;
  QString Bank;
  QString Szamlaszam1;  // first 8 digits of the account number
  QString Szamlaszam2;  // the other 8 or 16
};

// One administrator of the Ugyintezok table.
struct TUgyintezoAdat {
  QString Nev;
  QString Telefon;
  qint32 UserId = 0;  // given by the database
};

// Result of a validation or a write: rc 0 success, 1 failure; Note at most 255 characters.
struct Trrc {
  qint32 rc = 0;
  QString Note;
  void Fail(const QString& note) {
    rc = 1;
    Note = note.left(255);
  }
  bool Ok() const { return rc == 0; }
};

}  // namespace krinu
