#include "reader/csv_reader.h"

#include <algorithm>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <cstring>
#include <limits>
#include <stdexcept>

#include "reader/line_ends.h"

namespace krinu {

namespace {

constexpr int kDefaultReadBufferChars = 512;
constexpr int kFieldBufferStep = 128;
constexpr int kDefaultFileBufferBytes = 4096;

const QString kNotInActiveState = QStringLiteral("\rOperation is not allowed in Active state");

}  // namespace

// ---------------------------------------------------------------------------------------
// TqdxCSVReader

TqdxCSVReader::TqdxCSVReader(int ABufferReadFromStreamCapacityInChars)
    : FBufferReadFromStream_Capacity(ABufferReadFromStreamCapacityInChars > 0
                                         ? ABufferReadFromStreamCapacityInChars
                                         : kDefaultReadBufferChars) {
  FBufferReadFromStream = std::make_unique<char16_t[]>(FBufferReadFromStream_Capacity);
}

TqdxCSVReader::~TqdxCSVReader() {
  FActive = false;
  Reset();
}

void TqdxCSVReader::RaiseError(const QString& text) const {
  throw EqdxCSVException(ClassName() + QStringLiteral(": \r") + text);
}

void TqdxCSVReader::RaisePositionedError(const QString& text) const {
  // 64-bit arithmetic: the indexes may sit at their limits.
  const qint64 record = qint64(FIndexOfLastProcessedRecord) + 2;
  const qint64 field = qint64(FIndexOfLastProcessedField) + 2;
  RaiseError(
      text +
      QStringLiteral("\rRecord #: %1; Field #: %2 (both start from 1)").arg(record).arg(field));
}

void TqdxCSVReader::RefuseWhileActive(const char* what) const {
  if (FActive) RaiseError(QString::fromLatin1(what) + kNotInActiveState);
}

void TqdxCSVReader::SetFieldCount(int Value) {
  if (Value == FieldCount()) return;
  if (FActive && !GetFieldCountAutoDetectInProgress())
    RaiseError(QStringLiteral("Modifying field count.") + kNotInActiveState);
  if (Value < 0) return;
  if (Value < FieldCount()) {
    FFields.resize(Value);
  } else {
    // Detection grows the list one field at a time: an exact reserve would copy the whole
    // list for every field of a wide first record.
    if (std::size_t(Value) > FFields.capacity())
      FFields.reserve(std::max(std::size_t(Value), FFields.capacity() * 2));
    while (FieldCount() < Value) FFields.push_back(std::make_unique<TqdxCSVField>());
  }
  FFieldEnds.resize(FFields.size(), 0);
}

void TqdxCSVReader::SetHeaderPresent(bool Value) {
  ChangeOption(FHeaderPresent, Value, "Modifying HeaderPresent input parameter.");
}

void TqdxCSVReader::SetFieldCount_AutoDetect(bool Value) {
  ChangeOption(FFieldCount_AutoDetect, Value, "Modifying FieldCount_AutoDetect input parameter.");
}

void TqdxCSVReader::SetFieldSeparatorCharCode(char16_t Value) {
  ChangeOption(FFieldSeparatorChar, Value, "Modifying FieldSeparatorCharCode input parameter.");
}

void TqdxCSVReader::SetUseFieldQuoting(bool Value) {
  ChangeOption(FUseFieldQuoting, Value, "Modifying UseFieldDblQuoting input parameter.");
}

void TqdxCSVReader::SetQuoteCharCode(char16_t Value) {
  ChangeOption(FQuoteChar, Value, "Modifying QuoteCharCode input parameter.");
}

void TqdxCSVReader::SetIgnoreEmptyLines(bool Value) {
  // The misspelling is the established text of this message.
  ChangeOption(FIgnoreEmptyLines, Value, "Modifuing IgnoreEmptyLines input parameter.");
}

void TqdxCSVReader::SetASCIIonly(bool Value) {
  ChangeOption(FASCIIonly, Value, "Modifying ASCIIonly input parameter.");
}

void TqdxCSVReader::SetIgnoreSpecialCharacters(bool Value) {
  ChangeOption(FIgnoreSpecialCharacters, Value,
               "Modifying IgnoreSpecialCharacters input parameter.");
}

void TqdxCSVReader::SetFieldStrings(bool Value) {
  ChangeOption(FFieldStrings, Value, "Modifying FieldStrings input parameter.");
}

void TqdxCSVReader::SetActive(bool Value) {
  if (Value == FActive) return;
  if (Value) {
    DoOpen();
  } else {
    FActive = false;
    Reset();
  }
}

void TqdxCSVReader::Reset() {
  FBuffer_FieldValue.reset();
  FBufFldVal_Capacity = 0;
  FBufFldVal_Content_Length = 0;
  FRecordDone = false;
  FPlainRecordStart = -1;
  FFieldCount_AutoDetect_InProgress = false;
  FCSVTextReader.reset();
  for (auto& field : FFields) {
    field->FValue.clear();
    field->FName.clear();
  }
  std::fill(FFieldEnds.begin(), FFieldEnds.end(), 0);
  FIndexOfLastProcessedField = -1;
  FIndexOfLastProcessedRecord = -1;
  FBof = false;
  FEof = false;
  FParserState = psChkBegOfRecord;
  // Nothing read during an earlier opening may be parsed again.
  FBufferReadFromStream_ContentLength = 0;
  FBufferReadFromStream_NextCharIndex = 0;
}

void TqdxCSVReader::BuildClassTable() {
  for (int c = 0; c < 128; ++c)
    FAsciiClass[c] = (c >= 32 && (!FASCIIonly || c <= 126)) ? ccOther : ccSpecial;
  // Later assignments win: the order of these lines is the order of the tests.
  if (FQuoteChar < 128) FAsciiClass[FQuoteChar] = ccQuote;
  if (FFieldSeparatorChar < 128) FAsciiClass[FFieldSeparatorChar] = ccSeparator;
  FAsciiClass[kLineFeed] = ccLF;
  FAsciiClass[kCarriageReturn] = ccCR;
  FAsciiClass[kNul] = ccEnd;
  for (int c = 0; c < 128; ++c) {
    FRunNotQuoted[c] = (kRunNotQuoted >> FAsciiClass[c]) & 1u;
    FRunQuoted[c] = (kRunQuoted >> FAsciiClass[c]) & 1u;
  }
}

void TqdxCSVReader::DoOpen() {
  FActive = true;
  try {
    Reset();
    BuildClassTable();
    FCSVTextReader = CreateTextReader();
    FBof = true;
    FEof = FCSVTextReader->Peek() < 0;
    if (FFieldCount_AutoDetect && !FEof) {
      FFieldCount_AutoDetect_InProgress = true;
      SetFieldCount(0);
    }
    if (FHeaderPresent && !FEof) {
      FReadingHeader = true;
      try {
        Next();
      } catch (...) {
        FReadingHeader = false;
        throw;
      }
      FReadingHeader = false;
    }
    if (!FEof) Next();
  } catch (...) {
    FActive = false;
    Reset();
    throw;
  }
}

void TqdxCSVReader::Next() {
  if (!FActive)
    RaiseError(QStringLiteral("Getting next record.\rOperation is not allowed in Inactive state"));
  if (FEof) return;
  try {
    ReadRecord();
  } catch (...) {
    Close();
    throw;
  }
}

bool TqdxCSVReader::RefillReadBuffer() {
  FBufferReadFromStream_NextCharIndex = 0;
  const int n = FCSVTextReader->Read(FBufferReadFromStream.get(), FBufferReadFromStream_Capacity);
  FBufferReadFromStream_ContentLength = std::max(n, 0);
  return n > 0;
}

void TqdxCSVReader::EnsureFieldBufferRoom(qsizetype extra) {
  const qsizetype needed = qsizetype(FBufFldVal_Content_Length) + extra;
  if (needed <= FBufFldVal_Capacity) return;
  // Grows in steps of 128 characters, but geometrically: long values must not cost
  // quadratic copying.
  qsizetype capacity = std::max<qsizetype>(needed, qsizetype(FBufFldVal_Capacity) * 3 / 2);
  capacity = (capacity + kFieldBufferStep - 1) / kFieldBufferStep * kFieldBufferStep;
  if (capacity > std::numeric_limits<int>::max())
    RaisePositionedError(QStringLiteral("Field value too long."));
  auto grown = std::make_unique<char16_t[]>(capacity);
  if (FBufFldVal_Content_Length > 0)
    std::memcpy(grown.get(), FBuffer_FieldValue.get(),
                FBufFldVal_Content_Length * sizeof(char16_t));
  FBuffer_FieldValue = std::move(grown);
  FBufFldVal_Capacity = int(capacity);
}

void TqdxCSVReader::Append(char16_t c) {
  if (FBufFldVal_Content_Length == FBufFldVal_Capacity) EnsureFieldBufferRoom(1);
  FBuffer_FieldValue[FBufFldVal_Content_Length++] = c;
}

// The index of the first character from i on that leaves the run. Every character that can
// leave it is the given stop character, below 32, or with ASCIIonly above 126; 8 characters
// at a time are tested for that, and each hit is then classified.
int TqdxCSVReader::SkipRun(const char16_t* buffer, int i, int n, char16_t stop, const bool* table,
                           unsigned classes) const {
#ifdef __SSE2__
  const __m128i stopChars = _mm_set1_epi16(static_cast<short>(stop));
  const __m128i highBits = _mm_set1_epi16(static_cast<short>(0xFFE0));
  const __m128i zero = _mm_setzero_si128();
  const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
  const __m128i above126 = _mm_set1_epi16(static_cast<short>(126 ^ 0x8000));
  for (;;) {
    while (i + 8 <= n) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer + i));
      __m128i hits = _mm_or_si128(_mm_cmpeq_epi16(x, stopChars),
                                  _mm_cmpeq_epi16(_mm_and_si128(x, highBits), zero));
      if (FASCIIonly) hits = _mm_or_si128(hits, _mm_cmpgt_epi16(_mm_xor_si128(x, bias), above126));
      const int mask = _mm_movemask_epi8(hits);
      if (mask != 0) {
        i += __builtin_ctz(static_cast<unsigned>(mask)) / 2;
        break;
      }
      i += 8;
    }
    if (i + 8 > n) break;
    if (!InRun(buffer[i], table, classes)) return i;
    ++i;
  }
