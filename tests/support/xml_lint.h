#pragma once
// xmllint's verdict on a written file: empty when it accepts it (or is not installed),
// else what it said.

#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace krinu::test {

inline QString XmlLint(const QString& path) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
  if (tool.isEmpty()) return {};
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(tool, {QStringLiteral("--noout"), path});
  if (!p.waitForFinished(60000)) return QStringLiteral("xmllint did not finish");
  if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) return {};
  return QStringLiteral("xmllint: ") + QString::fromLocal8Bit(p.readAll());
}

}  // namespace krinu::test
