#include <gtest/gtest.h>

#include "declaration/declaration_run.h"
#include "declaration/main_sheet.h"
#include "declaration/partner_sheet.h"
#include "declaration_test_util.h"
#include "support/test_env.h"

namespace krinu {
namespace {

using test::CrLf;
using test::FieldValue;
using test::Line;

QByteArray PartnerSheet(const TAFAAdatList& list, const QString& partner,
                        const TDeclarationParams& params) {
  TXmlDocument doc;
  const TReturn r = BuildReturn(test::Taxpayer(), test::Administrator(), params, list, {partner});
  for (const TPartnerSheet& sheet : r.Sheets) AddPartnerSheet(doc, r, sheet);
  return doc.TakeBytes();
}

TEST(MainSheet, WholeDocumentWithoutPartners2024) {
  const QByteArray bytes =
      BuildDeclarationDocument(test::Taxpayer(), test::Administrator(), test::Params(2024), {}, {});
  const QByteArray expected = CrLf({
      R"(<?xml version="1.0" encoding="utf-8"?>)",
      R"(  <nyomtatvanyok xmlns="http://www.apeh.hu/abev/nyomtatvanyok/2005/01">)",
      R"(  <nyomtatvany>)",
      R"(    <nyomtatvanyinformacio>)",
      R"(      <nyomtatvanyazonosito>2465A</nyomtatvanyazonosito>)",
      R"(      <nyomtatvanyverzio>1.0</nyomtatvanyverzio>)",
      R"(      <adozo>)",
      R"(        <nev>Kovács &amp; Társa Kft.</nev>)",
      R"(        <adoszam>12345678242</adoszam>)",
      R"(      </adozo>)",
      R"(      <idoszak>)",
      R"(        <tol>20240101</tol>)",
      R"(        <ig>20240331</ig>)",
      R"(      </idoszak>)",
      R"(    </nyomtatvanyinformacio>)",
      R"(    <mezok>)",
      R"(      <mezo eazon="0A0001E001A">12345678242</mezo>)",
      R"(      <mezo eazon="0A0001E006A">Kovács &amp; Társa Kft.</mezo>)",
      R"(      <mezo eazon="0A0001E007A">O'Brien Éva</mezo>)",
      R"(      <mezo eazon="0A0001E008A">+36 1 234 5678</mezo>)",
      R"(      <mezo eazon="0A0001G001A">11700000</mezo>)",
      R"(      <mezo eazon="0A0001G002A">12345678</mezo>)",
      R"(      <mezo eazon="0A0001G003A">OTP Bank</mezo>)",
      R"(      <mezo eazon="0A0001F001A">20240101</mezo> <!-- Bevallasi idoszak eleje -->)",
      R"(      <mezo eazon="0A0001F002A">20240331</mezo> <!-- Bevallasi idoszak vege  -->)",
      R"(    </mezok>)",
      R"(  </nyomtatvany>)",
      R"(</nyomtatvanyok>)",
  });
  EXPECT_EQ(QString::fromUtf8(bytes), QString::fromUtf8(expected));
}

TEST(MainSheet, From2025TheNameAndAdministratorFieldsMoveUp) {
  TDeclarationParams params = test::Params(2025);
  params.PeriodEnd = QDate(2026, 1, 31);  // the year of the end plays no part
  params.FormVersion = QStringLiteral("2.0 <b>");
  TXmlDocument doc;
  AddMainSheet(doc, BuildReturn(test::Taxpayer(), test::Administrator(), params, {}, {}));
  const QByteArray bytes = doc.TakeBytes();
  EXPECT_TRUE(bytes.contains("<nyomtatvanyazonosito>2565A</nyomtatvanyazonosito>"));
  EXPECT_TRUE(bytes.contains("<nyomtatvanyverzio>2.0 &lt;b&gt;</nyomtatvanyverzio>"));
  EXPECT_EQ(FieldValue(bytes, "0A0001E006A"), std::nullopt);
  EXPECT_EQ(FieldValue(bytes, "0A0001E007A"), QStringLiteral("Kovács &amp; Társa Kft."));
  EXPECT_EQ(FieldValue(bytes, "0A0001E008A"), QStringLiteral("O'Brien Éva"));
  EXPECT_EQ(FieldValue(bytes, "0A0001E009A"), QStringLiteral("+36 1 234 5678"));
  EXPECT_TRUE(bytes.contains(
      "      <mezo eazon=\"0A0001F002A\">20260131</mezo> <!-- Bevallasi idoszak vege  -->\r\n"));
}

TEST(PartnerSheet, WholeDocumentWithOneRow2024) {
  const TAFAAdatList list{Line(QStringLiteral("12345678-1-23"), QStringLiteral("Alfa \"Bt\""),
                               QDate(2024, 2, 10), QStringLiteral("SZ<1>"), 1234500, 333315)};
  const QByteArray bytes =
      BuildDeclarationDocument(test::Taxpayer(), test::Administrator(), test::Params(2024), list,
                               {QStringLiteral("12345678-1-23")});
  const QByteArray expectedSheet = CrLf({
      R"(  <nyomtatvany>)",
      R"(    <nyomtatvanyinformacio>)",
      R"(      <nyomtatvanyazonosito>2465M</nyomtatvanyazonosito>)",
      R"(      <nyomtatvanyverzio>1.0</nyomtatvanyverzio>)",
      R"(      <adozo>)",
      R"(        <nev>Kovács &amp; Társa Kft.</nev>)",
      R"(        <adoszam>12345678242</adoszam>)",
      R"(      </adozo>)",
      R"(      <albizonylatazonositas>)",
      R"(        <megnevezes>Alfa &quot;Bt&quot;</megnevezes>)",
      R"(        <azonosito>12345678</azonosito>)",
      R"(      </albizonylatazonositas>)",
      R"(      <idoszak>)",
      R"(        <tol>20240101</tol>)",
      R"(        <ig>20240331</ig>)",
      R"(      </idoszak>)",
      R"(    </nyomtatvanyinformacio>)",
      R"(    <mezok>)",
      R"(      <mezo eazon="0A0001C001A">12345678242</mezo>)",
      R"(      <mezo eazon="0A0001C004A">Kovács &amp; Társa Kft.</mezo>)",
      R"(      <mezo eazon="0A0001C005A">12345678</mezo>)",
      R"(      <mezo eazon="0A0001C006A">Alfa &quot;Bt&quot;</mezo>)",
      R"(      <mezo eazon="0A0001D001A">20240101</mezo>)",
      R"(      <mezo eazon="0A0001D002A">20240331</mezo>)",
      R"(      <mezo eazon="0B0001B001A">1</mezo>)",
      R"(      <mezo eazon="0B0001B002A">12345678242</mezo>)",
      R"(      <mezo eazon="0B0001B004A">20240101</mezo>)",
      R"(      <mezo eazon="0B0001B005A">20240331</mezo>)",
      R"(      <mezo eazon="0B0001C0001AA">SZ&lt;1&gt;</mezo>)",
      R"(      <mezo eazon="0B0001C0001BA">20240210</mezo>)",
      R"(      <mezo eazon="0B0001C0001CA">1235</mezo>)",
      R"(      <mezo eazon="0B0001C0001DA">333</mezo>)",
      R"(      <mezo eazon="0B0001C0037CA">1235</mezo>)",
      R"(      <mezo eazon="0B0001C0037DA">333</mezo>)",
      R"(<!-- 1965M fedlap összesítő adatok -->)",
      R"(      <mezo eazon="0A0001E0004BA">1</mezo>)",
      R"(      <mezo eazon="0A0001E0004CA">1235</mezo>)",
      R"(      <mezo eazon="0A0001E0004DA">333</mezo>)",
      R"(      <mezo eazon="0A0001E0007BA">1</mezo>)",
      R"(      <mezo eazon="0A0001E0007CA">1235</mezo>)",
      R"(      <mezo eazon="0A0001E0007DA">333</mezo>)",
      R"(      <mezo eazon="0C0001B001A">1</mezo>)",
      R"(      <mezo eazon="0C0001B002A">12345678242</mezo>)",
      R"(      <mezo eazon="0C0001B004A">20240101</mezo>)",
      R"(      <mezo eazon="0C0001B005A">20240331</mezo>)",
      R"(    </mezok>)",
      R"(  </nyomtatvany>)",
  });
  const qsizetype sheetAt = bytes.lastIndexOf("  <nyomtatvany>\r\n");
  ASSERT_GT(sheetAt, 0);
  EXPECT_EQ(QString::fromUtf8(bytes.mid(sheetAt)),
            QString::fromUtf8(expectedSheet + "</nyomtatvanyok>\r\n"));
}

TEST(PartnerSheet, NamesComeFromTheFirstTheOpeningAndTheLastEntry2023) {
  // The first and the last entry are excluded; they still name the sheet and the cover page.
  TAFAAdatList list;
  const QString key = QStringLiteral("87654321-2-41");
  list.push_back(Line(key, QStringLiteral("Régi Név"), QDate(2023, 1, 5), "R0", 1000, 270, false));
  for (int i = 1; i <= 37; ++i)
    list.push_back(Line(key, QStringLiteral("Név %1").arg(i), QDate(2023, 1, 5),
                        QStringLiteral("B%1").arg(i), 1000, 270));
  list.push_back(Line(key, QStringLiteral("Utolsó & Co"), QDate(2023, 1, 5), "U", 9, 9, false));
  list.push_back(Line(QStringLiteral("99999999-2-41"), "Más", QDate(2023, 1, 5), "M", 9, 9));
  const QByteArray bytes = PartnerSheet(list, key, test::Params(2023));

  EXPECT_TRUE(bytes.contains("        <megnevezes>Régi Név</megnevezes>\r\n"));
  EXPECT_TRUE(bytes.contains("        <azonosito>87654321</azonosito>\r\n"));
  EXPECT_EQ(FieldValue(bytes, "0A0001C005A"), QStringLiteral("87654321"));
  EXPECT_EQ(FieldValue(bytes, "0A0001C006A"), QStringLiteral("Régi Név"));
  // up to 2023 every page header names the taxpayer and the partner
  EXPECT_EQ(FieldValue(bytes, "0B0001B006A"), QStringLiteral("Kovács &amp; Társa Kft."));
  EXPECT_EQ(FieldValue(bytes, "0B0001B007A"), QStringLiteral("87654321"));
  EXPECT_EQ(FieldValue(bytes, "0B0001B009A"), QStringLiteral("Régi Név"));
  EXPECT_EQ(FieldValue(bytes, "0B0002B001A"), QStringLiteral("2"));
  EXPECT_EQ(FieldValue(bytes, "0B0002B009A"), QStringLiteral("Név 37"));
  EXPECT_EQ(FieldValue(bytes, "0C0001B009A"), QStringLiteral("Utolsó &amp; Co"));
  EXPECT_EQ(FieldValue(bytes, "0C0001B007A"), QStringLiteral("87654321"));
  // page 2's header comes right before its one row
  const QStringList lines = test::DocumentLines(bytes);
  const qsizetype row = lines.indexOf(R"(      <mezo eazon="0B0002C0001AA">B37</mezo>)");
  ASSERT_GT(row, 0);
  EXPECT_EQ(lines[row - 1], R"(      <mezo eazon="0B0002B009A">Név 37</mezo>)");
  EXPECT_EQ(lines[row - 7], R"(      <mezo eazon="0B0002B001A">2</mezo>)");
  EXPECT_EQ(lines[row - 8], R"(      <mezo eazon="0B0001C0036DA">0</mezo>)");
  EXPECT_FALSE(bytes.contains("R0<") || bytes.contains(">U<") || bytes.contains(">M<"));
}

TEST(PartnerSheet, ThirtySixRowsFillOnePageThirtySevenOpenASecond) {
  const QString key = QStringLiteral("11111111-1-11");
  TAFAAdatList list;
  for (int i = 0; i < 36; ++i)
    list.push_back(Line(key, "P", QDate(2024, 1, 2), QString::number(i), 1000, 270));
  QByteArray bytes = PartnerSheet(list, key, test::Params(2024));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0036AA"), QStringLiteral("35"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0037CA"), QStringLiteral("36"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0037DA"), QStringLiteral("0"));  // 36 x 0.27 rounds to 0
  EXPECT_EQ(FieldValue(bytes, "0B0002B001A"), std::nullopt);
  EXPECT_EQ(FieldValue(bytes, "0A0001E0004BA"), QStringLiteral("36"));
  // from 2024 the page headers hold only the four fields
  EXPECT_EQ(test::CountOf(bytes, "B006A"), 0);
  EXPECT_EQ(test::CountOf(bytes, "B007A"), 0);
  EXPECT_EQ(test::CountOf(bytes, "B009A"), 0);

  list.push_back(Line(key, "P", QDate(2024, 1, 2), QStringLiteral("36"), 1000, 270));
  bytes = PartnerSheet(list, key, test::Params(2024));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0037CA"), std::nullopt);
  EXPECT_EQ(FieldValue(bytes, "0B0002B001A"), QStringLiteral("2"));
  EXPECT_EQ(FieldValue(bytes, "0B0002C0001AA"), QStringLiteral("36"));
  EXPECT_EQ(FieldValue(bytes, "0B0002C0002AA"), std::nullopt);
  EXPECT_EQ(FieldValue(bytes, "0B0002C0037CA"), QStringLiteral("37"));
  EXPECT_EQ(FieldValue(bytes, "0A0001E0007BA"), QStringLiteral("37"));
  EXPECT_EQ(FieldValue(bytes, "0C0001B001A"), QStringLiteral("1"));
  EXPECT_EQ(test::CountOf(bytes, "B001A\">"), 3);
}

TEST(PartnerSheet, AmountsAndTotalsByYear) {
  const QString key = QStringLiteral("22222222-2-22");
  const TAFAAdatList list{Line(key, "P", QDate(2024, 1, 2), "A", 1234500, -1500),
                          Line(key, "P", QDate(2024, 1, 2), "B", 400, 400),
                          Line(key, "P", QDate(2024, 1, 2), "C", 400, 400),
                          Line(key, "P", QDate(2024, 1, 2), "D", 400, 400)};
  QByteArray bytes = PartnerSheet(list, key, test::Params(2024));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0001CA"), QStringLiteral("1235"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0001DA"), QStringLiteral("-2"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0002CA"), QStringLiteral("0"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0037CA"), QStringLiteral("1235"));  // three 400s give 0
  EXPECT_EQ(FieldValue(bytes, "0B0001C0037DA"), QStringLiteral("-2"));
  EXPECT_EQ(FieldValue(bytes, "0A0001E0004CA"), QStringLiteral("1235"));

