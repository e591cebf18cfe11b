#pragma once
// A fresh master database (with its sample taxpayer and administrator) and a scripted port.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "masterdata/master_database.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"

namespace krinu {

class RegisterFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    test::CapturedLog log;
    db = OpenMasterDatabase(dir.path() + QLatin1Char('/'), dir.path() + QStringLiteral("/none/"),
                            log);
  }
  QString DbPath() const { return dir.path() + QStringLiteral("/Pelodin.db"); }
  int Count(const QString& sql) { return QueryCount(*db, sql); }

  QTemporaryDir dir;
  std::unique_ptr<TSQLiteDatabase> db;
  test::ScriptedUserInterface ui;
};

}  // namespace krinu
