#pragma once
// Streaming reader of delimited text records (CSV and its relatives).
//
// Typical use (every error is an EqdxCSVException whose Message() is shown to the user):
//
//   krinu::TqdxCSVFileReader reader(512);
//   reader.SetFile(path, krinu::TTextEncoding::FromCodePage(codePage), /*ADetectBOM=*/true,
//                  1024);                      // a byte-order mark wins over the code page
//   reader.SetFieldSeparatorCharCode(u';');
//   reader.SetHeaderPresent(true);             // names go to Fields(i).Name()
//   reader.SetIgnoreEmptyLines(true);
//   reader.Open();                             // already holds the first data record
//   while (!reader.Eof()) {
//     for (int i = 0; i < reader.FieldCount(); ++i) use(reader.Fields(i).Value());
//     reader.Next();
//   }
//   reader.Close();
//
// After an exception from Open or Next the reader is closed; Open it again to start over.
#include <QString>
#include <QStringView>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "reader/csv_exception.h"
#include "reader/text_source.h"

namespace krinu {

class TqdxCSVReader;

// One field of the current record.
class TqdxCSVField {
 public:
  const QString& Value() const { return FValue; }
  // The header text when a header record was read, else empty.
  const QString& Name() const { return FName; }

 private:
  friend class TqdxCSVReader;
  QString FValue;
  QString FName;
};

class TqdxCSVReader {
 public:
  enum TCSVParserState {
    psChkBegOfRecord,
    psChkBegOfField,
    psNotQuoted,
    psQuoted,
    psChkIntrnQuote,
    psChkAfterCR
  };
  using TFieldCountAutoDetectCompleteEvent = std::function<void(TqdxCSVReader& sender)>;

  // The read buffer holds ABufferReadFromStreamCapacityInChars characters (512 when <= 0).
  explicit TqdxCSVReader(int ABufferReadFromStreamCapacityInChars = 512);
  virtual ~TqdxCSVReader();
  TqdxCSVReader(const TqdxCSVReader&) = delete;
  TqdxCSVReader& operator=(const TqdxCSVReader&) = delete;

  // Opens the text source and reads the header record (when present) and the first record.
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  // Reads the next record; does nothing at Eof.
  void Next();

  // Throws std::out_of_range for an index outside 0 .. FieldCount() - 1.
  const TqdxCSVField& Fields(int Index) const {
    if (Index < 0 || Index >= FieldCount()) throw std::out_of_range("Argument out of range");
    return *FFields[Index];
  }
  int FieldCount() const { return static_cast<int>(FFields.size()); }
  void SetFieldCount(int Value);
  // The value of a field of the current record in place, valid until the next Next() or
  // Close(); it needs no string of its own. Throws as Fields() does.
  QStringView FieldView(int Index) const {
    if (Index < 0 || Index >= FieldCount()) throw std::out_of_range("Argument out of range");
    // In place the separators still stand between the fields.
    const int begin = Index == 0 ? 0 : FFieldEnds[size_t(Index) - 1] + (FPlainRecordStart >= 0);
    const int end = FFieldEnds[size_t(Index)];
    return end == begin ? QStringView() : QStringView(RecordChars() + begin, end - begin);
  }

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool Bof() const { return FBof; }
  bool Eof() const { return FEof; }
  // Records completed since Open, the header record included.
  int RecordCountProcessedSoFar() const { return FIndexOfLastProcessedRecord + 1; }

