// krinu-cli against a hostile user: outputs that would replace the input or one another,
// files that are no regular files, values that would break the XML or the terminal,
// impossible amounts and periods, and the files written after a failed load.

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <thread>

#include <QFileInfo>

#include "cli/convert_fixture.h"
#include "support/file_size_limit.h"

namespace krinu::cli {
namespace {

const QStringList kNovember = {"--from", "2024-11-01", "--to", "2024-11-30"};
// A header and the ten good lines that the content check looks at; the lines under test
// follow them.
const QByteArray kHeader = [] {
  QByteArray text =
      "Partner adószáma;Partner neve;Számla sorszáma;Teljesítés dátuma;Nettó összeg;ÁFA összeg\r\n";
  for (int i = 0; i < 10; ++i) text += "11111111-2-41;Egy Kft;A/1;2024.11.04;1.000,00;270,00\r\n";
  return text;
}();

// The database of the run in the home folder, changed behind the registers' back as an
// older version or another tool could have left it.
void Sql(const QString& db, const char* statement) {
  sqlite3* handle = nullptr;
  ASSERT_EQ(sqlite3_open(db.toUtf8().constData(), &handle), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(handle, statement, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(handle);
}

TEST_F(ConvertTest, AnOutputNeverReplacesTheInputOrAnotherOutput) {
  const QByteArray input = test::ReadFile(Example());
  test::WriteFile(Path("in.csv"), input);
  QDir().mkpath(Path("sub"));
  QList<QStringList> cases = {
      {"--out", "in.csv"},
      {"--out", "sub/../in.csv"},
      {"--out", "a.xml", "--log", "in.csv"},
      {"--out", "a.xml", "--skipped", "./in.csv"},
      {"--out", "a.xml", "--log", "a.xml"},
      {"--out", "a", "--skipped", "a.xml"},  // ".xml" is added to the return's name
      {"--out", "a.xml", "--log", "x.txt", "--skipped-report", "sub/../x.txt"},
  };
#ifndef Q_OS_WIN  // a Windows link is a shortcut file of its own
  ASSERT_TRUE(QFile::link(Path("in.csv"), Path("link.xml")));
  cases.append(QStringList{"--out", "link.xml"});
#endif
  for (const QStringList& args : cases) {
    const CliRun r = Run(QStringList{"convert", Path("in.csv")} + args + kNovember);
    EXPECT_EQ(r.Status, kFailed) << args.join(u' ').toStdString();
    EXPECT_TRUE(r.Err.contains("error: ")) << r.Err.toStdString();
    EXPECT_EQ(test::ReadFile(Path("in.csv")), input);
    EXPECT_FALSE(QFileInfo::exists(Path("a.xml")));
    EXPECT_FALSE(QFileInfo::exists(Path("x.txt")));
  }
  const CliRun load =
      Run({"load", Path("in.csv"), "--skipped", "k.txt", "--skipped-report", "k.txt"});
  EXPECT_EQ(load.Status, kFailed);
  EXPECT_FALSE(QFileInfo::exists(Path("k.txt")));
}

TEST_F(ConvertTest, OnlyRegularFilesAreRead) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "FIFOs and /dev are the Unix build's";
#else
  ASSERT_EQ(::mkfifo(Path("fifo").toUtf8().constData(), 0600), 0);
  // Each says what is wrong with the name; the text about another program holding the file
  // is for that case alone.
  ASSERT_TRUE(QFile::link(Path("loop"), Path("loop")));
  const QList<std::pair<QString, const char*> > refused = {
      {Path("fifo"), "error: A kijelölt fájl nem közönséges fájl"},
      {QStringLiteral("/dev/null"), "error: A kijelölt fájl nem közönséges fájl"},
      {Path("."), "error: A kijelölt név egy mappát jelöl"},
      {Path("missing.csv"), "error: A kijelölt fájl nem létezik, vagy nem érhető el:\n"},
      {Path("loop"), "error: A kijelölt fájl nem létezik, vagy nem érhető el:\n"},
  };
  for (const auto& [input, message] : refused) {
    const CliRun r = Run({"load", input});
    EXPECT_EQ(r.Status, kFailed) << input.toStdString();
    EXPECT_TRUE(r.Err.contains(QString::fromUtf8(message))) << r.Err.toStdString();
    EXPECT_FALSE(r.Err.contains("kizárólagos")) << r.Err.toStdString();
  }
  EXPECT_TRUE(
      Run({"load", Path("missing.csv")}).Err.contains(QString::fromLocal8Bit(strerror(ENOENT))));
  EXPECT_TRUE(Run({"load", Path("loop")}).Err.contains(QString::fromLocal8Bit(strerror(ELOOP))));
  // A settings file that is no regular file, or far too large for one: the built-in masks.
  test::WriteFile(Path("big.ini"), QByteArray(2 << 20, ';'));
  for (const QString& ini : {Path("fifo"), QStringLiteral("/dev/zero"), Path("big.ini")}) {
    const CliRun r = Run({"--ini", ini, "load", Example()});
    EXPECT_TRUE(r.Err.startsWith(QStringLiteral("krinu-cli: figyelmeztetés: A program 'INI' "
                                                "fájlja (") +
                                 ini + QStringLiteral(") nem közönséges fájl")))
        << ini.toStdString() << r.Err.toStdString();
    EXPECT_TRUE(r.Out.startsWith("Kód tábla: "));
  }
  // One comment line from another editor in a UTF-8 file: that line alone is left out, and
  // said; the accented masks of the others stay.
  test::WriteFile(Path("one-bad-line.ini"),
                  "; megjegyz\xe9s\n[DATA_COLUMN]\nADOSZAM=Partner adósz\xc3\xa1ma\n");
  const CliRun r = Run({"--ini", Path("one-bad-line.ini"), "load", Example()});
  EXPECT_TRUE(r.Err.contains("csak részben került beolvasásra: a(z) 1. sor nem érvényes UTF-8"))
      << r.Err.toStdString();
  EXPECT_TRUE(r.Out.contains("Partner adószáma: 1\n")) << r.Out.toStdString();
#endif
}

TEST_F(ConvertTest, DevicesAndFifosAreWrittenIntoNeverReplaced) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "FIFOs and /dev are the Unix build's";
#else
  const QByteArray fifo = QFile::encodeName(Path("pipe"));
  ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
  QByteArray received;
  std::thread reader([&] {
    const int fd = ::open(fifo.constData(), O_RDONLY);
    char buffer[4096];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
      received.append(buffer, n);
    if (fd >= 0) ::close(fd);
  });
  const CliRun r = Convert(QStringList{"--out", "pipe", "--log", "/dev/null"} + kNovember);
  // Should the run never have opened the FIFO, the reader is let go.
  if (const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) ::close(fd);
  reader.join();
  EXPECT_EQ(r.Status, kOk) << r.Err.toStdString();
  EXPECT_TRUE(received.startsWith("<?xml")) << received.left(100).toStdString();
  EXPECT_TRUE(received.endsWith("</nyomtatvanyok>\r\n"));
  struct stat st {};
  ASSERT_EQ(::stat(fifo.constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_FALSE(QFileInfo::exists(Path("pipe.xml")));
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));

  const CliRun n = Convert(QStringList{"--out", "/dev/null", "--skipped", "/dev/zero"} + kNovember);
  EXPECT_EQ(n.Status, kOk) << n.Err.toStdString();
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/dev/null.xml")));
#endif
}

TEST_F(ConvertTest, ControlCharactersNeverReachTheXmlOrTheTerminal) {
  ASSERT_EQ(Run({"taxpayer", "list"}).Status, kOk);  // the database of the home folder
  EXPECT_EQ(Run({"taxpayer", "add", "--tax-number", "12345678901", "--name", "Rossz\x01Kft",
                 "--bank", "OTP", "--account", "1177301612345678"})
                .Status,
            kFailed);
  EXPECT_EQ(Run({"admin", "add", "--name", "Kiss\x1b[2JAnna", "--phone", "1"}).Status, kFailed);
  EXPECT_EQ(Run({"admin", "add", "--name", "Kiss Anna", "--phone", "06\t1"}).Status, kFailed);
  EXPECT_FALSE(Run({"admin", "list"}).Out.contains("Kiss"));
  CliRun r = Convert(QStringList{"--out", "v.xml", "--form-version", "1.\x1b"} + kNovember);
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_FALSE(QFileInfo::exists(Path("v.xml")));

  // Values stored before: the XML stays well-formed, the lists cannot drive the terminal.
  Sql(Path("home/.Krinu/Pelodin.db"),
      "update Adozok set Nev = 'Minta' || char(27) || '[31m' || char(1);"
      "update Ugyintezok set Telefon = '06' || char(7)");
  r = Convert(QStringList{"--out", "c.xml"} + kNovember);
  EXPECT_EQ(r.Status, kOk) << r.Err.toStdString();
  EXPECT_EQ(XmlLint(Path("c.xml")), QString());
  EXPECT_TRUE(QString::fromUtf8(Read("c.xml")).contains(u"Minta\uFFFD[31m\uFFFD"));
  EXPECT_TRUE(Run({"taxpayer", "list"}).Out.contains("Minta\\x1b[31m\\x01\n"));
  EXPECT_TRUE(Run({"admin", "list"}).Out.contains(" / 06\\x07\n"));
  // A box that names a file names it escaped.
  r = Convert(QStringList{"--out", "no\x1b]0;x\x07/r.xml"} + kNovember);
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.contains("no\\x1b]0;x\\x07")) << r.Err.toStdString();
  EXPECT_FALSE(r.Err.contains(u'\x1b')) << r.Err.toStdString();
#ifndef _WIN32  // a Windows file name holds no control character
  // So does the log: one line stays one line.
  r = Convert(QStringList{"--out", "out\nnl.xml"} + kNovember);
  EXPECT_EQ(r.Status, kOk) << r.Err.toStdString();
  EXPECT_TRUE(QFileInfo::exists(Path("out\nnl.xml")));
  EXPECT_TRUE(r.Out.endsWith("\nFájlnév:out\\x0anl.xml\n")) << r.Out.toStdString();
#endif
}

TEST_F(ConvertTest, ImpossibleAmountsAndPeriodsAndFolderNames) {
  test::WriteFile(Path("amounts.csv"),
                  kHeader +
                      "11111111-2-41;Egy Kft;A/2;2024.11.04;100000000000000000000000000;270\r\n"
                      "11111111-2-41;Egy Kft;A/3;2024.11.04;-1.000.000.000.000.000;0\r\n"
                      "11111111-2-41;Egy Kft;A/4;2024.11.04;999.999.999.999.999;0\r\n");
  CliRun r =
      Run(QStringList{"convert", Path("amounts.csv"), "--out", "a.xml", "--skipped", "s.txt"} +
          kNovember);
  ASSERT_EQ(r.Status, kOk) << r.Err.toStdString();
  EXPECT_EQ(QString::fromUtf8(Read("s.txt")).count(u'\n'), 2);
  EXPECT_FALSE(Read("a.xml").contains("9223372036854775807"));

  r = Convert(QStringList{"--out", "p.xml", "--from", "2024-11-30", "--to", "2024-11-01"});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.contains("error: ")) << r.Err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Path("p.xml")));

  QDir().mkpath(Path("dir"));
  QDir().mkpath(Path("folder.xml"));
  for (const QString& out :
       {QStringLiteral("dir/"), QStringLiteral("new/"), QStringLiteral("folder.xml")}) {
    r = Convert(QStringList{"--out", out} + kNovember);
    EXPECT_EQ(r.Status, kFailed) << out.toStdString();
    EXPECT_TRUE(r.Err.contains("error: ")) << r.Err.toStdString();
  }
  EXPECT_TRUE(QDir(Path("dir"))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                  .isEmpty());
}

