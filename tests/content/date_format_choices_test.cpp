#include "content/date_format_choices.h"

#include <gtest/gtest.h>

#include "content/recognisers.h"
#include "support/qt_printers.h"

namespace krinu {
namespace {

QStringList Offered(const QStringList& values) {
  return DateFormatsReadingAll(values);
}

TEST(DateFormatChoices, FormatsThatReadEveryValueInAStableOrder) {
  // Both readings fit: year first would come first, then day-month, then month-day.
  EXPECT_EQ(Offered({"03.04.2024", "05.06.2024"}), (QStringList{"dd.mm.yyyy", "mm.dd.yyyy"}));
  // One value decides it.
  EXPECT_EQ(Offered({"03.04.2024", "13.04.2024"}), QStringList{"dd.mm.yyyy"});
  EXPECT_EQ(Offered({"04/13/2024", "03/04/2024"}), QStringList{"mm/dd/yyyy"});
  EXPECT_EQ(Offered({" 2024.04.03 "}), QStringList{"yyyy.mm.dd"});
  EXPECT_EQ(Offered({"2024. 04. 03."}), QStringList{"yyyy. mm. dd."});
  // Values of one and two digits need the loose parts; two-digit ones alone do not.
  EXPECT_EQ(Offered({"03.04.2024", "3.4.2024"}), (QStringList{"d.m.yyyy", "m.d.yyyy"}));
  EXPECT_EQ(Offered({"3.4.2024", "12.11.2024"}), (QStringList{"d.m.yyyy", "m.d.yyyy"}));
  // Without separators.
  EXPECT_EQ(Offered({"20240403"}), QStringList{"yyyymmdd"});
  EXPECT_EQ(Offered({"03042024"}), (QStringList{"ddmmyyyy", "mmddyyyy"}));
  // Two-digit years, all three orders.
  EXPECT_EQ(Offered({"03.04.24"}), (QStringList{"yy.mm.dd", "dd.mm.yy", "mm.dd.yy"}));
  EXPECT_EQ(Offered({"030424"}), (QStringList{"yymmdd", "ddmmyy", "mmddyy"}));
  EXPECT_EQ(Offered({"240403"}), (QStringList{"yymmdd", "ddmmyy"}));  // no 24th month
  // Month names (the English ones are read in every locale).
  EXPECT_EQ(Offered({"03-Apr-2024", "15-Dec-2024"}), QStringList{"dd-mmm-yyyy"});
}

TEST(DateFormatChoices, TheValueThatDecidesTheOrderIsNamed) {
  // The first value reads both ways; a later one only one way.
  EXPECT_EQ(Offered({"01.02.2024", "05.02.2024", "13.02.2024"}), QStringList{"dd.mm.yyyy"});
  EXPECT_EQ(DateFormatChoiceReason({"01.02.2024", "05.02.2024", " 13.02.2024 ", "02.14.2024"}),
            QStringLiteral("13.02.2024 csak nap.hónap.év lehet"));
  EXPECT_EQ(DateFormatChoiceReason({"01/02/2024", "01/31/2024"}),
            QStringLiteral("01/31/2024 csak hónap.nap.év lehet"));
  EXPECT_EQ(DateFormatChoiceReason({"03.04.24", "31.04.24"}),  // no 31 April, no 31st month
            QStringLiteral("31.04.24 csak év.hónap.nap lehet"));
  // Nothing to say: the first value decides by itself, no value decides, or there is none.
  EXPECT_EQ(DateFormatChoiceReason({"13.02.2024", "01.02.2024"}), QString());
  EXPECT_EQ(DateFormatChoiceReason({"01.02.2024", "03.04.2024"}), QString());
  EXPECT_EQ(DateFormatChoiceReason({"2024.02.01"}), QString());
  EXPECT_EQ(DateFormatChoiceReason({}), QString());
}

TEST(DateFormatChoices, NothingWhenNoFormatReadsEveryValue) {
  EXPECT_EQ(Offered({}), QStringList{});
  EXPECT_EQ(Offered({"03.04.2024", ""}), QStringList{});
  EXPECT_EQ(Offered({"03.04.2024", "03/04/2024"}), QStringList{});  // separators differ
  EXPECT_EQ(Offered({"31.04.2024"}), QStringList{});                // no such day
  EXPECT_EQ(Offered({"2024.04.03", "Kiss Bt"}), QStringList{});
  EXPECT_EQ(Offered({"2024.04.03 12:00"}), QStringList{});  // a time of day is not read
  EXPECT_EQ(Offered({"2024-04-03T"}), QStringList{});       // a letter would act as a part
  // Within one value the separators may differ, as long as every value has them.
  EXPECT_EQ(Offered({"2024.04/03", "2024.05/06"}), QStringList{"yyyy.mm/dd"});
}

TEST(DateFormatChoices, WhatTheDetectionFindsIsOfferedAndEveryOfferLoads) {
  const QStringList samples{"2020.03.03", "15.03.2020",  "03/15/2020",   "20200315",
                            "200315",     "2020 Mar 05", "2020 March 05"};
  for (const QString& value : samples) {
    const std::optional<TDatumGuess> guess = DetectDatumFormat(value);
    ASSERT_TRUE(guess) << value.toStdString();
    const QStringList offered = Offered({value});
    EXPECT_TRUE(offered.contains(guess->Format)) << value.toStdString();
    for (const QString& format : offered)
      EXPECT_TRUE(ConvertDatum(value, format))
          << value.toStdString() << " " << format.toStdString();
  }
}

TEST(DateFormatChoices, PreviewSpelledOutInHungarian) {
  EXPECT_EQ(HungarianDateText(QDate(2024, 4, 3)), QStringLiteral("2024. április 3."));
  EXPECT_EQ(HungarianDateText(QDate(2025, 12, 31)), QStringLiteral("2025. december 31."));
  EXPECT_EQ(DateFormatPreviewText(" 03.04.2024", "dd.mm.yyyy", 2),
            QStringLiteral("„03.04.2024” így olvasva: 2024. április 3."));
  EXPECT_EQ(DateFormatPreviewText("03.04.2024", "mm.dd.yyyy", 2),
            QStringLiteral("„03.04.2024” így olvasva: 2024. március 4."));
  EXPECT_EQ(DateFormatPreviewText("03.04.2024", "yyyy.mm.dd", 2),
            QStringLiteral("„03.04.2024” ezzel a formátummal nem olvasható"));
  EXPECT_EQ(DateFormatPreviewText("03.04.2024", "", 2),
            QStringLiteral("„03.04.2024”: válasszon formátumot a ▾ gombbal (2 lehetőség)"));
  EXPECT_EQ(DateFormatPreviewText("x", "", 0),
            QStringLiteral("„x”: adja meg a formátumát (pl. yyyy.mm.dd)"));
  EXPECT_EQ(DateFormatPreviewText("  ", "dd.mm.yyyy", 0),
            QStringLiteral("Az első dátum mező üres"));
}

}  // namespace
}  // namespace krinu
