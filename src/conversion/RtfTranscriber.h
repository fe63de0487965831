#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace penlark {

// Transcribes RTF bytes into the body of the server's XML document form, as bytes of the ANSI
// code page, reading each byte once. The RTF may come in pieces: a token or text run cut by the
// end of a piece goes on in the next one, so that any cut gives the same body as one piece.
class RtfTranscriber {
 public:
  // Transcribes the next piece of the RTF, appending to `out`; `last` when no piece follows.
  // Returns how many bytes of the piece were taken: all of them, or all but a final backslash,
  // whose meaning depends on the byte after it (it must begin the next piece).
  std::size_t Feed(std::string_view piece, bool last, std::string& out);

 private:
  enum class State { kBetween, kText, kToken };

  bool NextItem();
  void Close();
  bool AtEscapePair() const;
  bool CopyUntil(unsigned char stops);
  void ContinueToken();
  void ContinueText();

  State state_ = State::kBetween;
  std::string_view in_;
  std::size_t position_ = 0;
  bool last_ = false;
  bool waiting_ = false;
  std::string* out_ = nullptr;
};

}  // namespace penlark
