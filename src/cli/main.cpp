#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "cli/cli.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifndef Q_OS_WIN
QtMessageHandler qtHandler = nullptr;

// The offscreen platform's note that it made a runtime folder of its own is no news to a
// bookkeeper: standard error carries the program's own lines only.
void QuietRuntimeFolder(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtWarningMsg && text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR")))
    return;
  if (qtHandler)
    qtHandler(type, context, text);
  else
    QTextStream(stderr) << qFormatLogMessage(type, context, text) << Qt::endl;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef Q_OS_WIN
  // The console shows what the program writes (UTF-8) as it is, accented letters included.
  ::SetConsoleOutputCP(CP_UTF8);
#endif
  QStringList given;
  QList<QByteArray> raw;
  for (int i = 1; i < argc; ++i) {
    raw << QByteArray(argv[i]);
    given << QString::fromLocal8Bit(argv[i]);
  }
#ifndef Q_OS_WIN  // Windows hands the arguments over as UTF-16
  if (const std::optional<QString> refused = krinu::cli::UnkeepableArgument(raw)) {
    QTextStream(stderr) << *refused << '\n';
    return krinu::cli::kUsage;
  }
#endif
  // Fonts only for a printed copy: every other command runs without any display.
  std::unique_ptr<QCoreApplication> app;
  if (krinu::cli::NeedsFonts(given)) {
#ifndef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(QuietRuntimeFolder);
#endif
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QTextStream out(stdout);
  QTextStream err(stderr);
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  return krinu::cli::RunCli(args, QCoreApplication::applicationFilePath(), out, err,
                            krinu::cli::WhenDone::EndProcess);
}