#else
  (void)stop;
#endif
  while (i < n && InRun(buffer[i], table, classes)) ++i;
  return i;
}

// The hot path of psNotQuoted: ordinary characters and quotes are appended, a separator
// ends the field, and when the next field starts with an ordinary character we go on with
// it; anything else (and the end of the read buffer) is left to the character loop.
void TqdxCSVReader::ScanNotQuoted() {
  const char16_t* buffer = FBufferReadFromStream.get();
  const int n = FBufferReadFromStream_ContentLength;
  int i = FBufferReadFromStream_NextCharIndex;
  for (;;) {
    const int start = i;
    i = SkipRun(buffer, i, n, FFieldSeparatorChar, FRunNotQuoted, kRunNotQuoted);
    if (i > start) AppendChars(buffer + start, i - start);
    if (i == n || Classify(buffer[i]) != ccSeparator) break;
    FBuffer_ReadFromFile = buffer[i];
    FBufferReadFromStream_NextCharIndex = ++i;
    DoEndOfField();
    FParserState = psChkBegOfField;
    if (i == n || Classify(buffer[i]) != ccOther) break;
    FParserState = psNotQuoted;
  }
  FBufferReadFromStream_NextCharIndex = i;
}

// The hot path of psQuoted: everything but the quote, special characters and code 0.
void TqdxCSVReader::ScanQuoted() {
  const char16_t* buffer = FBufferReadFromStream.get();
  const int n = FBufferReadFromStream_ContentLength;
  int i = FBufferReadFromStream_NextCharIndex;
  i = SkipRun(buffer, i, n, FQuoteChar, FRunQuoted, kRunQuoted);
  if (i > FBufferReadFromStream_NextCharIndex) {
    AppendChars(buffer + FBufferReadFromStream_NextCharIndex,
                i - FBufferReadFromStream_NextCharIndex);
    FBufferReadFromStream_NextCharIndex = i;
  }
}

