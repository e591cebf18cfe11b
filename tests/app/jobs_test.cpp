// Several jobs through one session, as a batch or a second file in the window runs them:
// nothing of one job reaches the next, and a window that goes stops hearing the log.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/batch_form.h"
#include "app/import_profiles.h"
#include "app/main_form.h"
#include "app/summary_form.h"
#include "common/clock.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"

namespace krinu {
namespace {

const QByteArray kFirst =
    "Partner adószáma;Partner neve;Számla sorszáma;Teljesítés dátuma;Nettó összeg;ÁFA összeg\r\n"
    "11111111-2-41;Egy Kft;A/1;2024.11.04;1.400,00;378,00\r\n"
    "11111111-2-41;Egy Kft;A/1;2024.11.04;1.400,00;378,00\r\n"
    "22222222-2-42;Kettő Bt;B/1;2024.11.06;2.500,00;675,00\r\n"
    "22222222-2-42;Kettő Bt;B/2;2024.11.07;-500,00;-135,00\r\n"
    "33333333-2-43;Három Zrt;C/1;2024.12.01;9.000,00;2.430,00\r\n";
const QByteArray kSecond =
    "Partner adószáma;Partner neve;Számla sorszáma;Teljesítés dátuma;Nettó összeg;ÁFA összeg\r\n"
    "44444444-2-44;Négy Kft;D/1;2024.10.01;100.000,00;27.000,00\r\n"
    "44444444-2-44;Négy Kft;D/1;2024.10.01;1.000,00;270,00\r\n"
    "55555555-2-05;Öt Bt;E/1;2024.10.02;0,00;0,00\r\n";

class JobsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("KRINU_ANSI_CODEPAGE", "1250");
    Clock::SetTodayForTesting([] { return QDate(2024, 12, 5); });
    const QString programDir = root.filePath(QStringLiteral("bin/"));
    QDir().mkpath(programDir);
    ASSERT_TRUE(QFile::copy(test::BinDir() + QStringLiteral("krinu.ini"),
                            programDir + QStringLiteral("krinu.ini")));
    AppEnvironment env;
    env.ProgramPath = programDir + QStringLiteral("krinu");
    env.UserProfile = root.path();
    session = std::make_unique<TSession>(env);
    ASSERT_EQ(session->Start(ui), TStartup::Started);
    session->OutputLocale = QLocale(QLocale::Hungarian, QLocale::Hungary);
    test::WriteFile(root.filePath(QStringLiteral("elso.csv")), kFirst);
    test::WriteFile(root.filePath(QStringLiteral("masodik.csv")), kSecond);
  }
  void TearDown() override { Clock::SetTodayForTesting({}); }

  struct TOutcome {
    QByteArray Xml;
    QStringList RunLog;
    QList<qint64> SheetTotals;  // the partner sheets' net totals, from the return
  };
  // One job in a window of its own: the file loaded, the return made into out.
  TOutcome Job(const QString& csv, const QString& out, bool combine, bool dropZero) {
    TMainForm form(ui, *session);
    form.FormCreate();
    form.OpenInputFile(root.filePath(csv));
    EXPECT_TRUE(form.InputLoaded());
    form.State.BizSumCbx.Checked = combine;
    form.State.DropZeroItemsCbx.Checked = dropZero;
    form.State.XMLFileSelectEd.Text = root.filePath(out);
    const qsizetype before = form.State.XMLGenMm.Lines.size();
    form.Step1BtnClick();
    TOutcome outcome;
    outcome.Xml = test::ReadFile(root.filePath(out));
    outcome.RunLog = form.State.XMLGenMm.Lines.mid(before);
    const std::optional<TReturn>& r = form.Job().Run.Return;
    EXPECT_TRUE(r);
    if (r)
      for (const TPartnerSheet& sheet : r->Sheets) outcome.SheetTotals << sheet.SumAlap;
    return outcome;
  }

  QTemporaryDir root;
  test::ScriptedUserInterface ui;
  std::unique_ptr<TSession> session;
};

TEST_F(JobsTest, AJobAfterOthersGivesWhatItGaveFirstAndADeadWindowHearsNothing) {
  const std::size_t listeners = session->Log.SubscriberCount();
  const TOutcome first = Job(QStringLiteral("elso.csv"), QStringLiteral("a.xml"), true, false);
  // The window that ran it is gone; so is its place among the log's subscribers.
  EXPECT_EQ(session->Log.SubscriberCount(), listeners);
  {
    // A listener that dies while the next job runs its first steps.
    auto heard = std::make_unique<QStringList>();
    LogSubscription dying =
        session->Log.Subscribe([&heard](LogSource, const QString& line) { heard->append(line); });
    session->Log.Write(LogSource::Run, QStringLiteral("x"));
    dying.Release();
    heard.reset();
  }
  ui.ConfirmAnswers.push_back(true);  // every line of it is outside the period: written anyway
  const TOutcome second = Job(QStringLiteral("masodik.csv"), QStringLiteral("b.xml"), false, true);
  const TOutcome third = Job(QStringLiteral("elso.csv"), QStringLiteral("c.xml"), true, false);

  EXPECT_NE(second.Xml, first.Xml);
  EXPECT_EQ(third.Xml, first.Xml);
  EXPECT_EQ(third.RunLog.mid(0, third.RunLog.size() - 1),
            first.RunLog.mid(0, first.RunLog.size() - 1));
  EXPECT_EQ(third.RunLog.constLast(),
            QStringLiteral("Fájlnév:") + root.filePath(QStringLiteral("c.xml")));
  EXPECT_TRUE(second.RunLog.contains(QStringLiteral("Bizonylat összesítés kihagyva")));
  // The return holds what the XML says: three sheets' net totals in thousands of forints.
  EXPECT_EQ(first.SheetTotals, (QList<qint64>{3, 3, 9}));
  EXPECT_TRUE(first.Xml.contains("<mezo eazon=\"0A0001E0004CA\">3</mezo>"));
  EXPECT_EQ(second.SheetTotals, (QList<qint64>{101}));
}

