#pragma once
// A small wrapper over PCRE2's 16-bit library: compile a pattern once, match QString
// subjects directly (no conversion).

#include <QString>
#include <memory>

namespace krinu {

class PcreRegex {
 public:
  explicit PcreRegex(bool caseInsensitive = false);
  ~PcreRegex();
  PcreRegex(const PcreRegex&) = delete;
  PcreRegex& operator=(const PcreRegex&) = delete;

  // Compiles the pattern; false (and ErrorText()) when it does not compile.
  bool SetPattern(const QString& pattern);
  const QString& Pattern() const { return pattern_; }
  const QString& ErrorText() const { return error_; }

  // True when the pattern matches somewhere in subject (unanchored unless the pattern
  // anchors itself). A pattern that did not compile never matches.
  bool Match(const QString& subject) const;

  // One-shot helper: compile and match.
  static bool Matches(const QString& pattern, const QString& subject, bool caseInsensitive = false);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  bool caseInsensitive_;
  QString pattern_;
  QString error_;
};

}  // namespace krinu
