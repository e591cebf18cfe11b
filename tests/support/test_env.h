#pragma once
#include <QString>
#include <QTemporaryDir>

#include "support/qt_printers.h"

namespace krinu::test {

// Writes bytes to a file, creating folders on the way; fails the test on error.
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// The build's program folder (bin/, with krinu.ini and Help/), ending with a separator.
QString BinDir();

}  // namespace krinu::test
