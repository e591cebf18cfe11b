#include "declaration/xml_document.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "common/large_pages.h"

namespace krinu {

QString EscapeXmlText(const QString& text) {
  qsizetype special = 0;
  for (QChar c : text)
    if (c == u'&' || c == u'<' || c == u'>' || c == u'"') ++special;
  if (special == 0) return text;
  QString out;
  out.reserve(text.size() + special * 5);
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'&':
        out += QLatin1StringView("&amp;");
        break;
      case u'<':
        out += QLatin1StringView("&lt;");
        break;
      case u'>':
        out += QLatin1StringView("&gt;");
        break;
      case u'"':
        out += QLatin1StringView("&quot;");
        break;
      default:
        out += c;
    }
  }
  return out;
}

void TXmlDocument::Reserve(qsizetype bytes) {
  if (bytes > capacity_) Grow(bytes - used_);
}

void TXmlDocument::SetSink(Sink sink, qsizetype chunk) {
  sink_ = std::move(sink);
  chunk_ = chunk;
  Reserve(chunk);
}

bool TXmlDocument::Flush() {
  if (sink_ && used_ > 0) {
    buffer_.resize(used_);
    if (!sinkFailed_ && !sink_(buffer_)) sinkFailed_ = true;
    // The same buffer or the one the sink left: the size it had, uninitialised bytes after.
    buffer_.resize(std::max(capacity_, chunk_));
    base_ = buffer_.data();
    capacity_ = buffer_.size();
    used_ = 0;
  }
  return !sinkFailed_;
}

void TXmlDocument::Grow(qsizetype bytes) {
  // With a sink the buffer is emptied rather than grown; only a value longer than the whole
  // buffer makes it grow.
  if (sink_ && base_ != nullptr) {
    Flush();
    if (capacity_ >= bytes) return;
  }
  const qsizetype wanted = std::max({used_ + bytes, capacity_ * 2, qsizetype(4096)});
  buffer_.resize(wanted);  // keeps the bytes written so far
  base_ = buffer_.data();
  capacity_ = wanted;
  if (capacity_ >= (qsizetype(16) << 20)) AdviseLargePages(base_, std::size_t(capacity_));
}

namespace {

// A character below 256, escaped and as UTF-8.
char* PutLatin1Char(char* p, char16_t c) {
  if (c >= 0x80) {
    *p++ = char(0xC0 | (c >> 6));
    *p++ = char(0x80 | (c & 0x3F));
    return p;
  }
  std::string_view written;
  switch (c) {
    case u'&':
      written = "&amp;";
      break;
    case u'<':
      written = "&lt;";
      break;
    case u'>':
      written = "&gt;";
      break;
    case u'"':
      written = "&quot;";
      break;
    case u'\t':
    case u'\n':
    case u'\r':
      *p++ = char(c);
      return p;
    default:
      if (c >= 0x20) {
        *p++ = char(c);
        return p;
      }
      written = "\xEF\xBF\xBD";  // not a character in XML; a value stored before it was refused
  }
  std::memcpy(p, written.data(), written.size());
  return p + written.size();
}

#ifdef __SSE2__
// Whether sixteen bytes are all printable ASCII with nothing to escape.
bool PlainBytes(const char* at) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i special =
      _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('&')),
                                             _mm_cmpeq_epi8(x, _mm_set1_epi8('<'))),
                                _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('>')),
                                             _mm_cmpeq_epi8(x, _mm_set1_epi8('"')))),
                   _mm_cmplt_epi8(x, _mm_set1_epi8(0x20)));  // signed: 0x80 and above too
  return _mm_movemask_epi8(special) == 0;
}
#endif

}  // namespace

char* TXmlDocument::PutText(char* p, QLatin1StringView text) {
  const qsizetype n = text.size();
  const char* s = text.data();
  qsizetype i = 0;
#ifdef __SSE2__
  // Invoice numbers: plain ASCII, copied sixteen at a time; the last few as the last sixteen
  // again when all before them were copied as they are.
  for (; i + 16 <= n && PlainBytes(s + i); i += 16) std::memcpy(p + i, s + i, 16);
  if (i < n && i > n - 16 && n >= 16 && PlainBytes(s + n - 16)) {
    std::memcpy(p + n - 16, s + n - 16, 16);
    return p + n;
  }
  p += i;
#endif
  for (; i < n; ++i) p = PutLatin1Char(p, char16_t(uchar(s[i])));
  return p;
}

char* TXmlDocument::PutText(char* p, QStringView text) {
  const qsizetype n = text.size();
  const char16_t* s = text.utf16();
#ifdef __SSE2__
  // Eight printable characters below 0x80 with nothing to escape, as bytes.
  const auto plain = [](const char16_t* at, __m128i& x) {
    x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i special =
        _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(x, _mm_set1_epi16('&')),
                                               _mm_cmpeq_epi16(x, _mm_set1_epi16('<'))),
                                  _mm_or_si128(_mm_cmpeq_epi16(x, _mm_set1_epi16('>')),
                                               _mm_cmpeq_epi16(x, _mm_set1_epi16('"')))),
                     _mm_cmplt_epi16(x, _mm_set1_epi16(0x20)));
    const __m128i ascii =
        _mm_cmpeq_epi16(_mm_and_si128(x, _mm_set1_epi16(short(0xFF80))), _mm_setzero_si128());
    return _mm_movemask_epi8(_mm_andnot_si128(special, ascii)) == 0xFFFF;
  };
  char* const start = p;
