#include "conversion/RtfTranscriber.h"

#include <array>
#include <cstdint>

namespace penlark {
namespace {

// What a byte means to the scanner, as bit flags.
enum ByteClass : std::uint8_t {
  kOrdinary = 0,
  kEscaped = 1,    // < > & " are written as entities
  kBrace = 2,      // { }
  kBackslash = 4,  // starts a control token or an escape pair
  kTokenEnd = 8,   // space ; CR LF also end a control token
};

// The bytes that end a run of ordinary text, and those that end a control token's name.
constexpr std::uint8_t kTextStops = kEscaped | kBrace | kBackslash;
constexpr std::uint8_t kTokenStops = kEscaped | kBrace | kBackslash | kTokenEnd;

constexpr std::array<std::uint8_t, 256> MakeClassTable() {
  std::array<std::uint8_t, 256> table{};
  for (const char c : {'<', '>', '&', '"'}) {
    table[static_cast<unsigned char>(c)] = kEscaped;
  }
  table['{'] = table['}'] = kBrace;
  table['\\'] = kBackslash;
  for (const char c : {' ', ';', '\r', '\n'}) {
    table[static_cast<unsigned char>(c)] = kTokenEnd;
  }
  return table;
}

constexpr std::array<std::uint8_t, 256> kClass = MakeClassTable();

std::uint8_t ClassOf(char c) {
  return kClass[static_cast<unsigned char>(c)];
}

std::string_view EntityFor(char c) {
  switch (c) {
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '&':
      return "&amp;";
    default:
      return "&quot;";
  }
}

}  // namespace

std::size_t RtfTranscriber::Feed(std::string_view piece, bool last, std::string& out) {
  in_ = piece;
  position_ = 0;
  last_ = last;
  out_ = &out;
  while (position_ < in_.size()) {
    if (state_ == State::kToken) {
      ContinueToken();
    } else if (state_ == State::kText) {
      ContinueText();
    } else if (!NextItem()) {
      break;
    }
    if (waiting_) {
      break;
    }
  }
  if (last_) {
    Close();
  }
  waiting_ = false;
  return position_;
}

// Starts the item at the position; false when that needs a byte the piece does not have.
bool RtfTranscriber::NextItem() {
  const char c = in_[position_];
  if (c == '{') {
    out_->append("<G>");
    ++position_;
  } else if (c == '}') {
    out_->append("</G>");
    ++position_;
  } else if (c == '\\' && !last_ && position_ + 1 == in_.size()) {
    return false;
  } else if (c == '\\' && !AtEscapePair()) {
    out_->append("<C id=\"\\");
    ++position_;
    state_ = State::kToken;
  } else {
    out_->append("<D>");
    state_ = State::kText;
  }
  return true;
}

// Closes a token or text run that the end of the input cut.
void RtfTranscriber::Close() {
  if (state_ == State::kToken) {
    out_->append("\"/>");
  } else if (state_ == State::kText) {
    out_->append("</D>");
  }
  state_ = State::kBetween;
}

// Whether a backslash here starts `\\`, `\{` or `\}`: literal characters, which belong to text.
bool RtfTranscriber::AtEscapePair() const {
  if (in_[position_] != '\\' || position_ + 1 >= in_.size()) {
    return false;
  }
  const char next = in_[position_ + 1];
  return next == '\\' || next == '{' || next == '}';
}

// Copies the bytes up to the next one of class `stops` that is not a markup character, runs
// of ordinary bytes in one go and markup characters as entities. False at the end of the piece.
bool RtfTranscriber::CopyUntil(unsigned char stops) {
  for (;;) {
    const std::size_t start = position_;
    while (position_ < in_.size() && (ClassOf(in_[position_]) & stops) == 0) {
      ++position_;
    }
    out_->append(in_.data() + start, position_ - start);
    if (position_ == in_.size()) {
      return false;
    }
    if (ClassOf(in_[position_]) != kEscaped) {
      return true;
    }
    out_->append(EntityFor(in_[position_]));
    ++position_;
  }
}

// The name up to a delimiter, and a space that ends the token.
void RtfTranscriber::ContinueToken() {
  if (!CopyUntil(kTokenStops)) {
    return;
  }
  if (in_[position_] == ' ') {
    out_->push_back(' ');
    ++position_;
  }
  out_->append("\"/>");
  state_ = State::kBetween;
}

// Text up to a brace or a backslash that starts a control token; escape pairs stay in it. A
// backslash that ends a piece waits for the next one.
void RtfTranscriber::ContinueText() {
  while (CopyUntil(kTextStops)) {
    if (in_[position_] == '\\' && !last_ && position_ + 1 == in_.size()) {
      waiting_ = true;
      return;
    }
    if (!AtEscapePair()) {
      out_->append("</D>");
      state_ = State::kBetween;
      return;
    }
    out_->append(in_.data() + position_, 2);
    position_ += 2;
  }
}

}  // namespace penlark
