#include <gtest/gtest.h>

#include "app/adozok_torzs_form.h"
#include "app/register_lists.h"
#include "register_fixture.h"

namespace krinu {
namespace {

using test::Message;

TAdozoAdat FromEdits(const QString& adoszam, const QString& nev, const QString& bank,
                     const QString& szamla) {
  test::ScriptedUserInterface ui;
  TSession session{AppEnvironment{}};
  session.Db = std::make_unique<TSQLiteDatabase>(QStringLiteral(":memory:"));
  TAdozokTorzsForm form(session, ui);
  form.State.AdoszamEd.Text = adoszam;
  form.State.NevEd.Text = nev;
  form.State.BankEd.Text = bank;
  form.State.SzamlaEd.Text = szamla;
  return form.EdToAdozoAdat();
}

const QString kAdoszamMsg =
    QStringLiteral("Az 'Adószám' formátuma nem helyes: 11 számjegyből kell állnia");
const QString kNevMsg =
    QStringLiteral("A 'Név' formátuma nem helyes: min. 1, max 80 karakterből kell állnia");
const QString kSzamlaMsg =
    QStringLiteral("A 'Számlaszám' formátuma nem helyes: 16 vagy 24 számjegyből kell állnia");

TEST(AdozoCheck, AccountNumberSplitAndLengths) {
  const QString d16 = QStringLiteral("1234567890123456");
  const QString d24 = QStringLiteral("123456789012345678901234");
  TAdozoAdat r = FromEdits(QStringLiteral("12345678901"), QStringLiteral("N"), QStringLiteral("B"),
                           QStringLiteral("  ") + d16 + QStringLiteral(" "));
  EXPECT_EQ(r.Szamlaszam1, QStringLiteral("12345678"));
  EXPECT_EQ(r.Szamlaszam2, QStringLiteral("90123456"));
  EXPECT_TRUE(CheckAdozoAdat(r).Ok());
  r = FromEdits(QStringLiteral("12345678901"), QStringLiteral("N"), QStringLiteral("B"), d24);
  EXPECT_EQ(r.Szamlaszam1, QStringLiteral("12345678"));
  EXPECT_EQ(r.Szamlaszam2, QStringLiteral("9012345678901234"));
  EXPECT_TRUE(CheckAdozoAdat(r).Ok());
  for (int len = 17; len <= 23; ++len) {
    r = FromEdits(QStringLiteral("12345678901"), QStringLiteral("N"), QStringLiteral("B"),
                  d24.left(len));
    EXPECT_EQ(CheckAdozoAdat(r).Note, kSzamlaMsg) << len;
  }
  r = FromEdits(QStringLiteral("12345678901"), QStringLiteral("N"), QStringLiteral("B"),
                QStringLiteral("12345678 90123456"));
  EXPECT_EQ(CheckAdozoAdat(r).Note, kSzamlaMsg);
  r = FromEdits(QStringLiteral("12345678901"), QStringLiteral("N"), QStringLiteral("B"),
                QStringLiteral("123456789012345x"));
  EXPECT_EQ(CheckAdozoAdat(r).rc, 1);
}

TEST(AdozoCheck, TaxNumberNamesAndOrder) {
  const QString acc = QStringLiteral("1234567890123456");
  // Not trimmed for add and change.
  EXPECT_EQ(CheckAdozoAdat(FromEdits(QStringLiteral(" 12345678901"), QStringLiteral("N"),
                                     QStringLiteral("B"), acc))
                .Note,
            kAdoszamMsg);
  EXPECT_EQ(CheckAdozoAdat(FromEdits(QStringLiteral("12345678901\n"), QStringLiteral("N"),
                                     QStringLiteral("B"), acc))
                .Note,
            kAdoszamMsg);
  EXPECT_EQ(CheckAdozoAdat(FromEdits(QStringLiteral("1234567890"), QStringLiteral("N"),
                                     QStringLiteral("B"), acc))
                .Note,
            kAdoszamMsg);
  // An arabic-indic digit is not an ASCII digit.
  EXPECT_EQ(CheckAdozoAdat(FromEdits(QStringLiteral("1234567890") + QChar(0x0663),
                                     QStringLiteral("N"), QStringLiteral("B"), acc))
                .Note,
            kAdoszamMsg);
  // 80 characters pass, 81 do not; an invalid tax number is reported before an empty name.
  EXPECT_TRUE(CheckAdozoAdat(FromEdits(QStringLiteral("12345678901"), QString(80, u'é'),
                                       QString(80, u'B'), acc))
                  .Ok());
  EXPECT_EQ(CheckAdozoAdat(FromEdits(QStringLiteral("12345678901"), QString(81, u'N'),
                                     QStringLiteral("B"), acc))
                .Note,
            kNevMsg);
  EXPECT_EQ(
      CheckAdozoAdat(FromEdits(QStringLiteral("12345678901"), QString(), QStringLiteral("B"), acc))
          .Note,
      kNevMsg);
  EXPECT_EQ(CheckAdozoAdat(FromEdits(QStringLiteral("x"), QString(), QString(), QString())).Note,
            kAdoszamMsg);
  EXPECT_EQ(
      CheckAdozoAdat(
          FromEdits(QStringLiteral("12345678901"), QStringLiteral("N"), QString(), QString()))
          .Note,
      QStringLiteral("A 'Bank' formátuma nem helyes: min. 1, max 80 karakterből kell állnia"));
}

TEST(Trrc, NoteIsCutTo255Characters) {
  Trrc r;
  r.Fail(QString(300, u'x'));
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.Note.size(), 255);
}

class AdozokForm : public RegisterFixture {
 protected:
  void SetUp() override {
    RegisterFixture::SetUp();
    form = std::make_unique<TAdozokTorzsForm>(session, ui);
    form->FormCreate();
    form->FormShow();
  }
  void Fill(const QString& adoszam, const QString& nev, const QString& bank = QStringLiteral("Bk"),
            const QString& szamla = QStringLiteral("1111111122222222")) {
    form->State.AdoszamEd.Text = adoszam;
    form->State.NevEd.Text = nev;
    form->State.BankEd.Text = bank;
    form->State.SzamlaEd.Text = szamla;
  }
  void Add(const QString& adoszam, const QString& nev) {
    Fill(adoszam, nev);
    form->UjBTnClick();
    ASSERT_EQ(ui.Messages.back(), (Message{"information", "Új adózó felvétele megtörtént"}));
  }
  QStringList Items() const { return form->State.AdozokLbx.Items; }
  std::unique_ptr<TAdozokTorzsForm> form;
};

TEST_F(AdozokForm, ShowLoadsByNameAndFocusesTheTaxNumber) {
  EXPECT_EQ(Items(), QStringList{QStringLiteral("19345678910 / Zuhanó Részvény Kft")});
  EXPECT_EQ(form->State.AdozokLbx.ItemIndex, 0);
  EXPECT_EQ(form->MarkedIndex, -1);
  EXPECT_EQ(form->State.FocusedControl, QStringLiteral("AdoszamEd"));
}

TEST_F(AdozokForm, AddRefusesEmptyInvalidAndDuplicateNumbers) {
  form->UjBTnClick();
  Fill(QStringLiteral("19345678910 "), QStringLiteral("X"));
  form->UjBTnClick();
  Fill(QStringLiteral("19345678910"), QStringLiteral("Másik"));
  form->UjBTnClick();
  EXPECT_EQ(ui.Messages,
            (std::vector<Message>{
                {"information", "Kérem töltse ki a bal oldalon lévő adatmezőket először!"},
                {"information", "Formátum hiba: " + kAdoszamMsg},
                {"error", "Új adózó felvétele meghiúsult, már létezik az adott Adószám!"}}));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 1);
  // A failure keeps what the user typed.
  EXPECT_EQ(form->State.NevEd.Text, QStringLiteral("Másik"));

