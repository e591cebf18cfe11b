#include <gtest/gtest.h>

#include "app/register_lists.h"
#include "app/ugyintezok_torzs_form.h"
#include "register_fixture.h"

namespace krinu {
namespace {

using test::Message;

class UgyintezokForm : public RegisterFixture {
 protected:
  void SetUp() override {
    RegisterFixture::SetUp();
    form = std::make_unique<TUgyintezokTorzsForm>(session, ui);
    form->FormShow();
  }
  void Add(const QString& nev, const QString& telefon) {
    form->State.NevEd.Text = nev;
    form->State.TelefonEd.Text = telefon;
    form->UjBTnClick();
    ASSERT_EQ(ui.Messages.back(), (Message{"information", "Új Ügyintéző felvétele megtörtént"}));
  }
  int IndexOfName(const QString& nev) const {
    for (int i = 0; i < form->RegisterList.Count(); ++i)
      if (form->RegisterList.Object(i)->Nev == nev) return i;
    return -1;
  }
  void Load(const QString& nev) {
    form->State.UgyintezokLbx.ItemIndex = IndexOfName(nev);
    form->UgyintezokLbxDblClick();
  }
  std::unique_ptr<TUgyintezokTorzsForm> form;
};

TEST_F(UgyintezokForm, ChecksAndSelectionPrompts) {
  EXPECT_EQ(form->State.FocusedControl, QStringLiteral("NevEd"));
  EXPECT_FALSE(form->State.AzonositoEd.Enabled);
  form->State.TelefonEd.Text = QStringLiteral("1");
  form->UjBTnClick();  // empty name: refused before any check
  form->State.NevEd.Text = QString(81, u'N');
  form->UjBTnClick();
  form->State.NevEd.Text = QStringLiteral("N");
  form->State.TelefonEd.Text.clear();
  form->UjBTnClick();
  form->State.TelefonEd.Text = QString(41, u'1');
  form->UjBTnClick();
  form->ModositBtnClick();  // nothing loaded since showing
  form->TorlesBtnClick();
  const QString select =
      QStringLiteral("Kérem válasszaki ki a lent lévő listából az Ügyintézőt először!");
  EXPECT_EQ(ui.Messages,
            (std::vector<Message>{
                {"information", "Kérem töltse ki a bal oldalon lévő adatmezőket először!"},
                {"information",
                 "Formátum hiba: A 'Név' formátuma nem helyes: min. 1, max 80 karakterből kell "
                 "állnia"},
                {"information",
                 "Formátum hiba: A 'Telefon' formátuma nem helyes: min. 1, max 40 karakterből "
                 "kell állnia"},
                {"information",
                 "Formátum hiba: A 'Telefon' formátuma nem helyes: min. 1, max 40 karakterből "
                 "kell állnia"},
                {"information", select},
                {"information", select}}));
  Load(QStringLiteral("Minta Ügyintéző"));
  form->ClearDataFieldsBtnClick();
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"information", select}));
}

TEST_F(UgyintezokForm, AddingTwiceGivesTwoIdsAndLoadingShowsTheIdText) {
  Add(QStringLiteral("Kiss Anna"), QStringLiteral("csak betűk"));
  // Adding after loading makes a new row, whatever the ID field shows.
  Load(QStringLiteral("Kiss Anna"));
  EXPECT_EQ(form->State.AzonositoEd.Text, QStringLiteral("0002"));
  form->UjBTnClick();
  TRecordList<TUgyintezoAdat> list(true, DuplicateKeys::Error);
  EXPECT_TRUE(LoadUgyintezok(*db, list).Ok());
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Key(1), QStringLiteral("0002"));
  EXPECT_EQ(list.Key(2), QStringLiteral("0003"));
  EXPECT_EQ(list.Object(2)->Telefon, QStringLiteral("csak betűk"));
}

TEST_F(UgyintezokForm, ChangeAddressesTheLoadedId) {
  db->ExecSQL(QStringLiteral("UPDATE sqlite_sequence SET seq = 6 WHERE name = 'Ugyintezok'"));
  Add(QStringLiteral("Hetes"), QStringLiteral("7"));
  Load(QStringLiteral("Hetes"));
  EXPECT_EQ(form->State.AzonositoEd.Text, QStringLiteral("0007"));
  EXPECT_TRUE(form->State.UgyintezokLbx.Items[form->MarkedIndex].startsWith(">>"));
  // Under a lock that is not released the change waits, then says so.
  {
    TSQLiteDatabase other(DbPath());
    other.ExecSQL(QStringLiteral("BEGIN IMMEDIATE"));
    form->State.NevEd.Text = QStringLiteral("Hetedik");
    form->ModositBtnClick();
    EXPECT_EQ(ui.Messages.back(), (Message{"error", BusyMessage()}));
    EXPECT_EQ(form->State.NevEd.Text, QStringLiteral("Hetedik"));
  }
  form->ModositBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"information", "Módosítás végrehajtva"}));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Ugyintezok where UserID = 7 and Nev = "
                                 "'Hetedik'")),
            1);
  EXPECT_EQ(form->MarkedIndex, -1);
  EXPECT_TRUE(form->State.AzonositoEd.Text.isEmpty());
}

