#include "core/script/regex_engine.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <limits>

namespace quillet {
namespace {

// Backtracking budget of one attempt from one start position. Well-formed
// expressions stay far below; nested quantifiers such as (a*)*b over a run of
// a's reach it within milliseconds and the run fails instead of hanging.
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kDepthLimit = 10'000'000;
// Backtracking memory of the interpreter, in KiB. Long subjects with a
// repeated group need frames per repetition; this caps them instead of the
// process.
constexpr std::uint32_t kHeapLimitKib = 64 * 1024;
// The JIT's own stack, kept off the thread's stack so a 10 MiB subject cannot
// overflow it.
constexpr std::size_t kJitStackStart = 64 * 1024;
constexpr std::size_t kJitStackMax = 16 * 1024 * 1024;

// UTF-16 units that a UTF-8 range holds: one per character, two for the
// characters beyond the BMP (4-byte sequences).
std::uint32_t Utf16Units(const unsigned char* begin, const unsigned char* end) {
  std::uint32_t units = 0;
  for (const unsigned char* p = begin; p < end; ++p) {
    if ((*p & 0xC0) != 0x80) units += (*p >= 0xF0) ? 2 : 1;
  }
  return units;
}

std::size_t CodePointLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

struct MatchResources {
  pcre2_match_context* context = nullptr;
  pcre2_jit_stack* jitStack = nullptr;
  pcre2_match_data* data = nullptr;
  ~MatchResources() {
    pcre2_match_data_free(data);
    pcre2_jit_stack_free(jitStack);
    pcre2_match_context_free(context);
  }
};

}  // namespace

struct CompiledRegex::Code {
  pcre2_code* code = nullptr;
  bool jit = false;
};

std::unique_ptr<CompiledRegex> CompiledRegex::Compile(std::string_view utf8Pattern,
                                                      const RegexOptions& options) {
  // ECMAScript flavour: \u0041 and \x41 escapes, a back reference to a group
  // that has not matched matches the empty text, [] and [^] are legal, "$"
  // without multi-line matches only at the very end, and the dot never takes
  // a line break (no dot-all). \w, \d and \b stay ASCII as in ECMAScript.
  std::uint32_t flags =
      PCRE2_UTF | PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF | PCRE2_ALLOW_EMPTY_CLASS;
  if (!options.caseSensitive) flags |= PCRE2_CASELESS;
  flags |= options.multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;

  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  if (context == nullptr) return nullptr;
  // Pages end their lines with CR LF as often as with LF.
  pcre2_set_newline(context, PCRE2_NEWLINE_ANYCRLF);
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8Pattern.data()),
                                   utf8Pattern.size(), flags, &error, &errorOffset, context);
  pcre2_compile_context_free(context);
  if (code == nullptr) return nullptr;

  auto* holder = new Code{code, pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0};
  return std::unique_ptr<CompiledRegex>(new CompiledRegex(holder, options.global));
}

CompiledRegex::CompiledRegex(Code* code, bool global) : code_(code), global_(global) {}

CompiledRegex::~CompiledRegex() {
  pcre2_code_free(code_->code);
  delete code_;
}

long CompiledRegex::GroupCount() const {
  std::uint32_t count = 0;
  pcre2_pattern_info(code_->code, PCRE2_INFO_CAPTURECOUNT, &count);
  return static_cast<long>(count);
}

bool CompiledRegex::FindAll(std::string_view utf8Subject, RegexMatches* out) const {
  *out = RegexMatches();
  out->groupCount_ = GroupCount();
  // Offsets are kept in 32 bits; kUnset must stay out of reach.
  if (utf8Subject.size() >= RegexMatches::kUnset) return false;

  MatchResources res;
  res.context = pcre2_match_context_create(nullptr);
  res.data = pcre2_match_data_create_from_pattern(code_->code, nullptr);
  if (res.context == nullptr || res.data == nullptr) return false;
  pcre2_set_match_limit(res.context, kMatchLimit);
  pcre2_set_depth_limit(res.context, kDepthLimit);
  pcre2_set_heap_limit(res.context, kHeapLimitKib);
  if (code_->jit) {
    res.jitStack = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
    if (res.jitStack == nullptr) return false;
    pcre2_jit_stack_assign(res.context, nullptr, res.jitStack);
  }

  const auto* subject = reinterpret_cast<const unsigned char*>(utf8Subject.data());
  const std::size_t length = utf8Subject.size();
  const std::size_t slots = static_cast<std::size_t>(out->groupCount_ + 1) * 2;
  std::size_t start = 0;
  std::size_t counted = 0;  // UTF-8 offset up to which utf16 is counted
  std::uint32_t utf16 = 0;
  std::uint32_t options = 0;  // the first call checks the whole subject's UTF-8
  while (start <= length) {
    int rc = pcre2_match(code_->code, subject, length, start, options, res.data, res.context);
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) {
      *out = RegexMatches();
      return false;
    }
    options = PCRE2_NO_UTF_CHECK;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(res.data);
    const std::uint32_t pairs = pcre2_get_ovector_count(res.data);
    for (std::size_t i = 0; i < slots; ++i) {
      PCRE2_SIZE value = (i / 2 < pairs) ? ovector[i] : PCRE2_UNSET;
      out->offsets_.push_back(value == PCRE2_UNSET ? RegexMatches::kUnset
                                                   : static_cast<std::uint32_t>(value));
    }
    std::size_t begin = ovector[0];
    std::size_t end = ovector[1];
    // \K inside a lookahead can put the start after the end; count from the
    // lower of the two so the running total never goes backwards.
    std::size_t countTo = begin < counted ? counted : begin;
    utf16 += Utf16Units(subject + counted, subject + countTo);
    counted = countTo;
    out->utf16Starts_.push_back(utf16);
    if (!global_) break;
    if (end > begin) {
      start = end;
    } else {
      // An empty match: go on one character later, as ECMAScript does.
      if (end >= length) break;
      start = end + CodePointLength(subject[end]);
    }
  }
  return true;
}

}  // namespace quillet
