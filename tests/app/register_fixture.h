#pragma once
// A session over a fresh master database (with its sample taxpayer and administrator) and a
// scripted port.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "app/session.h"
#include "masterdata/master_database.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"

namespace krinu {

class RegisterFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    test::CapturedLog log;
    session.Db = OpenMasterDatabase(dir.path() + QLatin1Char('/'),
                                    dir.path() + QStringLiteral("/none/"), log)
                     .Take();
    db = session.Db.get();
    // Another program's lock is waited for; here briefly, so that a test of one that is
    // never released ends soon.
    db->SetBusyTimeout(200);
  }
  QString BusyMessage() const {
    return QStringLiteral("Az adatbázist (") + DbPath() +
           QStringLiteral(
               ") egy másik program használja, és a várakozás alatt sem engedte el; "
               "semmi nem változott. Kérem, próbálja újra később");
  }
  QString DbPath() const { return dir.path() + QStringLiteral("/Pelodin.db"); }
  int Count(const QString& sql) {
    const TResult<qint32> n = QueryCount(*db, sql);
    return n ? n.Value() : -1;
  }

  QTemporaryDir dir;
  TSession session{AppEnvironment{}};
  TSQLiteDatabase* db = nullptr;  // the session's
  test::ScriptedUserInterface ui;
};

}  // namespace krinu
