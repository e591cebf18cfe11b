// The second tab's handlers: the output file dialog and the declaration run's starting
// checks, file names, overwrite rule, write failure and repeated runs.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/main_form.h"
#include "common/clock.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"
#include "support/test_main_form.h"
#include "support/xml_lint.h"

namespace krinu {
namespace {

// An invoice on two lines, a zero line, a credit note and a line of the next month.
const QByteArray kInvoices =
    "Partner adószáma;Partner neve;Számla sorszáma;Teljesítés dátuma;Nettó összeg;ÁFA összeg\r\n"
    "11111111-2-41;Egy Kft;A/1;2024.11.04;1.400,00;378,00\r\n"
    "11111111-2-41;Egy Kft;A/1;2024.11.04;1.400,00;378,00\r\n"
    "11111111-2-41;Egy Kft;A/2;2024.11.05;0,00;0,00\r\n"
    "22222222-2-42;Kettő Bt;B/1;2024.11.06;2.500,00;675,00\r\n"
    "22222222-2-42;Kettő Bt;B/2;2024.11.07;-500,00;-135,00\r\n"
    "33333333-2-43;Három Zrt;C/1;2024.12.01;9.000,00;2.430,00\r\n";

const QString kNotLoaded = QStringLiteral(
    "Még nem volt sikeres input (CSV) fájl betöltés, nem készíthető XML  nyomtatvány");
const QString kNoTaxpayer = QStringLiteral("Kérem, először jelöljön ki egy Adózót");
const QString kNoAdministrator = QStringLiteral("Kérem, először jelöljön ki egy Ügyintézőt");
const QString kNoFile =
    QStringLiteral("Kérem, először jelöljön ki egy fájlt az XML nyomtatvány adatok tárolására");
const QString kExists =
    QStringLiteral("A kijelölt XML fájl már létezik és nem engedélyezett a felülírása");

class XmlTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("KRINU_ANSI_CODEPAGE", "1250");
    Clock::SetTodayForTesting([] { return QDate(2024, 12, 5); });
    const QString programDir = root.filePath(QStringLiteral("bin/"));
    QDir().mkpath(programDir);
    ASSERT_TRUE(QFile::copy(test::BinDir() + QStringLiteral("krinu.ini"),
                            programDir + QStringLiteral("krinu.ini")));
    env.ProgramPath = programDir + QStringLiteral("krinu");
    env.UserProfile = root.path();
    form = std::make_unique<test::TestMainForm>(ui, env);
    form->FormCreate();
    form->Session().OutputLocale = QLocale(QLocale::Hungarian, QLocale::Hungary);
    input = Path(QStringLiteral("szamlak.csv"));
    test::WriteFile(input, kInvoices);
    ui.Clear();
  }
  void TearDown() override { Clock::SetTodayForTesting({}); }

  QString Path(const QString& name) const { return root.filePath(name); }
  void Load() {
    ui.OpenFileAnswers.push_back(input);
    form->SelectFileBtnClick();
    ASSERT_TRUE(form->InputLoaded());
    ASSERT_EQ(form->Job().AFAAdatList.size(), 6u);
    ui.Clear();
    ui.DialogSpecs.clear();
  }
  // Runs the declaration with the output edit set to name (left as it is when null).
  void Run(const std::optional<QString>& name = std::nullopt) {
    if (name) form->State.XMLFileSelectEd.Text = *name;
    form->Step1BtnClick();
  }
  QStringList& Memo() { return form->State.XMLGenMm.Lines; }
  // Status and Enabled of every line, to see that a refused run changed none.
  QList<std::pair<int, bool>> LineStates() const {
    QList<std::pair<int, bool>> states;
    for (const TAFAAdat& line : form->Job().AFAAdatList)
      states.append({int(line.Status), line.Enabled});
    return states;
  }

  QTemporaryDir root;
  AppEnvironment env;
  test::ScriptedUserInterface ui;
  std::unique_ptr<test::TestMainForm> form;
  QString input;
};

