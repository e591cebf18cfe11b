#include <gtest/gtest.h>

#include "declaration/form_frame.h"
#include "declaration/partner_sheet.h"
#include "declaration/xml_document.h"
#include "declaration_test_util.h"
#include "support/test_env.h"

namespace krinu {
namespace {

QByteArray TextBytes(const QString& text) {
  TXmlDocument doc;
  doc.Text(text);
  return QByteArray(doc.Bytes().data(), doc.Bytes().size());
}

TEST(EscapeXmlText, FourCharactersOnly) {
  EXPECT_EQ(EscapeXmlText(QStringLiteral("A & B <c> \"d\" O'Brien")),
            QStringLiteral("A &amp; B &lt;c&gt; &quot;d&quot; O'Brien"));
  EXPECT_EQ(EscapeXmlText(QStringLiteral("&amp;")), QStringLiteral("&amp;amp;"));
  EXPECT_EQ(EscapeXmlText(QStringLiteral("Árvíztűrő tükörfúrógép")),
            QStringLiteral("Árvíztűrő tükörfúrógép"));
}

TEST(XmlDocument, TextIsEscapedOnceAndEncoded) {
  const QString text = QStringLiteral("Kovács & \"Társa\" <Kft.> O'Brien ő €");
  EXPECT_EQ(TextBytes(text), EscapeXmlText(text).toUtf8());
  // a pair outside the first plane stays one four-byte character
  EXPECT_EQ(TextBytes(QString::fromUtf16(u"a\U0001F600b")), QByteArray("a\xF0\x9F\x98\x80"
                                                                       "b"));
}

TEST(XmlDocument, EscapesAndWideCharactersAtEveryPlaceOfARun) {
  for (const char16_t odd : {u'&', u'<', u'>', u'"', u'\x7F', u'\x80', u'ő', u'\xFFFE'}) {
    for (int length = 1; length <= 20; ++length) {
      for (int at = 0; at < length; ++at) {
        QString text(length, u'x');
        text[at] = QChar(odd);
        const QString kept =
            odd == u'\xFFFE' ? QString(text).replace(QChar(odd), QChar(0xFFFD)) : text;
        EXPECT_EQ(TextBytes(text), EscapeXmlText(kept).toUtf8())
            << int(odd) << " " << length << " " << at;
      }
    }
  }
}

TEST(XmlDocument, CharactersXmlCannotHoldBecomeReplacementCharacters) {
  const QByteArray fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(TextBytes(QString(QChar(0xFFFE)) + QChar(0xFFFF)), fffd + fffd);
  EXPECT_EQ(TextBytes(QString(QChar(0xD800)) + u'x'), fffd + "x");            // high without low
  EXPECT_EQ(TextBytes(QString(u'x') + QChar(0xDC00)), "x" + fffd);            // low alone
  EXPECT_EQ(TextBytes(QString(QChar(0xDBFF))), fffd);                         // high at the end
  EXPECT_EQ(TextBytes(QString(QChar(0xDC00)) + QChar(0xD800)), fffd + fffd);  // reversed pair
  EXPECT_EQ(TextBytes(QString(QChar(0xFFFD))), fffd);
}

TEST(XmlDocument, NumbersDatesAndLines) {
  TXmlDocument doc;
  doc.Number(0).Raw(" ").Number(-1234567890123LL).Raw(" ").Date(QDate(2024, 3, 5)).Raw(" ");
  doc.Date(DateTimeZero()).EndLine();
  doc.FieldNumber("0A0001E0004BA", 36);
  doc.Field("X", QStringLiteral("a&b"));
  doc.FieldDate("Y", QDate(987, 1, 2));
  EXPECT_EQ(doc.LineCount(), 4);
  EXPECT_EQ(doc.TakeBytes(), test::CrLf({"0 -1234567890123 20240305 18991230",
                                         "      <mezo eazon=\"0A0001E0004BA\">36</mezo>",
                                         "      <mezo eazon=\"X\">a&amp;b</mezo>",
                                         "      <mezo eazon=\"Y\">09870102</mezo>"}));
  EXPECT_EQ(doc.Size(), 0);
}

TEST(XmlDocument, GrowsPastItsReservation) {
  TXmlDocument doc;
  doc.Reserve(8);
  const QString value(5000, u'é');
  for (int i = 0; i < 100; ++i) doc.Field("C", value);
  const QByteArray bytes = doc.TakeBytes();
  EXPECT_EQ(bytes.size(), 100 * (19 + 1 + 2 + 5000 * 2 + 7 + 2));
  EXPECT_TRUE(bytes.endsWith(QByteArray("\xC3\xA9</mezo>\r\n")));
}

TEST(FormYear, FromTheYearOfThePeriodStart) {
  EXPECT_EQ(YearDigits(QDate(2024, 1, 1)), QStringLiteral("24"));
  EXPECT_EQ(YearDigits(QDate(2005, 12, 31)), QStringLiteral("05"));
  EXPECT_EQ(FormYear(QStringLiteral("24")), 24);
  EXPECT_EQ(FormYear(QStringLiteral("05")), 5);
  EXPECT_EQ(FormYear(QString()), 0);
  EXPECT_EQ(FormYear(QStringLiteral("2a")), 0);
  EXPECT_EQ(FormYear(QStringLiteral(" 4")), 0);
  EXPECT_EQ(FormVersionFor(QString()), QStringLiteral("1.0"));
  EXPECT_EQ(FormVersionFor(QStringLiteral("2.1")), QStringLiteral("2.1"));
}

TEST(ConvertAmount, ThousandsUpTo2024FortintsFrom2025HalvesAwayFromZero) {
  EXPECT_EQ(ConvertAmount(1234500, 24), 1235);
  EXPECT_EQ(ConvertAmount(400, 24), 0);
  EXPECT_EQ(ConvertAmount(499.999, 24), 0);
  EXPECT_EQ(ConvertAmount(500, 24), 1);
  EXPECT_EQ(ConvertAmount(-500, 24), -1);
  EXPECT_EQ(ConvertAmount(-1499, 0), -1);  // a year that is not a number counts as old
  EXPECT_EQ(ConvertAmount(1234500, 25), 1234500);
  EXPECT_EQ(ConvertAmount(2.5, 25), 3);  // not to even
  EXPECT_EQ(ConvertAmount(-2.5, 25), -3);
  EXPECT_EQ(ConvertAmount(-0.4, 25), 0);
  // adding one half rounds the largest double below 0.5 up, where std::round would not
  EXPECT_EQ(ConvertAmount(0.49999999999999994, 25), 1);
  EXPECT_EQ(ConvertAmount(-0.49999999999999994, 25), -1);
  EXPECT_EQ(ConvertAmount(1e300, 25), std::numeric_limits<qint64>::max());
  EXPECT_EQ(ConvertAmount(-1e300, 25), std::numeric_limits<qint64>::min());
}

}  // namespace
}  // namespace krinu
