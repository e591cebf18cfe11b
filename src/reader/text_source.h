#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringView>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "reader/csv_exception.h"

namespace krinu {

// Windows code page numbers, as the input file's settings and the detection name them.
inline constexpr quint16 kCodePageAnsi = 0;  // the system's ANSI code page
inline constexpr quint16 kCodePageUtf8 = 65001;
inline constexpr quint16 kCodePageUtf16LE = 1200;
inline constexpr quint16 kCodePageUtf16BE = 1201;
inline constexpr quint16 kCodePageUtf32LE = 12000;
inline constexpr quint16 kCodePageUtf32BE = 12001;

// A text encoding chosen by name (any name QStringDecoder knows, e.g. "UTF-8",
// "windows-1250"). A default-constructed value means "none": the system's ANSI code page.
class TTextEncoding {
 public:
  TTextEncoding() = default;
  static TTextEncoding UTF8() { return TTextEncoding("UTF-8"); }
  static TTextEncoding UTF16LE() { return TTextEncoding("UTF-16LE"); }
  static TTextEncoding UTF16BE() { return TTextEncoding("UTF-16BE"); }
  // The system's default single-byte (ANSI) code page, see AnsiCodePage().
  static TTextEncoding Default();
  static TTextEncoding FromName(const QByteArray& name) { return TTextEncoding(name); }
  // Windows code page numbers: 0 the ANSI default, 65001 UTF-8, 1200 UTF-16 LE, 1201 UTF-16
  // BE, anything else "windows-<n>".
  static TTextEncoding FromCodePage(int codePage);

  bool IsNone() const { return FName.isEmpty(); }
  // The name given to QStringDecoder; the ANSI code page's name for "none".
  QByteArray Name() const;
  // The encoding's byte-order mark; empty for encodings without one.
  QByteArray Preamble() const;
  friend bool operator==(const TTextEncoding&, const TTextEncoding&) = default;

 private:
  explicit TTextEncoding(QByteArray name) : FName(std::move(name)) {}
  QByteArray FName;
};

// The ANSI code page Windows would use for a locale name such as "hu_HU.UTF-8" or "de-DE":
// 1250 for Hungarian and the other Central European languages, 1252 for Western ones, and
// so on. A name without a language ("", "C", "POSIX") gives 1250: our users are Hungarian.
int AnsiCodePageForLocale(QStringView localeName);
// The ANSI code page of this process: KRINU_ANSI_CODEPAGE when it names a usable code page
// ("1252", "windows-1252" or "cp1252"), else the system's: GetACP() on Windows, elsewhere
// the one of the locale in LC_ALL, LC_CTYPE or LANG.
int AnsiCodePage();
// "windows-<AnsiCodePage()>".
QByteArray AnsiCodePageName();

// Opens a file for reading its bytes: every reading of a file here opens it through this.
// A file that cannot be opened throws EqdxCSVException with the system's reason.
[[nodiscard]] std::unique_ptr<QIODevice> OpenFileForReading(const QString& fileName);

// What the reader takes its characters from.
class TTextSource {
 public:
  virtual ~TTextSource() = default;
  // The next character without taking it; -1 at the end of the data.
  virtual int Peek() = 0;
  // Takes up to count characters into buffer; returns how many, 0 at the end of the data.
  virtual int Read(char16_t* buffer, int count) = 0;
};

// Bytes of a device decoded block by block into UTF-16. A byte-order mark for UTF-8, UTF-16
// LE or UTF-16 BE selects that encoding when detectBOM is on; otherwise the given encoding's
// own mark is skipped when the data starts with it. Characters split between two blocks are
// kept whole; invalid byte sequences become U+FFFD. Throws EqdxCSVException when the
// encoding is unknown or the device fails.
class TDecodingTextSource final : public TTextSource {
 public:
  TDecodingTextSource(std::unique_ptr<QIODevice> device, const TTextEncoding& encoding,
                      bool detectBOM, int bufferSizeInBytes);
  ~TDecodingTextSource() override;
  // Opens the file for reading; a file that cannot be opened throws with the system's reason.
  static std::unique_ptr<TDecodingTextSource> OpenFile(const QString& fileName,
                                                       const TTextEncoding& encoding,
                                                       bool detectBOM, int bufferSizeInBytes);

  int Peek() override;
  int Read(char16_t* buffer, int count) override;
  // The encoding in use after byte-order-mark detection.
  const QByteArray& EncodingName() const { return FEncodingName; }

 private:
  class Decoder;
  qsizetype ReadBytes(char* to, qsizetype max);
  void Start(const TTextEncoding& encoding, bool detectBOM);
  bool Fill();  // false at the end of the data
  // Reads and decodes the next block: into out when it has room for all of it (returns the
  // characters written, > 0), else into FChars (returns -1); 0 at the end of the data.
  qsizetype DecodeBlock(char16_t* out, qsizetype room);

  std::unique_ptr<QIODevice> FDevice;
  std::unique_ptr<Decoder> FDecoder;
  // Single-byte code pages decode through a table taken from the decoder once.
  std::optional<std::array<char16_t, 256>> FByteTable;
  bool FAsciiKept = false;  // the table maps every byte below 0x80 to itself
  void DecodeBytes(const char* bytes, qsizetype n, char16_t* out) const;
  QByteArray FEncodingName;
  std::vector<char> FBytes;
  qsizetype FByteCount = 0;  // FBytes[0, FByteCount) is read but not decoded yet
  // UTF-8 and UTF-16 keep the bytes of a character cut by the block end for the next block
  // themselves (Qt 6.4's UTF-8 decoder loses text after such a cut); 0 means "let the
  // decoder keep its state".
  enum TCarry { carryNone, carryUtf8, carryUtf16 } FCarry = carryNone;
  std::vector<char16_t> FChars;
  qsizetype FCharsPos = 0;
  qsizetype FCharsLen = 0;
  bool FAtEnd = false;
};

}  // namespace krinu