TEST_F(UgyintezokForm, DeleteHighestThenAddNeverReusesTheId) {
  Add(QStringLiteral("Második"), QStringLiteral("2"));
  Load(QStringLiteral("Második"));
  ui.ConfirmAnswers = {false, true};
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(),
            (Message{"confirmation",
                     "Biztosan törölni akarja a 0002 azonosítóval beazonosított Ügyintézőt?"}));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Ugyintezok")), 2);
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"information", "Törlés végrehajtva"}));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Ugyintezok")), 1);

  // A stale ID (deleted elsewhere) is reported as missing.
  Load(QStringLiteral("Minta Ügyintéző"));
  db->ExecSQL(QStringLiteral("DELETE FROM Ugyintezok"));
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(),
            (Message{"information", "Ilyen azonosítóval nem léltezik Ügyintéző"}));

  Add(QStringLiteral("Harmadik"), QStringLiteral("3"));
  EXPECT_EQ(form->RegisterList.Object(0)->UserId, 3);
}

TEST_F(UgyintezokForm, QuotesAndColumnNamesAreStoredAsTyped) {
  Add(QStringLiteral("Nev"), QStringLiteral("Telefon"));
  Load(QStringLiteral("Minta Ügyintéző"));
  form->State.NevEd.Text = QStringLiteral("Telefon");
  form->State.TelefonEd.Text = QStringLiteral("\"1\", Nev = \"x\"");
  form->ModositBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"information", "Módosítás végrehajtva"}));
  TRecordList<TUgyintezoAdat> list(true, DuplicateKeys::Error);
  EXPECT_TRUE(LoadUgyintezok(*db, list).Ok());
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Object(0)->Nev, QStringLiteral("Telefon"));
  EXPECT_EQ(list.Object(0)->Telefon, QStringLiteral("\"1\", Nev = \"x\""));
  EXPECT_EQ(list.Object(1)->Nev, QStringLiteral("Nev"));
  EXPECT_EQ(list.Object(1)->Telefon, QStringLiteral("Telefon"));

  // An ID text that is not a number can only fail to match.
  form->State.AzonositoEd.Text = QStringLiteral("UserId");
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(),
            (Message{"information", "Ilyen azonosítóval nem léltezik Ügyintéző"}));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Ugyintezok")), 2);
}

TEST_F(UgyintezokForm, RegisterByNameMainComboById) {
  Add(QStringLiteral("Aladár"), QStringLiteral("2"));
  Add(QStringLiteral("Zoltán"), QStringLiteral("3"));
  Add(QStringLiteral("Béla"), QStringLiteral("4"));
  EXPECT_EQ(form->State.UgyintezokLbx.Items,
            QStringList({"Aladár / 2", "Béla / 4", "Minta Ügyintéző / 06123456789", "Zoltán / 3"}));
  for (int i = 0; i < form->RegisterList.Count(); ++i)
    EXPECT_EQ(form->State.UgyintezokLbx.Items[i], UgyintezoItemText(*form->RegisterList.Object(i)));

  // Search on the administrator list works the same way.
  form->State.SearchUgyintezoEd.Text = QStringLiteral("zo");
  form->SearchUgyintezoEdKeyPress(u'l');
  EXPECT_EQ(form->State.UgyintezokLbx.ItemIndex, 3);

  TRecordList<TUgyintezoAdat> mainList(true, DuplicateKeys::Error);
  ComboControl combo;
  combo.ItemIndex = 3;
  EXPECT_TRUE(LoadItems(*db, mainList, combo, LoadUgyintezok, UgyintezoItemText).Ok());
  EXPECT_EQ(combo.Items,
            QStringList({"Minta Ügyintéző / 06123456789", "Aladár / 2", "Zoltán / 3", "Béla / 4"}));
  EXPECT_EQ(combo.ItemIndex, 0);
  for (int i = 0; i < mainList.Count(); ++i) {
    EXPECT_EQ(mainList.Object(i)->UserId, i + 1);
    EXPECT_EQ(mainList.Key(i), UgyintezoIdText(i + 1));
  }
}

}  // namespace
}  // namespace krinu