TEST_F(ConvertTest, TheSkippedReportCarriesNoFormulas) {
  test::WriteFile(Path("f.csv"), kHeader +
                                     "=HYPERLINK(1);+cmd;@SUM(1);2024.11.04;-12,5;x\r\n"
                                     "11111111-2-41;Egy Kft;-A/3;2024.11.04;1.000,00;-\r\n");
  const CliRun r = Run({"load", Path("f.csv"), "--skipped-report", "r.csv", "--skipped", "s.txt"});
  ASSERT_EQ(r.Status, kOk) << r.Err.toStdString();
  const QString report = QString::fromUtf8(Read("r.csv"));
  EXPECT_TRUE(report.contains("'=HYPERLINK(1);'+cmd;'@SUM(1);2024.11.04;-12,5;x\r\n"))
      << report.toStdString();
  EXPECT_TRUE(report.contains(";Egy Kft;'-A/3;2024.11.04;1.000,00;'-\r\n")) << report.toStdString();
  // The rows themselves stay as they were read.
  EXPECT_TRUE(Read("s.txt").startsWith("=HYPERLINK(1);+cmd;"));
}

TEST_F(ConvertTest, WriteFailuresGiveTheSystemsReason) {
  KRINU_NEEDS_FILE_SIZE_LIMIT();
  ASSERT_EQ(Run({"taxpayer", "list"}).Status, kOk);  // the database, before the disk fills
  CliRun r;
  {
    test::FileSizeLimit full(1000);  // what a full disk does to a write
    r = Convert(QStringList{"--out", "big.xml"} + kNovember);
  }
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_FALSE(r.Err.contains("Unknown error")) << r.Err.toStdString();
  EXPECT_TRUE(r.Err.contains(QString::fromLocal8Bit(strerror(EFBIG)))) << r.Err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Path("big.xml")));
}

