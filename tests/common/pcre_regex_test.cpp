#include <gtest/gtest.h>

#include "common/pcre_regex.h"

namespace krinu {
namespace {

TEST(PcreRegex, AnchoredDigitsAreAsciiOnly) {
  EXPECT_TRUE(PcreRegex::Matches(QStringLiteral("^\\d{11}$"), QStringLiteral("19345678910")));
  EXPECT_FALSE(PcreRegex::Matches(QStringLiteral("^\\d{11}$"), QStringLiteral(" 19345678910")));
  // Arabic-Indic digits are no digits here
  EXPECT_FALSE(PcreRegex::Matches(QStringLiteral("^\\d$"), QString(QChar(0x0663))));
}

TEST(PcreRegex, CaseOptionAndBrokenInput) {
  PcreRegex caseless(true);
  ASSERT_TRUE(caseless.SetPattern(QStringLiteral("\\bKft\\b|részvény")));
  EXPECT_TRUE(caseless.Match(QStringLiteral("Zuhanó KFT.")));
  EXPECT_TRUE(caseless.Match(QStringLiteral("Zuhanó RÉSZVÉNY")));
  EXPECT_FALSE(caseless.Match(QStringLiteral("Kftx")));
  // a lone surrogate in the subject must not break matching
  QString broken = QStringLiteral("ab Kft");
  broken.insert(0, QChar(0xD800));
  EXPECT_TRUE(caseless.Match(broken));

  PcreRegex bad;
  EXPECT_FALSE(bad.SetPattern(QStringLiteral("(")));
  EXPECT_FALSE(bad.ErrorText().isEmpty());
  EXPECT_FALSE(bad.Match(QStringLiteral("(")));
}

}  // namespace
}  // namespace krinu
