#include "content/record_blocks.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/large_pages.h"
#include "reader/csv_reader.h"

namespace krinu {

namespace {

// Records a block holds: large enough that handing one over costs nothing against the work
// on it, small enough that the blocks stay in the cache.
constexpr std::size_t kBlockRecords = 2048;
constexpr int kReadBufferChars = 1 << 15;

// Dates repeat from record to record (an export runs through the days of the period):
// the last text and what it gave are kept, and the same text is not read again.
class TLastDate {
 public:
  explicit TLastDate(const TDatumFormat& format) : format_(format) {}
  std::optional<QDate> Convert(QStringView text) {
    if (text.size() <= qsizetype(kChars)) {
      // An empty text may point nowhere: no bytes of it are compared or copied.
      if (text.size() == size_ &&
          (size_ == 0 || std::memcmp(text.data(), chars_, std::size_t(size_) * 2) == 0))
        return last_;
      size_ = text.size();
      if (size_ > 0) std::memcpy(chars_, text.data(), std::size_t(size_) * 2);
      return last_ = format_.Convert(text);
    }
    size_ = -1;
    return format_.Convert(text);
  }

 private:
  static constexpr std::size_t kChars = 32;
  const TDatumFormat& format_;
  char16_t chars_[kChars] = {};
  qsizetype size_ = -1;  // no text yet
  std::optional<QDate> last_;
};

}  // namespace

std::array<int, 6> FieldsOfItems(const TColumnSelection& columns, int fieldCount) {
  std::array<int, 6> field{};
  for (std::size_t item = 0; item < field.size(); ++item) {
    const int k = columns.Item[item];
    const auto before = columns.Item.begin() + std::ptrdiff_t(item);
    const bool taken = std::find(columns.Item.begin(), before, k) != before;
    field[item] = k >= 1 && k <= fieldCount && !taken ? k - 1 : -1;
  }
  return field;
}

TRecordReading::TRecordReading(const TInputSettings& settings, const TColumnSelection& columns,
                               const TDatumFormat& format, TPagesAhead ahead)
    : format_(format), ahead_(ahead) {
  for (TRecordBlock& block : blocks_) free_.push_back(&block);
  thread_ = std::thread([this, settings, columns] { Read(settings, columns); });
}

TRecordReading::~TRecordReading() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

TRecordBlock* TRecordReading::Free() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return stop_ || !free_.empty(); });
  if (stop_) return nullptr;
  TRecordBlock* block = free_.front();
  free_.pop_front();
  return block;
}

void TRecordReading::Hand(TRecordBlock* block) {
  {
    std::lock_guard lock(mutex_);
    full_.push_back(block);
  }
  changed_.notify_all();
}

const TRecordBlock& TRecordReading::Next() {
  std::unique_lock lock(mutex_);
  if (taken_ != nullptr) {
    free_.push_back(taken_);
    changed_.notify_all();
  }
  changed_.wait(lock, [this] { return !full_.empty(); });
  taken_ = full_.front();
  full_.pop_front();
  return *taken_;
}

void TRecordReading::TakePagesAhead(qint64 records) {
  // Some megabytes ahead of the records read, a large page at a time.
  constexpr std::size_t kStep = std::size_t(2) << 20;
  const std::size_t wanted =
      std::min(ahead_.Bytes, std::size_t(records) * ahead_.PerRecord + 4 * kStep);
  while (taken_bytes_ < wanted) {
    const std::size_t bytes = std::min(kStep, ahead_.Bytes - taken_bytes_);
    PopulatePages(static_cast<char*>(ahead_.Data) + taken_bytes_, bytes);
    taken_bytes_ += bytes;
  }
}

void TRecordReading::Read(const TInputSettings& settings, const TColumnSelection& columns) {
  TRecordBlock* block = Free();
  if (block == nullptr) return;
  block->Clear(0);
  try {
    // Large buffers: a record is taken in place unless it crosses the read buffer's end.
    TqdxCSVFileReader reader(kReadBufferChars);
    ConfigureInputReaderFully(reader, settings, kWholeInputByteBuffer);
    reader.SetFieldStrings(false);
    reader.Open();
    const int fieldCount = reader.FieldCount();
    const std::array<int, 6> field = FieldsOfItems(columns, fieldCount);
    TLastDate dates(format_);
    std::vector<QStringView> values(std::size_t(std::max(fieldCount, 0)));
    // The opening first, with no record: a broken header or first record is said before
    // anything else, as it would be before the first line.
    Hand(block);
    block = Free();
    if (block == nullptr) return;
    block->Clear(fieldCount);
    while (!reader.Eof()) {
      TReadRecord record;
      record.RecordNumber = reader.RecordCountProcessedSoFar();
      std::size_t chars = 0;
      for (int i = 0; i < fieldCount; ++i) {
        values[std::size_t(i)] = reader.FieldView(i);
        chars += std::size_t(values[std::size_t(i)].size());
      }
      char16_t* to = block->Extend(chars);
      qint32* end = block->ExtendEnds(fieldCount);
      for (const QStringView value : values) {
        if (!value.isEmpty())  // an empty value may point nowhere
          std::memcpy(to, value.utf16(), std::size_t(value.size()) * sizeof(char16_t));
        to += value.size();
        *end++ = qint32(to - block->text_.get());
      }
      if (field[dcDatum] >= 0) {
        if (const std::optional<QDate> d =
                dates.Convert(TrimView(reader.FieldView(field[dcDatum]))))
          record.Datum = *d;
        else
          record.DatumFailed = true;
      }
      block->records_.push_back(record);
      if (block->records_.size() == kBlockRecords) {
        Hand(block);
        if (ahead_.Data) TakePagesAhead(reader.RecordCountProcessedSoFar());
        block = Free();
        if (block == nullptr) return;
        block->Clear(fieldCount);
      }
      reader.Next();
    }
    reader.Close();
    block->End = TStatus();
  } catch (const EqdxCSVException& e) {
    block->End = Fail(TFailureKind::Input, e.Message());
  } catch (const std::bad_alloc& e) {
    block->End = Fail(TFailureKind::Memory, QString::fromLocal8Bit(e.what()));
  } catch (const std::exception& e) {
    block->End = Fail(TFailureKind::Access, QString::fromLocal8Bit(e.what()));
  }
  Hand(block);
}

}  // namespace krinu
