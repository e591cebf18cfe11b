// krinu-cli batch: each job is the convert of its row, a failing job fails alone and leaves
// nothing behind, and the table tells each job's story in manifest order.

#include "app/batch_worker.h"
#include "convert_fixture.h"

namespace krinu::cli {
namespace {

void WriteText(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

TEST_F(ConvertTest, ABatchRunsEachRowAsConvertAndAFailingJobFailsAlone) {
  const QByteArray example = Example().toUtf8();
  // Relative names are the manifest's folder's; the columns stand in an order of their own.
  WriteText(Path("jobs/m.csv"),
            "\xEF\xBB\xBF"
            "Kimenet;Bemenet;Adószám;Ügyintéző;Kezdete;Vége;Összevonás\r\n"
            "# a comment line\r\n"
            "a.xml;" +
                example +
                ";19345678910;0001;2024-11-01;2024-11-30;nem\r\n"
                "b.xml;nincs.csv;19345678910;0001;2024-11-01;2024-11-30;\r\n"
                "c.xml;" +
                example +
                ";99999999999;0001;2024-11-01;2024-11-30;\r\n"
                "nincs/d.xml;" +
                example +
                ";19345678910;0001;2024-11-01;2024-11-30;\r\n"
                "a.xml;" +
                example + ";19345678910;0001;2024-12-01;2024-12-31;\r\n");
  const CliRun batch = Run({"batch", Path("jobs/m.csv"), "--summary-table", "t.csv"});
  EXPECT_EQ(batch.Status, kSomeJobsFailed) << batch.Err.toStdString();
  EXPECT_TRUE(batch.Err.contains(QStringLiteral("[1/5] 19345678910 Zuhanó Részvény Kft … kész, ")))
      << batch.Err.toStdString();
  EXPECT_TRUE(batch.Err.contains(
      QStringLiteral("[3/5] 99999999999 … hiba: nincs ilyen adószámú adózó: 99999999999")));

  const CliRun convert =
      Convert({"--out", "c.xml", "--from", "2024-11-01", "--to", "2024-11-30", "--no-combine",
               "--taxpayer", "19345678910", "--admin", "0001", "--summary", "c.csv"});
  ASSERT_EQ(convert.Status, kOk) << convert.Err.toStdString();
  EXPECT_EQ(Read("jobs/a.xml"), Read("c.xml"));
  EXPECT_TRUE(QFile::exists(Path("jobs/a.log")));
  // The failed jobs left nothing: no XML, no log, nothing half-written beside them.
  for (const char* name : {"jobs/b.xml", "jobs/b.log", "jobs/c.xml", "jobs/c.log", "jobs/nincs"})
    EXPECT_FALSE(QFile::exists(Path(QString::fromUtf8(name)))) << name;
  EXPECT_EQ(QDir(Path("jobs")).entryList(QDir::Files).size(), 3);  // m.csv, a.xml, a.log

  // One row per manifest row, in its order; the totals are the partner sheets' as written.
  const QStringList rows = QString::fromUtf8(Read("t.csv"))
                               .remove(QChar(0xFEFF))
                               .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 6);
  EXPECT_TRUE(rows[0].startsWith(QStringLiteral("Állapot;Adószám;Adózó;Kezdete;Vége;Bemenet;")));
  qint64 net = 0, vat = 0;
  for (const QString& sheet :
       QString::fromUtf8(Read("c.csv")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(1)) {
    // Counted from the end: a name may hold a ";".
    net += sheet.section(u';', -5, -5).toLongLong();
    vat += sheet.section(u';', -4, -4).toLongLong();
  }
  const QStringList first = rows[1].split(u';');
  EXPECT_EQ(first[0], QStringLiteral("kész"));
  EXPECT_EQ(first[11], QString::number(net));
  EXPECT_EQ(first[12], QString::number(vat));
  EXPECT_TRUE(first[14].endsWith(QStringLiteral("a.xml")));
  for (int i = 2; i <= 5; ++i) EXPECT_TRUE(rows[i].startsWith(QStringLiteral("hiba;"))) << i;
  EXPECT_TRUE(rows[5].contains(QStringLiteral("Két kimenet ugyanabba a fájlba kerülne")));
}

TEST_F(ConvertTest, AManifestThatCannotBeUsedRunsNothing) {
  const QByteArray good = "Bemenet;Adószám;Ügyintéző;Kezdete;Vége;Kimenet\r\n";
  const QByteArray row = Example().toUtf8() + ";19345678910;0001;2024-11-01;2024-11-30;a.xml\r\n";
  const struct {
    QByteArray Manifest;
    QString Says;
  } cases[] = {
      {"Bemenet;Adószám;Ügyintéző;Kezdete;Vége;Kimenet;Megjegyzés\r\n" + row,
       QStringLiteral("ismeretlen oszlop van: \"Megjegyzés\"")},
      {"Bemenet;Adószám;Kezdete;Vége;Kimenet\r\n" + row,
       QStringLiteral("hiányzik a(z) \"Ügyintéző\" oszlop")},
      {good + "\xE1\xE9;" + row, QStringLiteral("nem UTF-8")},
      {good + row.trimmed() + ";x\r\n", QStringLiteral("több mező van")},
  };
  for (const auto& c : cases) {
    WriteText(Path("m.csv"), c.Manifest);
    const CliRun batch = Run({"batch", "m.csv"});
    EXPECT_EQ(batch.Status, kFailed) << c.Says.toStdString();
    EXPECT_TRUE(batch.Err.contains(c.Says)) << batch.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("a.xml")));
  }
  // "Profil" is convert's --profile: a name that is no profile fails its row alone, "auto"
  // reads the file with its layout's profile when there is one.
  WriteText(Path("m.csv"), "Profil;" + good + "minta;" + row + "auto;" +
                               QByteArray(row).replace("a.xml", "b.xml"));
  const CliRun profile = Run({"batch", "m.csv"});
  EXPECT_EQ(profile.Status, kSomeJobsFailed);
  EXPECT_TRUE(
      profile.Err.contains(QStringLiteral("[1/2] 19345678910 Zuhanó Részvény Kft … hiba: "
                                          "Nincs ilyen nevű mentett beállítás: minta")))
      << profile.Err.toStdString();
  EXPECT_TRUE(QFile::exists(Path("b.xml")));
}

TEST_F(ConvertTest, ABatchInWorkerProcessesGivesWhatOneProcessGives) {
  const QByteArray example = Example().toUtf8();
  const QByteArray rows = "Bemenet;Adószám;Ügyintéző;Kezdete;Vége;Kimenet;Összevonás\r\n" +
                          example + ";19345678910;0001;2024-11-01;2024-11-30;a.xml;\r\n" + example +
                          ";19345678910;0001;2024-10-01;2024-12-31;b.xml;nem\r\n" + example +
                          ";99999999999;0001;2024-11-01;2024-11-30;c.xml;\r\n";
  WriteText(Path("one/m.csv"), rows);
  WriteText(Path("two/m.csv"), rows);
  // The built krinu-cli stands for the program: its workers are that program.
  const auto batch = [&](const char* dir, const char* jobs) {
    CliRun r;
    QTextStream out(&r.Out), err(&r.Err);
    r.Status =
        RunCli({"batch", Path(QString::fromUtf8(dir) + "/m.csv"), "--jobs", QString::fromUtf8(jobs),
                "--summary-table", Path(QString::fromUtf8(dir) + "/t.csv")},
               test::BinDir() + QStringLiteral("krinu-cli"), out, err);
    err.flush();
    return r;
  };
  ASSERT_EQ(Run({"taxpayer", "list"}).Status, kOk);  // the database made before either
  const CliRun one = batch("one", "1");
  const CliRun two = batch("two", "2");
  EXPECT_EQ(one.Status, kSomeJobsFailed);
  EXPECT_EQ(two.Status, one.Status);
  // The same but for the folder, written either way (the table writes the system's).
  const auto moved = [&](const QByteArray& bytes, const QString& from) {
    QString text = QString::fromUtf8(bytes).replace(Path(from), Path("one"));
    return text.replace(QDir::toNativeSeparators(Path(from)),
                        QDir::toNativeSeparators(Path("one")));
  };
  const auto same = [&](const QByteArray& a, const QByteArray& b) {
    EXPECT_EQ(moved(b, "two"), QString::fromUtf8(a));
  };
  same(one.Err.toUtf8(), two.Err.toUtf8());
  for (const char* name : {"a.xml", "a.log", "b.xml", "b.log", "t.csv"})
    same(Read(QStringLiteral("one/") + name), Read(QStringLiteral("two/") + name));

  // The window's way: each row in the krinu-cli beside the window's program.
  WriteText(Path("win/m.csv"), rows);
  const TResult<std::vector<TBatchRow>> manifest = ReadManifest(Path("win/m.csv"));
  ASSERT_TRUE(manifest.Ok());
  AppEnvironment env;
  env.ProgramPath = test::BinDir() + QStringLiteral("krinu");
  TBatchWorker worker;
  std::vector<bool> ok;
  for (const TBatchRow& row : manifest.Value()) ok.push_back(RunInWorker(worker, env, {row}).Ok);
  EXPECT_EQ(ok, (std::vector<bool>{true, true, false}));
  for (const char* name : {"a.xml", "a.log", "b.xml", "b.log"}) {
    EXPECT_EQ(moved(Read(QStringLiteral("win/") + name), "win"),
              QString::fromUtf8(Read(QStringLiteral("one/") + name)));
  }
}

}  // namespace
}  // namespace krinu::cli
