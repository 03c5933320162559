#pragma once
// Reading model file text: numbers, counts and words from a window over the
// text, every one checked, and the first problem with its line.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "formats/text_window.h"

// The writer's numbers are at most this long; a fast reader needs them, and
// the character after them, in the window.
constexpr size_t kFastNumberBytes = 32;

class Scanner {
 public:
  explicit Scanner(TextWindow& text) : text_(text), at_(text.begin()), end_(text.end()) {}

  bool integer(int& value, const char* what) {
    skipBlanks();
    lookAhead(kFastNumberBytes);
    return shortInteger(value) || number(value, what);
  }

  bool real(double& value, const char* what) {
    skipBlanks();
    lookAhead(kFastNumberBytes);
    if (sixDecimals(value)) return true;
    if (!number(value, what)) return false;
    if (!std::isfinite(value)) return fail(std::string(what) + " is not finite");
    return true;
  }

  // A count of items that each take at least `minBytes` of the text.
  bool count(int& value, const char* what, size_t minBytes) {
    if (!integer(value, what)) return false;
    if (value < 0) return fail(std::string(what) + " is negative");
    if (static_cast<size_t>(value) > (text_.remainingAfter(at_) + 1) / minBytes) {
      return fail(std::string(what) + " exceeds what the file holds");
    }
    return true;
  }

  // One run of non-blank characters.
  bool word(std::string& value, const char* what) {
    skipBlanks();
    const size_t length = wholeToken();
    if (length == 0) return fail(std::string(what) + " missing");
    value.assign(at_, length);
    at_ += length;
    return true;
  }

  // True, having read it, when the next word is `expected`; nothing is read
  // otherwise. The text's end is no word.
  bool nextWordIs(std::string_view expected) {
    skipBlanks();
    const size_t length = wholeToken();
    if (std::string_view(at_, length) != expected) return false;
    at_ += length;
    return true;
  }

  // False with `reason`, of no line, when the text holds nothing but blanks
  // from here on.
  bool anythingLeft(const char* reason) {
    skipBlanks();
    if (at_ != end_) return true;
    error_ = text_.readFailed() ? "the file could not be read" : reason;
    return false;
  }

  // Reads the word `expected`, or fails naming it.
  bool keyword(const char* expected) {
    return nextWordIs(expected) || fail(std::string("expected ") + expected);
  }

  void skipRestOfLine() {
    for (;;) {
      const void* lineFeed = std::memchr(at_, '\n', end_ - at_);
      if (lineFeed) {
        at_ = static_cast<const char*>(lineFeed) + 1;
        return;
      }
      at_ = end_;
      if (!more()) return;
    }
  }

  // Whatever follows the skeleton (a note, a hand-edited tail) is not read.
  bool readSucceeded() { return !text_.readFailed() || fail("the file could not be read"); }

  bool fail(const std::string& reason) {
    // What is missing after a read error is the error's doing.
    if (text_.readFailed()) {
      error_ = "the file could not be read";
      return false;
    }
    error_ = "line " + std::to_string(text_.lineOf(at_)) + ": " + reason;
    return false;
  }

  const std::string& error() const { return error_; }
  // "line N", where the scanner is, for a note.
  std::string lineHere() const { return "line " + std::to_string(text_.lineOf(at_)); }

 private:
  static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

  // Slides the window on, keeping the text from at_.
  bool more() {
    const bool got = text_.more(at_);
    end_ = text_.end();
    return got;
  }

  // Afterwards the window holds `bytes` from at_, or the text ends within
  // them: the fast readers may take the window's end for the text's end.
  void lookAhead(size_t bytes) {
    while (static_cast<size_t>(end_ - at_) < bytes && more()) {
    }
  }

  void skipBlanks() {
    for (;;) {
      while (at_ != end_ && isBlank(*at_)) ++at_;
      if (at_ != end_ || !more()) return;
    }
  }

  // Brings the token at at_ wholly into the window; its length.
  size_t wholeToken() {
    size_t length = 0;
    for (;;) {
      while (at_ + length != end_ && !isBlank(at_[length])) ++length;
      if (at_ + length != end_ || !more()) return length;
    }
  }

  bool endsHere(const char* p) const { return p == end_ || isBlank(*p); }

  static unsigned digit(char c) { return static_cast<unsigned>(c - '0'); }

  // The writer's integers, at most nine digits with an optional minus sign,
  // read directly; anything else is left to the general reader.
  bool shortInteger(int& value) {
    const char* p = at_;
    const bool negative = p != end_ && *p == '-';
    if (negative) ++p;
    const char* digits = p;
    int magnitude = 0;
    while (p != end_ && digit(*p) < 10 && p - digits < 9) magnitude = magnitude * 10 + digit(*p++);
    if (p == digits || !endsHere(p)) return false;
    value = negative ? -magnitude : magnitude;
    at_ = p;
    return true;
  }

  // The writer's reals, "%lf" with at most nine integer digits, read directly.
  // Whole part and millionths make an integer below 2^53, exact in a double,
  // and dividing it by 10^6 rounds once: the result is the double nearest to
  // the decimal, which is what the general reader gives.
  bool sixDecimals(double& value) {
    const char* p = at_;
    const bool negative = p != end_ && *p == '-';
    if (negative) ++p;
    const char* digits = p;
    uint64_t whole = 0;
    while (p != end_ && digit(*p) < 10 && p - digits < 9) whole = whole * 10 + digit(*p++);
    if (p == digits || end_ - p < 7 || *p != '.') return false;
    ++p;
    uint64_t millionths = 0;
    for (int i = 0; i < 6; ++i, ++p) {
      if (digit(*p) >= 10) return false;
      millionths = millionths * 10 + digit(*p);
    }
    if (!endsHere(p)) return false;
    const double magnitude = static_cast<double>(whole * 1000000 + millionths) / 1e6;
    value = negative ? -magnitude : magnitude;
    at_ = p;
    return true;
  }

  template <class T>
  bool number(T& value, const char* what) {
    skipBlanks();
    const size_t length = wholeToken();
    if (length == 0) return fail(std::string(what) + " missing");
    const char* start = at_;
    const char* stopAt = at_ + length;
    // Reading with scanf accepts an explicit plus sign; so do we.
    if (*start == '+' && start + 1 != stopAt && start[1] != '-') ++start;
    auto [stop, status] = std::from_chars(start, stopAt, value);
    if (status == std::errc::result_out_of_range) {
      return fail(std::string(what) + " out of range");
    }
    if (status != std::errc() || stop != stopAt) return fail(std::string("unreadable ") + what);
    at_ = stop;
    return true;
  }

  TextWindow& text_;
  const char* at_;
  const char* end_;
  std::string error_;
};