  TAFAAdatList later = list;
  for (TAFAAdat& line : later) line.Datum = QDate(2025, 1, 2);
  bytes = PartnerSheet(later, key, test::Params(2025));
  EXPECT_TRUE(bytes.contains("<nyomtatvanyazonosito>2565M</nyomtatvanyazonosito>"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0001CA"), QStringLiteral("1234500"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0001DA"), QStringLiteral("-1500"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0004CA"), QStringLiteral("400"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0037CA"), QStringLiteral("1235700"));
  EXPECT_EQ(FieldValue(bytes, "0A0001E0007DA"), QStringLiteral("-300"));
  EXPECT_EQ(FieldValue(bytes, "0B0001C0001BA"), QStringLiteral("20250102"));
}

TEST(PartnerSheet, GeneralPartLayoutUpTo2020AndFrom2021) {
  const QString key = QStringLiteral("33333333-3-33");
  const TAFAAdatList list{Line(key, "Partner", QDate(2020, 5, 6), "A", 1000, 270)};
  QByteArray bytes = PartnerSheet(list, key, test::Params(2020));
  QStringList fields;
  for (const QString& line : test::DocumentLines(bytes))
    if (line.contains(QStringLiteral("\"0A0001C"))) fields << line.trimmed();
  EXPECT_EQ(fields, (QStringList{R"(<mezo eazon="0A0001C001A">12345678242</mezo>)",
                                 R"(<mezo eazon="0A0001C005A">Kovács &amp; Társa Kft.</mezo>)",
                                 R"(<mezo eazon="0A0001C006A">33333333</mezo>)",
                                 R"(<mezo eazon="0A0001C008A">Partner</mezo>)"}));
  bytes = PartnerSheet(list, key, test::Params(2021));
  EXPECT_EQ(FieldValue(bytes, "0A0001C004A"), QStringLiteral("Kovács &amp; Társa Kft."));
  EXPECT_EQ(FieldValue(bytes, "0A0001C005A"), QStringLiteral("33333333"));
  EXPECT_EQ(FieldValue(bytes, "0A0001C006A"), QStringLiteral("Partner"));
  EXPECT_EQ(FieldValue(bytes, "0A0001C008A"), std::nullopt);
}