TEST_F(ConvertTest, ALoadThatStopsSaysWhereAndWhy) {
  test::WriteFile(Path("footer.csv"), kHeader + "Összesen:;;;10.000,00\r\n");
  const CliRun r = Run({"load", Path("footer.csv")});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.contains(QStringLiteral(
      "error: Hiba lépett fel a fájl betöltése során\nkrinu-cli: A betöltés megszakadt: "
      "TqdxCSVFileReader: Wrong number of fields. Record #: 12; Field #: 5 (both start from 1)\n")))
      << r.Err.toStdString();
}

TEST_F(ConvertTest, SkippedRowsAndTheLogAreWrittenWhateverTheLoadGave) {
  test::WriteFile(Path("odd.csv"), "a;b;c;d;e;f\nx;y;z;1;2;3\nx;y;z;4;5;6\nx;y;z;7;8;9\n");
  CliRun r =
      Run({"convert", Path("odd.csv"), "--out", "n.xml", "--log", "n.log", "--skipped", "n.txt"});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_FALSE(QFileInfo::exists(Path("n.xml")));
  EXPECT_TRUE(QFileInfo::exists(Path("n.log")));
  EXPECT_TRUE(QFileInfo::exists(Path("n.txt")));
  r = Run({"load", Path("odd.csv"), "--skipped", "l.txt"});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(QFileInfo::exists(Path("l.txt")));
}

