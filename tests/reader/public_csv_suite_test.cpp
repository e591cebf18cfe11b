// Reads every file of the public csv-spectrum suite (npm package, installed into the build
// tree by test.sh) and compares each record with the suite's JSON.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "reader/csv_reader.h"
#include "reader_test_util.h"

namespace krinu::test {
namespace {

using namespace Qt::StringLiterals;

TEST(CsvSpectrum, EveryFileMatchesItsJson) {
  const QDir suite(QStringLiteral(KRINU_CSV_SPECTRUM_DIR));
  if (!suite.exists(u"csvs"_s)) {
    if (qEnvironmentVariableIsSet("KRINU_NO_NETWORK"))
      GTEST_SKIP() << "csv-spectrum is not installed and KRINU_NO_NETWORK is set";
    FAIL() << "csv-spectrum is missing from " << suite.path().toStdString()
           << "; ./test.sh installs it with npm (set KRINU_NO_NETWORK to skip this test)";
  }
  const QStringList files = QDir(suite.filePath(u"csvs"_s)).entryList({u"*.csv"_s}, QDir::Files);
  EXPECT_GE(files.size(), 11);
  // Every case of the suite agrees with our rules (the first line is the header here, the
  // JSON keys name the fields), so nothing is pinned to a result of our own.
  for (const QString& file : files) {
    SCOPED_TRACE(file.toStdString());
    QFile json(suite.filePath(u"json/"_s + QString(file).replace(u".csv"_s, u".json"_s)));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    const QJsonArray expected = QJsonDocument::fromJson(json.readAll()).array();

    TqdxCSVFileReader reader;
    reader.SetFile(suite.filePath(u"csvs/"_s + file));
    reader.SetFieldSeparatorCharCode(u',');
    reader.SetUseFieldQuoting(true);
    reader.SetHeaderPresent(false);
    try {
      reader.Open();
      ASSERT_FALSE(reader.Eof());
      QStringList header;
      for (int i = 0; i < reader.FieldCount(); ++i) header << reader.Fields(i).Value();
      reader.Next();
      qsizetype row = 0;
      for (; !reader.Eof(); reader.Next(), ++row) {
        ASSERT_LT(row, expected.size()) << "more records than the JSON has";
        const QJsonObject object = expected[row].toObject();
        EXPECT_EQ(object.size(), header.size()) << row;
        for (int i = 0; i < header.size(); ++i) {
          EXPECT_EQ(reader.Fields(i).Value(), object.value(header[i]).toString())
              << "record " << row << " field " << header[i].toStdString();
        }
      }
      EXPECT_EQ(row, expected.size());
    } catch (const EqdxCSVException& e) {
      ADD_FAILURE() << e.what();
    }
  }
}

}  // namespace
}  // namespace krinu::test
