// The document written as it is built: the same bytes as the document built whole, and a
// failure part-way through that leaves the previous file as it was.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "declaration/declaration_run.h"
#include "declaration/main_sheet.h"
#include "declaration/partner_sheet.h"
#include "declaration_test_util.h"
#include "support/file_size_limit.h"
#include "support/test_env.h"

namespace krinu {
namespace {

using test::Line;

// Two partners, one with more than two pages of rows and names long enough to overflow
// a small buffer on their own.
TAFAAdatList Lines() {
  const QDate d(2024, 2, 3);
  TAFAAdatList list;
  const QString longName = QStringLiteral("Hosszú & \"nevű\" <Kft> ").repeated(40);
  for (int i = 0; i < 80; ++i)
    list.push_back(Line("10000000-1-11", longName, d, QString::number(i), 1000.0 * i, 270.0 * i));
  list.push_back(Line("20000000-2-22", "Kettő Bt", d, "B/1", 5000, 1350));
  return list;
}

const QStringList kPartners = {QStringLiteral("10000000-1-11"), QStringLiteral("20000000-2-22")};

TEST(XmlDocumentSink, ChunksAddUpToTheWholeDocumentAndAFailureDropsTheRest) {
  const TAFAAdatList list = Lines();
  const QByteArray whole = BuildDeclarationDocument(test::Taxpayer(), test::Administrator(),
                                                    test::Params(2023), list, kPartners);
  for (const qsizetype chunk : {qsizetype(4096), qsizetype(16384), qsizetype(1) << 20}) {
    QByteArray streamed;
    int calls = 0;
    TXmlDocument doc;
    doc.SetSink(
        [&](QByteArrayView bytes) {
          ++calls;
          streamed.append(bytes);
          return true;
        },
        chunk);
    const TReturn r =
        BuildReturn(test::Taxpayer(), test::Administrator(), test::Params(2023), list, kPartners);
    AddDocumentStart(doc);
    AddMainSheet(doc, r);
    for (const TPartnerSheet& sheet : r.Sheets) AddPartnerSheet(doc, r, sheet);
    AddDocumentEnd(doc);
    EXPECT_TRUE(doc.Flush());
    EXPECT_EQ(streamed, whole) << "chunk " << chunk;
    EXPECT_EQ(doc.Size(), 0);
    if (chunk < whole.size()) {
      EXPECT_GT(calls, 1);
    }
  }

  // A sink that fails once is not called again; the failure is remembered.
  int calls = 0;
  TXmlDocument doc;
  doc.SetSink(
      [&](QByteArrayView) {
        ++calls;
        return calls < 2;
      },
      64);
  for (int i = 0; i < 1000; ++i) doc.Line(2, "<nyomtatvany>");  // 17 kB: a few buffers
  EXPECT_TRUE(doc.SinkFailed());
  EXPECT_FALSE(doc.Flush());
  EXPECT_EQ(calls, 2);
}

// Dates are formatted once per day and kept by day: days 1024 apart share a slot.
TEST(XmlDocument, DatesSharingACacheSlotStayApart) {
  const QDate a(2024, 1, 10);
  const QDate b = a.addDays(1024);
  TXmlDocument doc;
  for (const QDate d : {a, b, a, a, b, DateTimeZero(), b}) doc.Date(d).Raw(" ");
  EXPECT_EQ(doc.TakeBytes(),
            QByteArray("20240110 20261030 20240110 20240110 20261030 18991230 20261030 "));
}

TEST(WriteDeclarationDocument, SameBytesAsTheWholeDocumentAndAPartWayFailureKeepsThePrevious) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.xml"));
  TAFAAdatList list = Lines();
  for (int i = 0; i < 20000; ++i)  // a few megabytes: more than one buffer
    list.push_back(Line("30000000-3-33", "Sok", QDate(2024, 2, 3), QString::number(i), 1, 0));
  const QStringList partners = kPartners + QStringList{QStringLiteral("30000000-3-33")};
  const QByteArray whole = BuildDeclarationDocument(test::Taxpayer(), test::Administrator(),
                                                    test::Params(2024), list, partners);
  ASSERT_GT(whole.size(), 3 << 20);
  test::WriteFile(path, "previous");
  EXPECT_EQ(test::ErrorOf(WriteDeclarationDocument(path, test::Taxpayer(), test::Administrator(),
                                                   test::Params(2024), list, partners)),
            std::nullopt);
  EXPECT_EQ(test::ReadFile(path), whole);

  std::optional<QString> error;
#ifndef Q_OS_WIN  // no file size limit there
  test::WriteFile(path, "previous");
  {
    test::FileSizeLimit full(1 << 20);
    error = test::ErrorOf(WriteDeclarationDocument(path, test::Taxpayer(), test::Administrator(),
                                                   test::Params(2024), list, partners));
  }
  ASSERT_TRUE(error);
  EXPECT_TRUE(error->startsWith(QStringLiteral("Nem sikerült kiírni a fájlt: ") + path + u'\n'));
  EXPECT_EQ(test::ReadFile(path), QByteArray("previous"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.xml"});
#endif

  // Not even opened: a folder stands where the file's folder should be.
  test::WriteFile(dir.filePath(QStringLiteral("plain")), "keep");
  error = test::ErrorOf(WriteDeclarationDocument(dir.filePath(QStringLiteral("plain/out.xml")),
                                                 test::Taxpayer(), test::Administrator(),
                                                 test::Params(2024), list, partners));
  ASSERT_TRUE(error);
  EXPECT_TRUE(error->contains(QDir::toNativeSeparators(QStringLiteral("plain/out.xml"))));
}

}  // namespace
}  // namespace krinu
