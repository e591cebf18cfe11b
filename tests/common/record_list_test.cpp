#include <gtest/gtest.h>

#include "common/record_list.h"

namespace krinu {
namespace {

TEST(RecordList, InsertionOrderKeepsDuplicates) {
  TRecordList<int> list;
  list.Add(QStringLiteral("b"), std::make_unique<int>(1));
  list.Add(QStringLiteral("a"), std::make_unique<int>(2));
  list.Add(QStringLiteral("b"), std::make_unique<int>(3));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Key(1), QStringLiteral("a"));
  EXPECT_EQ(*list.Object(2), 3);
}

TEST(RecordList, SortedIgnoresOrRefusesDuplicates) {
  TRecordList<int> ignoring(true, DuplicateKeys::Ignore);
  EXPECT_EQ(ignoring.Add(QStringLiteral("0002"), std::make_unique<int>(2)), 0);
  EXPECT_EQ(ignoring.Add(QStringLiteral("0001"), std::make_unique<int>(1)), 0);
  EXPECT_EQ(ignoring.Add(QStringLiteral("0002"), std::make_unique<int>(9)), -1);
  ASSERT_EQ(ignoring.Count(), 2);
  EXPECT_EQ(*ignoring.Object(1), 2);

  TRecordList<int> refusing(true, DuplicateKeys::Error);
  refusing.Add(QStringLiteral("k"), std::make_unique<int>(1));
  EXPECT_THROW(refusing.Add(QStringLiteral("K"), std::make_unique<int>(2)), DuplicateKeyError);
}

}  // namespace
}  // namespace krinu