TEST_F(JobsTest, TheSummaryWindowFiltersSortsAndListsWhatBecameOfAPartnersLines) {
  TMainForm form(ui, *session);
  form.FormCreate();
  form.OpenInputFile(root.filePath(QStringLiteral("elso.csv")));
  form.State.XMLFileSelectEd.Text = root.filePath(QStringLiteral("a.xml"));
  form.Step1BtnClick();
  ASSERT_TRUE(form.State.SummaryBtn.Enabled);
  TSummaryForm summary(ui, form.Job());
  summary.FormShow();
  const TableControl& partners = summary.State.PartnerSG;
  const auto column = [](const TableControl& t, int c) {
    QStringList cells;
    for (qsizetype r = 0; r < t.RowCount; ++r) cells << t.Cell(r, c);
    return cells;
  };
  EXPECT_EQ(column(partners, TSummaryForm::AdoszamCol),
            (QStringList{"11111111", "22222222", "33333333"}));
  EXPECT_EQ(partners.Columns[TSummaryForm::NettoCol].Caption, "Nettó (ezer forint)");
  EXPECT_EQ(column(partners, TSummaryForm::NettoFtCol),
            (QStringList{"2 800,00", "2 500,00", "9 000,00"}));
  summary.PartnerSGHeaderClick(TSummaryForm::NettoFtCol);
  summary.PartnerSGHeaderClick(TSummaryForm::NettoFtCol);  // the other way round
  EXPECT_EQ(column(partners, TSummaryForm::NevCol),
            (QStringList{"Három Zrt", "Egy Kft", "Kettő Bt"}));
  summary.State.FilterEd.Text = QStringLiteral("KETT");
  summary.FilterEdChange();
  ASSERT_EQ(partners.RowCount, 1);
  summary.PartnerSGDblClick(0);
  const TableControl& lines = summary.State.LinesSG;
  EXPECT_EQ(column(lines, TSummaryForm::BizSzamCol), (QStringList{"B/1", "B/2"}));
  EXPECT_EQ(column(lines, TSummaryForm::AllapotCol), (QStringList{"bevallásban", "kizárva"}));
  summary.State.FilterEd.Text = QStringLiteral("11111111");
  summary.FilterEdChange();
  summary.PartnerSGDblClick(0);
  EXPECT_EQ(column(lines, TSummaryForm::AllapotCol),
            (QStringList{"összevonva", "összevonva", "bevallásban (összevont)"}));
  // A new file is a new job: no return to summarise until it has one.
  form.OpenInputFile(root.filePath(QStringLiteral("masodik.csv")));
  EXPECT_FALSE(form.State.SummaryBtn.Enabled);
  EXPECT_TRUE(form.Job().Run.LastWrittenXml.isEmpty());
}

