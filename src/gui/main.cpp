#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QStyleFactory>
#include <QTimer>

#include "gui/desktop_integration.h"
#include "gui/main_window.h"

int main(int argc, char** argv) {
  krinu::PreparePlatform();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Krinu"));
  // The desktop's own look: Windows' native style there, Fusion where the desktops differ.
#ifdef Q_OS_WIN
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("windowsvista")));
#else
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
#endif
  QGuiApplication::setDesktopFileName(QStringLiteral("krinu"));
  QApplication::setWindowIcon(krinu::ProgramIcon());
  // Yes/No, Open, Save, Cancel and the file dialogs in Hungarian; English when missing.
  krinu::InstallQtTranslation(app);

  QCommandLineParser parser;
  parser.addHelpOption();
  QCommandLineOption dataDir(QStringLiteral("data-dir"),
                             QStringLiteral("Data folder instead of the per-user one."),
                             QStringLiteral("DIR"));
  QCommandLineOption ini(QStringLiteral("ini"),
                         QStringLiteral("Settings file instead of krinu.ini."),
                         QStringLiteral("FILE"));
  parser.addOption(dataDir);
  parser.addOption(ini);
  parser.addPositionalArgument(QStringLiteral("INPUT"),
                               QStringLiteral("Input file to open at start."),
                               QStringLiteral("[INPUT]"));
  parser.process(app);

  const krinu::AppEnvironment env = krinu::BuildAppEnvironment(
      QCoreApplication::applicationFilePath(), parser.value(dataDir), parser.value(ini));

  krinu::MainWindow window(env);
  if (!window.Start()) return 1;
  window.show();
  if (!parser.positionalArguments().isEmpty()) {
    const QString input = QFileInfo(parser.positionalArguments().front()).absoluteFilePath();
    QTimer::singleShot(0, &window, [&window, input] { window.OpenInputFile(input); });
  }
  return app.exec();
}