TEST_F(XmlTabTest, StartingChecksInOrderChangeNothing) {
  const qsizetype memo = Memo().size();
  // Nothing loaded comes first, whatever else is missing.
  form->State.AdozokCb.ItemIndex = -1;
  Run(QString());
  EXPECT_EQ(ui.Messages, (std::vector<test::Message>{{"information", kNotLoaded}}));
  EXPECT_TRUE(ui.DialogSpecs.empty());

  Load();
  const auto loaded = LineStates();
  form->State.AdozokCb.ItemIndex = -1;
  form->State.UgyintezokCb.ItemIndex = -1;
  Run(QString());
  form->State.AdozokCb.ItemIndex = 0;
  Run();
  EXPECT_EQ(ui.Messages, (std::vector<test::Message>{{"information", kNoTaxpayer},
                                                     {"information", kNoAdministrator}}));
  EXPECT_TRUE(ui.DialogSpecs.empty());
  ui.Clear();

  // An empty edit asks for the file; cancelling it ends the run.
  form->State.UgyintezokCb.ItemIndex = 0;
  Run();
  ASSERT_EQ(ui.DialogSpecs.size(), 1u);
  EXPECT_EQ(ui.DialogSpecs[0].Title, QStringLiteral("Adja meg a készítendő XML fájl nevét"));
  EXPECT_EQ(ui.DialogSpecs[0].Filter, QStringLiteral("XML files (*.xml)|*.xml|Any file (*.*)|*.*"));
  EXPECT_EQ(ui.Messages, (std::vector<test::Message>{{"information", kNoFile}}));
  EXPECT_TRUE(form->State.XMLFileSelectEd.Text.isEmpty());
  ui.Clear();

  // The existing-file check looks at the name with ".xml" appended.
  test::WriteFile(Path(QStringLiteral("regi.xml")), "old");
  form->State.OverWriteXmlFileCbx.Checked = false;
  Run(Path(QStringLiteral("regi")));
  EXPECT_EQ(ui.Messages, (std::vector<test::Message>{{"error", kExists}}));
  EXPECT_EQ(test::ReadFile(Path(QStringLiteral("regi.xml"))), QByteArray("old"));

  // A folder of that name counts as an existing file.
  QDir().mkpath(Path(QStringLiteral("mappa.xml")));
  ui.Clear();
  Run(Path(QStringLiteral("mappa.xml")));
  EXPECT_EQ(ui.Texts(), QStringList{kExists});

  EXPECT_EQ(LineStates(), loaded);
  EXPECT_EQ(Memo().size(), memo);  // no log line from a refused run
  EXPECT_TRUE(form->Job().Run.PartnerList.isEmpty());
  EXPECT_TRUE(form->Job().Run.LastWrittenXml.isEmpty());
}

TEST_F(XmlTabTest, OutputFileNames) {
  Load();
  // Chosen in the dialog: without an extension ".xml" goes into the edit too.
  ui.SaveFileAnswers.push_back(Path(QStringLiteral("bevallas")));
  Run(QString());
  EXPECT_EQ(form->State.XMLFileSelectEd.Text, Path(QStringLiteral("bevallas.xml")));
  EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("bevallas.xml"))));
  ui.SaveFileAnswers.push_back(Path(QStringLiteral("bevallas.txt")));
  Run(QString());
  EXPECT_EQ(form->State.XMLFileSelectEd.Text, Path(QStringLiteral("bevallas.txt")));
  EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("bevallas.txt"))));
  EXPECT_EQ(ui.DialogSpecs.size(), 2u);

  // Typed into the edit: the file gets ".xml", the edit keeps the name as typed.
  Run(Path(QStringLiteral("masik")));
  EXPECT_EQ(form->State.XMLFileSelectEd.Text, Path(QStringLiteral("masik")));
  EXPECT_EQ(form->Job().Run.LastWrittenXml, Path(QStringLiteral("masik.xml")));
  EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("masik"))));
  EXPECT_EQ(Memo().last(), QStringLiteral("Fájlnév:") + Path(QStringLiteral("masik.xml")));
  // A dot in a folder name is no extension.
  QDir().mkpath(Path(QStringLiteral("ev.2024")));
  Run(Path(QStringLiteral("ev.2024/nov")));
  EXPECT_EQ(form->Job().Run.LastWrittenXml, Path(QStringLiteral("ev.2024/nov.xml")));
  EXPECT_EQ(ui.DialogSpecs.size(), 2u);
  EXPECT_TRUE(ui.Messages.empty());  // a successful run shows no box
}

