#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace krinu::test {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

QString BinDir() {
  QString dir = QStringLiteral(KRINU_BIN_DIR);
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}

QByteArray UndecidableDateExport(int year, int month, const QByteArray& separator) {
  QByteArray text = "Adószám;Megnevezés;Dátum;Bizonylat szám;Nettó alap;ÁFA összeg\r\n";
  for (int day = 1; day <= 12; ++day)
    text += "1111111" + QByteArray::number(day % 10) + "-2-41;Partner " + QByteArray::number(day) +
            " Kft;" + QByteArray::number(month) + "/" +
            QByteArray::number(day).rightJustified(2, '0') + "/" + QByteArray::number(year) +
            ";SZ/" + QByteArray::number(day) + ";1.000,00;270,00\r\n";
  text.replace(";", separator);
  return text;
}

}  // namespace krinu::test