void TqdxCSVReader::BeginQuote() {
  if (FUseFieldQuoting) {
    FParserState = psQuoted;
  } else {
    Append(FBuffer_ReadFromFile);
    FParserState = psNotQuoted;
  }
}

void TqdxCSVReader::DoEndOfField() {
  if (GetFieldCountAutoDetectInProgress()) {
    if (fieldCountLimit_ > 0 && FieldCount() >= fieldCountLimit_) {
      fieldCountLimitReached_ = true;
      RaisePositionedError(QStringLiteral("Too many fields."));
    }
    SetFieldCount(FieldCount() + 1);
  }
  if (FIndexOfLastProcessedField == FieldCount() - 1)
    RaisePositionedError(QStringLiteral("Wrong number of fields."));
  const size_t index = size_t(++FIndexOfLastProcessedField);
  const int begin = index == 0 ? 0 : FFieldEnds[index - 1];
  FFieldEnds[index] = FBufFldVal_Content_Length;
  if (!FReadingHeader && !FFieldStrings) return;
  TqdxCSVField& field = *FFields[index];
  QString& target = FReadingHeader ? field.FName : field.FValue;
  // Reuses the string's own storage when nobody else holds it.
  const int length = FBufFldVal_Content_Length - begin;
  target.resize(length);
  if (length > 0)
    std::memcpy(static_cast<void*>(target.data()), FBuffer_FieldValue.get() + begin,
                length * sizeof(char16_t));
}