TEST(PartnerSheet, ShortTaxNumberAndMissingPartner) {
  const TAFAAdatList list{Line(QStringLiteral("1234"), "Rövid", QDate(2024, 1, 2), "A", 1, 1),
                          Line(QStringLiteral("5678"), "Más", QDate(2024, 1, 2), "B", 1, 1)};
  const QByteArray bytes = PartnerSheet(list, QStringLiteral("1234"), test::Params(2024));
  EXPECT_TRUE(bytes.contains("<azonosito>1234</azonosito>"));
  EXPECT_EQ(test::CountOf(bytes, "C0001AA"), 1);
  EXPECT_TRUE(PartnerSheet(list, QStringLiteral("12"), test::Params(2024)).isEmpty());
  EXPECT_TRUE(PartnerSheet({}, QStringLiteral("1234"), test::Params(2024)).isEmpty());
}

TEST(PartnerSheet, FirstEntryFoundByBinarySearchIsTheFirstOfItsKey) {
  TAFAAdatList list;
  for (const char* key : {"1", "12", "12", "12", "13", "2", "2"})
    list.push_back(Line(QString::fromLatin1(key), "", QDate(2024, 1, 1), "", 0, 0));
  for (std::size_t i = 0; i < list.size(); ++i) {
    std::size_t linear = 0;
    while (list[linear].Adoszam != list[i].Adoszam) ++linear;
    EXPECT_EQ(FirstEntryOf(list, list[i].Adoszam.ToString()), linear);
  }
  EXPECT_EQ(FirstEntryOf(list, QStringLiteral("11")), list.size());
  EXPECT_EQ(FirstEntryOf(list, QStringLiteral("3")), list.size());
}

}  // namespace
}  // namespace krinu
