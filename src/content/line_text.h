#pragma once
// The text of an invoice line's field in eight bytes.

#include <QAnyStringView>
#include <QLatin1StringView>
#include <QString>
#include <QStringBuilder>
#include <QStringView>
#include <QtGlobal>
#include <atomic>
#include <cstring>

namespace krinu {

class TTextArena;

// An immutable text, one pointer wide: a million invoice lines hold three texts each, and a
// QString's 24 bytes (with an atomic count touched on every copy) would be most of a line.
// The characters stand behind a 32-bit word holding their number: one byte each (Latin-1)
// when every character is below 256, as nearly every invoice number and tax number is, else
// 16 bits each (UTF-16); the word's top bit tells which. They are either in a text arena (a
// load puts them there; the arena must outlive every copy, see TAFAAdatList) or in a block
// of their own that the copies share and the last one frees; the low bit of the pointer
// tells which. Equal texts are always kept the same way, so their bytes are equal.
class TLineText {
 public:
  TLineText() noexcept = default;
  // A copy of the text in a block of its own.
  explicit TLineText(QStringView text);
  explicit TLineText(const QString& text) : TLineText(QStringView(text)) {}
  TLineText& operator=(const QString& text) { return *this = TLineText(text); }
  TLineText(const TLineText& other) noexcept : bits_(other.bits_) { Retain(); }
  TLineText(TLineText&& other) noexcept : bits_(other.bits_) { other.bits_ = 0; }
  TLineText& operator=(const TLineText& other) noexcept {
    if (bits_ != other.bits_) {
      other.Retain();
      Release();
      bits_ = other.bits_;
    }
    return *this;
  }
  TLineText& operator=(TLineText&& other) noexcept {
    if (this != &other) {
      Release();
      bits_ = other.bits_;
      other.bits_ = 0;
    }
    return *this;
  }
  ~TLineText() { Release(); }

  // The characters in place: Latin-1 when IsLatin1(), else UTF-16.
  [[nodiscard]] bool IsLatin1() const noexcept { return bits_ != 0 && (Word() & kNarrow); }
  [[nodiscard]] QLatin1StringView Latin1() const noexcept {
    return bits_ == 0 ? QLatin1StringView() : QLatin1StringView(Chars(), size());
  }
  [[nodiscard]] QStringView Utf16() const noexcept {
    return bits_ == 0 ? QStringView()
                      : QStringView(reinterpret_cast<const char16_t*>(Chars()), size());
  }
  // f(QLatin1StringView) or f(QStringView), as the text is kept.
  template <class F>
  decltype(auto) Visit(F&& f) const {
    return IsLatin1() ? f(Latin1()) : f(Utf16());
  }
  [[nodiscard]] QAnyStringView View() const noexcept {
    return IsLatin1() ? QAnyStringView(Latin1()) : QAnyStringView(Utf16());
  }
  operator QAnyStringView() const noexcept { return View(); }  // NOLINT: read as a view
  [[nodiscard]] QString ToString() const { return View().toString(); }
  [[nodiscard]] qsizetype size() const noexcept {
    return bits_ == 0 ? 0 : qsizetype(Word() & ~kNarrow);
  }
  // Bytes the characters take.
  [[nodiscard]] std::size_t Bytes() const noexcept {
    return IsLatin1() ? std::size_t(size()) : std::size_t(size()) * 2;
  }
  [[nodiscard]] bool isEmpty() const noexcept { return bits_ == 0; }
  // Asks for the characters ahead of their use: a walk over lines in key order meets their
  // invoice numbers in no order the memory could guess.
  void Prefetch() const noexcept { __builtin_prefetch(Head()); }
  // The same characters in the same place: a load shares one text among equal values.
  [[nodiscard]] bool SameText(const TLineText& other) const noexcept {
    return bits_ == other.bits_;
  }

  friend bool operator==(const TLineText& a, const TLineText& b) noexcept {
    return a.bits_ == b.bits_ || Equal(a, b);
  }
  friend bool operator!=(const TLineText& a, const TLineText& b) noexcept { return !(a == b); }
  friend bool operator==(const TLineText& a, QStringView b) noexcept { return Equal(a, b); }
  friend bool operator!=(const TLineText& a, QStringView b) noexcept { return !(a == b); }
  friend bool operator==(const TLineText& a, const QString& b) noexcept {
    return Equal(a, QStringView(b));
  }
  friend bool operator!=(const TLineText& a, const QString& b) noexcept { return !(a == b); }
  // Plain 16-bit character order, as QString's.
  friend bool operator<(const TLineText& a, const TLineText& b) noexcept {
    return QAnyStringView::compare(a.View(), b.View()) < 0;
  }
  friend bool operator<(const TLineText& a, QStringView b) noexcept {
    return QAnyStringView::compare(a.View(), b) < 0;
  }

  // Equal characters, however each side keeps them.
  [[nodiscard]] static bool Equal(const TLineText& a, const TLineText& b) noexcept;
  [[nodiscard]] static bool Equal(const TLineText& a, QStringView b) noexcept;

 private:
  friend class TTextArena;
  static constexpr quintptr kOwned = 1;
  static constexpr quint32 kNarrow = quint32(1) << 31;
  // A text whose word and characters stand at head, in an arena.
  explicit TLineText(const void* head) noexcept : bits_(reinterpret_cast<quintptr>(head)) {}
  const char* Head() const noexcept { return reinterpret_cast<const char*>(bits_ & ~kOwned); }
  quint32 Word() const noexcept {
    quint32 word;
    std::memcpy(&word, Head(), sizeof word);
    return word;
  }
  const char* Chars() const noexcept { return Head() + sizeof(quint32); }
  // The word and characters of a text, written at head: Bytes(text) of them.
  static std::size_t Bytes(QStringView text) noexcept;
  static void Put(char* head, QStringView text) noexcept;
  std::atomic<quint32>* Count() const noexcept {
    return reinterpret_cast<std::atomic<quint32>*>((bits_ & ~kOwned) - sizeof(quint32));
  }
  void Retain() const noexcept {
    if (bits_ & kOwned) Count()->fetch_add(1, std::memory_order_relaxed);
  }
  void Release() noexcept {
    if ((bits_ & kOwned) && Count()->fetch_sub(1, std::memory_order_acq_rel) == 1) Free();
  }
  void Free() noexcept;

  quintptr bits_ = 0;
};

}  // namespace krinu

// A line's text joins a string concatenation ("Adószám: " + line.Adoszam) as a view does.
template <>
struct QConcatenable<krinu::TLineText> : private QAbstractConcatenable {
  using type = krinu::TLineText;
  using ConvertTo = QString;
  enum { ExactSize = true };
  static qsizetype size(const type& text) { return text.size(); }
  static void appendTo(const type& text, QChar*& out) {
    text.Visit([&out](auto view) { QConcatenable<decltype(view)>::appendTo(view, out); });
  }
};