TEST_F(ConvertTest, ALoneSurrogateIsWrittenToTheLogFileAsTheReplacementCharacter) {
  // A UTF-16LE export whose partner name holds a lone high surrogate; the invoice's two lines
  // are combined, so the name is logged.
  QString text = QString::fromUtf8(kHeader);
  text += QStringLiteral("22222222-2-42;Kettő ") + QChar(0xD800) +
          QStringLiteral(" Bt;B/1;2024.11.06;2.500,00;675,00\r\n");
  text += text.section(QStringLiteral("\r\n"), -2, -2) + QStringLiteral("\r\n");
  QByteArray bytes("\xFF\xFE");
  bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  test::WriteFile(Path("utf16.csv"), bytes);
  const CliRun r = Run(
      QStringList{"convert", Path("utf16.csv"), "--out", "u.xml", "--log", "u.log"} + kNovember);
  ASSERT_EQ(r.Status, kOk) << r.Err.toStdString();
  const QByteArray log = test::ReadFile(Path("u.log"));
  EXPECT_TRUE(log.contains("/ Név: Kettő \xEF\xBF\xBD Bt\n")) << log.toStdString();
  EXPECT_FALSE(log.contains("Kettő ? Bt"));
}

TEST_F(ConvertTest, AnOutputFolderThatCannotBeWrittenGetsTheReasonAndAdvice) {
  ASSERT_EQ(Run({"taxpayer", "list"}).Status, kOk);
  const QString other =
      QStringLiteral("Kérem, válasszon egy másik mappát, amelybe a programnak van írási joga.\n");
  struct Case {
    QString Out, Reason, Advice;
  };
  // Windows words the reason its own way; the text and the advice around it are the same.
#ifdef _WIN32
  const QString noSuchFolder;
#else
  const QString noSuchFolder = QString::fromLocal8Bit(strerror(ENOENT));
#endif
  std::vector<Case> cases = {
      {Path("nincs/bevallas.xml"), noSuchFolder,
       QStringLiteral("A(z) ") + QDir::toNativeSeparators(Path("nincs")) +
           QStringLiteral(" mappa nem létezik; kérem, válasszon egy másik mappát.\n")},
  };
  // The permission bits bind everybody but the superuser.
  QDir().mkpath(Path("csakolvashato"));
  QFile::setPermissions(Path("csakolvashato"), QFile::ReadOwner | QFile::ExeOwner);
#ifndef _WIN32
  cases.push_back({QStringLiteral("/proc/bevallas.xml"), QString(), other});
  if (::geteuid() != 0)
    cases.push_back(
        {Path("csakolvashato/bevallas.xml"), QString::fromLocal8Bit(strerror(EACCES)), other});
#endif
  for (const Case& c : cases) {
    const CliRun r = Convert(QStringList{"--out", c.Out} + kNovember);
    EXPECT_EQ(r.Status, kFailed) << c.Out.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("error: Nem sikerült kiírni a fájlt: ") +
                               QDir::toNativeSeparators(c.Out) + u'\n' + c.Reason))
        << r.Err.toStdString();
    EXPECT_TRUE(r.Err.endsWith(c.Advice)) << r.Err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(c.Out));
  }
  QFile::setPermissions(Path("csakolvashato"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The memory runs out while the skipped rows of a load pile up: the load is refused in
// words, what it had taken in goes, and the files of an earlier run stay as they were.
TEST_F(ConvertTest, RunningOutOfMemoryIsARefusalThatWritesNothing) {
#if defined(_WIN32) || defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "needs an address-space limit, which Windows and the sanitizers do not have";
#else
  QByteArray input = kHeader;
  const QByteArray name(10000, 'N');
  for (int i = 0; i < 3000; ++i)
    input += "HU" + QByteArray::number(i) + ";" + name + ";A/1;2024.11.04;1.000,00;270,00\r\n";
  test::WriteFile(Path("nagy.csv"), input);
  test::WriteFile(Path("kihagyott.txt"), "régi\n");
  // As much room as the program takes now and a little more: not the 60 MB of those rows.
  QFile statm(QStringLiteral("/proc/self/statm"));
  ASSERT_TRUE(statm.open(QIODevice::ReadOnly));
  const qint64 pages = statm.readAll().split(' ').value(0).toLongLong();
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_AS, &old), 0);
  rlimit tight = old;
  tight.rlim_cur = rlim_t(pages * ::sysconf(_SC_PAGESIZE) + (24 << 20));
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &tight), 0);
  const CliRun r = Run({"load", Path("nagy.csv"), "--skipped", Path("kihagyott.txt"),
                        "--skipped-report", Path("jegyzek.csv")});
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &old), 0);
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.contains(QStringLiteral("Nincs elég memória a feldolgozáshoz\n")))
      << r.Err.toStdString();
  EXPECT_EQ(test::ReadFile(Path("kihagyott.txt")), "régi\n");
  EXPECT_FALSE(QFileInfo::exists(Path("jegyzek.csv")));
#endif
}

}  // namespace
}  // namespace krinu::cli
