#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/cli.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char** argv) {
#ifdef Q_OS_WIN
  // The console shows what the program writes (UTF-8) as it is, accented letters included.
  ::SetConsoleOutputCP(CP_UTF8);
#endif
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  return krinu::cli::RunCli(args, QCoreApplication::applicationFilePath(), out, err,
                            krinu::cli::WhenDone::EndProcess);
}
