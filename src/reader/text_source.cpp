#include "reader/text_source.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "reader/code_page_tables.h"
#include "reader/system_code_page.h"

namespace krinu {

namespace {

// Whether a single-byte table maps every byte below 0x80 to itself.
bool AsciiKept(const std::array<char16_t, 256>& table) {
  for (int i = 0; i < 128; ++i)
    if (table[size_t(i)] != i) return false;
  return true;
}

constexpr char16_t kReplacementChar = 0xFFFD;

// Single-byte Windows and ISO code pages: every byte is one character, so a table taken
// from the decoder once gives the same text much faster than a call per block.
bool IsSingleByteCodePageName(const QByteArray& name) {
  const QByteArray n = name.toLower();
  return (n.startsWith("windows-125") && n.size() == 12) || n == "windows-874" ||
         n.startsWith("iso-8859-");
}

QByteArray BomEncodingOf(const char* bytes, qsizetype size, qsizetype* bomLength) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    *bomLength = 3;
    return "UTF-8";
  }
  if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    *bomLength = 2;
    return "UTF-16LE";
  }
  if (size >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
    *bomLength = 2;
    return "UTF-16BE";
  }
  *bomLength = 0;
  return {};
}

std::optional<int> ParseCodePageOverride(QByteArray value) {
  value = value.trimmed().toLower();
  if (value.startsWith("windows-"))
    value.remove(0, 8);
  else if (value.startsWith("cp"))
    value.remove(0, 2);
  bool ok = false;
  const int cp = value.toInt(&ok);
  if (!ok || cp <= 0) return std::nullopt;
  if (!WindowsByteTable(cp) &&
      !QStringDecoder(QByteArray("windows-" + QByteArray::number(cp)).constData()).isValid())
    return std::nullopt;
  return cp;
}

}  // namespace

// Keeps the converter's state reachable so that a sequence cut off by the end of the data
// can be reported as one replacement character instead of vanishing.
class TDecodingTextSource::Decoder : public QStringDecoder {
 public:
  Decoder(const QByteArray& name, bool stateless)
      : QStringDecoder(name.constData(), Flags(stateless)) {
    // A Qt without ICU knows no Windows code page by name; the ANSI code page is still the
    // system's own converter's to decode.
    if (!isValid() && name == AnsiCodePageName())
      static_cast<QStringDecoder&>(*this) =
          QStringDecoder(QStringConverter::System, Flags(stateless));
  }
  bool HasPendingInput() const { return state.remainingChars > 0; }

 private:
  static QStringConverter::Flags Flags(bool stateless) {
    return stateless ? QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless
                     : QStringConverter::Flag::ConvertInitialBom;
  }
};

TTextEncoding TTextEncoding::Default() {
  return TTextEncoding();
}

TTextEncoding TTextEncoding::FromCodePage(int codePage) {
  switch (codePage) {
    case kCodePageAnsi:
      return Default();
    case kCodePageUtf8:
      return UTF8();
    case kCodePageUtf16LE:
      return UTF16LE();
    case kCodePageUtf16BE:
      return UTF16BE();
    default:
      return TTextEncoding("windows-" + QByteArray::number(codePage));
  }
}

QByteArray TTextEncoding::Name() const {
  return IsNone() ? AnsiCodePageName() : FName;
}

QByteArray TTextEncoding::Preamble() const {
  const QByteArray n = FName.toUpper();
  if (n == "UTF-8") return QByteArray("\xEF\xBB\xBF", 3);
  if (n == "UTF-16LE") return QByteArray("\xFF\xFE", 2);
  if (n == "UTF-16BE") return QByteArray("\xFE\xFF", 2);
  return {};
}

int AnsiCodePageForLocale(QStringView localeName) {
  const QString name = localeName.toString().toLower();
  qsizetype end = 0;
  while (end < name.size() && !QStringView(u"_.@-").contains(name[end])) ++end;
  const QString lang = name.left(end);
  const bool latin = name.contains(QLatin1String("@latin")) || name.contains(QLatin1String("latn"));
  const bool cyrillic =
      name.contains(QLatin1String("@cyrillic")) || name.contains(QLatin1String("cyrl"));
  auto in = [&lang](std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(),
                       [&lang](const char* l) { return lang == QLatin1String(l); });
  };
  if (lang.isEmpty() || lang == QLatin1String("c") || lang == QLatin1String("posix")) return 1250;
  if (in({"hu", "cs", "sk", "pl", "sl", "hr", "ro", "sq", "hsb", "dsb"})) return 1250;
  if (lang == QLatin1String("sr")) return latin ? 1250 : 1251;
  if (lang == QLatin1String("bs")) return cyrillic ? 1251 : 1250;
  if (in({"az", "uz"})) return cyrillic ? 1251 : 1254;
  if (in({"ru", "uk", "be", "bg", "mk", "kk", "ky", "tt", "ba", "sah", "mn", "tg"})) return 1251;
  if (lang == QLatin1String("el")) return 1253;
  if (lang == QLatin1String("tr")) return 1254;
  if (in({"he", "yi"})) return 1255;
  if (in({"ar", "fa", "ur", "ps", "ug", "sd", "ckb"})) return 1256;
  if (in({"et", "lv", "lt"})) return 1257;
  if (lang == QLatin1String("vi")) return 1258;
  if (lang == QLatin1String("th")) return 874;
  if (lang == QLatin1String("ja")) return 932;
  if (lang == QLatin1String("ko")) return 949;
  if (lang == QLatin1String("zh")) {
    const bool traditional =
        name.contains(QLatin1String("_tw")) || name.contains(QLatin1String("_hk")) ||
        name.contains(QLatin1String("_mo")) || name.contains(QLatin1String("hant")) ||
        name.contains(QLatin1String("-tw")) || name.contains(QLatin1String("-hk"));
    return traditional ? 950 : 936;
  }
  return 1252;
}

