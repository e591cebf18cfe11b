#include "content/input_load.h"

#include <gtest/gtest.h>

#include <QCollator>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <optional>

#include "content/content_test_util.h"

namespace krinu {
namespace {

using test::InputFile;

const TColumnSelection kAll{{1, 2, 3, 4, 5, 6}};
const QByteArray kHeader = "Adószám;Név;Dátum;Szám;Nettó;ÁFA\r\n";

class InputLoad : public ::testing::Test {
 protected:
  TLoadResult Load(const QByteArray& text, bool header = true,
                   const TColumnSelection& columns = kAll) {
    const TInputSettings settings =
        InputFile(dir_.filePath(QStringLiteral("in%1.csv").arg(++files_)), text, header);
    return LoadInputData(settings, columns, QStringLiteral("yyyy.mm.dd"), 0);
  }
  QTemporaryDir dir_;
  int files_ = 0;
};

TEST_F(InputLoad, GoodAndBadRecords) {
  const TLoadResult r = Load(kHeader +
                             "12345678;Alfa Kft;2020.01.15;S-1;1.000,00;270,00\r\n"
                             "12345678;Alfa Kft;2020.01.15;S-2;1.000,00;600,00\r\n"
                             "12345679;Béta Bt;2020.01.16;S-3;-1.000,00;-270,00\r\n"
                             "12345680;Gamma;2020.01.17;S-4;0;0\r\n"
                             "12345681;Delta;2020.01.18;S-5;1 000,00;100\r\n"
                             "12345682;Epszilon;2020.01.19;S-6;1000,00 Ft;100\r\n"
                             "12345678-1-23 ; Név ;2020.01.20; S-7 ;10;1\r\n"
                             "HU12345678;Zéta;2020.01.21;S-8;10;1\r\n"
                             "12345683;Éta;2020.02.30;S-9;10;1\r\n"
                             "12345678;ACME Kft;2020.01.15;S-1;1000;900\r\n");
  ASSERT_TRUE(r.Succeeded());
  ASSERT_EQ(r.AFAAdatList.size(), 5u);
  // Sorted by tax number: equal keys keep the file's order.
  const TAFAAdat& first = r.AFAAdatList[0];
  EXPECT_EQ(first.Adoszam, "12345678");
  EXPECT_EQ(first.Megnevezes, "Alfa Kft");
  EXPECT_EQ(first.Datum, QDate(2020, 1, 15));
  EXPECT_EQ(first.BizSzam, "S-1");
  EXPECT_EQ(first.AFAAlap, 1000);
  EXPECT_EQ(first.AFA, 270);
  EXPECT_TRUE(first.Enabled);
  EXPECT_EQ(first.Status, TAFAAdatStatus::stAFABase);
  // Trimmed tax number, name and invoice number as read.
  EXPECT_EQ(r.AFAAdatList[1].Adoszam, "12345678-1-23");
  EXPECT_EQ(r.AFAAdatList[1].Megnevezes, " Név ");
  EXPECT_EQ(r.AFAAdatList[1].BizSzam, " S-7 ");
  EXPECT_EQ(r.AFAAdatList[2].AFAAlap, -1000);
  EXPECT_EQ(r.AFAAdatList[3].AFAAlap, 0);
  EXPECT_EQ(r.AFAAdatList[4].AFAAlap, 1000);

  EXPECT_EQ(r.MissedRows,
            (QStringList{"12345678;Alfa Kft;2020.01.15;S-2;1.000,00;600,00",
                         "12345682;Epszilon;2020.01.19;S-6;1000,00 Ft;100",
                         "HU12345678;Zéta;2020.01.21;S-8;10;1", "12345683;Éta;2020.02.30;S-9;10;1",
                         "12345678;ACME Kft;2020.01.15;S-1;1000;900"}));
  ASSERT_EQ(r.Skipped.size(), 5u);
  // Numbered as the reader numbers records: the header is record 1.
  EXPECT_EQ(r.Skipped[0].RecordNumber, 3);
  EXPECT_EQ(r.Skipped[0].Reasons(), QStringList{"ÁFA > nettó/2"});
  EXPECT_EQ(r.Skipped[1].Reasons(), QStringList{"Nettó összeg"});
  EXPECT_EQ(r.Skipped[2].Reasons(), QStringList{"Adószám"});
  EXPECT_EQ(r.Skipped[3].RecordNumber, 10);
  EXPECT_EQ(r.Skipped[3].Reasons(), QStringList{"Dátum"});
  EXPECT_EQ(r.Skipped[4].FieldCount(), 6);
}

TEST_F(InputLoad, EveryFailingFieldIsAReason) {
  const TLoadResult r = Load("x;Név;2020.13.01;S;a;b\r\n", false);
  ASSERT_EQ(r.Skipped.size(), 1u);
  EXPECT_EQ(r.Skipped[0].RecordNumber, 1);
  EXPECT_EQ(r.Skipped[0].Reasons(),
            (QStringList{"Adószám", "Dátum", "Nettó összeg", "ÁFA összeg"}));
}

TEST_F(InputLoad, RecordNumbersMatchTheReadersMessages) {
  // Empty lines are ignored by the reader and not counted; a skipped record carries the
  // number the reader's message would give for that record.
  const QByteArray good = "12345678;A;2020.01.15;S;10;1\r\n";
  const QByteArray start = kHeader + good + "\r\n\r\n" + good + "\n";
  const TLoadResult skipped = Load(start + "bad;A;2020.01.15;S;10;1\r\n" + good);
  ASSERT_EQ(skipped.Skipped.size(), 1u);
  EXPECT_EQ(skipped.Skipped[0].RecordNumber, 4);

  const TLoadResult broken = Load(start + "bad;A;2020.01.15;S;10;1;surplus\r\n" + good);
  ASSERT_FALSE(broken.Succeeded());
  EXPECT_TRUE(broken.Outcome.Message().contains("Record #: 4;"))
      << broken.Outcome.Message().toStdString();
}

TEST_F(InputLoad, ReaderErrorEndsTheLoadKeepingWhatCameBefore) {
  const TLoadResult r = Load(kHeader +
                             "12345678;A;2020.01.15;S;10;1\r\n"
                             "12345678;A;2020.01.15;S;10;9\r\n"
                             "12345678;A;2020.01.15;S;10;1\r\n"
                             "12345677;A;2020.01.15;S;10;1\r\n"
                             "12345678;A;2020.01.15;S;10;1;7\r\n"
                             "12345678;A;2020.01.15;S;10;1\r\n");
  ASSERT_FALSE(r.Succeeded());
  EXPECT_TRUE(r.Outcome.Message().contains("Wrong number of fields."));
  EXPECT_EQ(r.AFAAdatList.size() + size_t(r.MissedRows.size()), 4u);
  EXPECT_EQ(r.MissedRows.size(), 1);
  // Not sorted: the load did not end.
  EXPECT_EQ(r.AFAAdatList.back().Adoszam, "12345677");

  const TInputSettings missing = InputFile(dir_.filePath("x.csv"), "", false);
  QFile::remove(missing.InputFileName);
  const TLoadResult none = LoadInputData(missing, kAll, "yyyy.mm.dd", 0);
  ASSERT_FALSE(none.Succeeded());
  EXPECT_TRUE(none.Outcome.Message().contains("x.csv"));
}

TEST_F(InputLoad, ManyRecordsAllAccountedFor) {
  QByteArray text = kHeader;
  for (int i = 0; i < 5000; ++i)
    text += QStringLiteral("%1;Partner %2 Kft;2021.%3.%4;SZ-%2;%5;%6\r\n")
                .arg(10000000 + (i * 7919) % 9000)
                .arg(i)
                .arg(1 + i % 12, 2, 10, QChar(u'0'))
                .arg(1 + i % 31, 2, 10, QChar(u'0'))
                .arg(QString::number(1000 + i) + ",50")
                .arg(i % 97 == 0 ? QStringLiteral("2000") : QStringLiteral("27"))
                .toUtf8();
  const TLoadResult r = Load(text);
  ASSERT_TRUE(r.Succeeded());
  EXPECT_EQ(r.AFAAdatList.size() + size_t(r.MissedRows.size()), 5000u);
  EXPECT_EQ(r.MissedRows.size(), r.Skipped.size());
  // 31 February and friends, and every 97th VAT.
  EXPECT_GT(r.MissedRows.size(), 52);
  EXPECT_TRUE(
      std::is_sorted(r.AFAAdatList.begin(), r.AFAAdatList.end(),
                     [](const TAFAAdat& a, const TAFAAdat& b) { return a.Adoszam < b.Adoszam; }));

  // A second load starts from nothing.
  const TLoadResult again = Load(kHeader + "12345678;A;2020.01.15;S;10;1\r\n");
  EXPECT_EQ(again.AFAAdatList.size(), 1u);
  EXPECT_TRUE(again.MissedRows.isEmpty());
}

TEST_F(InputLoad, LinesComeInTheStableKeyOrderAndOwnTheirText) {
  // keys of both forms, blanks inside, one a prefix of another, in no order; equal keys
  // must keep the order of the file
  const QStringList keys{"12345678-1-23", "12345678123", "12345678",     "12345678 1 23",
                         "12345678-123",  "99999999999", "00000001-1-01"};
  QByteArray text = kHeader;
  QList<std::pair<QString, QString>> fileOrder;  // key, invoice number
  QRandomGenerator random(7);
  for (int i = 0; i < 400; ++i) {
    const QString key = keys[random.bounded(keys.size())];
    const QString number = QStringLiteral("SZ-%1").arg(i);
    text += (key + QStringLiteral(";Név ") + QString::number(i % 3) +
             QStringLiteral(";2021.01.05;") + number + QStringLiteral(";100;27\r\n"))
                .toUtf8();
    fileOrder.append({key, number});
  }
  std::optional<TLoadResult> r = Load(text);
  ASSERT_TRUE(r->Succeeded());
  ASSERT_EQ(r->AFAAdatList.size(), 400u);
  std::stable_sort(fileOrder.begin(), fileOrder.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });

  // A copy keeps the text of its lines when the load's own list is gone.
  const TAFAAdatList copy = r->AFAAdatList;
  r.reset();
  for (std::size_t i = 0; i < copy.size(); ++i) {
    EXPECT_EQ(copy[i].Adoszam, fileOrder[qsizetype(i)].first) << i;
    EXPECT_EQ(copy[i].BizSzam, fileOrder[qsizetype(i)].second) << i;
  }
}

// The file is read on a second thread and handed over in blocks of records: what a load
// gives must not depend on where a block ends, for the records and for an error.
TEST_F(InputLoad, RecordsAndTheErrorComeInFileOrderAcrossTheReadingsBlocks) {
  const auto file = [](int records, int broken) {
    QByteArray text = kHeader;
    for (int k = 1; k <= records; ++k) {
      text += QByteArray::number(12345670 + k % 7) + ";N" + QByteArray::number(k % 3) +
              ";2021.01.05;S-" + QByteArray::number(k) + (k % 1000 == 0 ? ";100;90" : ";100;27") +
              (k == broken ? ";x" : "") + "\r\n";
    }
    return text;
  };
  const TLoadResult whole = Load(file(3 * 2048 + 5, 0));
  ASSERT_TRUE(whole.Succeeded());
  EXPECT_EQ(whole.AFAAdatList.size() + whole.Skipped.size(), 3u * 2048 + 5);
  ASSERT_EQ(whole.Skipped.size(), 6u);
  EXPECT_EQ(whole.Skipped[2].RecordNumber, 3001);  // the header is record 1
  for (std::size_t i = 1; i < whole.AFAAdatList.size(); ++i) {
    const TAFAAdat& a = whole.AFAAdatList[i - 1];
    const TAFAAdat& b = whole.AFAAdatList[i];
    ASSERT_TRUE(a.Adoszam < b.Adoszam ||
                (a.Adoszam == b.Adoszam &&
                 a.BizSzam.ToString().mid(2).toInt() < b.BizSzam.ToString().mid(2).toInt()))
        << i;
  }

  // A record one field too long right after two whole blocks: the load stops there, with the
  // records before it in file order.
  const TLoadResult broken = Load(file(3 * 2048 + 5, 2 * 2048 + 1));
  EXPECT_FALSE(broken.Succeeded());
  EXPECT_TRUE(broken.Outcome.Message().endsWith(
      QStringLiteral("Record #: 4098; Field #: 7 (both start from 1)")))
      << broken.Outcome.Message().toStdString();
  EXPECT_EQ(broken.AFAAdatList.size() + broken.Skipped.size(), 2u * 2048);
  EXPECT_EQ(broken.AFAAdatList.back().BizSzam, QStringLiteral("S-4096"));
}

TEST_F(InputLoad, OneFieldForTwoItemsGoesToTheFirst) {
  // Name and invoice number both on field 2; the date on no field at all.
  const TLoadResult r =
      Load("12345678;ACME;2020.01.15;S;10;1\r\n", false, TColumnSelection{{1, 2, 0, 2, 5, 6}});
  ASSERT_EQ(r.AFAAdatList.size(), 1u);
  EXPECT_EQ(r.AFAAdatList[0].Megnevezes, "ACME");
  EXPECT_EQ(r.AFAAdatList[0].BizSzam, "");
  EXPECT_EQ(r.AFAAdatList[0].Datum, DateTimeZero());
}

TAFAAdatList Lines(const QStringList& keys) {
  TAFAAdatList list;
  for (qsizetype i = 0; i < keys.size(); ++i) {
    TAFAAdat line;
    line.Adoszam = keys[i];
    line.BizSzam = QString::number(i);
    list.push_back(line);
  }
  return list;
}

QStringList Order(const TAFAAdatList& list) {
  QStringList out;
  for (const TAFAAdat& line : list) out << line.Adoszam.ToString() + "#" + line.BizSzam.ToString();
  return out;
}

TEST(SortAFAAdatList, StableInCharacterOrder) {
  TAFAAdatList list = Lines({"123456781 23", "12345678-1-23", "12345678", "12345678 1 23",
                             "12345678", "", "12345678-1-23"});
  SortAFAAdatList(list);
  EXPECT_EQ(Order(list), (QStringList{"#5", "12345678#2", "12345678#4", "12345678 1 23#3",
                                      "12345678-1-23#1", "12345678-1-23#6", "123456781 23#0"}));
  // Keys outside the tax-number alphabet take the general path, stable as well.
  list = Lines({"b", "A", "b", "12345678", "a"});
  SortAFAAdatList(list);
  EXPECT_EQ(Order(list), (QStringList{"12345678#3", "A#1", "a#4", "b#0", "b#2"}));
}

// The collation the list is specified with, against the fast order, on many generated keys
// with shared prefixes, blanks and hyphens.
TEST(SortAFAAdatList, EqualsTheLocaleCollationOnTaxNumbers) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "the reference is ICU's collation; Windows' own ignores hyphens, and the sort "
                  "uses neither (StableInCharacterOrder holds on every platform)";
#endif
  QCollator collator{QLocale(QLocale::Hungarian, QLocale::Hungary)};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  collator.setIgnorePunctuation(false);
  collator.setNumericMode(false);
  ASSERT_LT(collator.compare(QString("12345678"), QString("12345678 1 23")), 0);
  ASSERT_LT(collator.compare(QString("12345678 1 23"), QString("12345678-1-23")), 0);
  ASSERT_LT(collator.compare(QString("12345678-1-23"), QString("123456781 23")), 0);

