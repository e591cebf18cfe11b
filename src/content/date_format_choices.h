#pragma once
// Help with the date format when the detection cannot decide (03.04.2024 reads both ways):
// the formats that read every value of the date column, and how one value reads with the
// format the user has typed.

#include <QDate>
#include <QString>
#include <QStringList>

namespace krinu {

// The formats that read every value (trimmed, as the check and the load read them), built
// from the layout of the first value: year-month-day first, then day-month-year, then
// month-day-year; with each order the fixed-width parts ("dd") before the loose ones ("d")
// and long month names before short ones. Empty when there is no value or none fits.
[[nodiscard]] QStringList DateFormatsReadingAll(const QStringList& values);

// Why an order of the parts that reads the first value is not offered: the first value
// that only one order can read ("13.02.2024 csak nap.hónap.év lehet"). Empty when the first
// value decides by itself or nothing does.
[[nodiscard]] QString DateFormatChoiceReason(const QStringList& values);

// The date as a Hungarian reader writes it out: "2024. április 3."
[[nodiscard]] QString HungarianDateText(const QDate& date);

// The line under the date format field: how the value reads with the format, or why it
// does not; choiceCount is the number of formats offered for the column.
[[nodiscard]] QString DateFormatPreviewText(const QString& value, const QString& format,
                                            qsizetype choiceCount);

}  // namespace krinu