  Add(QStringLiteral("00000000001"), QStringLiteral("Alfa"));
  EXPECT_EQ(Items(), QStringList({QStringLiteral("00000000001 / Alfa"),
                                  QStringLiteral("19345678910 / Zuhanó Részvény Kft")}));
  EXPECT_TRUE(form->State.AdoszamEd.Text.isEmpty());  // reload empties the edits
  EXPECT_EQ(form->RegisterList.Object(0)->Adoszam, QStringLiteral("00000000001"));
}

TEST_F(AdozokForm, ChangeFollowsTheTaxNumberInTheEdit) {
  Add(QStringLiteral("22222222222"), QStringLiteral("Beta"));
  form->State.AdozokLbx.ItemIndex = 0;  // Beta
  form->AdozokLbxDblClick();
  EXPECT_EQ(form->State.SzamlaEd.Text, QStringLiteral("1111111122222222"));
  // Another existing number in the edit changes that taxpayer, not the loaded one.
  form->State.AdoszamEd.Text = QStringLiteral("19345678910");
  form->State.NevEd.Text = QStringLiteral("Új név");
  form->ModositBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"information", "Módosítás végrehajtva"}));
  EXPECT_EQ(Items(), QStringList({QStringLiteral("22222222222 / Beta"),
                                  QStringLiteral("19345678910 / Új név")}));
  EXPECT_EQ(form->MarkedIndex, -1);

  form->State.AdozokLbx.ItemIndex = 0;
  form->AdozokLbxKeyPress(QChar(13));
  form->State.AdoszamEd.Text = QStringLiteral("99999999999");
  form->ModositBtnClick();
  EXPECT_EQ(ui.Messages.back(),
            (Message{"error",
                     "Módosítás meghiúsult, hibaüzenet: Nem található a módosítani "
                     "szándékozott Adózó"}));
  EXPECT_EQ(form->State.AdozokLbx.Items[0], QStringLiteral(">>22222222222 / Beta"));

  form->ClearDataFieldsBtnClick();
  form->ModositBtnClick();
  EXPECT_EQ(
      ui.Messages.back(),
      (Message{"information", "Kérem válasszaki ki a lent lévő listából az Adózót először!"}));
  EXPECT_EQ(form->MarkedIndex, 0);  // clearing keeps the mark
}

