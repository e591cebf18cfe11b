#pragma once
// Small builders for the declaration tests.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>

#include "common/records.h"
#include "content/afa_adat.h"
#include "declaration/form_frame.h"

namespace krinu::test {

inline TAFAAdat Line(const QString& adoszam, const QString& name, QDate datum,
                     const QString& bizSzam, double alap, double afa, bool enabled = true) {
  TAFAAdat line;
  line.Adoszam = adoszam;
  line.Megnevezes = name;
  line.Datum = datum;
  line.BizSzam = bizSzam;
  line.AFAAlap = alap;
  line.AFA = afa;
  line.Status = TAFAAdatStatus::stAFABase;
  line.Enabled = enabled;
  return line;
}

inline TAdozoAdat Taxpayer() {
  return TAdozoAdat{QStringLiteral("12345678242"), QStringLiteral("Kovács & Társa Kft."),
                    QStringLiteral("OTP Bank"), QStringLiteral("11700000"),
                    QStringLiteral("12345678")};
}

inline TUgyintezoAdat Administrator() {
  return TUgyintezoAdat{QStringLiteral("O'Brien Éva"), QStringLiteral("+36 1 234 5678"), 1};
}

inline TDeclarationParams Params(int year, int lastMonth = 3) {
  const QDate start(year, 1, 1);
  return DeclarationParams(start, QDate(year, lastMonth, 1).addMonths(1).addDays(-1),
                           QStringLiteral("1.0"));
}

// Lines joined with CR LF after each, as the document holds them.
inline QByteArray CrLf(std::initializer_list<const char*> lines) {
  QByteArray out;
  for (const char* line : lines) out.append(line).append("\r\n");
  return out;
}

inline QStringList DocumentLines(const QByteArray& bytes) {
  QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
  return lines;
}

// The value of the one field line with this code; nullopt when there is none.
inline std::optional<QString> FieldValue(const QByteArray& bytes, const QString& code) {
  const QString start = QStringLiteral("<mezo eazon=\"") + code + QStringLiteral("\">");
  std::optional<QString> found;
  for (const QString& line : DocumentLines(bytes)) {
    const qsizetype at = line.indexOf(start);
    if (at < 0) continue;
    const qsizetype from = at + start.size();
    found = line.mid(from, line.indexOf(QStringLiteral("</mezo>"), from) - from);
  }
  return found;
}

inline int CountOf(const QByteArray& bytes, const char* text) {
  return int(bytes.count(text));
}

}  // namespace krinu::test
