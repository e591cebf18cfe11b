#pragma once
// A document laid out on A4 pages and written as a PDF, with the page number and the number
// of pages ("1/3") at the foot of every page. Needs a QGuiApplication (fonts).

#include <QByteArray>
#include <QString>

#include "common/print_document.h"
#include "common/result.h"

namespace krinu {

// The PDF's bytes; empty when no QGuiApplication runs.
[[nodiscard]] QByteArray PrintedPdf(const TPrintDocument& document);

// Written beside the target and moved over it: a failure leaves the previous file as it was.
TStatus WritePrintedPdf(const QString& file, const TPrintDocument& document);

}  // namespace krinu