  QRandomGenerator rng(2024);
  auto digits = [&](int n) {
    QString s;
    for (int i = 0; i < n; ++i) s += QChar(u'0' + rng.bounded(3));  // few digits: many ties
    return s;
  };
  auto sep = [&] {
    const int k = rng.bounded(3);
    return k == 0 ? QString() : k == 1 ? QString(" ") : QString("-");
  };
  QStringList keys;
  for (int i = 0; i < 20000; ++i) {
    QString key = QStringLiteral("1111") + digits(4);
    if (rng.bounded(3) != 0) key += sep() + digits(1) + sep() + digits(2);
    keys << key;
  }
  TAFAAdatList fast = Lines(keys);
  SortAFAAdatList(fast);
  TAFAAdatList collated = Lines(keys);
  std::stable_sort(collated.begin(), collated.end(), [&](const TAFAAdat& a, const TAFAAdat& b) {
    return collator.compare(a.Adoszam.ToString(), b.Adoszam.ToString()) < 0;
  });
  EXPECT_EQ(Order(fast), Order(collated));
}

TEST(InputLoadResultMessage, CountsAndPadding) {
  const TLoadResultMessage ok = InputLoadResultMessage(120, 0, "  XML ÁFA bevallás készítése ");
  EXPECT_EQ(ok.Kind, TMessageKind::Information);
  EXPECT_EQ(ok.Text,
            "Sikeres Input Fájl betöltés, 120 adatsor került betöltésre\n"
            "Továbbléphet a \"XML ÁFA bevallás készítése\" fülre az NAV bevallás "
            "elkészítéséhez\n"
            "(Előtte érdemes lehet ellenőrizni, hogy a szükséges input adatelemek (adószám, "
            "megnevezés, ...) beazonosítása valóban megfelelő)");

  const TLoadResultMessage partial = InputLoadResultMessage(120, 3, "XML ÁFA bevallás készítése");
  EXPECT_EQ(partial.Kind, TMessageKind::Warning);
  EXPECT_EQ(partial.Text,
            "Részben sikeres Input Fájl betöltés, \n"
            "120 adatsor került betöltésre\n"
            "003 adatsort nem sikerült betölteni\n"
            "Vagy próbáljon módosítani az Input Fájl-on, vagy annak feldolgozásán\n"
            "Vagy lépjen tovább a \"XML ÁFA bevallás készítése\" fülre az NAV bevallás "
            "elkészítéséhez a betöltött adatsorok felhasználásával\n"
            "(Előtte érdemes lehet ellenőrizni, hogy a szükséges input adatelemek (adószám, "
            "megnevezés, ...) beazonosítása valóban megfelelő)");
  EXPECT_TRUE(InputLoadResultMessage(7, 1234, "T")
                  .Text.startsWith("Részben sikeres Input Fájl betöltés, \n0007 adatsor került "
                                   "betöltésre\n1234 adatsort"));
}

TEST(CurrencyColumn, FoundByItsHeaderOrByCurrencyCodesButNotAmongTheAssignedFields) {
  TPreviewGrid g;
  g.Resize(3, 4);
  g.Cells[0] = QStringList{"Adószám", "Kód", "Deviza", "Egyéb"};
  g.Cells[1] = QStringList{"1", "AAM", "", "EUR"};
  g.Cells[2] = QStringList{"2", "TAM", "", "Ft"};
  const TColumnSelection none{};
  EXPECT_EQ(FindCurrencyColumn(g, true, none), 3);  // by its header, though empty
  g.Cells[0][2] = QStringLiteral("Megjegyzés");
  // By its values: VAT exemption codes are no currencies.
  EXPECT_EQ(FindCurrencyColumn(g, true, none), 4);
  EXPECT_EQ(FindCurrencyColumn(g, true, TColumnSelection{{1, 0, 0, 0, 4, 0}}), 0);
  EXPECT_TRUE(IsForint(QStringLiteral(" huf ")));
  EXPECT_TRUE(IsForint(QStringLiteral("Ft")));
  EXPECT_TRUE(IsForint(QString()));
  EXPECT_FALSE(IsForint(QStringLiteral("EUR")));
}

}  // namespace
}  // namespace krinu