  bool HeaderPresent() const { return FHeaderPresent; }
  void SetHeaderPresent(bool Value);
  bool FieldCount_AutoDetect() const { return FFieldCount_AutoDetect; }
  // The most fields the detection takes (0: no bound): a record with more fails as soon as
  // the one beyond the bound ends, before any more of it is kept, and
  // FieldCountLimitReached() tells so.
  void SetFieldCountLimit(int limit) { fieldCountLimit_ = limit; }
  bool FieldCountLimitReached() const { return fieldCountLimitReached_; }
  void SetFieldCount_AutoDetect(bool Value);
  char16_t FieldSeparatorCharCode() const { return FFieldSeparatorChar; }
  void SetFieldSeparatorCharCode(char16_t Value);
  bool UseFieldQuoting() const { return FUseFieldQuoting; }
  void SetUseFieldQuoting(bool Value);
  char16_t QuoteCharCode() const { return FQuoteChar; }
  void SetQuoteCharCode(char16_t Value);
  bool IgnoreEmptyLines() const { return FIgnoreEmptyLines; }
  void SetIgnoreEmptyLines(bool Value);
  // Characters above 126 count as special characters.
  bool ASCIIonly() const { return FASCIIonly; }
  void SetASCIIonly(bool Value);
  // Drop special characters instead of failing on them.
  bool IgnoreSpecialCharacters() const { return FIgnoreSpecialCharacters; }
  void SetIgnoreSpecialCharacters(bool Value);
  // Whether every record's values are also made into the fields' strings (Fields(i).Value());
  // without them only FieldView() tells them, and a million records cost no string each.
  // Header names are strings either way.
  bool FieldStrings() const { return FFieldStrings; }
  void SetFieldStrings(bool Value);

  const TFieldCountAutoDetectCompleteEvent& OnFieldCountAutoDetectComplete() const {
    return FOnFieldCountAutoDetectComplete;
  }
  void SetOnFieldCountAutoDetectComplete(TFieldCountAutoDetectCompleteEvent Value) {
    FOnFieldCountAutoDetectComplete = std::move(Value);
  }

  // Starts every error message.
  virtual QString ClassName() const { return QStringLiteral("TqdxCSVReader"); }

 protected:
  virtual std::unique_ptr<TTextSource> CreateTextReader() = 0;
  virtual void DoEndOfField();
  virtual void DoEndOfRecord();
  virtual bool GetFieldCountAutoDetectInProgress() const {
    return FFieldCount_AutoDetect_InProgress;
  }
  virtual void DoFieldCountAutoDetectComplete();

  // "<ClassName>: \r<text>"
  [[noreturn]] void RaiseError(const QString& text) const;
  // The text followed by the record and field being read.
  [[noreturn]] void RaisePositionedError(const QString& text) const;

 private:
  enum TCharClass : unsigned char { ccOther, ccQuote, ccSeparator, ccCR, ccLF, ccEnd, ccSpecial };

  void DoOpen();
  void Reset();
  void RefuseWhileActive(const char* what) const;
  // Every option setter: an unchanged value is no change, so it is accepted while active.
  template <class T>
  void ChangeOption(T& field, T value, const char* what) {
    if (value == field) return;
    RefuseWhileActive(what);
    field = value;
  }
  void BuildClassTable();
  TCharClass Classify(char16_t c) const {
    if (c < 128) return FAsciiClass[c];
    if (c == FFieldSeparatorChar) return ccSeparator;
    if (c == FQuoteChar) return ccQuote;
    return FASCIIonly ? ccSpecial : ccOther;
  }
  void ReadRecord();
  bool ReadPlainRecord();
  const char16_t* RecordChars() const {
    return FPlainRecordStart >= 0 ? FBufferReadFromStream.get() + FPlainRecordStart
                                  : FBuffer_FieldValue.get();
  }
  bool RefillReadBuffer();
  void Append(char16_t c);
  // Classes that the states psNotQuoted and psQuoted only append.
  static constexpr unsigned kRunNotQuoted = (1u << ccOther) | (1u << ccQuote);
  static constexpr unsigned kRunQuoted =
      (1u << ccOther) | (1u << ccSeparator) | (1u << ccCR) | (1u << ccLF);
  bool InRun(char16_t c, const bool* table, unsigned classes) const {
    return c < 128 ? table[c] : ((classes >> Classify(c)) & 1u);
  }
  int SkipRun(const char16_t* buffer, int i, int n, char16_t stop, const bool* table,
              unsigned classes) const;
  void AppendChars(const char16_t* chars, qsizetype n) {
    if (FBufFldVal_Content_Length + n > FBufFldVal_Capacity) EnsureFieldBufferRoom(n);
    std::memcpy(FBuffer_FieldValue.get() + FBufFldVal_Content_Length, chars, n * sizeof(char16_t));
    FBufFldVal_Content_Length += int(n);
  }
  void ScanNotQuoted();
  void ScanQuoted();
  void EnsureFieldBufferRoom(qsizetype extra);
  void BeginQuote();
  void EndLine();
  void EmptyLine();
  void EndOfData();
  [[noreturn]] void WrongFormat();

