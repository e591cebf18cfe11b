#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "app/import_profiles.h"
#include "app/profiles_form.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"

namespace krinu {
namespace {

TImportProfile FullProfile() {
  TImportProfile p;
  p.Name = QStringLiteral("Havi export");
  p.Layout = {
      0, QStringLiteral("\t"), true, 3, {QStringLiteral("adószám"), {}, QStringLiteral("x;y")}};
  p.Corrections.Header = false;
  p.Corrections.Columns[2] = 3;
  p.Corrections.DateFormat = QStringLiteral("mm/dd/yyyy");
  p.Corrections.DecSep = 1;
  p.Saved = p.LastUsed = QDateTime(QDate(2026, 11, 5), QTime(9, 30), Qt::UTC);
  p.Runs.push_back({QStringLiteral("export-#.csv"), QStringLiteral("12345678-2-41"), 2, false, true,
                    false, QStringLiteral("2.0"), true, p.Saved});
  return p;
}

TEST(ImportProfiles, WhatIsWrittenReadsBackAndHostileFilesAreSetAsideNotTrusted) {
  QTemporaryDir dir;
  const QString file = ImportProfilesName(dir.path() + u'/');
  const QString bak = file + QStringLiteral(".bak");
  EXPECT_FALSE(ReadImportProfiles(file).Notice);  // none yet: nothing to say

  TImportProfiles written;
  written.Profiles.push_back(FullProfile());
  ASSERT_FALSE(WriteImportProfiles(file, written));
  const TProfilesRead read = ReadImportProfiles(file);
  EXPECT_FALSE(read.Notice);
  EXPECT_EQ(read.Profiles.Profiles, written.Profiles);
  const QByteArray good = test::ReadFile(file);

  // Each is set aside whole and reads as no profiles, with one notice.
  QByteArray many = "{\"profiles\":[";
  for (int i = 0; i < 100000; ++i) many += "{},";
  many.chop(1);
  many += "]}";
  const std::vector<std::pair<const char*, QByteArray>> hostile{
      {"truncated", good.left(good.size() / 2)},
      {"not JSON", "\x00\xff garbage"},
      {"nested", QByteArray(5000, '[')},
      {"100,000 entries", many}};
  for (const auto& [what, bytes] : hostile) {
    test::WriteFile(file, bytes);
    const TProfilesRead r = ReadImportProfiles(file);
    EXPECT_TRUE(r.Profiles.Profiles.empty()) << what;
    EXPECT_TRUE(r.Notice) << what;
    EXPECT_FALSE(QFile::exists(file)) << what;
    EXPECT_EQ(test::ReadFile(bak), bytes) << what;
  }
  // 100 MB (sparse) is not even read.
  {
    QFile big(file);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(100 << 20));
  }
  EXPECT_TRUE(ReadImportProfiles(file).Notice);
  EXPECT_EQ(QFileInfo(bak).size(), 100 << 20);

