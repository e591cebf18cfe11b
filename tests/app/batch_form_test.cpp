// The batch window's logic: rows from dropped files with their defaults, a run that refuses
// rows missing a choice, "Mégse" after the first job, and the table saved as a manifest that
// reads back the same.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/batch_form.h"
#include "common/clock.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"

namespace krinu {
namespace {

TEST(BatchFormTest, RowsGetTheirDefaultsRunInOrderAndStopWhenAsked) {
  QTemporaryDir root;
  Clock::SetTodayForTesting([] { return QDate(2024, 12, 5); });
  const QString programDir = root.filePath(QStringLiteral("bin/"));
  QDir().mkpath(programDir);
  ASSERT_TRUE(QFile::copy(test::BinDir() + QStringLiteral("krinu.ini"),
                          programDir + QStringLiteral("krinu.ini")));
  AppEnvironment env;
  env.ProgramPath = programDir + QStringLiteral("krinu");
  env.UserProfile = root.path();
  TSession session(env);
  test::ScriptedUserInterface ui;
  ASSERT_EQ(session.Start(ui), TStartup::Started);
  // The sample database's taxpayer 19345678910; its base number names the first export.
  const QString named = root.filePath(QStringLiteral("19345678_november.csv"));
  const QString other = root.filePath(QStringLiteral("masik.csv"));
  test::WriteFile(named, "x");
  test::WriteFile(other, "x");
  QDir(root.path()).mkdir(QStringLiteral("mappa"));

  std::vector<TBatchRow> ran;
  TBatchForm form(ui, session, [&](const TBatchRow& row) {
    ran.push_back(row);
    TBatchResult r = FailedBatchResult(row, {});
    r.Ok = true;
    r.Partners = 3;
    return r;
  });
  form.FilesDropped({named, other, root.filePath(QStringLiteral("mappa"))});
  ASSERT_EQ(form.RowCount(), 2);
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

  // "Mégse" while the first job runs: the batch stops after it and says so.
  ui.CancelWhen = [](const QString&, qint64 done, qint64) { return done == 1; };
  form.InditasBtnClick();
  ASSERT_EQ(ran.size(), 1u);
  EXPECT_EQ(ran[0].Cells, first.Cells);
  EXPECT_TRUE(form.Result(0).has_value());
  EXPECT_FALSE(form.Result(1).has_value());
  EXPECT_TRUE(form.State.StatusLb.Caption.contains(QStringLiteral("az 1–1. sor futott le")))
      << form.State.StatusLb.Caption.toStdString();
  EXPECT_TRUE(form.State.StatusLb.Caption.contains(QStringLiteral("további 1 sor nem indult el")));

  // Saved as a manifest (relative names) and read back: the same rows.
  ui.SaveFileAnswers.push_back(root.filePath(QStringLiteral("koteg")));
  form.MentesBtnClick();
  const TResult<std::vector<TBatchRow>> saved =
      ReadManifest(root.filePath(QStringLiteral("koteg.csv")));
  ASSERT_TRUE(saved.Ok()) << saved.Message().toStdString();
  ASSERT_EQ(saved->size(), 2u);
  for (qsizetype i = 0; i < 2; ++i)
    EXPECT_EQ(saved.Value()[size_t(i)].Cells, form.Row(i).Cells) << i;
  EXPECT_TRUE(QString::fromUtf8(test::ReadFile(root.filePath(QStringLiteral("koteg.csv"))))
                  .contains(QStringLiteral("\r\n19345678_november.csv;")));
  Clock::SetTodayForTesting({});
}

}  // namespace
}  // namespace krinu