TEST_F(XmlTabTest, TheInputIsNeverTheReturn) {
  Load();
  // Picked in the dialog by a slip of the mouse: an existing file that is no XML is asked
  // about, and the answer No leaves the edit empty.
  ui.SaveFileAnswers.push_back(input);
  Run(QString());
  EXPECT_EQ(ui.Texts(QStringLiteral("confirmation")).size(), 1u);
  EXPECT_EQ(ui.Texts(QStringLiteral("information")), QStringList{kNoFile});
  // Typed, through a link or "..": refused, whatever the overwrite box says.
  QStringList names{input, Path(QStringLiteral("ev/../szamlak.csv"))};
#ifndef Q_OS_WIN  // a Windows link is a shortcut file of its own
  ASSERT_TRUE(QFile::link(input, Path(QStringLiteral("link.xml"))));
  names << Path(QStringLiteral("link.xml"));
#endif
  for (const QString& name : names) {
    ui.Clear();
    Run(name);
    ASSERT_EQ(ui.Texts(QStringLiteral("error")).size(), 1u) << name.toStdString();
    EXPECT_TRUE(ui.Texts(QStringLiteral("error"))
                    .front()
                    .startsWith(QStringLiteral("A kimeneti fájl azonos az input fájllal")));
  }
  EXPECT_EQ(test::ReadFile(input), kInvoices);
  EXPECT_TRUE(form->Job().Run.LastWrittenXml.isEmpty());
}

TEST_F(XmlTabTest, OverwriteAllowedAndRefused) {
  Load();
  const QString target = Path(QStringLiteral("ki.xml"));
  test::WriteFile(target, "old");
  Run(target);  // ticked at start: replaced without a question
  EXPECT_TRUE(ui.Messages.empty());
  const QByteArray written = test::ReadFile(target);
  EXPECT_TRUE(written.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"));

  const qsizetype memo = Memo().size();
  form->State.OverWriteXmlFileCbx.Checked = false;
  Run(target);
  EXPECT_EQ(ui.Messages, (std::vector<test::Message>{{"error", kExists}}));
  EXPECT_EQ(test::ReadFile(target), written);
  EXPECT_EQ(Memo().size(), memo);
}

TEST_F(XmlTabTest, WriteFailureNamesTheFileAndTheNextRunStartsFromTheLoadedLines) {
  Load();
  test::WriteFile(Path(QStringLiteral("sima")), "a file, not a folder");
  const QString target = Path(QStringLiteral("sima/ki.xml"));
  Run(target);
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Kind, QStringLiteral("error"));
  EXPECT_EQ(ui.BoxesDuringProgress, 0);  // the progress closed before the box
  EXPECT_TRUE(ui.Messages[0].Text.contains(QDir::toNativeSeparators(target)))
      << ui.Messages[0].Text.toStdString();
  EXPECT_EQ(Memo().last(), QStringLiteral("Fájlba történő kiírás kezdődik"));
  EXPECT_TRUE(form->Job().Run.LastWrittenXml.isEmpty());
  EXPECT_FALSE(form->Job().Run.Return);
  EXPECT_EQ(LineStates().size(), 6);  // the loaded lines as the load left them

  ui.Clear();
  const qsizetype before = Memo().size();
  Run(Path(QStringLiteral("ki.xml")));
  EXPECT_TRUE(ui.Messages.empty());
  EXPECT_TRUE(
      Memo().mid(before).contains(QStringLiteral("1 esetben történt bizonylat összesítés")));
  EXPECT_EQ(form->Job().Run.LastWrittenXml, Path(QStringLiteral("ki.xml")));
}