  bool FActive = false;
  std::vector<std::unique_ptr<TqdxCSVField>> FFields;
  std::unique_ptr<TTextSource> FCSVTextReader;
  bool FBof = false;
  bool FEof = false;
  bool FHeaderPresent = false;
  bool FReadingHeader = false;
  bool FFlag_ExitMainLoop = false;
  int FIndexOfLastProcessedField = -1;
  int FIndexOfLastProcessedRecord = -1;
  // The characters of the current record's fields one after the other: field i ends at
  // FFieldEnds[i]. Emptied when the next record starts.
  std::unique_ptr<char16_t[]> FBuffer_FieldValue;
  int FBufFldVal_Capacity = 0;
  int FBufFldVal_Content_Length = 0;
  std::vector<int> FFieldEnds;
  bool FRecordDone = false;  // the buffer holds a completed record
  // A plain record was read in place: its fields are in the read buffer from here on, not
  // in FBuffer_FieldValue; -1 otherwise.
  int FPlainRecordStart = -1;
  bool FFieldStrings = true;
  TCSVParserState FParserState = psChkBegOfRecord;
  char16_t FBuffer_ReadFromFile = 0;
  bool FIgnoreSpecialCharacters = false;
  bool FUseFieldQuoting = true;
  bool FIgnoreEmptyLines = false;
  bool FFieldCount_AutoDetect = true;
  bool FFieldCount_AutoDetect_InProgress = false;
  int fieldCountLimit_ = 0;
  bool fieldCountLimitReached_ = false;
  char16_t FFieldSeparatorChar = 44;
  char16_t FQuoteChar = 34;
  bool FASCIIonly = false;
  TFieldCountAutoDetectCompleteEvent FOnFieldCountAutoDetectComplete;
  std::unique_ptr<char16_t[]> FBufferReadFromStream;
  int FBufferReadFromStream_Capacity = 512;
  int FBufferReadFromStream_ContentLength = 0;
  int FBufferReadFromStream_NextCharIndex = 0;
  // Classes of the codes below 128 under the current options; set up by Open.
  TCharClass FAsciiClass[128] = {};
  bool FRunNotQuoted[128] = {};
  bool FRunQuoted[128] = {};
};

// The reader over a file decoded into 16-bit characters.
class TqdxCSVFileReader : public TqdxCSVReader {
 public:
  enum TStreamReaderConstructorKind { srckFile, srckFileBOM, srckFileEncodingBOMBuffsize };

  explicit TqdxCSVFileReader(int ABufferReadFromStreamCapacityInChars = 512);

  // UTF-8 with byte-order-mark detection, 4096-byte buffer.
  void SetFile(const QString& AFileName);
  // UTF-8, detection as given, 4096-byte buffer.
  void SetFile(const QString& AFileName, bool ADetectBOM);
  // Everything given; buffers below 128 bytes are raised to 128.
  void SetFile(const QString& AFileName, const TTextEncoding& AEncoding, bool ADetectBOM,
               int AStreamReaderInternBufferSize);

  const QString& FileName() const { return FFileName; }
  QString ClassName() const override { return QStringLiteral("TqdxCSVFileReader"); }

 protected:
  std::unique_ptr<TTextSource> CreateTextReader() override;

 private:
  void RefuseSetFileWhileActive() const;

  QString FFileName;
  TTextEncoding FStreamReader_Encoding;
  bool FStreamReader_DetectBOM = false;
  int FStreamReader_InternBufferSize = 0;
  TStreamReaderConstructorKind FStreamReader_ConstructorKind = srckFile;
};

}  // namespace krinu
