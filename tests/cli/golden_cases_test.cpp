// The byte-exact cases of tests/data, one folder each (tests/data/README.md says what a
// folder holds): krinu-cli is run as the folder says, and everything it prints and writes
// is compared with the folder's references.

#include <cctype>
#include <string>
#include <vector>

#include "cli/convert_fixture.h"
#include "support/golden.h"

namespace krinu::cli {
namespace {

// Every folder under tests/data that has an args file.
std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  const QDir data(test::TestDataPath(QString()));
  for (const QString& name : data.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
    if (QFileInfo::exists(data.filePath(name + QStringLiteral("/args"))))
      names.push_back(name.toStdString());
  return names;
}

// The lines of a case file, one argument each, with the folders it may name filled in.
QStringList Arguments(const QString& file, const QString& caseDir) {
  QString text = QString::fromUtf8(test::ReadFile(file));
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  if (text.isEmpty()) return {};
  text.replace(QStringLiteral("${examples}"), QStringLiteral(KRINU_EXAMPLES))
      .replace(QStringLiteral("${case}"), caseDir);
  return text.split(QLatin1Char('\n'));
}

// The setup file's commands, separated by empty lines.
std::vector<QStringList> Commands(const QStringList& lines) {
  std::vector<QStringList> commands(1);
  for (const QString& line : lines) {
    if (line.isEmpty())
      commands.emplace_back();
    else
      commands.back() << line;
  }
  std::erase_if(commands, [](const QStringList& c) { return c.isEmpty(); });
  return commands;
}

class GoldenCase : public ConvertTest, public ::testing::WithParamInterface<std::string> {
 protected:
  // The run's own folder holds only what it writes.
  void SetUp() override {
    ConvertTest::SetUp();
    runDir = root.filePath(QStringLiteral("run"));
    QDir().mkpath(runDir);
    QDir::setCurrent(runDir);
  }
  QString runDir;
};

TEST_P(GoldenCase, MatchesItsReferences) {
  const QString name = QString::fromStdString(GetParam());
  const QString caseDir = test::TestDataPath(name);
  // The database is there before the case, as for a bookkeeper who has used the program
  // before: the bootstrap's lines name the temporary home folder.
  ASSERT_EQ(Run({QStringLiteral("taxpayer"), QStringLiteral("list")}).Status, kOk);
  for (const QStringList& command :
       Commands(Arguments(caseDir + QStringLiteral("/setup"), caseDir))) {
    const CliRun setup = Run(command);
    ASSERT_EQ(setup.Status, kOk) << command.join(u' ').toStdString() << '\n'
                                 << setup.Err.toStdString();
  }
  const CliRun r = Run(Arguments(caseDir + QStringLiteral("/args"), caseDir));

  const QString expected = name + QStringLiteral("/expected/");
  EXPECT_MATCHES_GOLDEN(expected + QStringLiteral("status"), QByteArray::number(r.Status) + '\n');
  EXPECT_MATCHES_GOLDEN(expected + QStringLiteral("stdout"), r.Out.toUtf8());
  EXPECT_MATCHES_GOLDEN(expected + QStringLiteral("stderr"), r.Err.toUtf8());
  const QStringList written = QDir(runDir).entryList(QDir::Files, QDir::Name);
  if (!test::UpdatingGolden()) {
    // A file the run no longer writes, or a new one, is a difference too.
    QStringList references =
        QDir(caseDir + QStringLiteral("/expected")).entryList(QDir::Files, QDir::Name);
    for (const QString& stream :
         {QStringLiteral("status"), QStringLiteral("stdout"), QStringLiteral("stderr")})
      references.removeOne(stream);
    EXPECT_EQ(written, references);
  }
  for (const QString& file : written) {
    const QString path = QDir(runDir).filePath(file);
    EXPECT_MATCHES_GOLDEN(expected + file, test::ReadFile(path));
    if (file.endsWith(QStringLiteral(".xml"))) {
      EXPECT_EQ(XmlLint(path), QString());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(, GoldenCase, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace krinu::cli