void TqdxCSVReader::DoEndOfRecord() {
  if (FIndexOfLastProcessedField != FieldCount() - 1)
    RaisePositionedError(QStringLiteral("Wrong number of fields."));
  FIndexOfLastProcessedField = -1;
  ++FIndexOfLastProcessedRecord;
  FFlag_ExitMainLoop = true;
  FRecordDone = true;
  if (GetFieldCountAutoDetectInProgress()) {
    FFieldCount_AutoDetect_InProgress = false;
    DoFieldCountAutoDetectComplete();
  }
}

void TqdxCSVReader::DoFieldCountAutoDetectComplete() {
  if (FOnFieldCountAutoDetectComplete) FOnFieldCountAutoDetectComplete(*this);
}

void TqdxCSVReader::EndLine() {
  DoEndOfField();
  DoEndOfRecord();
}

void TqdxCSVReader::EmptyLine() {
  if (!FIgnoreEmptyLines) EndLine();
}

void TqdxCSVReader::EndOfData() {
  FEof = true;
  FCSVTextReader.reset();
  for (auto& field : FFields) field->FValue.clear();
  std::fill(FFieldEnds.begin(), FFieldEnds.end(), 0);
  FBufFldVal_Content_Length = 0;
  FPlainRecordStart = -1;
  FFlag_ExitMainLoop = true;
}

void TqdxCSVReader::WrongFormat() {
  FParserState = psChkBegOfRecord;
  RaisePositionedError(QStringLiteral("Wrong format of field value."));
}

