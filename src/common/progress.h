#pragma once
#include <QtGlobal>
#include <functional>

namespace krinu {

// Progress of long work: units done of total (bytes, records); total 0 means unknown.
using ProgressFn = std::function<void(qint64 done, qint64 total)>;

}  // namespace krinu
