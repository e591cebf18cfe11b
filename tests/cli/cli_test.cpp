#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/environment.h"
#include "cli/cli.h"
#include "masterdata/sqlite_database.h"
#include "support/test_env.h"

namespace krinu::cli {
namespace {

struct CliRun {
  int Status = -1;
  QString Out, Err;
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    programDir = root.filePath(QStringLiteral("bin/"));
    QDir().mkpath(programDir);
    qputenv(kUserProfileVariable, root.filePath(QStringLiteral("home")).toUtf8());
    QDir().mkpath(root.filePath(QStringLiteral("home")));
  }
  CliRun Run(const QStringList& args) {
    CliRun r;
    QTextStream out(&r.Out), err(&r.Err);
    r.Status = RunCli(args, programDir + QStringLiteral("krinu-cli"), out, err);
    out.flush();
    err.flush();
    return r;
  }
  QTemporaryDir root;
  QString programDir;
};

TEST_F(CliTest, ListsOfANewDatabase) {
  const CliRun taxpayers = Run({QStringLiteral("taxpayer"), QStringLiteral("list")});
  EXPECT_EQ(taxpayers.Status, kOk);
  EXPECT_EQ(taxpayers.Out, QStringLiteral("19345678910 / Zuhanó Részvény Kft\n"));
  const QString db =
      QDir::toNativeSeparators(root.filePath(QStringLiteral("home/.Krinu/Pelodin.db")));
  EXPECT_EQ(taxpayers.Err,
            QStringLiteral("log: Az programhoz tartozó adatbázis (") + db +
                QStringLiteral(") nem létezik\nlog: Új adatbázis kerül létrehozásra\n"));

  const CliRun admins = Run({QStringLiteral("admin"), QStringLiteral("list")});
  EXPECT_EQ(admins.Status, kOk);
  EXPECT_EQ(admins.Out, QStringLiteral("0001 / Minta Ügyintéző / 06123456789\n"));
  EXPECT_TRUE(admins.Err.isEmpty());  // the database exists now: nothing is logged
}

TEST_F(CliTest, SeedDatabaseIsCopiedAndNeverOverwrites) {
  {
    TSQLiteDatabase seed(programDir + QStringLiteral("PelodinSample.db"));
    seed.ExecSQL(
        QStringLiteral("CREATE TABLE Adozok (Adoszam, Nev, Bank, Szamlaszam1, Szamlaszam2)"));
    seed.ExecSQL(QStringLiteral("INSERT INTO Adozok VALUES ('11111111111','Mag Kft','B','1','2')"));
    seed.ExecSQL(QStringLiteral(
        "CREATE TABLE Ugyintezok (UserID INTEGER PRIMARY KEY AUTOINCREMENT, Nev, Telefon)"));
  }
  const QString dataDir = root.filePath(QStringLiteral("data"));
  CliRun r = Run(
      {QStringLiteral("--data-dir"), dataDir, QStringLiteral("taxpayer"), QStringLiteral("list")});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_EQ(r.Out, QStringLiteral("11111111111 / Mag Kft\n"));
  EXPECT_TRUE(r.Err.isEmpty());
  EXPECT_EQ(
      Run({QStringLiteral("--data-dir"), dataDir, QStringLiteral("admin"), QStringLiteral("list")})
          .Out,
      QString());

  // a changed seed does not replace the database that is there now
  {
    TSQLiteDatabase seed(programDir + QStringLiteral("PelodinSample.db"));
    seed.ExecSQL(QStringLiteral("DELETE FROM Adozok"));
  }
  r = Run(
      {QStringLiteral("--data-dir"), dataDir, QStringLiteral("taxpayer"), QStringLiteral("list")});
  EXPECT_EQ(r.Out, QStringLiteral("11111111111 / Mag Kft\n"));
}

TEST_F(CliTest, UsageAndFailures) {
  CliRun r = Run({QStringLiteral("--help")});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_TRUE(r.Out.contains(QStringLiteral("taxpayer list")));
  r = Run({QStringLiteral("taxpayer"), QStringLiteral("list"), QStringLiteral("--help")});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_TRUE(r.Out.startsWith(QStringLiteral("használat: krinu-cli taxpayer list")));
  // a command's help lists its options, those shared with load among them, even when the
  // rest of the arguments are wrong
  r = Run({QStringLiteral("convert"), QStringLiteral("--bogus"), QStringLiteral("--help")});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_TRUE(
      r.Out.startsWith(QStringLiteral("használat: krinu-cli convert CSV --out FÁJL [kapcsolók]\n"
                                      "beolvassa a CSV fájlt, majd elkészíti az xx65")))
      << r.Out.toStdString();
  for (const QString& option : {QStringLiteral("--out <FÁJL>"), QStringLiteral("--no-overwrite"),
                                QStringLiteral("--columns <a,b,c,d,e,f>")})
    EXPECT_TRUE(r.Out.contains(option)) << option.toStdString();

  // a usage error says what is wrong and how the command is used, before anything starts
  const QString untouched = root.filePath(QStringLiteral("untouched"));
  r = Run({QStringLiteral("--data-dir"), untouched, QStringLiteral("admin"), QStringLiteral("add"),
           QStringLiteral("--name"), QStringLiteral("N"), QStringLiteral("--bogus")});
  EXPECT_EQ(r.Status, kUsage);
  EXPECT_EQ(r.Err, QStringLiteral("krinu-cli admin add: ismeretlen kapcsoló: 'bogus'\n"
                                  "használat: krinu-cli admin add --name NÉV --phone TELEFON\n"));
  EXPECT_FALSE(QFileInfo::exists(untouched));

  EXPECT_EQ(Run({}).Status, kUsage);
  EXPECT_EQ(Run({QStringLiteral("frobnicate")}).Status, kUsage);
  EXPECT_EQ(Run({QStringLiteral("--data-dir")}).Status, kUsage);
  EXPECT_EQ(
      Run({QStringLiteral("taxpayer"), QStringLiteral("list"), QStringLiteral("extra")}).Status,
      kUsage);

  // a start-up failure is printed as its message box and ends with status 1
  const QString dataDir = root.filePath(QStringLiteral("broken"));
  test::WriteFile(dataDir + QStringLiteral("/Pelodin.db"), QByteArray(2048, 'x'));
  r = Run(
      {QStringLiteral("--data-dir"), dataDir, QStringLiteral("taxpayer"), QStringLiteral("list")});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.startsWith(
      QStringLiteral("error: Probléma merült fel a program inicializálása közben: ")))
      << r.Err.toStdString();
}

