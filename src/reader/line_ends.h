#pragma once
// The characters that end lines and text in the input file, and the line rule of reading
// it as a text file line by line. The record reader splits records by its own state table
// (CR, LF and CR LF each end a line, NUL ends the data) over the same named characters.

#include <algorithm>
#include <cstring>

namespace krinu {

inline constexpr char16_t kNul = 0;  // the reader: the end of the data where it stands
inline constexpr char16_t kLineFeed = 10;
inline constexpr char16_t kCarriageReturn = 13;
inline constexpr char16_t kCtrlZ = 26;  // a text file: the end of the text

// Where a text file read line by line stands between two blocks of it.
struct TTextLineScan {
  bool Pending = false;  // units (a dropped CR among them) since the last line end
  bool Ended = false;    // a Ctrl-Z ended the text
};

namespace line_ends_detail {
inline const char* Find(const char* from, const char* to, char16_t c) {
  return static_cast<const char*>(std::memchr(from, int(c), size_t(to - from)));
}
inline const char16_t* Find(const char16_t* from, const char16_t* to, char16_t c) {
  const char16_t* at = std::find(from, to, c);
  return at == to ? nullptr : at;
}
}  // namespace line_ends_detail

// A text file's lines: LF ends a line, a CR is dropped wherever it stands (a file with CR
// line ends is one long line), Ctrl-Z ends the text, and a last line without LF still
// counts (Pending after the last block). Units are bytes (single-byte code pages, UTF-8: LF and
// Ctrl-Z are single bytes there) or 16-bit units. text(from, to) gets each run of a line's units,
// CRs included; lineEnd() is called at every LF and returns false to stop the scan.
// Returns false once the scan stopped or the text ended.
template <class Unit, class Text, class LineEnd>
bool ScanTextLines(const Unit* p, const Unit* end, TTextLineScan& scan, Text&& text,
                   LineEnd&& lineEnd) {
  using line_ends_detail::Find;
  while (p < end) {
    const Unit* lf = Find(p, end, kLineFeed);
    const Unit* stop = lf ? lf : end;
    if (const Unit* z = Find(p, stop, kCtrlZ)) {
      if (z > p) {
        scan.Pending = true;
        text(p, z);
      }
      scan.Ended = true;
      return false;
    }
    if (stop > p) {
      scan.Pending = true;
      text(p, stop);
    }
    if (!lf) break;
    scan.Pending = false;
    if (!lineEnd()) return false;
    p = lf + 1;
  }
  return true;
}

}  // namespace krinu
