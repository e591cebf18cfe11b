#include "content/line_text.h"

#include <new>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace krinu {

namespace {

// A text of its own: the count of its holders, then the word and the characters.
constexpr std::size_t kCountBytes = sizeof(quint32);

bool FitsLatin1(QStringView text) {
  for (const QChar c : text)
    if (c.unicode() > 0xFF) return false;
  return true;
}

// The same number of characters assumed. The pools compare every record's tax number and
// name so: eight at a time.
bool EqualLatin1(QLatin1StringView a, QStringView b) {
  const char* x = a.data();
  const char16_t* y = b.utf16();
  const qsizetype n = a.size();
  qsizetype i = 0;
#ifdef __SSE2__
  for (; i + 8 <= n; i += 8) {
    const __m128i wide = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(x + i)),
                                           _mm_setzero_si128());
    const __m128i other = _mm_loadu_si128(reinterpret_cast<const __m128i*>(y + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(wide, other)) != 0xFFFF) return false;
  }
#endif
  for (; i < n; ++i)
    if (char16_t(uchar(x[i])) != y[i]) return false;
  return true;
}

}  // namespace

std::size_t TLineText::Bytes(QStringView text) noexcept {
  const std::size_t n = std::size_t(text.size());
  // Even, so that the next text's head is too: the pointer's low bit is the tag.
  return (sizeof(quint32) + (FitsLatin1(text) ? n : 2 * n) + 1) & ~std::size_t(1);
}

void TLineText::Put(char* head, QStringView text) noexcept {
  const bool narrow = FitsLatin1(text);
  const quint32 word = quint32(text.size()) | (narrow ? kNarrow : 0);
  std::memcpy(head, &word, sizeof word);
  char* chars = head + sizeof word;
  if (narrow) {
    for (qsizetype i = 0; i < text.size(); ++i) chars[i] = char(text.utf16()[i]);
  } else {
    std::memcpy(chars, text.utf16(), std::size_t(text.size()) * sizeof(char16_t));
  }
}

TLineText::TLineText(QStringView text) {
  if (text.isEmpty()) return;
  char* block = static_cast<char*>(::operator new(kCountBytes + Bytes(text)));
  new (block) std::atomic<quint32>(1);
  Put(block + kCountBytes, text);
  bits_ = reinterpret_cast<quintptr>(block + kCountBytes) | kOwned;
}

void TLineText::Free() noexcept {
  ::operator delete(reinterpret_cast<char*>(Count()));
}

bool TLineText::Equal(const TLineText& a, const TLineText& b) noexcept {
  if (a.size() != b.size()) return false;
  if (a.size() == 0) return true;  // an empty text may have no characters to point at
  if (a.IsLatin1() == b.IsLatin1()) return std::memcmp(a.Chars(), b.Chars(), a.Bytes()) == 0;
  return a.IsLatin1() ? EqualLatin1(a.Latin1(), b.Utf16()) : EqualLatin1(b.Latin1(), a.Utf16());
}

bool TLineText::Equal(const TLineText& a, QStringView b) noexcept {
  if (a.size() != b.size()) return false;
  if (a.size() == 0) return true;
  if (a.IsLatin1()) return EqualLatin1(a.Latin1(), b);
  return std::memcmp(a.Chars(), b.utf16(), a.Bytes()) == 0;
}

}  // namespace krinu