int AnsiCodePage() {
  if (const auto cp = ParseCodePageOverride(qgetenv("KRINU_ANSI_CODEPAGE"))) return *cp;
  return SystemAnsiCodePage();
}

QByteArray AnsiCodePageName() {
  return "windows-" + QByteArray::number(AnsiCodePage());
}

TDecodingTextSource::TDecodingTextSource(std::unique_ptr<QIODevice> device,
                                         const TTextEncoding& encoding, bool detectBOM,
                                         int bufferSizeInBytes)
    : FDevice(std::move(device)), FBytes(std::max(bufferSizeInBytes, 128)) {
  Start(encoding, detectBOM);
}

TDecodingTextSource::~TDecodingTextSource() = default;

std::unique_ptr<QIODevice> OpenFileForReading(const QString& fileName) {
  auto file = std::make_unique<QFile>(fileName);
  // Read-only. Keeping other writers out is the job of the deny-write test when the file is
  // chosen: QFile has no sharing modes.
  if (!file->open(QIODevice::ReadOnly)) {
    throw EqdxCSVException(QStringLiteral("Cannot open file \"%1\". %2")
                               .arg(QDir::toNativeSeparators(fileName), file->errorString()));
  }
  return file;
}

std::unique_ptr<TDecodingTextSource> TDecodingTextSource::OpenFile(const QString& fileName,
                                                                   const TTextEncoding& encoding,
                                                                   bool detectBOM,
                                                                   int bufferSizeInBytes) {
  return std::make_unique<TDecodingTextSource>(OpenFileForReading(fileName), encoding, detectBOM,
                                               bufferSizeInBytes);
}

qsizetype TDecodingTextSource::ReadBytes(char* to, qsizetype max) {
  const qint64 n = FDevice->read(to, max);
  if (n < 0) throw EqdxCSVException(QStringLiteral("Read error. %1").arg(FDevice->errorString()));
  return n;
}

void TDecodingTextSource::Start(const TTextEncoding& encoding, bool detectBOM) {
  // The first block must hold a whole byte-order mark when there is one.
  while (FByteCount < 3) {
    const qsizetype n =
        ReadBytes(FBytes.data() + FByteCount, qsizetype(FBytes.size()) - FByteCount);
    if (n == 0) break;
    FByteCount += n;
  }
  qsizetype skip = 0;
  if (detectBOM) FEncodingName = BomEncodingOf(FBytes.data(), FByteCount, &skip);
  if (FEncodingName.isEmpty()) {
    FEncodingName = encoding.Name();
    const QByteArray preamble = encoding.Preamble();
    if (!preamble.isEmpty() && FByteCount >= preamble.size() &&
        std::memcmp(FBytes.data(), preamble.constData(), preamble.size()) == 0)
      skip = preamble.size();
  }
  std::memmove(FBytes.data(), FBytes.data() + skip, FByteCount - skip);
  FByteCount -= skip;
  // The Windows code pages decode through the program's own tables on every platform.
  if (auto table = ByteTableForName(FEncodingName)) {
    FByteTable = *table;
    FAsciiKept = AsciiKept(*FByteTable);
    return;
  }

  const auto known = QStringConverter::encodingForName(FEncodingName.constData());
  if (known == QStringConverter::Utf8)
    FCarry = carryUtf8;
  else if (known == QStringConverter::Utf16LE || known == QStringConverter::Utf16BE)
    FCarry = carryUtf16;
  // With our own carry every block is decoded on its own; an incomplete character at the
  // very end then becomes U+FFFD.
  FDecoder = std::make_unique<Decoder>(FEncodingName, FCarry != carryNone);
  if (!FDecoder->isValid())
    throw EqdxCSVException(
        QStringLiteral("Unsupported encoding \"%1\".").arg(QString::fromLatin1(FEncodingName)));
  if (IsSingleByteCodePageName(FEncodingName)) {
    char all[256];
    for (int i = 0; i < 256; ++i) all[i] = char(i);
    QStringDecoder once(FEncodingName.constData(), QStringConverter::Flag::Stateless);
    const QString table = once(QByteArrayView(all, 256));
    if (table.size() == 256) {
      FByteTable.emplace();
      std::memcpy(FByteTable->data(), table.utf16(), 256 * sizeof(char16_t));
      FAsciiKept = AsciiKept(*FByteTable);
    }
  }
}

