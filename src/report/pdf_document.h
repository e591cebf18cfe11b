#pragma once
// An HTML document laid out on A4 pages and written as a PDF, with the page number and the
// number of pages ("1/3") at the foot of every page. Needs a QGuiApplication (fonts).

#include <QByteArray>
#include <QString>

#include "common/result.h"

namespace krinu {

// The PDF's bytes; empty when no QGuiApplication runs.
[[nodiscard]] QByteArray HtmlAsPdf(const QString& html, const QString& title);

// Written beside the target and moved over it: a failure leaves the previous file as it was.
TStatus WriteHtmlAsPdf(const QString& file, const QString& html, const QString& title);

}  // namespace krinu
