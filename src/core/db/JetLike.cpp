#include "db/JetLike.h"

#include "base/Utf8.h"

namespace viamappa {

JetLikePattern::JetLikePattern(std::string_view pattern) {
  std::size_t pos = 0;
  while (pos < pattern.size()) {
    const char byte = pattern[pos];
    if (byte == '*') {
      ++pos;
      // A run of stars means the same as one star.
      if (elements_.empty() || elements_.back().kind != Kind::kStar) elements_.push_back({Kind::kStar});
      continue;
    }
    if (byte == '?') {
      ++pos;
      elements_.push_back({Kind::kAny});
      continue;
    }
    if (byte == '#') {
      ++pos;
      elements_.push_back({Kind::kDigit});
      continue;
    }
    if (byte == '[') {
      const std::size_t close = pattern.find(']', pos + 1);
      if (close != std::string_view::npos) {
        std::string_view body = pattern.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        if (body.empty()) continue;  // `[]` stands for no character at all
        Element element{Kind::kClass};
        if (body.size() > 1 && body[0] == '!') {
          element.negated = true;
          body.remove_prefix(1);
        }
        element.first = static_cast<std::uint32_t>(ranges_.size());
        std::size_t at = 0;
        while (at < body.size()) {
          const char32_t low = utf8::DecodeNext(body, at);
          char32_t high = low;
          // A `-` between two characters makes a range; at the start or the end it is listed itself.
          if (at + 1 < body.size() && body[at] == '-') {
            ++at;
            high = utf8::DecodeNext(body, at);
          }
          ranges_.push_back({low, high, utf8::FoldCase(low), utf8::FoldCase(high)});
        }
        element.count = static_cast<std::uint32_t>(ranges_.size()) - element.first;
        elements_.push_back(element);
        continue;
      }
      // A `[` that is never closed is an ordinary character.
    }
    Element element{Kind::kLiteral};
    element.literal = utf8::FoldCase(utf8::DecodeNext(pattern, pos));
    elements_.push_back(element);
  }
}

bool JetLikePattern::ElementMatches(const Element& element, char32_t c) const {
  switch (element.kind) {
    case Kind::kAny:
      return true;
    case Kind::kDigit:
      return c >= '0' && c <= '9';
    case Kind::kLiteral:
      return utf8::FoldCase(c) == element.literal;
    case Kind::kClass: {
      const char32_t folded = utf8::FoldCase(c);
      bool listed = false;
      for (std::uint32_t i = element.first; i < element.first + element.count && !listed; ++i) {
        const Range& r = ranges_[i];
        // A range written backwards ([z-a]) contains nothing.
        if (r.low > r.high) continue;
        listed = (c >= r.low && c <= r.high) || (folded >= r.folded_low && folded <= r.folded_high);
      }
      return listed != element.negated;
    }
    case Kind::kStar:
      break;
  }
  return false;
}

bool JetLikePattern::Matches(std::string_view text) const {
  // Every element but the star takes exactly one character, so when an element fails it is enough to
  // let the last star seen take one more character and retry from there: an earlier star could not
  // do better. This bounds the work to pattern length times text length.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  const std::size_t count = elements_.size();
  std::size_t p = 0;
  std::size_t t = 0;
  std::size_t star = kNone;
  std::size_t star_text = 0;
  while (t < text.size()) {
    if (p < count && elements_[p].kind == Kind::kStar) {
      star = p++;
      star_text = t;
      continue;
    }
    if (p < count) {
      std::size_t next = t;
      const char32_t c = utf8::DecodeNext(text, next);
      if (ElementMatches(elements_[p], c)) {
        ++p;
        t = next;
        continue;
      }
    }
    if (star == kNone) return false;
    p = star + 1;
    utf8::DecodeNext(text, star_text);
    t = star_text;
  }
  while (p < count && elements_[p].kind == Kind::kStar) ++p;
  return p == count;
}

bool JetLikeMatch(std::string_view pattern, std::string_view text) {
  return JetLikePattern(pattern).Matches(text);
}

}  // namespace viamappa