namespace {

// Bytes at the end that start a UTF-8 sequence still missing some of its bytes.
qsizetype Utf8IncompleteTail(const char* bytes, qsizetype size) {
  for (qsizetype k = 1; k <= 3 && k <= size; ++k) {
    const auto c = static_cast<unsigned char>(bytes[size - k]);
    if ((c & 0xC0) == 0x80) continue;  // continuation byte
    const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > k ? k : 0;
  }
  return 0;
}

}  // namespace

// The hot path of single-byte code pages: a hundred megabytes of an export are mostly
// ASCII, which these code pages leave as it is, so sixteen bytes are widened at once and
// only the others go through the table.
void TDecodingTextSource::DecodeBytes(const char* bytes, qsizetype n, char16_t* out) const {
  const auto& table = *FByteTable;
  qsizetype i = 0;
#ifdef __SSE2__
  if (FAsciiKept) {
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
      // Widened all at once, then the few bytes above 0x7F looked up.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(x, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(x, zero));
      for (unsigned high = unsigned(_mm_movemask_epi8(x)); high != 0; high &= high - 1) {
        const qsizetype k = i + __builtin_ctz(high);
        out[k] = table[static_cast<unsigned char>(bytes[k])];
      }
      i += 16;
    }
  }
#endif
  for (; i < n; ++i) out[i] = table[static_cast<unsigned char>(bytes[i])];
}

qsizetype TDecodingTextSource::DecodeBlock(char16_t* out, qsizetype room) {
  for (;;) {
    if (FAtEnd) return 0;
    bool deviceAtEnd = false;
    if (FByteCount < qsizetype(FBytes.size())) {
      const qsizetype n =
          ReadBytes(FBytes.data() + FByteCount, qsizetype(FBytes.size()) - FByteCount);
      FByteCount += n;
      deviceAtEnd = n == 0;
    }
    qsizetype n = FByteCount;
    if (!deviceAtEnd) {
      if (FCarry == carryUtf8) n -= Utf8IncompleteTail(FBytes.data(), FByteCount);
      if (FCarry == carryUtf16) n -= FByteCount & 1;
    }
    const char* bytes = FBytes.data();
    qsizetype chars = 0;
    if (FByteTable) {
      if (out == nullptr || room < n) {
        if (qsizetype(FChars.size()) < n) FChars.resize(n);
        out = FChars.data();
      }
      DecodeBytes(bytes, n, out);
      chars = n;
    } else {
      const qsizetype space = FDecoder->requiredSpace(n) + 1;
      if (out == nullptr || room < space) {
        if (qsizetype(FChars.size()) < space) FChars.resize(space);
        out = FChars.data();
      }
      QChar* begin = reinterpret_cast<QChar*>(out);
      QChar* end = FDecoder->appendToBuffer(begin, QByteArrayView(bytes, n));
      // A sequence cut off by the end of the data is one invalid character.
      if (deviceAtEnd && FDecoder->HasPendingInput()) *end++ = QChar(kReplacementChar);
      chars = end - begin;
    }
    std::memmove(FBytes.data(), FBytes.data() + n, FByteCount - n);
    FByteCount -= n;
    FAtEnd = deviceAtEnd;
    if (chars > 0) {
      if (out == FChars.data()) {
        FCharsPos = 0;
        FCharsLen = chars;
        return -1;
      }
      return chars;
    }
  }
}

bool TDecodingTextSource::Fill() {
  FCharsPos = FCharsLen = 0;
  return DecodeBlock(nullptr, 0) != 0;
}

int TDecodingTextSource::Peek() {
  if (FCharsPos == FCharsLen && !Fill()) return -1;
  return FChars[FCharsPos];
}

int TDecodingTextSource::Read(char16_t* buffer, int count) {
  int done = 0;
  while (done < count) {
    if (FCharsPos == FCharsLen) {
      // Decoded straight into the caller's buffer when a block fits there.
      FCharsPos = FCharsLen = 0;
      const qsizetype direct = DecodeBlock(buffer + done, count - done);
      if (direct == 0) break;
      if (direct > 0) {
        done += int(direct);
        continue;
      }
    }
    const int n = int(std::min<qsizetype>(count - done, FCharsLen - FCharsPos));
    std::memcpy(buffer + done, FChars.data() + FCharsPos, n * sizeof(char16_t));
    FCharsPos += n;
    done += n;
  }
  return done;
}

}  // namespace krinu
