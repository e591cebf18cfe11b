#pragma once
// The form XML as it is built: UTF-8 bytes in one buffer, CR LF after every line. A million
// invoice lines make some five million XML lines, so values are appended straight as bytes
// instead of going through a list of QString lines and an encoder. With a sink the buffer is
// handed on whenever it fills, so a document of a few hundred megabytes never stands whole in
// memory.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringView>
#include <charconv>
#include <cstring>
#include <functional>
#include <limits>
#include <string_view>

#include "content/line_text.h"

namespace krinu {

// "&", "<", ">" and the double quote as entities; everything else, the apostrophe
// included, stays as it is.
[[nodiscard]] QString EscapeXmlText(const QString& text);

class TXmlDocument {
 public:
  TXmlDocument() = default;
  TXmlDocument(const TXmlDocument&) = delete;
  TXmlDocument& operator=(const TXmlDocument&) = delete;

  void Reserve(qsizetype bytes);

  // Where the bytes go from now on: the buffer, about `chunk` bytes, is passed to the sink
  // whenever it fills and by Flush(). The sink may keep the buffer and leave another one in
  // its place (of any size; it is grown again as needed) to be filled meanwhile. Once the
  // sink has returned false the rest is dropped and SinkFailed() tells.
  using Sink = std::function<bool(QByteArray& bytes)>;
  void SetSink(Sink sink, qsizetype chunk);
  // Passes what is buffered to the sink; false when the sink has failed, now or before.
  bool Flush();
  [[nodiscard]] bool SinkFailed() const { return sinkFailed_; }

  // Text of the format itself (tags, codes, comments): written as it is, so it must be
  // well-formed UTF-8 with nothing to escape.
  TXmlDocument& Raw(std::string_view raw) {
    std::memcpy(Room(qsizetype(raw.size())), raw.data(), raw.size());
    used_ += qsizetype(raw.size());
    return *this;
  }
  TXmlDocument& Blanks(int count) {
    std::memset(Room(count), ' ', std::size_t(count));
    used_ += count;
    return *this;
  }
  // A value from the master data or the invoice lines: escaped as EscapeXmlText does and
  // encoded as UTF-8; U+FFFE, U+FFFF and lone surrogates, which XML cannot hold, are written
  // as U+FFFD. Control characters are written as they are; the reader drops them from the
  // invoice lines.
  TXmlDocument& Text(QStringView text);
  TXmlDocument& Text(const TLineText& text);
  TXmlDocument& Number(qint64 value);
  // yyyymmdd, four-digit year.
  TXmlDocument& Date(QDate date);
  // Ends the current line with CR LF.
  void EndLine() {
    std::memcpy(Room(2), "\r\n", 2);
    used_ += 2;
    ++lines_;
  }

  // Whole lines: `blanks` blanks, the text, CR LF.
  void Line(int blanks, std::string_view raw);
  // Six blanks, <mezo eazon="code">value</mezo>, CR LF.
  void Field(std::string_view code, QStringView text);
  void Field(std::string_view code, const TLineText& text);
  void FieldNumber(std::string_view code, qint64 value);
  void FieldDate(std::string_view code, QDate date);

  // Writing many fields at once, for the rows of the partner sheets: Area(bytes) gives room
  // for that many bytes, the Put functions write into it and return where they ended, and
  // Advance() takes what was written, with the number of whole lines in it.
  [[nodiscard]] char* Area(qsizetype bytes) { return Room(bytes); }
  void Advance(const char* end, int lines) {
    used_ = end - base_;
    lines_ += lines;
  }
  // The most a text can take when written (escaped, as UTF-8).
  [[nodiscard]] static qsizetype TextRoom(QStringView text) { return text.size() * 6; }
  [[nodiscard]] static qsizetype TextRoom(const TLineText& text) { return text.size() * 6; }
  static char* PutRaw(char* p, std::string_view raw) {
    std::memcpy(p, raw.data(), raw.size());
    return p + raw.size();
  }
  static char* PutText(char* p, QStringView text);  // as Text()
  static char* PutText(char* p, QLatin1StringView text);
  static char* PutText(char* p, const TLineText& text) {
    return text.Visit([p](auto view) { return PutText(p, view); });
  }
  static char* PutNumber(char* p, qint64 value) {  // at most 20 bytes
    return std::to_chars(p, p + 24, value).ptr;
  }
  // yyyymmdd as Date() writes it; valid until the next date.
  [[nodiscard]] std::string_view DateText(QDate date);

  // Bytes in the buffer (not yet handed to a sink).
  [[nodiscard]] qsizetype Size() const { return used_; }
  [[nodiscard]] qsizetype LineCount() const { return lines_; }
  [[nodiscard]] QByteArrayView Bytes() const { return QByteArrayView(base_, used_); }
  // Hands the bytes over and leaves the document empty.
  [[nodiscard]] QByteArray TakeBytes();

 private:
  // Room for `bytes` more bytes at base_ + used_.
  char* Room(qsizetype bytes) {
    if (capacity_ - used_ < bytes || base_ == nullptr) Grow(bytes);
    return base_ + used_;
  }
  void Grow(qsizetype bytes);
  void FieldStart(std::string_view code);
  void FieldEnd();

  QByteArray buffer_;    // sized to capacity_; only the first used_ bytes are the document
  qsizetype chunk_ = 0;  // with a sink: the size the buffer is kept at
  char* base_ = nullptr;
  qsizetype used_ = 0;
  qsizetype capacity_ = 0;
  qsizetype lines_ = 0;
  Sink sink_;
  bool sinkFailed_ = false;
  // Dates written so far, by day: a document holds few distinct dates and many date fields,
  // and the rows of a partner move back and forth over the days of the period (a year's
  // days all find room).
  struct TDateText {
    qint64 JulianDay = 0;
    char Text[15] = {};
    quint8 Size = 0;  // 0: empty slot
  };
  TDateText dates_[1024];
};

}  // namespace krinu
