#include "platform/CodePage.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace penlark::codepage {
namespace {

// The characters of bytes 0x80 to 0x9F; every other byte stands for the code point of its value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

struct ReverseEntry {
  char16_t codePoint;
  unsigned char byte;
};

// kHighControls inverted and sorted by code point, for a binary search.
constexpr std::array<ReverseEntry, 32> MakeReverseTable() {
  std::array<ReverseEntry, 32> table{};
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    table[i] = {kHighControls[i], static_cast<unsigned char>(0x80 + i)};
  }
  std::sort(table.begin(), table.end(),
            [](const ReverseEntry& a, const ReverseEntry& b) { return a.codePoint < b.codePoint; });
  return table;
}

constexpr std::array<ReverseEntry, 32> kReverse = MakeReverseTable();

bool IsAscii(char c) {
  return static_cast<unsigned char>(c) < 0x80;
}

// Length of the run of ASCII bytes at the start of `text`, 32 and then eight bytes at a time:
// the conversions spend most of their time on such runs.
std::size_t AsciiRunLength(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  std::size_t length = 0;
  for (; text.size() - length >= 4 * sizeof(std::uint64_t); length += 4 * sizeof(std::uint64_t)) {
    std::array<std::uint64_t, 4> words{};
    std::memcpy(words.data(), text.data() + length, sizeof words);
    if (((words[0] | words[1] | words[2] | words[3]) & kHighBits) != 0) {
      break;
    }
  }
  for (; length + sizeof(std::uint64_t) <= text.size(); length += sizeof(std::uint64_t)) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + length, sizeof word);
    if ((word & kHighBits) != 0) {
      break;
    }
  }
  const auto rest = text.substr(length);
  return length + static_cast<std::size_t>(std::find_if_not(rest.begin(), rest.end(), IsAscii) -
                                           rest.begin());
}

// The UTF-8 form of each byte, for conversions that write characters out of order.
struct Utf8Form {
  std::array<char, 3> bytes;
  std::size_t length;
};

std::array<Utf8Form, 256> MakeUtf8Forms();

const std::array<Utf8Form, 256>& Utf8Forms() {
  static const std::array<Utf8Form, 256> forms = MakeUtf8Forms();
  return forms;
}

}  // namespace

char32_t ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    return kHighControls[byte - 0x80u];
  }
  return byte;
}

std::optional<unsigned char> FromUnicode(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<unsigned char>(codePoint);
  }
  const auto* entry =
      std::lower_bound(kReverse.begin(), kReverse.end(), codePoint,
                       [](const ReverseEntry& e, char32_t value) { return e.codePoint < value; });
  if (entry != kReverse.end() && entry->codePoint == codePoint) {
    return entry->byte;
  }
  return std::nullopt;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 4);
  std::size_t position = 0;
  while (position < ansi.size()) {
    const std::size_t run = AsciiRunLength(ansi.substr(position));
    out.append(ansi.substr(position, run));
    position += run;
    if (position < ansi.size()) {
      AppendUtf8(out, ToUnicode(static_cast<unsigned char>(ansi[position])));
      ++position;
    }
  }
  return out;
}

void AnsiToUtf8InPlace(std::string& text) {
  const auto& forms = Utf8Forms();
  std::size_t growth = 0;
  for (std::size_t position = 0;; ++position) {
    position += AsciiRunLength(std::string_view(text).substr(position));
    if (position == text.size()) {
      break;
    }
    growth += forms[static_cast<unsigned char>(text[position])].length - 1;
  }
  if (growth == 0) {
    return;
  }
  // Each character is written from the end backwards, until what is left stays where it is.
  std::size_t read = text.size();
  text.resize(read + growth);
  std::size_t write = text.size();
  char* data = text.data();
  while (write != read) {
    const auto byte = static_cast<unsigned char>(data[--read]);
    const Utf8Form& form = forms[byte];
    write -= form.length;
    std::memcpy(data + write, form.bytes.data(), form.length);
  }
}

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AppendUtf8AsAnsi(out, utf8);
  return out;
}

void AppendUtf8AsAnsi(std::string& out, std::string_view utf8) {
  std::size_t position = 0;
  while (position < utf8.size()) {
    const std::size_t run = AsciiRunLength(utf8.substr(position));
    out.append(utf8.substr(position, run));
    position += run;
    if (position < utf8.size()) {
      const char32_t codePoint = DecodeUtf8(utf8, position);
      const auto byte = codePoint == kInvalidCodePoint ? std::nullopt : FromUnicode(codePoint);
      out.push_back(byte ? static_cast<char>(*byte) : kReplacement);
    }
  }
}

namespace {

std::array<Utf8Form, 256> MakeUtf8Forms() {
  std::array<Utf8Form, 256> forms{};
  for (std::size_t byte = 0; byte < forms.size(); ++byte) {
    std::string utf8;
    AppendUtf8(utf8, ToUnicode(static_cast<unsigned char>(byte)));
    std::copy(utf8.begin(), utf8.end(), forms[byte].bytes.begin());
    forms[byte].length = utf8.size();
  }
  return forms;
}

}  // namespace

}  // namespace penlark::codepage
