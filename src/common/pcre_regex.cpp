#include "common/pcre_regex.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace krinu {

struct PcreRegex::Impl {
  pcre2_code* code = nullptr;
  pcre2_match_data* match = nullptr;
  void Reset() {
    if (match) pcre2_match_data_free(match);
    if (code) pcre2_code_free(code);
    match = nullptr;
    code = nullptr;
  }
  ~Impl() { Reset(); }
};

PcreRegex::PcreRegex(bool caseInsensitive)
    : impl_(std::make_unique<Impl>()), caseInsensitive_(caseInsensitive) {}

PcreRegex::~PcreRegex() = default;

bool PcreRegex::SetPattern(const QString& pattern) {
  impl_->Reset();
  pattern_ = pattern;
  error_.clear();
  // UTF so that surrogate pairs are one character; invalid sequences in a subject (a lone
  // surrogate from a damaged file) must not make matching fail as a whole.
  uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF;
  if (caseInsensitive_) options |= PCRE2_CASELESS;
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  impl_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.utf16()),
                              static_cast<PCRE2_SIZE>(pattern.size()), options, &errorCode,
                              &errorOffset, nullptr);
  if (!impl_->code) {
    PCRE2_UCHAR buffer[256];
    const int n = pcre2_get_error_message(errorCode, buffer, 256);
    error_ = QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), n > 0 ? n : 0);
    return false;
  }
  impl_->match = pcre2_match_data_create_from_pattern(impl_->code, nullptr);
  return true;
}

bool PcreRegex::Match(const QString& subject) const {
  if (!impl_->code) return false;
  const int rc = pcre2_match(impl_->code, reinterpret_cast<PCRE2_SPTR>(subject.utf16()),
                             static_cast<PCRE2_SIZE>(subject.size()), 0, 0, impl_->match, nullptr);
  return rc >= 0;
}

bool PcreRegex::Matches(const QString& pattern, const QString& subject, bool caseInsensitive) {
  PcreRegex re(caseInsensitive);
  return re.SetPattern(pattern) && re.Match(subject);
}

}  // namespace krinu
