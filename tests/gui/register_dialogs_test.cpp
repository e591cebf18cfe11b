#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "gui/adozok_torzs_dialog.h"
#include "gui/ugyintezok_torzs_dialog.h"
#include "masterdata/master_database.h"
#include "masterdata/registers.h"
#include "support/test_env.h"

namespace krinu {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "register_dialogs_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: Qt's input devices must not outlive it in static teardown.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

class RegisterDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    ASSERT_TRUE(dir.isValid());
    test::CapturedLog log;
    session.Db =
        OpenMasterDatabase(dir.path() + QLatin1Char('/'), dir.path() + QStringLiteral("/x/"), log)
            .Take();
    db = session.Db.get();
    for (const char* n : {"Alfa Bt", "Béta Zrt", "Gamma Kft"}) {
      TAdozoAdat a{QStringLiteral("1234567890") + QString::number(counter++), QString::fromUtf8(n),
                   QStringLiteral("OTP Bank"), QStringLiteral("11773016"),
                   QStringLiteral("1234567800000000")};
      ASSERT_TRUE(InsertAdozo(*db, a).Ok());
      ASSERT_TRUE(
          InsertUgyintezo(*db, {QString::fromUtf8(n), QStringLiteral("06 1 234 5678")}).Ok());
    }
  }
  // Saves the window for a look when KRINU_SCREENSHOT_DIR is set.
  void Screenshot(QWidget& w, const QString& name) {
    const QString to = qEnvironmentVariable("KRINU_SCREENSHOT_DIR");
    if (to.isEmpty()) return;
    w.adjustSize();
    QApplication::processEvents();
    w.grab().save(to + QLatin1Char('/') + name);
  }
  static void Key(QWidget* w, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
  }
  template <class T>
  static T* Child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  static QString Caption(QWidget& w, const char* name) {
    // As shown, less the underlined Alt letter.
    if (auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name)))
      return b->text().remove(QLatin1Char('&'));
    if (auto* l = w.findChild<QLabel*>(QString::fromLatin1(name))) return l->text();
    return QStringLiteral("<missing>");
  }
  static QStringList FocusChain(QWidget* from, int n) {
    QStringList names;
    for (QWidget* x = from; names.size() < n; x = x->nextInFocusChain())
      if (x->focusPolicy() & Qt::TabFocus && x->isEnabled()) names << x->objectName();
    return names;
  }

  int counter = 1;
  QTemporaryDir dir;
  TSession session{AppEnvironment{}};
  TSQLiteDatabase* db = nullptr;  // the session's
};

TEST_F(RegisterDialogs, TaxpayerWindow) {
  AdozokTorzsDialog d(session);
  d.show();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Adózók karbantartása"));
  EXPECT_EQ(Caption(d, "Panel1"), QStringLiteral("Adatok karbantartása"));
  EXPECT_EQ(Caption(d, "Panel2"), QStringLiteral("Már felvett Adózok listája"));
  EXPECT_EQ(Caption(d, "UjBTn"), QStringLiteral("Adatok tárolása ÚJ Adózóként"));
  EXPECT_EQ(Caption(d, "ModositBtn"), QStringLiteral("Kiválasztott Adózó Módosítása"));
  EXPECT_EQ(Caption(d, "TorlesBtn"), QStringLiteral("Kiválasztott Adózó Törlése"));
  EXPECT_EQ(Caption(d, "ClearDataFieldsBtn"), QStringLiteral("Adatmezők törlése"));
  EXPECT_EQ(Caption(d, "BezarBtn"), QStringLiteral("Bezárás"));
  EXPECT_EQ(
      Caption(d, "Label1"),
      QStringLiteral("Módosítás vagy Törlés számára kiválasztás: dupla kattintás vagy 'Enter' "));
  // Eleven digits; a pasted "12345678-2-42" keeps its digits.
  auto* adoszam = Child<QLineEdit>(d, "AdoszamEd");
  adoszam->clear();
  adoszam->insert(QStringLiteral("12345678-2-42"));
  EXPECT_EQ(adoszam->text(), QStringLiteral("12345678242"));
  adoszam->insert(QStringLiteral("9"));
  EXPECT_EQ(adoszam->text(), QStringLiteral("12345678242"));
  adoszam->clear();
  EXPECT_EQ(Child<QLineEdit>(d, "NevEd")->maxLength(), 80);
  EXPECT_EQ(Child<QLineEdit>(d, "BankEd")->maxLength(), 80);
  EXPECT_EQ(Child<QLineEdit>(d, "SzamlaEd")->maxLength(), 24);
  EXPECT_EQ(
      FocusChain(Child<QLineEdit>(d, "AdoszamEd"), 11),
      QStringList({"AdoszamEd", "NevEd", "BankEd", "SzamlaEd", "UjBTn", "ModositBtn", "TorlesBtn",
                   "ClearDataFieldsBtn", "SearchAdozoEd", "AdozokLbx", "BezarBtn"}));

  auto* list = Child<QListWidget>(d, "AdozokLbx");
  ASSERT_EQ(list->count(), 4);
  EXPECT_EQ(list->currentRow(), 0);
  // Typing "gam" into the search: the third key finds Gamma.
  auto* search = Child<QLineEdit>(d, "SearchAdozoEd");
  Key(search, Qt::Key_G, QStringLiteral("g"));
  Key(search, Qt::Key_A, QStringLiteral("a"));
  EXPECT_EQ(search->text(), QStringLiteral("ga"));
  EXPECT_EQ(list->currentRow(), 0);
  Key(search, Qt::Key_M, QStringLiteral("m"));
  EXPECT_EQ(list->currentRow(), 2);
  Key(list, Qt::Key_Return);
  EXPECT_EQ(list->item(2)->text(), QStringLiteral(">>12345678903 / Gamma Kft"));
  EXPECT_EQ(Child<QLineEdit>(d, "SzamlaEd")->text(), QStringLiteral("117730161234567800000000"));
  Screenshot(d, QStringLiteral("adozok.png"));
  Child<QPushButton>(d, "BezarBtn")->click();
  EXPECT_FALSE(d.isVisible());
}

