#include "support/json_check.h"

#include <cctype>
#include <cstring>

namespace zul00500::testing {

namespace {

class Checker {
public:
  explicit Checker(std::string_view text) : text_(text) {}

  bool Whole(std::string& error) {
    Blanks();
    const bool ok = Value() && (Blanks(), at_ == text_.size());
    if (!ok) error = "not JSON at offset " + std::to_string(at_) + ": " + std::string(text_.substr(at_, 30));
    return ok;
  }

private:
  void Blanks() {
    while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_]) && text_[at_] != '\0') ++at_;
  }
  bool Take(char c) {
    Blanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  bool Value() {
    Blanks();
    if (at_ >= text_.size()) return false;
    switch (text_[at_]) {
    case '{':
      return Members('}', true);
    case '[':
      return Members(']', false);
    case '"':
      return String();
    case 't':
      return Word("true");
    case 'f':
      return Word("false");
    case 'n':
      return Word("null");
    default:
      return Number();
    }
  }
  bool Members(char close, bool object) {
    ++at_;
    if (Take(close)) return true;
    do {
      Blanks();
      if (object && !(String() && Take(':'))) return false;
      if (!Value()) return false;
    } while (Take(','));
    return Take(close);
  }
  bool String() {
    if (at_ >= text_.size() || text_[at_] != '"') return false;
    for (++at_; at_ < text_.size(); ++at_) {
      const auto c = static_cast<unsigned char>(text_[at_]);
      if (c == '"') {
        ++at_;
        return true;
      }
      if (c < 0x20) return false;
      if (c == '\\') {
        if (++at_ >= text_.size() || !std::strchr("\"\\/bfnrtu", text_[at_])) return false;
        if (text_[at_] == 'u')
          for (int i = 0; i < 4; ++i)
            if (++at_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_]))) return false;
      }
    }
    return false;
  }
  bool Number() {
    const std::size_t start = at_;
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    while (at_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[at_])) ||
                                  std::strchr(".eE+-", text_[at_]) != nullptr))
      ++at_;
    return at_ > start && std::isdigit(static_cast<unsigned char>(text_[at_ - 1]));
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

} // namespace

bool IsJson(std::string_view text, std::string& error) { return Checker(text).Whole(error); }

} // namespace zul00500::testing