TEST_F(AdozokForm, DeleteTrimsAsksAndCommitsBeforeTheBox) {
  form->State.AdoszamEd.Text = QStringLiteral("11111111111");
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"information", "Ilyen adószámmal nem léltezik Adózó"}));

  form->State.AdoszamEd.Text = QStringLiteral(" 19345678910 ");
  ui.ConfirmAnswers = {false};
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(),
            (Message{"confirmation",
                     "Biztosan törölni akarja a 19345678910 adószámmal beazonosított Adózót?"}));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 1);
  EXPECT_FALSE(db->InTransaction());

  // The outcome box is shown once the delete has been committed.
  struct Watching : test::ScriptedUserInterface {
    TSQLiteDatabase* db = nullptr;
    bool openAtBox = false;
    void Information(const QString& t) override {
      openAtBox = db->InTransaction();
      ScriptedUserInterface::Information(t);
    }
  } watching;
  watching.db = db;
  watching.ConfirmAnswers = {true};
  TAdozokTorzsForm second(session, watching);
  second.FormShow();
  second.State.AdozokLbx.ItemIndex = 0;
  second.AdozokLbxDblClick();
  second.State.AdoszamEd.Text = QStringLiteral("19345678910 ");
  second.TorlesBtnClick();
  EXPECT_EQ(watching.Messages.back(), (Message{"information", "Törlés végrehajtva"}));
  EXPECT_FALSE(watching.openAtBox);
  EXPECT_FALSE(db->InTransaction());
  EXPECT_TRUE(second.State.AdozokLbx.Items.isEmpty());
  EXPECT_EQ(second.MarkedIndex, -1);

  // An empty table: every delete says there is no such taxpayer.
  second.State.AdoszamEd.Text = QStringLiteral("19345678910");
  second.TorlesBtnClick();
  EXPECT_EQ(watching.Messages.back(),
            (Message{"information", "Ilyen adószámmal nem léltezik Adózó"}));
}

