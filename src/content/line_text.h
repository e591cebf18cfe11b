#pragma once
// The text of an invoice line's field in eight bytes.

#include <QString>
#include <QStringBuilder>
#include <QStringView>
#include <QtGlobal>
#include <atomic>
#include <cstring>

namespace krinu {

class TTextArena;

// An immutable UTF-16 text, one pointer wide: a million invoice lines hold three texts each,
// and a QString's 24 bytes (with an atomic count touched on every copy) would be most of a
// line. The characters stand behind a 32-bit length, either in a text arena (a load puts
// them there; the arena must outlive every copy, see TAFAAdatList) or in a block of their
// own that the copies share and the last one frees. The low bit of the pointer tells which.
class TLineText {
 public:
  TLineText() noexcept = default;
  // A copy of the text in a block of its own.
  TLineText(const QString& text) : TLineText(QStringView(text)) {}  // NOLINT: as a QString
  explicit TLineText(QStringView text);
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

  [[nodiscard]] QStringView View() const noexcept {
    if (bits_ == 0) return {};
    const char* head = reinterpret_cast<const char*>(bits_ & ~kOwned);
    quint32 size;
    std::memcpy(&size, head, sizeof size);
    return QStringView(reinterpret_cast<const char16_t*>(head + sizeof size), qsizetype(size));
  }
  operator QStringView() const noexcept { return View(); }  // NOLINT: read as a view
  [[nodiscard]] QString ToString() const { return View().toString(); }
  [[nodiscard]] qsizetype size() const noexcept { return View().size(); }
  [[nodiscard]] bool isEmpty() const noexcept { return bits_ == 0; }
  // Asks for the characters ahead of their use: a walk over lines in key order meets their
  // invoice numbers in no order the memory could guess.
  void Prefetch() const noexcept {
    __builtin_prefetch(reinterpret_cast<const void*>(bits_ & ~kOwned));
  }
  // The same characters in the same place: a load shares one text among equal values.
  [[nodiscard]] bool SameText(const TLineText& other) const noexcept {
    return bits_ == other.bits_;
  }

  friend bool operator==(const TLineText& a, const TLineText& b) noexcept {
    return a.bits_ == b.bits_ || a.View() == b.View();
  }
  friend bool operator!=(const TLineText& a, const TLineText& b) noexcept { return !(a == b); }
  friend bool operator==(const TLineText& a, QStringView b) noexcept { return a.View() == b; }
  friend bool operator!=(const TLineText& a, QStringView b) noexcept { return a.View() != b; }
  friend bool operator==(const TLineText& a, const QString& b) noexcept { return a.View() == b; }
  friend bool operator!=(const TLineText& a, const QString& b) noexcept { return a.View() != b; }
  // Plain 16-bit character order, as QString's.
  friend bool operator<(const TLineText& a, const TLineText& b) noexcept {
    return a.View() < b.View();
  }
  friend bool operator<(const TLineText& a, QStringView b) noexcept { return a.View() < b; }

 private:
  friend class TTextArena;
  static constexpr quintptr kOwned = 1;
  // A text whose length and characters stand at head, in an arena.
  explicit TLineText(const void* head) noexcept : bits_(reinterpret_cast<quintptr>(head)) {}
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
    QConcatenable<QStringView>::appendTo(text.View(), out);
  }
};