TEST_F(XmlTabTest, SecondRunWritesTheSameAndANewLoadStartsAfresh) {
  Load();
  form->State.DropZeroItemsCbx.Checked = true;
  const QString target = Path(QStringLiteral("ki.xml"));
  const qsizetype startUp = Memo().size();
  Run(target);
  const QStringList first = Memo().mid(startUp);
  const QByteArray bytes = test::ReadFile(target);
  EXPECT_EQ(first, (QStringList{
                       QString(),
                       QStringLiteral("Bizonylatok össszesítése"),
                       QStringLiteral("1 esetben történt bizonylat összesítés"),
                       QString(),
                       QStringLiteral("1. Bizonylat összesítés:"),
                       QStringLiteral("Adószám: 11111111-2-41, BizonylatSzám: A/1, "
                                      "Dátum: 2024. 11. 04."),
                       QStringLiteral("Tételek:"),
                       QStringLiteral("  001: ÁfaAlap:         1400, Áfa:          378   / Név: "
                                      "Egy Kft"),
                       QStringLiteral("  002: ÁfaAlap:         1400, Áfa:          378   / Név: "
                                      "Egy Kft"),
                       QStringLiteral("Összesítve:"),
                       QStringLiteral("       ÁfaAlap:         2800, Áfa:          756   / Név: "
                                      "Egy Kft"),
                       QString(),
                       QStringLiteral("!!! Negatív összeggel rendelkező tételt találtam, ezek "
                                      "nem kerülnek be a bevallásba:"),
                       QStringLiteral("  ÁfaAlap:         -500, Áfa:         -135,  Adószám: "
                                      "22222222-2-42, BizonylatSzám: B/2, Dátum: 2024. 11. 07., "
                                      "Név: Kettő Bt"),
                       QStringLiteral("Vizsgálja meg a fenti tételt és kezelje azt manuálisan"),
                       QStringLiteral("A program az M lap \"Korrekciós\" oldalát nem kezeli, "
                                      "nem tölti"),
                       QString(),
                       QStringLiteral("'0'-s tételek kihagyása:"),
                       QStringLiteral("  Adószám: 11111111-2-41, BizonylatSzám: A/2, "
                                      "Dátum: 2024. 11. 05., Név: Egy Kft"),
                       QString(),
                       QStringLiteral("!!! 3 tételből 1 tétel kívül esik a kijelölt időszakon !!!"),
                       QString(),
                       QStringLiteral("XML nyomtatvány elkészült"),
                       QStringLiteral("Fájlba történő kiírás kezdődik"),
                       QStringLiteral("Fájlba történő kiírás végetért"),
                       QStringLiteral("Fájlnév:") + target,
                   }));
  EXPECT_EQ(form->Job().Run.PartnerList,
            (QStringList{QStringLiteral("11111111-2-41"), QStringLiteral("22222222-2-42"),
                         QStringLiteral("33333333-2-43")}));

  // Every run starts from the lines as loaded: the same options give the same log and file.
  Run();
  EXPECT_EQ(Memo().mid(startUp, first.size()), first);
  EXPECT_EQ(Memo().mid(startUp + first.size()), first);
  EXPECT_EQ(test::ReadFile(target), bytes);
  EXPECT_EQ(test::XmlLint(target), QString());
  EXPECT_EQ(form->Job().AFAAdatList.size(), 6u);

  // Unticked after a combined run, the next one combines nothing, and the zero line is back.
  form->State.BizSumCbx.Checked = false;
  form->State.DropZeroItemsCbx.Checked = false;
  const qsizetype third = Memo().size();
  Run();
  const QStringList uncombined = Memo().mid(third);
  EXPECT_EQ(uncombined.mid(0, 2),
            (QStringList{QString(), QStringLiteral("Bizonylat összesítés kihagyva")}));
  EXPECT_TRUE(uncombined.contains(
      QStringLiteral("!!! 5 tételből 1 tétel kívül esik a kijelölt időszakon !!!")));
  ASSERT_TRUE(form->Job().Run.Return);
  EXPECT_EQ(form->Job().Run.Return->Counts.IncludedLines, 5);
  EXPECT_EQ(form->Job().Run.Return->Lines, &form->Job().Run.Lines);

  // A new load, with the first run's options again.
  form->State.BizSumCbx.Checked = true;
  form->State.DropZeroItemsCbx.Checked = true;
  ui.OpenFileAnswers.push_back(input);
  form->SelectFileBtnClick();
  ASSERT_EQ(form->Job().AFAAdatList.size(), 6u);
  for (const TAFAAdat& line : form->Job().AFAAdatList) {
    EXPECT_EQ(line.Status, TAFAAdatStatus::stAFABase);
    EXPECT_TRUE(line.Enabled);
  }
  EXPECT_TRUE(form->State.XMLFileSelectEd.Text.isEmpty());  // the last return's name is gone
  const qsizetype beforeThird = Memo().size();
  Run(target);
  EXPECT_EQ(Memo().mid(beforeThird), first);
  EXPECT_EQ(test::ReadFile(target), bytes);
}

