#pragma once
#include <QString>
#include <QStringList>
#include <memory>

#include "reader/csv_reader.h"

namespace krinu::test {

// Hands out the characters of a string, as a decoding source would.
class TStringTextSource : public TTextSource {
 public:
  explicit TStringTextSource(QString text) : FText(std::move(text)) {}
  int Peek() override { return FPos < FText.size() ? FText[FPos].unicode() : -1; }
  int Read(char16_t* buffer, int count) override {
    int n = 0;
    while (n < count && FPos < FText.size()) buffer[n++] = FText[FPos++].unicode();
    return n;
  }

 private:
  QString FText;
  qsizetype FPos = 0;
};

// The parser over in-memory text.
class TStringReader : public TqdxCSVReader {
 public:
  explicit TStringReader(QString text, int bufferChars = 512)
      : TqdxCSVReader(bufferChars), FText(std::move(text)) {}
  void SetText(QString text) { FText = std::move(text); }

 protected:
  std::unique_ptr<TTextSource> CreateTextReader() override {
    return std::make_unique<TStringTextSource>(FText);
  }

 private:
  QString FText;
};

// Every remaining record, fields joined with "|".
inline QStringList Drain(TqdxCSVReader& reader) {
  QStringList records;
  while (!reader.Eof()) {
    QStringList fields;
    for (int i = 0; i < reader.FieldCount(); ++i) fields << reader.Fields(i).Value();
    records << fields.join(u'|');
    reader.Next();
  }
  return records;
}

// The message of the reader's exception from f, or "no error".
template <typename F>
QString ErrorOf(F&& f) {
  try {
    f();
  } catch (const EqdxCSVException& e) {
    return e.Message();
  }
  return QStringLiteral("no error");
}

}  // namespace krinu::test
