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