// Most records of an export are plain: ordinary characters and separators up to a line end,
// with the right number of fields, all in the read buffer. Such a record is taken in one
// scan, its fields left in place; the state table would take the same steps on it (begin a
// field, append, end the field at each separator, end the line) and end in the same state.
// Anything else (a quote, a special character, an empty line, a field too many or too few,
// the end of the buffer) leaves the record untouched to the character loop, which says what
// is wrong in its own words.
bool TqdxCSVReader::ReadPlainRecord() {
  if (FFieldCount_AutoDetect_InProgress || FReadingHeader || FieldCount() == 0) return false;
  if (FParserState != psChkBegOfRecord && FParserState != psChkAfterCR) return false;
  const char16_t* buffer = FBufferReadFromStream.get();
  const int n = FBufferReadFromStream_ContentLength;
  int i = FBufferReadFromStream_NextCharIndex;
  if (FParserState == psChkAfterCR && i < n && buffer[i] == kLineFeed) ++i;  // of CR LF
  const int start = i;
  const int lastField = FieldCount() - 1;
  int field = 0;
  int end = -1;  // where the line end stands
  // Locals: the stores into the field ends must not make the compiler read the options
  // again for every character.
  int* const ends = FFieldEnds.data();
  const char16_t separator = FFieldSeparatorChar;
  const bool separatorPlain = Classify(separator) == ccSeparator;  // not a line end, not NUL
  // A plain record stops only at a separator or a line end. Every character it must look
  // at (a separator, a quote, a control character, line ends among them, and with
  // ASCIIonly one above 126) is one of these or makes the record not plain.
  const auto stop = [&](int at) {
    const char16_t c = buffer[at];
    if (c == separator && separatorPlain) {
      if (field == lastField) return false;
      ends[field++] = at - start;
      return true;
    }
    if ((c != kCarriageReturn && c != kLineFeed) || field != lastField || at == start) return false;
    end = at;
    return true;
  };
#ifdef __SSE2__
  const bool asciiOnly = FASCIIonly;
  const __m128i separators = _mm_set1_epi16(static_cast<short>(separator));
  const __m128i quotes = _mm_set1_epi16(static_cast<short>(FQuoteChar));
  const __m128i highBits = _mm_set1_epi16(static_cast<short>(0xFFE0));
  const __m128i zero = _mm_setzero_si128();
  const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
  const __m128i above126 = _mm_set1_epi16(static_cast<short>(126 ^ 0x8000));
  const auto stops = [&](const char16_t* at) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    __m128i hits =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(x, separators), _mm_cmpeq_epi16(x, quotes)),
                     _mm_cmpeq_epi16(_mm_and_si128(x, highBits), zero));
    if (asciiOnly) hits = _mm_or_si128(hits, _mm_cmpgt_epi16(_mm_xor_si128(x, bias), above126));
    return hits;
  };
  // Sixteen characters at a time, one bit each; every stop among them in turn.
  while (i + 16 <= n) {
    unsigned mask =
        unsigned(_mm_movemask_epi8(_mm_packs_epi16(stops(buffer + i), stops(buffer + i + 8))));
    for (; mask != 0; mask &= mask - 1) {
      if (!stop(i + __builtin_ctz(mask))) return false;
      if (end >= 0) goto found;
    }
    i += 16;
  }
#endif
  for (; i < n; ++i) {
    const TCharClass cls = Classify(buffer[i]);
    if (cls == ccOther) continue;
    if (cls != ccSeparator && cls != ccCR && cls != ccLF) return false;
    if (!stop(i)) return false;
    if (end >= 0) goto found;
  }
  return false;  // the record goes on beyond the buffer
found:
  ends[field] = end - start;
  FBuffer_ReadFromFile = buffer[end];
  FParserState = buffer[end] == kCarriageReturn ? psChkAfterCR : psChkBegOfRecord;
  FBufferReadFromStream_NextCharIndex = end + 1;
  FPlainRecordStart = start;
  if (FFieldStrings) {
    for (int k = 0; k <= lastField; ++k) {
      const QStringView value = FieldView(k);
      QString& target = FFields[size_t(k)]->FValue;
      target.resize(value.size());
      if (!value.isEmpty())
        std::memcpy(static_cast<void*>(target.data()), value.data(),
                    size_t(value.size()) * sizeof(char16_t));
    }
  }
  FIndexOfLastProcessedField = -1;
  ++FIndexOfLastProcessedRecord;
  FRecordDone = true;
  return true;
}

