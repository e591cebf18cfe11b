#pragma once
// The input file's records for the load, read on a second thread: while the first turns
// one block of records into invoice lines, the second decodes and splits the next and
// converts its dates. The blocks come in file order, and the reading's end (the
// end of the data or the reader's error) after the last record read before it, so the
// load sees everything exactly as one reader walked by one thread would give it.

#include <QDate>
#include <QString>
#include <QStringView>
#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "common/result.h"
#include "content/afa_adat.h"
#include "content/column_assignment.h"
#include "content/content_check.h"
#include "content/recognisers.h"
#include "reader/input_file.h"

namespace krinu {

// What a record's date gave, worked out on the reading thread.
struct TReadRecord {
  qint64 RecordNumber = 0;  // as the reader counts it: header included
  bool DatumFailed = false;
  QDate Datum = DateTimeZero();
};

// A run of records: the values of every field, one after the other, and what the date gave.
class TRecordBlock {
 public:
  [[nodiscard]] int FieldCount() const { return fieldCount_; }
  [[nodiscard]] std::size_t Size() const { return records_.size(); }
  [[nodiscard]] const TReadRecord& Record(std::size_t r) const { return records_[r]; }
  // Field i (0-based) of record r as the reader delivered it.
  [[nodiscard]] QStringView Field(std::size_t r, int i) const {
    const std::size_t at = r * std::size_t(fieldCount_) + std::size_t(i);
    const qint32 begin = at == 0 ? 0 : ends_[at - 1];
    return QStringView(text_.get() + begin, ends_[at] - begin);
  }

  // How the reading ended after the last record of the block; nothing while it goes on.
  std::optional<TStatus> End;

 private:
  friend class TRecordReading;
  void Clear(int fieldCount) {
    fieldCount_ = fieldCount;
    textSize_ = 0;
    ends_.clear();
    records_.clear();
    End.reset();
  }
  // Room for n more characters at the end of the text.
  qint32* ExtendEnds(int n) {
    ends_.resize(ends_.size() + std::size_t(n));
    return ends_.data() + ends_.size() - std::size_t(n);
  }
  char16_t* Extend(std::size_t n) {
    if (textSize_ + n > textCapacity_) {
      const std::size_t capacity = std::max(2 * textCapacity_, textSize_ + n + 4096);
      auto grown = std::make_unique<char16_t[]>(capacity);
      if (textSize_ > 0) std::memcpy(grown.get(), text_.get(), textSize_ * sizeof(char16_t));
      text_ = std::move(grown);
      textCapacity_ = capacity;
    }
    char16_t* at = text_.get() + textSize_;
    textSize_ += n;
    return at;
  }
  int fieldCount_ = 0;
  std::unique_ptr<char16_t[]> text_;
  std::size_t textSize_ = 0;
  std::size_t textCapacity_ = 0;
  std::vector<qint32> ends_;
  std::vector<TReadRecord> records_;
};

// The field (0-based, -1 for none) that feeds each item of the selection in a file of
// fieldCount fields: when two items pick one field the first of them gets it, and the other
// keeps its initial value.
[[nodiscard]] std::array<int, 6> FieldsOfItems(const TColumnSelection& columns, int fieldCount);

// Memory the load fills with something for every record, in order: Bytes from Data,
// PerRecord bytes a record.
struct TPagesAhead {
  void* Data = nullptr;
  std::size_t Bytes = 0;
  std::size_t PerRecord = 0;
};

// The reading of the input file on its own thread, started at once. Next() hands over the
// blocks in file order; the last one carries End. A reading that is dropped early stops
// its thread and waits for it.
class TRecordReading {
 public:
  // The reader is opened with the load's rule; columns picks the field whose dates are
  // converted (items as TColumnSelection, the first item of a field wins). The pages of
  // `ahead` are taken ahead of the records read, between two blocks: the load's thread then
  // finds them there, and the reading's, which has time to spare, has waited for the system
  // to give them.
  TRecordReading(const TInputSettings& settings, const TColumnSelection& columns,
                 const TDatumFormat& format, TPagesAhead ahead = {});
  ~TRecordReading();
  TRecordReading(const TRecordReading&) = delete;
  TRecordReading& operator=(const TRecordReading&) = delete;

  // The next block, waiting for it; valid until the next call.
  const TRecordBlock& Next();

 private:
  void Read(const TInputSettings& settings, const TColumnSelection& columns);
  TRecordBlock* Free();  // a block to fill; nullptr once the reading is to stop
  void Hand(TRecordBlock* block);

  void TakePagesAhead(qint64 records);

  const TDatumFormat& format_;
  const TPagesAhead ahead_;
  std::size_t taken_bytes_ = 0;  // of ahead_, from its start
  std::mutex mutex_;
  std::condition_variable changed_;
  std::array<TRecordBlock, 4> blocks_;
  std::deque<TRecordBlock*> free_;
  std::deque<TRecordBlock*> full_;
  TRecordBlock* taken_ = nullptr;  // the one the load works on
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace krinu