  // Bad entries (a control character in a name, a column out of range) are left out, the
  // good one stays in place, and the original is kept aside.
  QJsonObject root = QJsonDocument::fromJson(good).object();
  QJsonArray entries = root.value(QStringLiteral("profiles")).toArray();
  QJsonObject escape = entries[0].toObject(), column = escape;
  escape.insert(QStringLiteral("name"), QStringLiteral("a\x1b[2Jb"));
  QJsonObject corrections = column.value(QStringLiteral("corrections")).toObject();
  corrections.insert(QStringLiteral("columns"), QJsonArray{1e9});
  column.insert(QStringLiteral("name"), QStringLiteral("Oszlop"));
  column.insert(QStringLiteral("corrections"), corrections);
  entries.prepend(escape);
  entries.append(column);
  root.insert(QStringLiteral("profiles"), entries);
  const QByteArray mixed = QJsonDocument(root).toJson();
  test::WriteFile(file, mixed);
  const TProfilesRead partly = ReadImportProfiles(file);
  EXPECT_EQ(partly.Profiles.Profiles, written.Profiles);
  EXPECT_TRUE(partly.Notice && partly.Notice->contains(QStringLiteral(" 2 hibás bejegyzését")));
  EXPECT_EQ(test::ReadFile(bak), mixed);
  EXPECT_EQ(ReadImportProfiles(file).Profiles.Profiles, written.Profiles);
}

TEST(ImportProfiles, OneProfilePerLayoutAndOnlyWhatTheUserChanged) {
  TInputChoices detected{QStringLiteral(";"), true, {1, 2, 0, 4, 5, 6}, QString(), 0};
  TInputChoices used = detected;
  used.Columns[2] = 3;
  used.DateFormat = QStringLiteral("mm/dd/yyyy");
  const TInputCorrections c = CorrectionsBetween(detected, used);
  EXPECT_FALSE(c.Separator || c.Header || c.DecSep || c.Columns[0]);
  // Applied over another month's detection that found more, the rest of it stays.
  TInputChoices next = detected;
  next.DecSep = 1;
  ApplyContentCorrections(c, next);
  EXPECT_EQ(next.Columns, (std::array<int, 6>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(next.DecSep, 1);

  TImportProfiles store;
  const TLayoutFingerprint layout{0, QStringLiteral(";"), true, 6, {QStringLiteral("a")}};
  const QDateTime now = QDateTime::currentDateTimeUtc();
  ASSERT_FALSE(store.Put(QStringLiteral("A"), layout, c, now));
  TRememberedRun run;
  run.Pattern = FileNamePattern(QStringLiteral("/x/Ki-2026-10.csv"));
  RememberRun(*store.Find(QStringLiteral("A")), run);
  // Saved again under another name, the layout's profile is replaced and keeps its runs.
  ASSERT_FALSE(store.Put(QStringLiteral("B"), layout, {}, now));
  ASSERT_EQ(store.Profiles.size(), 1u);
  EXPECT_TRUE(RememberedRunFor(store.Profiles[0], QStringLiteral("ki-2026-11.csv")));
  EXPECT_EQ(store.UniqueName(QStringLiteral("B")), QStringLiteral("B (2)"));
  EXPECT_TRUE(store.Rename(QStringLiteral("B"), QStringLiteral("x\ny")));
  EXPECT_TRUE(store.Rename(QStringLiteral("B"), QStringLiteral("auto")));

  EXPECT_EQ(PreviousQuarter(QDate(2027, 1, 1)), std::pair(QDate(2026, 10, 1), QDate(2026, 12, 31)));
  EXPECT_TRUE(IsCalendarQuarter(QDate(2026, 7, 1), QDate(2026, 9, 30)));
  EXPECT_FALSE(IsCalendarQuarter(QDate(2026, 8, 1), QDate(2026, 10, 31)));
}

// The "Mentett beállítások" window renames and deletes in the file, and refuses a name that
// is taken or holds a control character.
TEST(ImportProfiles, TheWindowRenamesAndDeletesInTheFile) {
  QTemporaryDir root;
  AppEnvironment env;
  env.ProgramPath = root.filePath(QStringLiteral("krinu"));
  env.UserProfile = root.path();
  TSession session(env);
  test::ScriptedUserInterface ui;
  ASSERT_EQ(session.Start(ui), TStartup::Started);
  TImportProfiles& store = session.ImportProfiles.Profiles();
  const QDateTime now = QDateTime::currentDateTimeUtc();
  ASSERT_FALSE(store.Put(QStringLiteral("A"), {0, QStringLiteral(";"), true, 6, {}}, {}, now));
  ASSERT_FALSE(store.Put(QStringLiteral("B"), {65001, QStringLiteral(","), true, 6, {}}, {}, now));
  const auto names = [&] {
    QStringList n;
    for (const TImportProfile& p :
         ReadImportProfiles(ImportProfilesName(session.DataDir)).Profiles.Profiles)
      n << p.Name;
    return n;
  };

  TProfilesForm form(ui, session);
  form.FormShow();
  ASSERT_EQ(form.State.ProfilesSG.RowCount, 2);
  EXPECT_EQ(form.State.ProfilesSG.Cell(1, 1), QStringLiteral("UTF-8, ',', fejrovat, 6 mező"));
  EXPECT_FALSE(form.State.TorlesBtn.Enabled);  // until a row is chosen
  form.ProfilesSGSelect(0);
  for (const QString& refused : {QStringLiteral("B"), QStringLiteral("C\x1b[2J")}) {
    form.State.NevEd.Text = refused;
    form.AtnevezesBtnClick();
  }
  EXPECT_EQ(
      ui.Texts(QStringLiteral("error")),
      (QStringList{QStringLiteral("Már van ilyen nevű mentett beállítás: B"),
                   QStringLiteral("A mentett beállítás neve nem tartalmazhat vezérlő karaktert")}));
  form.State.NevEd.Text = QStringLiteral("Havi");
  form.AtnevezesBtnClick();
  EXPECT_EQ(names(), (QStringList{QStringLiteral("Havi"), QStringLiteral("B")}));

  form.ProfilesSGSelect(1);
  ui.ConfirmAnswers = {false, true};
  form.TorlesBtnClick();
  EXPECT_EQ(names().size(), 2);
  form.TorlesBtnClick();
  EXPECT_EQ(names(), QStringList{QStringLiteral("Havi")});
  EXPECT_EQ(form.State.Selected, 0);

  // What krinu-cli changed meanwhile is what the window shows when it opens again.
  TProfileStore other;
  other.SetFile(ImportProfilesName(session.DataDir));
  other.Profiles().Profiles.clear();
  ASSERT_FALSE(other.Save());
  form.FormShow();
  EXPECT_EQ(form.State.ProfilesSG.RowCount, 0);
}

}  // namespace
}  // namespace krinu