TEST_F(RegisterDialogs, AdministratorWindow) {
  UgyintezokTorzsDialog d(session);
  d.show();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Ügyintézők karbantartása"));
  EXPECT_EQ(Caption(d, "Panel1"), QStringLiteral("Ügyintézők karbantartása"));
  EXPECT_EQ(Caption(d, "Panel2"), QStringLiteral("Már felvett Ügyintézők listája"));
  EXPECT_EQ(Caption(d, "UjBTn"), QStringLiteral("Adatok tárolása ÚJ Ügyintézőként"));
  EXPECT_EQ(Caption(d, "ModositBtn"), QStringLiteral("Kiválasztott Ügyintéző Módosítása"));
  EXPECT_EQ(Caption(d, "TorlesBtn"), QStringLiteral("Kiválasztott Ügyintéző Törlése"));
  EXPECT_EQ(Caption(d, "ClearDataFieldsBtn"), QStringLiteral("Adatmezők törlése"));
  auto* id = Child<QLineEdit>(d, "AzonositoEd");
  EXPECT_FALSE(id->isEnabled());
  EXPECT_TRUE(id->isReadOnly());
  EXPECT_EQ(id->maxLength(), 20);
  EXPECT_EQ(Child<QLineEdit>(d, "NevEd")->maxLength(), 80);
  EXPECT_EQ(Child<QLineEdit>(d, "TelefonEd")->maxLength(), 40);
  EXPECT_EQ(FocusChain(Child<QLineEdit>(d, "NevEd"), 9),
            QStringList({"NevEd", "TelefonEd", "UjBTn", "ModositBtn", "TorlesBtn",
                         "ClearDataFieldsBtn", "SearchUgyintezoEd", "UgyintezokLbx", "BezarBtn"}));
  auto* list = Child<QListWidget>(d, "UgyintezokLbx");
  ASSERT_EQ(list->count(), 4);
  list->setCurrentRow(0);
  emit list->itemDoubleClicked(list->item(0));
  EXPECT_EQ(id->text(), QStringLiteral("0002"));  // "Alfa Bt", the first one added
  EXPECT_TRUE(list->item(0)->text().startsWith(QStringLiteral(">>")));
  Screenshot(d, QStringLiteral("ugyintezok.png"));
}

// The two windows share their key and button wiring; each must still reach its own form.
TEST_F(RegisterDialogs, AdministratorWindowSearchEnterClearAndClose) {
  UgyintezokTorzsDialog d(session);
  d.show();
  auto* list = Child<QListWidget>(d, "UgyintezokLbx");
  auto* search = Child<QLineEdit>(d, "SearchUgyintezoEd");
  Key(search, Qt::Key_G, QStringLiteral("g"));
  Key(search, Qt::Key_A, QStringLiteral("a"));
  EXPECT_EQ(list->currentRow(), 0);
  Key(search, Qt::Key_M, QStringLiteral("m"));
  EXPECT_EQ(list->currentRow(), 2);
  Key(list, Qt::Key_Enter);
  EXPECT_EQ(list->item(2)->text(), QStringLiteral(">>Gamma Kft / 06 1 234 5678"));
  EXPECT_EQ(Child<QLineEdit>(d, "NevEd")->text(), QStringLiteral("Gamma Kft"));
  EXPECT_EQ(Child<QLineEdit>(d, "AzonositoEd")->text(), QStringLiteral("0004"));

  Child<QPushButton>(d, "ClearDataFieldsBtn")->click();
  for (const char* name : {"NevEd", "TelefonEd", "AzonositoEd"})
    EXPECT_TRUE(Child<QLineEdit>(d, name)->text().isEmpty()) << name;
  EXPECT_EQ(list->item(2)->text(), QStringLiteral(">>Gamma Kft / 06 1 234 5678"));
  Child<QPushButton>(d, "BezarBtn")->click();
  EXPECT_FALSE(d.isVisible());
}

}  // namespace
}  // namespace krinu
