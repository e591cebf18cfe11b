#pragma once
// Finding, seeding or creating the master database and reading its two registers.

#include <QString>
#include <memory>

#include "common/log_sink.h"
#include "common/record_list.h"
#include "common/records.h"
#include "common/result.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

inline constexpr const char* kMasterDatabaseName = "Pelodin.db";
inline constexpr const char* kSeedDatabaseName = "PelodinSample.db";

// dataDir and programDir end with the path separator. Log lines go to log. A failure
// carries the engine's message.
[[nodiscard]] TResult<std::unique_ptr<TSQLiteDatabase>> OpenMasterDatabase(
    const QString& dataDir, const QString& programDir, const LogSink& log);

// Append the register's records in query order; a failure carries the engine's message and
// leaves what was appended before it.
[[nodiscard]] TStatus LoadAdozok(TSQLiteDatabase& db, TRecordList<TAdozoAdat>& list);
[[nodiscard]] TStatus LoadUgyintezok(TSQLiteDatabase& db, TRecordList<TUgyintezoAdat>& list);
// The one value of a query such as "select count(*) …"; fails when the query fails or
// gives no single row.
[[nodiscard]] TResult<qint32> QueryCount(TSQLiteDatabase& db, const QString& sql,
                                         const SqlParams& params = {});

}  // namespace krinu