// The batch window's logic: rows from dropped files with their defaults, a run that refuses
// rows missing a choice, "Mégse" after the first job, and the table saved as a manifest that
// reads back the same.
TEST_F(JobsTest, BatchWindowRowsGetTheirDefaultsRunInOrderAndStopWhenAsked) {
  // The sample database's taxpayer 19345678910; its base number names the first export.
  const QString named = root.filePath(QStringLiteral("19345678_november.csv"));
  const QString other = root.filePath(QStringLiteral("masik.csv"));
  test::WriteFile(named, "x");
  test::WriteFile(other, "x");
  QDir(root.path()).mkdir(QStringLiteral("mappa"));

  std::vector<TBatchRow> ran;
  TBatchForm form(ui, *session, [&](const TBatchRow& row) {
    ran.push_back(row);
    TBatchResult r = FailedBatchResult(row, {});
    r.Ok = true;
    r.Partners = 3;
    return r;
  });
  // A profile remembers a quarterly, uncombined return of the sample taxpayer for files named
  // like "kivonat-2024-09.csv".
  QDir(root.path()).mkdir(QStringLiteral("negyedev"));
  const QString profiled = root.filePath(QStringLiteral("negyedev/kivonat-2024-12.csv"));
  test::WriteFile(profiled, "x");
  TImportProfiles profiles;
  TImportProfile profile;
  profile.Name = QStringLiteral("Negyedéves");
  TRememberedRun run;
  run.Pattern = FileNamePattern(QStringLiteral("kivonat-2024-09.csv"));
  run.Adoszam = QStringLiteral("19345678910");
  run.UgyintezoId = 1;
  run.BizSum = false;
  run.Quarter = true;
  profile.Runs.push_back(run);
  profiles.Profiles.push_back(profile);
  ASSERT_FALSE(WriteImportProfiles(ImportProfilesName(session->DataDir), profiles));

  form.FilesDropped({named, other, root.filePath(QStringLiteral("mappa")), profiled});
  ASSERT_EQ(form.RowCount(), 3);
  EXPECT_EQ(form.Row(2)[mcAdoszam], QStringLiteral("19345678910"));
  EXPECT_EQ(form.Row(2)[mcKezdete], QStringLiteral("2024-07-01"));
  EXPECT_EQ(form.Row(2)[mcOsszevonas], QStringLiteral("nem"));
  EXPECT_EQ(form.Row(2)[mcProfil], QStringLiteral("auto"));
  EXPECT_TRUE(ui.Texts(QStringLiteral("warning")).join(u' ').contains(QStringLiteral("mappa")));
  const TBatchRow& first = form.Row(0);
  EXPECT_EQ(first[mcAdoszam], QStringLiteral("19345678910"));
  EXPECT_EQ(first[mcUgyintezo], QStringLiteral("0001"));
  EXPECT_EQ(first[mcKezdete], QStringLiteral("2024-11-01"));
  EXPECT_EQ(first[mcVege], QStringLiteral("2024-11-30"));
  EXPECT_EQ(first[mcKimenet],
            QDir::cleanPath(root.filePath(QStringLiteral("19345678910_20241101-20241130.xml"))));
  EXPECT_EQ(form.Missing(1), QStringList({QStringLiteral("adózó"), QStringLiteral("kimenet")}));
  EXPECT_TRUE(
      form.State.JobsSG.Cell(1, TBatchForm::EredmenyCol).contains(QStringLiteral("Hiányzik")));

  form.InditasBtnClick();
  EXPECT_TRUE(ran.empty());
  EXPECT_TRUE(
      ui.Texts(QStringLiteral("error")).join(u' ').contains(QStringLiteral("A(z) 2. sorból")));

  // The second row: the taxpayer picked, then the previous quarter.
  form.JobsSGSelect(1);
  form.State.AdozoCb.ItemIndex = 1;
  form.RowChoiceChange();
  form.State.NegyedevCbx.Checked = true;
  form.NegyedevCbxClick();
  EXPECT_EQ(form.Row(1)[mcKezdete], QStringLiteral("2024-07-01"));
  EXPECT_EQ(form.Row(1)[mcVege], QStringLiteral("2024-09-30"));
  EXPECT_TRUE(
      form.Row(1)[mcKimenet].endsWith(QStringLiteral("/19345678910_20240701-20240930.xml")));
  EXPECT_TRUE(form.Missing(1).isEmpty());

  // An output that is another row's file is marked before anything runs.
  form.JobsSGSelect(2);
  const QString own = form.State.KimenetEd.Text;
  form.State.KimenetEd.Text = form.Row(0)[mcKimenet];
  form.RowChoiceChange();
  EXPECT_TRUE(form.Missing(2).join(u' ').contains(QStringLiteral("másik kimenet")));
  form.State.KimenetEd.Text = own;
  form.RowChoiceChange();
  EXPECT_TRUE(form.Missing(2).isEmpty());

  // "Mégse" while the first job runs: the batch stops after it and says so.
  ui.CancelWhen = [](const QString&, qint64 done, qint64) { return done == 1; };
  form.InditasBtnClick();
  ASSERT_EQ(ran.size(), 1u);
  EXPECT_EQ(ran[0].Cells, first.Cells);
  EXPECT_TRUE(form.Result(0).has_value());
  EXPECT_FALSE(form.Result(1).has_value());
  EXPECT_TRUE(form.State.StatusLb.Caption.contains(QStringLiteral("az 1–1. sor futott le")))
      << form.State.StatusLb.Caption.toStdString();
  EXPECT_TRUE(form.State.StatusLb.Caption.contains(QStringLiteral("további 2 sor nem indult el")));

  // Saved as a manifest (relative names) and read back: the same rows.
  ui.SaveFileAnswers.push_back(root.filePath(QStringLiteral("koteg")));
  form.MentesBtnClick();
  const TResult<std::vector<TBatchRow>> saved =
      ReadManifest(root.filePath(QStringLiteral("koteg.csv")));
  ASSERT_TRUE(saved.Ok()) << saved.Message().toStdString();
  ASSERT_EQ(saved->size(), 3u);
  for (qsizetype i = 0; i < 3; ++i)
    EXPECT_EQ(saved.Value()[size_t(i)].Cells, form.Row(i).Cells) << i;
  EXPECT_TRUE(QString::fromUtf8(test::ReadFile(root.filePath(QStringLiteral("koteg.csv"))))
                  .contains(QStringLiteral("\r\n19345678_november.csv;")));
}

}  // namespace
}  // namespace krinu
