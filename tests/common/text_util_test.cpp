#include <gtest/gtest.h>

#include "common/text_util.h"

namespace krinu {
namespace {

QStringList Split(const QString& text) {
  QStringList list;
  SplitToList(text, list, QStringLiteral(","));
  return list;
}

TEST(SplitToList, PiecesBetweenSeparators) {
  EXPECT_EQ(Split(QString()), QStringList());
  EXPECT_EQ(Split(QStringLiteral("a")), QStringList{QStringLiteral("a")});
  EXPECT_EQ(Split(QStringLiteral("a,b")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
  // two separators in a row give an empty piece; one at the end gives none
  EXPECT_EQ(Split(QStringLiteral("a,,b,")),
            (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
  // one at the start gives an empty first piece; pieces are not trimmed
  EXPECT_EQ(Split(QStringLiteral(",a, b")),
            (QStringList{QString(), QStringLiteral("a"), QStringLiteral(" b")}));
  EXPECT_EQ(Split(QStringLiteral(",")), QStringList{QString()});
}

TEST(SplitToList, AppendsWithoutClearing) {
  QStringList list{QStringLiteral("x")};
  SplitToList(QStringLiteral("y;;z"), list, QStringLiteral(";;"));
  EXPECT_EQ(list, (QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}));
}

TEST(TextCase, UpperCasing) {
  EXPECT_EQ(AnsiUpperCase(QStringLiteral("Adószám őű")), QStringLiteral("ADÓSZÁM ŐŰ"));
  EXPECT_EQ(AsciiUpperCase(QStringLiteral("zuhanó á")), QStringLiteral("ZUHANó á"));
}

TEST(TextCase, ZeroPadded) {
  EXPECT_EQ(ZeroPadded(7, 4), QStringLiteral("0007"));
  EXPECT_EQ(ZeroPadded(12345, 4), QStringLiteral("12345"));
}

}  // namespace
}  // namespace krinu
