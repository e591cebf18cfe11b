// libFuzzer target for the delimited-record reader. The first three bytes choose the
// options and the encoding, the rest is the file. Every input must give records or the
// reader's own positioned error, and the same result whatever the buffer sizes.
#include <QBuffer>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "reader/csv_reader.h"

namespace {

using krinu::EqdxCSVException;
using krinu::TDecodingTextSource;
using krinu::TTextEncoding;
using krinu::TTextSource;

class TFuzzReader : public krinu::TqdxCSVReader {
 public:
  TFuzzReader(QByteArray bytes, TTextEncoding encoding, bool detectBOM, int readChars,
              int byteBuffer)
      : TqdxCSVReader(readChars),
        FBytes(std::move(bytes)),
        FEncoding(std::move(encoding)),
        FDetectBOM(detectBOM),
        FByteBuffer(byteBuffer) {}

 protected:
  std::unique_ptr<TTextSource> CreateTextReader() override {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(FBytes);
    buffer->open(QIODevice::ReadOnly);
    return std::make_unique<TDecodingTextSource>(std::move(buffer), FEncoding, FDetectBOM,
                                                 FByteBuffer);
  }

 private:
  QByteArray FBytes;
  TTextEncoding FEncoding;
  bool FDetectBOM;
  int FByteBuffer;
};

const char16_t kSeparators[] = {u',', u';', u'\t', u'|',   u' ',   u'"',  u'\r', u'\n',
                                0,    u'a', u'¤',  0xFFFD, 0xD800, u'\'', 127,   1};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// All records as text, then the error message if there was one.
QStringList ReadAll(const QByteArray& data, uint8_t o0, uint8_t o1, uint8_t o2, int readChars,
                    int byteBuffer) {
  static const TTextEncoding kEncodings[] = {TTextEncoding::FromCodePage(1250),
                                             TTextEncoding::UTF8(), TTextEncoding::UTF16LE()};
  TFuzzReader reader(data, kEncodings[(o0 & 3) % 3], o0 & 4, readChars, byteBuffer);
  reader.SetHeaderPresent(o0 & 8);
  reader.SetUseFieldQuoting(o0 & 16);
  reader.SetIgnoreEmptyLines(o0 & 32);
  reader.SetASCIIonly(o0 & 64);
  reader.SetIgnoreSpecialCharacters(o0 & 128);
  reader.SetFieldSeparatorCharCode(kSeparators[o1 & 15]);
  reader.SetQuoteCharCode(kSeparators[o1 >> 4]);
  reader.SetFieldCount_AutoDetect(!(o2 & 8));
  reader.SetFieldCount(o2 & 7);
  QStringList out;
  try {
    reader.Open();
    while (!reader.Eof()) {
      Check(reader.Active(), "active while walking");
      QString record;
      for (int i = 0; i < reader.FieldCount(); ++i) record += reader.Fields(i).Value() + u'\x1F';
      out << record;
      const int before = reader.RecordCountProcessedSoFar();
      reader.Next();
      Check(reader.Eof() || reader.RecordCountProcessedSoFar() == before + 1, "one record a Next");
    }
  } catch (const EqdxCSVException& e) {
    Check(e.Message().startsWith(QStringLiteral("TqdxCSVReader: \r")), "message form");
    Check(e.Message().contains(QStringLiteral("\rRecord #: ")), "positioned error");
    Check(!reader.Active(), "closed after an error");
    out << QStringLiteral("error: ") + e.Message();
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 3, qsizetype(size - 3));
  const QStringList big = ReadAll(bytes, data[0], data[1], data[2], 512, 4096);
  // tiny buffers put every block boundary somewhere else
  const QStringList small = ReadAll(bytes, data[0], data[1], data[2], 1 + data[2] % 5, 128);
  Check(big == small, "same result with other buffer sizes");
  return 0;
}
