#pragma once
// One job of a batch, run as `convert` runs it: the window's batch runs its rows here too.

#include "app/batch_manifest.h"
#include "app/batch_table.h"
#include "app/session.h"

namespace krinu::cli {

// The arguments `convert` takes for the row (the input file last, the log into `log`), or
// why the row cannot run. Strict adds --strict.
[[nodiscard]] TResult<QStringList> ConvertArguments(const TBatchRow& row, bool strict,
                                                    const QString& log);

// Runs the row through `convert` in the session, in a job of its own, its message boxes and
// warnings kept in the result rather than shown; nothing of it stays in the session after.
[[nodiscard]] TBatchResult RunBatchRow(TSession& session, const TBatchRow& row, bool strict);

}  // namespace krinu::cli
