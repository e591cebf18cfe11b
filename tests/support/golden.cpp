#include "support/golden.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace krinu::test {

QString TestDataPath(const QString& name) {
  return QStringLiteral(KRINU_TEST_DATA "/") + name;
}

bool UpdatingGolden() {
  return qEnvironmentVariableIntValue("KRINU_UPDATE_GOLDEN") == 1;
}

QString CompareWithGolden(const QString& name, const QByteArray& actual) {
  const QString path = TestDataPath(name);
  if (UpdatingGolden()) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(actual) != actual.size() || !out.commit())
      return QStringLiteral("could not write the reference ") + path;
    return {};
  }
  QFile in(path);
  if (!in.open(QIODevice::ReadOnly))
    return QStringLiteral("no reference file ") + path +
           QStringLiteral(" (run with KRINU_UPDATE_GOLDEN=1 to make it, then review it)");
  const QByteArray expected = in.readAll();
  if (expected == actual) return {};
  qsizetype at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const qsizetype lineStart = expected.lastIndexOf('\n', at - 1) + 1;
  const int line = int(expected.left(at).count('\n')) + 1;
  return QStringLiteral(
             "%1 differs from its reference at byte %2 (line %3)\n  expected: %4\n  actual:   %5")
      .arg(name)
      .arg(at)
      .arg(line)
      .arg(QString::fromUtf8(expected.mid(lineStart, 160).split('\n').front()))
      .arg(QString::fromUtf8(actual.mid(lineStart, 160).split('\n').front()));
}

}  // namespace krinu::test