void TqdxCSVReader::ReadRecord() {
  FFlag_ExitMainLoop = false;
  if (FRecordDone) {
    FBufFldVal_Content_Length = 0;
    FRecordDone = false;
    FPlainRecordStart = -1;
  }
  if (ReadPlainRecord()) {
    FBof = false;
    return;
  }
  while (!FFlag_ExitMainLoop) {
    TCharClass cls;
    char16_t ch;
    if (FBufferReadFromStream_NextCharIndex >= FBufferReadFromStream_ContentLength &&
        !RefillReadBuffer()) {
      ch = 0;
      cls = ccEnd;
    } else {
      ch = FBufferReadFromStream[FBufferReadFromStream_NextCharIndex++];
      cls = Classify(ch);
    }
    FBuffer_ReadFromFile = ch;
    if (cls == ccSpecial) {
      if (FIgnoreSpecialCharacters) continue;
      RaisePositionedError(
          QStringLiteral("Invalid character (HexCode = %1). Input file is invalid.")
              .arg(QString::number(uint(ch), 16).toUpper().rightJustified(8, u'0')));
    }
    switch (FParserState) {
      case psChkBegOfRecord:
      case psChkBegOfField:
      case psChkAfterCR:
        switch (cls) {
          case ccOther:
            Append(ch);
            FParserState = psNotQuoted;
            ScanNotQuoted();
            break;
          case ccQuote:
            BeginQuote();
            break;
          case ccSeparator:
            DoEndOfField();
            FParserState = psChkBegOfField;
            break;
          case ccCR:
            if (FParserState == psChkBegOfField)
              EndLine();
            else
              EmptyLine();
            FParserState = psChkAfterCR;
            break;
          case ccLF:
            if (FParserState == psChkBegOfField)
              EndLine();
            else if (FParserState == psChkBegOfRecord)
              EmptyLine();
            // after a CR this is the LF of a CR LF pair
            FParserState = psChkBegOfRecord;
            break;
          case ccEnd:
            if (FParserState == psChkBegOfField) {
              EndLine();
            } else {
              EndOfData();
            }
            FParserState = psChkBegOfRecord;
            break;
          case ccSpecial:
            break;
        }
        break;
      case psNotQuoted:
      case psChkIntrnQuote:
        switch (cls) {
          case ccOther:
            if (FParserState == psChkIntrnQuote) WrongFormat();
            Append(ch);
            ScanNotQuoted();
            break;
          case ccQuote:
            Append(ch);
            if (FParserState == psChkIntrnQuote) {
              // a doubled quote inside a quoted field stands for one quote
              FParserState = psQuoted;
              ScanQuoted();
            } else {
              ScanNotQuoted();
            }
            break;
          case ccSeparator:
            DoEndOfField();
            FParserState = psChkBegOfField;
            break;
          case ccCR:
            EndLine();
            FParserState = psChkAfterCR;
            break;
          case ccLF:
          case ccEnd:
            EndLine();
            FParserState = psChkBegOfRecord;
            break;
          case ccSpecial:
            break;
        }
        break;
      case psQuoted:
        switch (cls) {
          case ccQuote:
            FParserState = psChkIntrnQuote;
            break;
          case ccEnd:
            WrongFormat();
          default:
            Append(ch);
            ScanQuoted();
            break;
        }
        break;
    }
  }
  FBof = false;
}

// ---------------------------------------------------------------------------------------
// TqdxCSVFileReader

TqdxCSVFileReader::TqdxCSVFileReader(int ABufferReadFromStreamCapacityInChars)
    : TqdxCSVReader(ABufferReadFromStreamCapacityInChars) {}

void TqdxCSVFileReader::RefuseSetFileWhileActive() const {
  if (Active()) RaiseError(QStringLiteral("TqdxCSVFileReader.SetFile.") + kNotInActiveState);
}

void TqdxCSVFileReader::SetFile(const QString& AFileName) {
  RefuseSetFileWhileActive();
  FFileName = AFileName;
  FStreamReader_ConstructorKind = srckFile;
}

void TqdxCSVFileReader::SetFile(const QString& AFileName, bool ADetectBOM) {
  RefuseSetFileWhileActive();
  FFileName = AFileName;
  FStreamReader_DetectBOM = ADetectBOM;
  FStreamReader_ConstructorKind = srckFileBOM;
}

void TqdxCSVFileReader::SetFile(const QString& AFileName, const TTextEncoding& AEncoding,
                                bool ADetectBOM, int AStreamReaderInternBufferSize) {
  RefuseSetFileWhileActive();
  FFileName = AFileName;
  FStreamReader_Encoding = AEncoding;
  FStreamReader_DetectBOM = ADetectBOM;
  FStreamReader_InternBufferSize = AStreamReaderInternBufferSize;
  FStreamReader_ConstructorKind = srckFileEncodingBOMBuffsize;
}

std::unique_ptr<TTextSource> TqdxCSVFileReader::CreateTextReader() {
  // The two short forms read UTF-8 through the default buffer; only the plain one always
  // detects a byte-order mark.
  const bool full = FStreamReader_ConstructorKind == srckFileEncodingBOMBuffsize;
  const bool detectBOM = FStreamReader_ConstructorKind == srckFile || FStreamReader_DetectBOM;
  return TDecodingTextSource::OpenFile(
      FFileName, full ? FStreamReader_Encoding : TTextEncoding::UTF8(), detectBOM,
      full ? std::max(FStreamReader_InternBufferSize, 128) : kDefaultFileBufferBytes);
}

}  // namespace krinu
