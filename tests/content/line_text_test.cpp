#include "content/line_text.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>

#include "content/text_arena.h"
#include "support/qt_printers.h"

namespace krinu {
namespace {

// A text is kept in one byte a character when it can be, in two otherwise, in an arena or on
// its own: whichever way, it equals, orders and joins as the QString of its characters.
TEST(LineText, EqualsOrdersAndJoinsAsItsStringWhereverAndHoweverItIsKept) {
  const QStringList texts{QStringLiteral("SZ-2024/000001"),
                          QStringLiteral("Árvíztűrő Kft."),
                          QStringLiteral("é"),
                          QStringLiteral("ő"),
                          QStringLiteral("z"),
                          QStringLiteral("\u00ff\u0100"),
                          QString(),
                          QStringLiteral("12345678-1-23")};
  TTextArena arena;
  std::vector<TLineText> inArena, own;
  for (const QString& t : texts) {
    inArena.push_back(arena.Add(t));
    own.emplace_back(t);
  }
  for (qsizetype i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(inArena[std::size_t(i)].ToString(), texts[i]);
    EXPECT_EQ(own[std::size_t(i)], inArena[std::size_t(i)]);
    EXPECT_EQ(own[std::size_t(i)], texts[i]);
    EXPECT_EQ(own[std::size_t(i)].size(), texts[i].size());
    EXPECT_EQ(QStringLiteral("<") + inArena[std::size_t(i)] + QStringLiteral(">"),
              QStringLiteral("<") + texts[i] + QStringLiteral(">"));
    for (qsizetype j = 0; j < texts.size(); ++j) {
      EXPECT_EQ(own[std::size_t(i)] == inArena[std::size_t(j)], texts[i] == texts[j])
          << i << " " << j;
      EXPECT_EQ(own[std::size_t(i)] < inArena[std::size_t(j)], texts[i] < texts[j])
          << i << " " << j;
      EXPECT_EQ(own[std::size_t(i)] < QStringView(texts[j]), texts[i] < texts[j]) << i << " " << j;
    }
  }
  EXPECT_TRUE(inArena[0].IsLatin1());
  EXPECT_FALSE(inArena[1].IsLatin1());  // ő and ű are above 255

  // Copies of a text of its own share it and outlive the first.
  TLineText copy;
  {
    const TLineText first(QStringLiteral("Ügyfél"));
    copy = first;
    TLineText moved = std::move(copy);
    copy = moved;
  }
  EXPECT_EQ(copy, QStringLiteral("Ügyfél"));
}

}  // namespace
}  // namespace krinu