TEST_F(AdozokForm, MarkMovesAndSearchSelectsWithoutLoading) {
  for (const char* n : {"Alma", "Beta", "Ceruza", "Dinnye", "Zúzó Kft", "Zuzmó Bt", "Árpád"})
    Add(QStringLiteral("1000000000") + QString::number(Items().size()), QString::fromUtf8(n));
  // By name, bytewise: ... "Zuhanó", "Zuzmó", "Zúzó", "Árpád".
  ASSERT_EQ(Items().size(), 8);
  for (int i = 0; i < Items().size(); ++i)
    EXPECT_EQ(Items()[i], AdozoItemText(*form->RegisterList.Object(i)));
  form->State.AdozokLbx.ItemIndex = 2;
  form->AdozokLbxDblClick();
  form->State.AdozokLbx.ItemIndex = 5;
  form->AdozokLbxDblClick();
  EXPECT_FALSE(Items()[2].startsWith(QStringLiteral(">>")));
  EXPECT_TRUE(Items()[5].startsWith(QStringLiteral(">>")));
  const QStringList marked = Items();
  form->AdozokLbxDblClick();
  EXPECT_EQ(Items(), marked);
  EXPECT_EQ(form->State.NevEd.Text, form->RegisterList.Object(5)->Nev);

  // The search sees the text before the key: "z" then "u" does nothing, the third key finds.
  auto& search = form->State.SearchAdozoEd;
  form->State.AdozokLbx.ItemIndex = 1;
  search.Text = QStringLiteral("z");
  form->SearchAdozoEdKeyPress(u'u');
  EXPECT_EQ(form->State.AdozokLbx.ItemIndex, 1);
  search.Text = QStringLiteral("zu");
  form->SearchAdozoEdKeyPress(u'z');
  EXPECT_EQ(form->State.AdozokLbx.ItemIndex, 4);  // "ZUHANÓ", first containing "ZU"
  EXPECT_EQ(form->State.NevEd.Text, form->RegisterList.Object(5)->Nev);  // nothing loaded
  search.Text = QStringLiteral("zú");  // accented letters keep their case on both sides
  form->SearchAdozoEdKeyPress(u'z');
  EXPECT_EQ(form->State.AdozokLbx.ItemIndex, 6);
  search.Text = QStringLiteral("ár");  // "á" does not find "Á"
  form->State.AdozokLbx.ItemIndex = 0;
  form->SearchAdozoEdKeyPress(u'p');
  EXPECT_EQ(form->State.AdozokLbx.ItemIndex, 0);
  search.Text = QStringLiteral("rp");
  form->SearchAdozoEdKeyPress(u'x');
  EXPECT_EQ(form->State.AdozokLbx.ItemIndex, 7);
  search.Text = QStringLiteral(">>1");  // marks are part of the text
  form->SearchAdozoEdKeyPress(u'0');
  EXPECT_EQ(form->State.AdozokLbx.ItemIndex, 5);
}

TEST_F(AdozokForm, QuotesAndColumnNamesAreStoredAsTyped) {
  Add(QStringLiteral("33333333333"), QStringLiteral("Bank"));
  Fill(QStringLiteral("44444444444"), QStringLiteral("A \"B\" és C\""), QStringLiteral("Nev"));
  form->UjBTnClick();
  // Change through the update statement as well: Nev = Bank must stay the text "Bank".
  Fill(QStringLiteral("33333333333"), QStringLiteral("Bank"), QStringLiteral("Adoszam"));
  form->ModositBtnClick();
  Fill(QStringLiteral("19345678910"), QStringLiteral("\" where 1=1 --"));
  form->ModositBtnClick();
  EXPECT_EQ(ui.Texts("error"), QStringList());
  TRecordList<TAdozoAdat> list;
  EXPECT_TRUE(LoadAdozok(*db, list).Ok());
  ASSERT_EQ(list.Count(), 3);
  const auto find = [&](const char* key) {
    return list.Object(list.IndexOf(QString::fromLatin1(key)));
  };
  EXPECT_EQ(find("33333333333")->Nev, QStringLiteral("Bank"));
  EXPECT_EQ(find("33333333333")->Bank, QStringLiteral("Adoszam"));
  EXPECT_EQ(find("44444444444")->Nev, QStringLiteral("A \"B\" és C\""));
  EXPECT_EQ(find("44444444444")->Bank, QStringLiteral("Nev"));
  EXPECT_EQ(find("19345678910")->Nev, QStringLiteral("\" where 1=1 --"));

  // A delete by a column name or a crafted text finds nothing and touches nothing.
  for (const char* t : {"Adoszam", "x\" or \"1\"=\"1", "1 or 1=1"}) {
    form->State.AdoszamEd.Text = QString::fromUtf8(t);
    form->TorlesBtnClick();
    EXPECT_EQ(ui.Messages.back(), (Message{"information", "Ilyen adószámmal nem léltezik Adózó"}));
  }
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 3);
}

TEST_F(AdozokForm, LockedDatabaseReportsAndWritesNothing) {
  TSQLiteDatabase other(DbPath());
  other.ExecSQL(QStringLiteral("BEGIN IMMEDIATE"));
  Fill(QStringLiteral("55555555555"), QStringLiteral("Gamma"), QStringLiteral("Bk"),
       QStringLiteral("1111111122222222"));
  form->UjBTnClick();
  // The write lock is asked for first: the wait runs out before anything is tried.
  EXPECT_EQ(ui.Messages.back(), (Message{"error", BusyMessage()}));
  EXPECT_EQ(form->State.NevEd.Text, QStringLiteral("Gamma"));

  form->State.AdoszamEd.Text = QStringLiteral("19345678910");
  form->ModositBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"error", BusyMessage()}));
  ui.ConfirmAnswers = {true};
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"error", BusyMessage()}));
  EXPECT_FALSE(db->InTransaction());
  other.ExecSQL(QStringLiteral("ROLLBACK"));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 1);
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok where Nev = 'Zuhanó Részvény Kft'")),
            1);
}