// The parser's own errors and headings come out in Hungarian, the option as it was typed.
TEST_F(CliTest, ADataFolderOtherThanTheUsersIsSaid) {
  const QString file = root.filePath(QStringLiteral("a-file"));
  QFile(file).open(QIODevice::WriteOnly);
  for (const QString& home : {QString(), file}) {
    qputenv(kUserProfileVariable, home.toUtf8());
    const CliRun r = Run({QStringLiteral("taxpayer"), QStringLiteral("list")});
    EXPECT_EQ(r.Status, kOk);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("krinu-cli: figyelmeztetés: az adat könyvtár a "
                                              "program saját mappája (") +
                               QDir::toNativeSeparators(programDir)))
        << r.Err.toStdString();
  }
}

TEST(CliArguments, ANameThatCannotBeKeptByteForByteIsRefused) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "Windows hands the arguments over as UTF-16: every byte string decodes";
#endif
  EXPECT_EQ(UnkeepableArgument({"convert", "be.csv", "--out", "árvíztűrő.xml"}), std::nullopt);
  const std::optional<QString> refused =
      UnkeepableArgument({"convert", "be.csv", "--out", "out2\xe9\xff.xml"});
  ASSERT_TRUE(refused);
  EXPECT_TRUE(refused->startsWith(QStringLiteral("krinu-cli: a(z) 4. argumentum (out2")))
      << refused->toStdString();
  // Overlong and cut-off sequences are no UTF-8 either.
  EXPECT_TRUE(UnkeepableArgument({"a\xc0\x80"}));
  EXPECT_TRUE(UnkeepableArgument({"\xc3"}));
}

TEST_F(CliTest, DiagnosticsAndHelpInHungarian) {
  const auto firstErrLine = [this](const QStringList& args) {
    const CliRun r = Run(args);
    EXPECT_EQ(r.Status, kUsage) << args.join(u' ').toStdString();
    return r.Err.section(u'\n', 0, 0);
  };
  EXPECT_EQ(firstErrLine({QStringLiteral("--bogus"), QStringLiteral("taxpayer")}),
            QStringLiteral("krinu-cli: ismeretlen kapcsoló: 'bogus'"));
  EXPECT_EQ(firstErrLine({QStringLiteral("--data-dir")}),
            QStringLiteral("krinu-cli: hiányzik a(z) '--data-dir' kapcsoló értéke"));
  EXPECT_EQ(firstErrLine({}), QStringLiteral("krinu-cli: nincs megadva parancs"));
  EXPECT_EQ(firstErrLine({QStringLiteral("taxpayer"), QStringLiteral("lst")}),
            QStringLiteral("krinu-cli: ismeretlen parancs: taxpayer lst"));
  EXPECT_EQ(firstErrLine({QStringLiteral("admin"), QStringLiteral("delete"), QStringLiteral("--x"),
                          QStringLiteral("--y")}),
            QStringLiteral("krinu-cli admin delete: ismeretlen kapcsolók: 'x', 'y'"));
  EXPECT_EQ(
      firstErrLine({QStringLiteral("admin"), QStringLiteral("delete"), QStringLiteral("--yes=1")}),
      QStringLiteral("krinu-cli admin delete: a(z) '--yes' kapcsoló nem kap értéket"));
  EXPECT_EQ(firstErrLine({QStringLiteral("admin"), QStringLiteral("list"), QStringLiteral("a"),
                          QStringLiteral("b")}),
            QStringLiteral("krinu-cli admin list: fölösleges argumentum: a b"));
  EXPECT_EQ(firstErrLine({QStringLiteral("load")}),
            QStringLiteral("krinu-cli load: pontosan egy bemeneti CSV fájlt kell megadni"));

  // the general help and a command's: Hungarian headings, no English left
  for (const QStringList& args : {QStringList{QStringLiteral("--help")},
                                  QStringList{QStringLiteral("load"), QStringLiteral("--help")}}) {
    const CliRun r = Run(args);
    EXPECT_EQ(r.Status, kOk);
    EXPECT_TRUE(r.Out.startsWith(QStringLiteral("használat: krinu-cli "))) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("kapcsolók:\n"), Qt::CaseInsensitive));
    for (const char* english : {"Options:", "Arguments:", "Usage:", "usage:", "Displays"})
      EXPECT_FALSE(r.Out.contains(QLatin1String(english))) << english;
  }
}

}  // namespace
}  // namespace krinu::cli
