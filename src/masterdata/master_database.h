#pragma once
// Finding, seeding or creating the master database and reading its two registers.

#include <QString>
#include <memory>

#include "common/log_sink.h"
#include "common/record_list.h"
#include "common/records.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

inline constexpr const char* kMasterDatabaseName = "Pelodin.db";
inline constexpr const char* kSeedDatabaseName = "PelodinSample.db";

// dataDir and programDir end with the path separator. Log lines go to log.
std::unique_ptr<TSQLiteDatabase> OpenMasterDatabase(const QString& dataDir,
                                                    const QString& programDir, const LogSink& log);

void LoadAdozok(TSQLiteDatabase& db, TRecordList<TAdozoAdat>& list);
void LoadUgyintezok(TSQLiteDatabase& db, TRecordList<TUgyintezoAdat>& list);
// -1 when reading the count failed.
qint32 QueryCount(TSQLiteDatabase& db, const QString& sql, const SqlParams& params = {});

}  // namespace krinu