// What the handler runner used to show for an escaping database failure is still shown as
// it was, and the handler goes no further.
TEST_F(AdozokForm, AWriteThatCannotBeginOrAListThatCannotBeReadEndsTheHandler) {
  db->BeginTransaction();  // left open: the next begin is refused before any statement runs
  Fill(QStringLiteral("55555555555"), QStringLiteral("Gamma"));
  form->UjBTnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"error", "Transaction already open"}));
  form->State.AdoszamEd.Text = QStringLiteral("19345678910");
  ui.ConfirmAnswers = {true};
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"error", "Transaction already open"}));
  EXPECT_TRUE(form->Failed);
  EXPECT_FALSE(form->Changed);
  db->Rollback();
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 1);

  db->ExecSQL(QStringLiteral("ALTER TABLE Adozok RENAME TO Regi"));
  ui.Clear();
  form->State.FocusedControl.clear();
  form->FormShow();
  ASSERT_EQ(ui.Texts("error").size(), 1);
  EXPECT_TRUE(ui.Texts("error")[0].contains(QStringLiteral("no such table: Adozok")));
  EXPECT_TRUE(form->Failed);
  EXPECT_TRUE(Items().isEmpty());
  EXPECT_TRUE(form->State.FocusedControl.isEmpty());
}

TEST_F(AdozokForm, FailedCommitIsUndoneAndReported) {
  // A reader in another connection keeps the commit from getting its exclusive lock.
  TSQLiteDatabase reader(DbPath());
  reader.ExecSQL(QStringLiteral("BEGIN"));
  reader.GetTable(QStringLiteral("select count(*) from Adozok"));
  TAdozoAdat rec{QStringLiteral("66666666666"), QStringLiteral("D"), QStringLiteral("B"),
                 QStringLiteral("11111111"), QStringLiteral("22222222")};
  const Trrc r = InsertAdozo(*db, rec).Value();
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.Note, BusyMessage());
  EXPECT_FALSE(db->InTransaction());

  ui.ConfirmAnswers = {true};
  form->State.AdoszamEd.Text = QStringLiteral("19345678910");
  form->TorlesBtnClick();
  ASSERT_GE(ui.Messages.size(), 2u);
  EXPECT_EQ(ui.Messages[ui.Messages.size() - 2].Kind, QStringLiteral("confirmation"));
  EXPECT_EQ(ui.Texts("information"), QStringList()) << "no success before a failed commit";
  EXPECT_EQ(ui.Messages.back().Text,
            QStringLiteral("Probléma merült fel a törlés során: ") + BusyMessage());
  EXPECT_FALSE(db->InTransaction());
  reader.ExecSQL(QStringLiteral("ROLLBACK"));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 1);
}

TEST_F(AdozokForm, MainComboFollowsEveryVisit) {
  TRecordList<TAdozoAdat> mainList;
  ComboControl combo;
  EXPECT_TRUE(LoadItems(*db, mainList, combo, LoadAdozok, AdozoItemText).Ok());
  EXPECT_EQ(combo.ItemIndex, 0);
  combo.ItemIndex = 0;
  Add(QStringLiteral("00000000002"), QStringLiteral("Aladár"));
  combo.ItemIndex = 1;
  EXPECT_TRUE(LoadItems(*db, mainList, combo, LoadAdozok, AdozoItemText).Ok());
  ASSERT_EQ(combo.Items.size(), 2);
  EXPECT_EQ(combo.ItemIndex, 0);
  for (int i = 0; i < combo.Items.size(); ++i)
    EXPECT_EQ(combo.Items[i], AdozoItemText(*mainList.Object(i)));
  EXPECT_EQ(combo.Items[0], QStringLiteral("00000000002 / Aladár"));
  db->ExecSQL(QStringLiteral("DELETE FROM Adozok"));
  EXPECT_TRUE(LoadItems(*db, mainList, combo, LoadAdozok, AdozoItemText).Ok());
  EXPECT_EQ(combo.ItemIndex, -1);
  EXPECT_EQ(mainList.Count(), 0);
}

}  // namespace
}  // namespace krinu
