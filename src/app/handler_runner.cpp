#include "app/handler_runner.h"

#include <exception>
#include <new>

#include "common/result.h"

#include "masterdata/sqlite_database.h"
#include "reader/csv_exception.h"

namespace krinu {

bool RunHandler(UserInterface& ui, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::bad_alloc&) {
    // Whatever filled the memory was the handler's own and went with it.
    ui.Error(OutOfMemoryText());
  } catch (const ESQLiteException& e) {
    ui.Error(e.Message());
  } catch (const EqdxCSVException& e) {
    ui.Error(e.Message());
  } catch (const std::exception& e) {
    ui.Error(QString::fromUtf8(e.what()));
  }
  return false;
}

}  // namespace krinu
