#include "app/command_line.h"

#include <QCoreApplication>

namespace krinu {

namespace {

// The parser's texts as it renders them, a translation included.
QString ParserText(const char* text) {
  return QCoreApplication::translate("QCommandLineParser", text);
}

}  // namespace

QString CommandLineHelp(const QCommandLineParser& parser, const QString& usageLine) {
  QString text = parser.helpText();
  text = usageLine + text.mid(text.indexOf(QLatin1Char('\n')));
  text.replace(u'\n' + ParserText("Options:") + u'\n', QStringLiteral("\nKapcsolók:\n"));
  text.replace(u'\n' + ParserText("Arguments:") + u'\n', QStringLiteral("\nArgumentumok:\n"));
  return text;
}

QString CommandLineOptionList(const QCommandLineParser& parser) {
  const QString text = parser.helpText();
  const QString heading = u'\n' + ParserText("Options:") + u'\n';
  const qsizetype at = text.indexOf(heading);
  return at < 0 ? QString() : text.mid(at + heading.size());
}

QString CommandLineError(const QCommandLineParser& parser) {
  const QStringList unknown = parser.unknownOptionNames();
  if (!unknown.isEmpty()) {
    QStringList quoted;
    for (const QString& name : unknown) quoted << u'\'' + name + u'\'';
    return (unknown.size() == 1 ? QStringLiteral("ismeretlen kapcsoló: ")
                                : QStringLiteral("ismeretlen kapcsolók: ")) +
           quoted.join(QStringLiteral(", "));
  }
  // The other two errors name the option as it was typed; the name is taken from the
  // parser's text, which has no other way to give it.
  const QString error = parser.errorText();
  const auto named = [&error](const char* text) -> QString {
    const QString format = ParserText(text);
    const qsizetype at = format.indexOf(QStringLiteral("%1"));
    const QString before = format.left(at);
    const QString after = format.mid(at + 2);
    if (at < 0 || error.size() <= before.size() + after.size() || !error.startsWith(before) ||
        !error.endsWith(after))
      return QString();
    return error.mid(before.size(), error.size() - before.size() - after.size());
  };
  if (const QString name = named("Missing value after '%1'."); !name.isEmpty())
    return QStringLiteral("hiányzik a(z) '") + name + QStringLiteral("' kapcsoló értéke");
  if (const QString name = named("Unexpected value after '%1'."); !name.isEmpty())
    return QStringLiteral("a(z) '") + name + QStringLiteral("' kapcsoló nem kap értéket");
  return error;
}

}  // namespace krinu
