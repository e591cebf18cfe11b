#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/settings.h"
#include "support/test_env.h"

namespace krinu {
namespace {

THeaderMasks LoadFrom(const QByteArray& ini) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("krinu.ini"));
  test::WriteFile(path, ini);
  const std::optional<THeaderMasks> masks = LoadHeaderMasks(path);
  EXPECT_TRUE(masks);
  return masks.value_or(THeaderMasks{});
}

TEST(HeaderMasks, MissingSectionGivesUpperCasedDefaults) {
  const THeaderMasks masks = LoadFrom("[OTHER]\nADOSZAM=x\n");
  const QStringList expected[6] = {{QStringLiteral("ADÓSZÁM")}, {QStringLiteral("MEGNEVEZÉS")},
                                   {QStringLiteral("DÁTUM")},   {QStringLiteral("SZÁM")},
                                   {QStringLiteral("ALAP")},    {QStringLiteral("ÁFA")}};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(masks[size_t(i)], expected[i]) << i;
}

TEST(HeaderMasks, ValuesSplitAtCommasAsWritten) {
  const THeaderMasks masks = LoadFrom(
      "; comment\n[data_column]\n"
      "ADOSZAM=\n"                        // empty value: no mask at all
      "MEGNEVEZES=Vevő neve,Szállító,\n"  // trailing comma: no empty mask
      "datum=,Kelt\n"                     // leading comma: an empty mask first
      "BIZSZAM=Szám, Sorszám\n"           // the blank stays part of the next mask
      "AFAALAP = \"Nettó\" \n"            // blanks and quotes around the value go
      "[NEXT]\nAFA=ignored\n");
  EXPECT_TRUE(masks[0].isEmpty());
  EXPECT_EQ(masks[1], (QStringList{QStringLiteral("VEVŐ NEVE"), QStringLiteral("SZÁLLÍTÓ")}));
  EXPECT_EQ(masks[2], (QStringList{QString(), QStringLiteral("KELT")}));
  EXPECT_EQ(masks[3], (QStringList{QStringLiteral("SZÁM"), QStringLiteral(" SORSZÁM")}));
  EXPECT_EQ(masks[4], QStringList{QStringLiteral("NETTÓ")});
  EXPECT_EQ(masks[5], QStringList{QStringLiteral("ÁFA")});  // key only in another section
}

TEST(HeaderMasks, AnsiEncodedFileAndUnreadableFile) {
  // "Szállító" in windows-1250: á = 0xE1, í = 0xED, ó = 0xF3
  const THeaderMasks masks = LoadFrom("[DATA_COLUMN]\nMEGNEVEZES=Sz\xE1ll\xEDt\xF3\n");
  EXPECT_EQ(masks[1], QStringList{QStringLiteral("SZÁLLÍTÓ")});

  QTemporaryDir dir;
  // a folder where the file should be cannot be read: reported as a broken settings file
  EXPECT_FALSE(LoadHeaderMasks(dir.path()));
}

TEST(HeaderMasks, ShippedSettingsFileLoads) {
  const std::optional<THeaderMasks> loaded =
      LoadHeaderMasks(test::BinDir() + QStringLiteral("krinu.ini"));
  ASSERT_TRUE(loaded);
  const THeaderMasks& masks = *loaded;
  EXPECT_TRUE(masks[0].contains(QStringLiteral("ADÓSZÁM")));
  EXPECT_TRUE(masks[5].contains(QStringLiteral("-ALAP")));
  for (const QStringList& list : masks)
    for (const QString& mask : list) EXPECT_FALSE(mask.isEmpty());
}

TEST(PreviousMonth, CalendarEdges) {
  EXPECT_EQ(PreviousMonth(QDate(2026, 3, 15)),
            std::make_pair(QDate(2026, 2, 1), QDate(2026, 2, 28)));
  EXPECT_EQ(PreviousMonth(QDate(2027, 1, 1)),
            std::make_pair(QDate(2026, 12, 1), QDate(2026, 12, 31)));
  EXPECT_EQ(PreviousMonth(QDate(2028, 3, 31)),
            std::make_pair(QDate(2028, 2, 1), QDate(2028, 2, 29)));
}

}  // namespace
}  // namespace krinu
