#include <QDir>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "common/atomic_write.h"
#include "common/output_file.h"

#include "declaration/declaration_run.h"
#include "declaration/main_sheet.h"
#include "declaration/partner_sheet.h"
#include "declaration/xml_document.h"

namespace krinu {

namespace {

// `reached`, when given, follows the list entry where the sheet being written starts. A sink
// that failed (or was stopped) ends the walk: the rest would only be dropped.
void AddDocument(TXmlDocument& doc, const TReturn& r, std::size_t* reached = nullptr) {
  AddDocumentStart(doc);
  AddMainSheet(doc, r);
  for (const TPartnerSheet& sheet : r.Sheets) {
    if (doc.SinkFailed()) return;
    if (reached) *reached = sheet.First;
    AddPartnerSheet(doc, r, sheet);
  }
  AddDocumentEnd(doc);
}

// The document's buffers written to the file on a thread of their own while the next ones
// are built: copying a couple of hundred megabytes into the system's cache is a good part
// of the work. Buffers come back to be filled again; after a failed write the rest is
// dropped.
class TBufferWriter {
 public:
  explicit TBufferWriter(TOutputFile& file) : file_(file), thread_([this] { Write(); }) {}
  ~TBufferWriter() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  TBufferWriter(const TBufferWriter&) = delete;
  TBufferWriter& operator=(const TBufferWriter&) = delete;

  // Takes the filled buffer and leaves an empty one to fill; waits while two are pending.
  // False once a write has failed.
  bool Hand(QByteArray& bytes) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return failed_ || pending_.size() < kPending; });
    if (failed_) return false;
    pending_.push_back(std::move(bytes));
    bytes = spare_.empty() ? QByteArray() : std::move(spare_.back());
    if (!spare_.empty()) spare_.pop_back();
    changed_.notify_all();
    return true;
  }
  // Waits for every buffer handed over; false when a write failed.
  bool Drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return failed_ || (pending_.empty() && !writing_); });
    return !failed_;
  }

 private:
  static constexpr std::size_t kPending = 2;
  void Write() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return done_ || !pending_.empty(); });
      if (pending_.empty()) return;
      QByteArray bytes = std::move(pending_.front());
      pending_.pop_front();
      writing_ = true;
      lock.unlock();
      const bool written = file_.Write(bytes);
      lock.lock();
      writing_ = false;
      if (!written) {
        failed_ = true;
        pending_.clear();
      }
      spare_.push_back(std::move(bytes));
      changed_.notify_all();
    }
  }

  TOutputFile& file_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<QByteArray> pending_;
  std::vector<QByteArray> spare_;
  bool writing_ = false;
  bool failed_ = false;
  bool done_ = false;
  std::thread thread_;  // last: it starts once the rest is there
};

TFailure WriteFailure(const QString& fileName, const QString& reason) {
  return Fail(TFailureKind::Access, QStringLiteral("Nem sikerült kiírni a fájlt: ") +
                                        QDir::toNativeSeparators(fileName) + u'\n' + reason);
}

}  // namespace

QByteArray BuildDeclarationDocument(const TReturn& r) {
  // About 210 bytes per row and a few kilobytes per sheet: reserved once rather than grown
  // step by step to a couple of hundred megabytes.
  qsizetype rows = 0;
  for (const TPartnerSheet& sheet : r.Sheets) rows += sheet.RowCount;
  TXmlDocument doc;
  doc.Reserve(rows * 240 + qsizetype(r.Sheets.size() + 1) * 4096);
  AddDocument(doc, r);
  return doc.TakeBytes();
}

QByteArray BuildDeclarationDocument(const TAdozoAdat& taxpayer, const TUgyintezoAdat& administrator,
                                    const TDeclarationParams& params, const TAFAAdatList& list,
                                    const QStringList& partnerList) {
  return BuildDeclarationDocument(BuildReturn(taxpayer, administrator, params, list, partnerList));
}

TStatus WriteDeclarationDocument(const QString& fileName, const TAdozoAdat& taxpayer,
                                 const TUgyintezoAdat& administrator,
                                 const TDeclarationParams& params, const TAFAAdatList& list,
                                 const QStringList& partnerList) {
  return WriteDeclarationDocument(
      fileName, BuildReturn(taxpayer, administrator, params, list, partnerList), {}, {});
}

TStatus WriteDeclarationDocument(const QString& fileName, const TReturn& r,
                                 const CancellableProgressFn& sheets, const ProgressFn& writing) {
  // Built straight into the file through a few buffers of a megabyte, which a second thread
  // writes while the next is filled: the whole document would be some two hundred megabytes
  // for a million lines, memory that would have to be fetched afresh only to be copied into
  // the file.
  TOutputFile file(fileName);
  if (const std::optional<QString> refused = file.Open()) return WriteFailure(fileName, *refused);
  bool cancelled = false;
  TXmlDocument doc;
  // Asked once a megabyte, between two writes of the buffer: often enough to keep a window
  // alive, rarely enough to cost nothing.
  std::size_t reached = 0;
  bool finishing = false;  // the last write can no longer be stopped
  TProgressTicker ticker(sheets);
  const qint64 total = qint64(r.Lines ? r.Lines->size() : 0);
  std::optional<TBufferWriter> writer(std::in_place, file);
  doc.SetSink(
      [&](QByteArray& bytes) {
        if (!writer->Hand(bytes)) return false;
        if (finishing || ticker.Now(qint64(reached), total)) return true;
        cancelled = true;
        return false;
      },
      qsizetype(1) << 20);
  if (ticker.Now(0, total))
    AddDocument(doc, r, &reached);
  else
    cancelled = true;
  if (cancelled) {
    writer.reset();
    file.Cancel();  // the temporary file goes; the target was never touched
    return Fail(TFailureKind::Cancelled, QString());
  }
  finishing = true;
  if (writing) writing(0, 0);
  const bool flushed = doc.Flush() && writer->Drain();
  writer.reset();
  if (!flushed) {
    const QString reason = file.Reason();
    file.Cancel();
    return WriteFailure(fileName, reason);
  }
  if (const std::optional<QString> reason = file.Commit()) return WriteFailure(fileName, *reason);
  return {};
}

TStatus WriteDeclarationFile(const QString& fileName, const QByteArray& bytes) {
  if (const std::optional<QString> reason = WriteFileAtomically(fileName, bytes))
    return WriteFailure(fileName, *reason);
  return {};
}

}  // namespace krinu