TEST_F(XmlTabTest, AStoppedRunLeavesTheJobAsItWasAndTheNextOneWritesTheSame) {
  Load();
  const QString earlier = Path(QStringLiteral("korabbi.xml"));
  const QString target = Path(QStringLiteral("ki.xml"));
  Run(earlier);  // what a stop must keep: the lines, the partner list and the file of this run
  const TJobRun& run = form->Job().Run;
  const QList<std::pair<int, bool>> lines = LineStates();
  const QStringList partners = run.PartnerList;
  const QStringList memo = Memo();
  ASSERT_EQ(run.LastWrittenXml, earlier);
  const QString title = QStringLiteral("Az XML nyomtatvány készítése\n");
  const QStringList phases{title + QStringLiteral("1/3: A tételek összesítése és ellenőrzése…"),
                           title + QStringLiteral("2/3: A nyomtatvány összeállítása…"),
                           title + QStringLiteral("3/3: Fájlba írás…")};
  ui.ProgressTexts.clear();
  // Stopped while preparing, then while building the document.
  for (qsizetype phase = 0; phase < 2; ++phase) {
    ui.CancelWhen = [&](const QString& what, qint64, qint64) { return what == phases[phase]; };
    Run(target);
    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_EQ(ui.ProgressTexts, phases.mid(0, phase + 1));
    EXPECT_EQ(LineStates(), lines);
    EXPECT_EQ(run.PartnerList, partners);
    EXPECT_EQ(run.LastWrittenXml, earlier);
    EXPECT_EQ(run.XmlFileName, earlier);
    EXPECT_TRUE(run.Return);
    EXPECT_EQ(Memo(),
              memo + QStringList{QStringLiteral("Az XML nyomtatvány készítése megszakítva")});
    EXPECT_FALSE(QFileInfo::exists(target));
    Memo() = memo;
    ui.ProgressTexts.clear();
  }
  ui.CancelWhen = {};
  Run(target);
  EXPECT_EQ(ui.ProgressTexts, phases);
  EXPECT_EQ(test::ReadFile(target), test::ReadFile(earlier));
  EXPECT_EQ(run.LastWrittenXml, target);
}

TEST_F(XmlTabTest, NothingInThePeriodIsWrittenOnlyOnAYes) {
  Load();
  form->State.IdoszakADtPick.Date = QDate(2024, 10, 1);
  form->State.IdoszakBDtPick.Date = QDate(2024, 10, 31);
  const QString target = Path(QStringLiteral("ki.xml"));
  const qsizetype before = Memo().size();
  Run(target);
  const QString question = QStringLiteral(
      "A kijelölt időszakba egyetlen tétel sem esik (4 tételből 4 kívül esik).\n"
      "Biztosan elkészíti a bevallást?");
  EXPECT_EQ(ui.Messages, (std::vector<test::Message>{{"confirmation", question}}));
  EXPECT_EQ(ui.BoxesDuringProgress, 0);
  EXPECT_FALSE(QFileInfo::exists(target));
  EXPECT_FALSE(form->Job().Run.Return);
  EXPECT_TRUE(form->Job().Run.XmlFileName.isEmpty());
  EXPECT_TRUE(Memo().mid(before).contains(
      QStringLiteral("!!! 4 tételből 4 tétel kívül esik a kijelölt időszakon !!!")));
  EXPECT_EQ(Memo().last(), QStringLiteral("Az XML nyomtatvány készítése megszakítva"));

  ui.Clear();
  ui.ConfirmAnswers.push_back(true);
  Run(target);
  EXPECT_EQ(ui.Texts(), QStringList{question});
  EXPECT_EQ(test::XmlLint(target), QString());
  ASSERT_EQ(form->Job().Run.Warnings.size(), 1u);
  EXPECT_EQ(form->Job().Run.Warnings[0].Kind, TWarningKind::NothingInPeriod);

  // One line inside the period is enough.
  ui.Clear();
  form->State.IdoszakBDtPick.Date = QDate(2024, 11, 4);
  Run(target);
  EXPECT_TRUE(ui.Messages.empty());
  EXPECT_TRUE(form->Job().Run.Warnings.empty());
}

}  // namespace
}  // namespace krinu
