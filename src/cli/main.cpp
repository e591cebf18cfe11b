#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/cli.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  return krinu::cli::RunCli(args, QCoreApplication::applicationFilePath(), out, err,
                            krinu::cli::WhenDone::EndProcess);
}
