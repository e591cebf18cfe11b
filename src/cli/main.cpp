#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "cli/cli.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char** argv) {
#ifdef Q_OS_WIN
  // The console shows what the program writes (UTF-8) as it is, accented letters included.
  ::SetConsoleOutputCP(CP_UTF8);
#endif
  QStringList given;
  for (int i = 1; i < argc; ++i) given << QString::fromLocal8Bit(argv[i]);
  // Fonts only for a printed copy: every other command runs without any display.
  std::unique_ptr<QCoreApplication> app;
  if (krinu::cli::NeedsFonts(given)) {
#ifndef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
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