#endif
  for (qsizetype i = 0; i < n; ++i) {
#ifdef __SSE2__
    // The hot path: a million invoice numbers and as many names are plain ASCII, narrowed to
    // bytes eight at a time; a control character goes the slow way, which replaces it.
    __m128i x;
    while (i + 8 <= n && plain(s + i, x)) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(x, x));
      p += 8;
      i += 8;
    }
    // The last few: the last eight again, over bytes already written as the same bytes,
    // when every character so far took one byte.
    if (i < n && i > n - 8 && n >= 8 && p - start == i && plain(s + n - 8, x)) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(start + n - 8), _mm_packus_epi16(x, x));
      return start + n;
    }
    if (i >= n) break;
#endif
    char32_t c = s[i];
    if (c < 0x100) {
      p = PutLatin1Char(p, char16_t(c));
      continue;
    }
    if (c < 0x800) {
      *p++ = char(0xC0 | (c >> 6));
      *p++ = char(0x80 | (c & 0x3F));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
      *p++ = char(0xF0 | (c >> 18));
      *p++ = char(0x80 | ((c >> 12) & 0x3F));
      *p++ = char(0x80 | ((c >> 6) & 0x3F));
      *p++ = char(0x80 | (c & 0x3F));
      continue;
    }
    // Not characters in XML: a lone surrogate and the two noncharacters of the first plane.
    if ((c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF) c = 0xFFFD;
    *p++ = char(0xE0 | (c >> 12));
    *p++ = char(0x80 | ((c >> 6) & 0x3F));
    *p++ = char(0x80 | (c & 0x3F));
  }
  return p;
}

TXmlDocument& TXmlDocument::Text(QStringView text) {
  char* const start = Room(TextRoom(text));
  used_ += PutText(start, text) - start;
  return *this;
}

TXmlDocument& TXmlDocument::Text(const TLineText& text) {
  char* const start = Room(TextRoom(text));
  used_ += PutText(start, text) - start;
  return *this;
}

TXmlDocument& TXmlDocument::Number(qint64 value) {
  char* p = Room(24);
  used_ += PutNumber(p, value) - p;
  return *this;
}

namespace {

char* TwoDigits(char* p, int value) {
  p[0] = char('0' + value / 10);
  p[1] = char('0' + value % 10);
  return p + 2;
}

}  // namespace

TXmlDocument& TXmlDocument::Date(QDate date) {
  const std::string_view text = DateText(date);
  return Raw(text);
}

std::string_view TXmlDocument::DateText(QDate date) {
  const qint64 day = date.toJulianDay();
  TDateText& slot = dates_[std::size_t(day) % std::size(dates_)];
  if (slot.Size == 0 || slot.JulianDay != day) {
    int year = 0, month = 0, dayOfMonth = 0;
    date.getDate(&year, &month, &dayOfMonth);
    char* p = slot.Text;
    if (year >= 0 && year <= 9999) {
      p = TwoDigits(p, year / 100);
      p = TwoDigits(p, year % 100);
    } else {
      p = std::to_chars(p, slot.Text + 11, year).ptr;
    }
    p = TwoDigits(p, month);
    p = TwoDigits(p, dayOfMonth);
    slot.Size = quint8(p - slot.Text);
    slot.JulianDay = day;
  }
  return std::string_view(slot.Text, slot.Size);
}

void TXmlDocument::Line(int blanks, std::string_view raw) {
  Blanks(blanks).Raw(raw).EndLine();
}

void TXmlDocument::FieldStart(std::string_view code) {
  Raw("      <mezo eazon=\"").Raw(code).Raw("\">");
}

void TXmlDocument::FieldEnd() {
  Raw("</mezo>").EndLine();
}

void TXmlDocument::Field(std::string_view code, QStringView text) {
  FieldStart(code);
  Text(text);
  FieldEnd();
}

void TXmlDocument::Field(std::string_view code, const TLineText& text) {
  FieldStart(code);
  Text(text);
  FieldEnd();
}

void TXmlDocument::FieldNumber(std::string_view code, qint64 value) {
  FieldStart(code);
  Number(value);
  FieldEnd();
}

void TXmlDocument::FieldDate(std::string_view code, QDate date) {
  FieldStart(code);
  Date(date);
  FieldEnd();
}

QByteArray TXmlDocument::TakeBytes() {
  buffer_.resize(used_);
  QByteArray out = std::move(buffer_);
  buffer_ = QByteArray();
  base_ = nullptr;
  used_ = capacity_ = lines_ = 0;
  return out;
}

}  // namespace krinu
