#include "core/script/regex_object.h"

#include <cstdint>
#include <vector>

#include "core/script/regex_engine.h"
#include "core/script/regex_replace.h"
#include "core/text/encodings.h"
#include "core/text/text_walk.h"

namespace quillet {
namespace {

// A Text ends at its first zero byte.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// Character boundaries of a code page 936 subject at or just after every
// kStride bytes, so a boundary-aware search can start near its target
// instead of walking the subject from the front for every question.
class BoundaryAnchors {
 public:
  static constexpr std::size_t kStride = 1024;

  explicit BoundaryAnchors(std::string_view subject) {
    std::size_t pos = 0;
    for (std::size_t target = 0; target < subject.size(); target += kStride) {
      while (pos < target) pos += detail::CharWidthAt(subject, pos);
      anchors_.push_back(static_cast<std::uint32_t>(pos));
    }
  }

  // The last anchor at or before `offset` (0 for an empty subject).
  std::size_t AtOrBefore(std::size_t offset) const {
    std::size_t k = offset / kStride;
    if (k >= anchors_.size()) k = anchors_.empty() ? 0 : anchors_.size() - 1;
    while (k > 0 && anchors_[k] > offset) --k;
    return anchors_.empty() ? 0 : anchors_[k];
  }

 private:
  std::vector<std::uint32_t> anchors_;
};

// Byte offset handed out for `text` (code page 936) found in `subject` at or
// after `searchStart`. The engine counts the subject in UTF-16 units while a
// double-byte character takes two bytes here, so the unit index is only a
// lower bound of the real byte offset: the first occurrence of the text from
// there on is taken. Exact comparison: the text is the subject's own, so
// the search never stops at a differently cased look-alike. An empty text, or
// one no longer found after a lossy conversion, answers 0 while the search
// start lies inside the subject and -2 otherwise.
long PositionOf(std::string_view subject, const BoundaryAnchors* anchors, std::string_view text,
                std::uint32_t searchStart) {
  if (searchStart >= subject.size()) return -2;
  if (text.empty()) return 0;
  const std::size_t anchor = anchors ? anchors->AtOrBefore(searchStart) : 0;
  long found =
      TextFind(subject.substr(anchor), text, static_cast<long>(searchStart - anchor) + 1, false);
  return found > 0 ? static_cast<long>(anchor) + found - 1 : -2;
}

}  // namespace

struct RegexObject::State {
  std::string utf8Subject;
  RegexMatches matches;
  BoundaryAnchors anchors;  // of the code page 936 subject

  Text GroupText(long match, long group) const {
    if (!matches.IsSet(match, group)) return Text();
    std::uint32_t begin = matches.Begin(match, group);
    std::uint32_t end = matches.End(match, group);
    if (end <= begin) return Text();
    return Utf8ToAnsi(std::string_view(utf8Subject).substr(begin, end - begin));
  }
};

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject& other) = default;
RegexObject& RegexObject::operator=(const RegexObject& other) = default;
RegexObject::RegexObject(RegexObject&&) noexcept = default;
RegexObject& RegexObject::operator=(RegexObject&&) noexcept = default;

void RegexObject::Destroy() {
  state_.reset();
  subject_.clear();
  subject_.shrink_to_fit();
  pattern_.clear();
}

RegexObject RegexObject::Copy() const { return *this; }

bool RegexObject::Create(std::string_view pattern, std::string_view subject, bool caseSensitive,
                         bool multiline, bool global, bool quoteMarker) {
  state_.reset();
  pattern_ = Text(UpToNul(pattern));
  if (quoteMarker) pattern_ = TextReplace(pattern_, Gbk("#引号"), "\"");
  subject_ = Text(UpToNul(subject));

  std::unique_ptr<CompiledRegex> regex =
      CompiledRegex::Compile(AnsiToUtf8(pattern_), RegexOptions{caseSensitive, multiline, global});
  if (regex == nullptr) return false;
  RegexMatches matches;
  std::string utf8Subject = AnsiToUtf8(subject_);
  if (!regex->FindAll(utf8Subject, &matches)) return false;
  auto state = std::make_shared<State>(
      State{std::move(utf8Subject), std::move(matches), BoundaryAnchors(subject_)});
  state_ = std::move(state);
  return true;
}

Text RegexObject::GetPattern() const { return pattern_; }

Text RegexObject::Replace(std::string_view replacement) const {
  if (state_ == nullptr) return Text();
  if (state_->matches.Count() == 0) return subject_;
  return Utf8ToAnsi(
      ReplaceMatches(state_->utf8Subject, state_->matches, AnsiToUtf8(UpToNul(replacement))));
}

long RegexObject::GetMatchCount() const { return state_ ? state_->matches.Count() : 0; }

Text RegexObject::GetMatchText(long index, long* position) const {
  return Answer(index, 0, position);
}

Text RegexObject::GetSubMatchText(long matchIndex, long groupIndex, long* position) const {
  // Groups are counted from 1; 0 (the whole match) is no group.
  return Answer(matchIndex, groupIndex >= 1 ? groupIndex : -1, position);
}

Text RegexObject::Answer(long matchIndex, long groupIndex, long* position) const {
  const long match = matchIndex - 1;
  const bool matchKnown = state_ != nullptr && match >= 0 && match < state_->matches.Count();
  // An unanswerable question still searches from the start of the subject.
  const std::uint32_t searchStart = matchKnown ? state_->matches.Utf16Start(match) : 0;
  Text text;
  if (matchKnown && groupIndex >= 0 && groupIndex <= state_->matches.GroupCount()) {
    text = state_->GroupText(match, groupIndex);
  }
  if (position != nullptr) {
    *position = PositionOf(subject_, state_ ? &state_->anchors : nullptr, text, searchStart);
  }
  return text;
}

long RegexObject::GetSubMatchCount() const {
  if (state_ == nullptr || state_->matches.Count() == 0) return 0;
  return state_->matches.GroupCount();
}

}  // namespace quillet
