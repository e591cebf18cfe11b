#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

#include "app/command_line.h"
#include "gui/desktop_integration.h"
#include "gui/main_window.h"

namespace {

// Help and errors where the user can read them: the terminal, or on Windows, where a
// program with windows has none, a box.
void ShowCommandLineText(const QString& text, bool error) {
#ifdef Q_OS_WIN
  if (error)
    QMessageBox::warning(nullptr, QStringLiteral("Krinu"), text);
  else
    QMessageBox::information(nullptr, QStringLiteral("Krinu"), text);
#else
  std::fputs(text.toLocal8Bit().constData(), error ? stderr : stdout);
#endif
}

}  // namespace

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
  parser.setApplicationDescription(
      QStringLiteral("Számlasorok CSV exportjából az xx65 ÁFA bevallás XML nyomtatványa."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                QStringLiteral("ez a leírás"));
  const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                   QStringLiteral("adatmappa a felhasználói helyett"),
                                   QStringLiteral("MAPPA"));
  const QCommandLineOption ini(QStringLiteral("ini"),
                               QStringLiteral("beállításfájl a krinu.ini helyett"),
                               QStringLiteral("FÁJL"));
  parser.addOption(help);
  parser.addOption(dataDir);
  parser.addOption(ini);
  parser.addPositionalArgument(QStringLiteral("CSV"),
                               QStringLiteral("induláskor megnyitandó bemeneti fájl"),
                               QStringLiteral("[CSV]"));
  // The parser's own help and errors would be English.
  const QString usage = QStringLiteral("használat: krinu [kapcsolók] [CSV]");
  if (!parser.parse(QCoreApplication::arguments())) {
    ShowCommandLineText(QStringLiteral("krinu: ") + krinu::CommandLineError(parser) +
                            QStringLiteral("\n") + usage + QStringLiteral("\n"),
                        true);
    return 1;
  }
  if (parser.isSet(help)) {
    ShowCommandLineText(krinu::CommandLineHelp(parser, usage), false);
    return 0;
  }

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
