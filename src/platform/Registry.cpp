#include "platform/Registry.h"

#include "platform/Utf8.h"
#include "platform/Utils.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace penlark {

std::string RegistryName(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// --- UTF-16LE, the registry's own encoding of strings ---

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  std::size_t i = 0;
  const auto unitAt = [&](std::size_t at) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[at]) |
                                 (static_cast<unsigned char>(bytes[at + 1]) << 8));
  };
  while (i + 1 < bytes.size()) {
    char32_t unit = unitAt(i);
    i += 2;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < bytes.size()) {
      const char32_t low = unitAt(i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    const bool loneSurrogate = unit >= 0xD800 && unit <= 0xDFFF;
    AppendUtf8(out, loneSurrogate ? kReplacementCharacter : unit);
  }
  return out;
}

void AppendUtf16Unit(std::vector<std::uint8_t>& out, char32_t unit) {
  out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
  out.push_back(static_cast<std::uint8_t>(unit >> 8));
}

// A REG_SZ value's data: the text in UTF-16LE followed by a NUL terminator.
std::vector<std::uint8_t> StringData(std::string_view utf8) {
  std::vector<std::uint8_t> data;
  std::size_t position = 0;
  while (position < utf8.size()) {
    char32_t codePoint = DecodeUtf8(utf8, position);
    if (codePoint == kInvalidCodePoint) {
      codePoint = kReplacementCharacter;
    }
    if (codePoint >= 0x10000) {
      AppendUtf16Unit(data, 0xD800 + ((codePoint - 0x10000) >> 10));
      AppendUtf16Unit(data, 0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
      AppendUtf16Unit(data, codePoint);
    }
  }
  AppendUtf16Unit(data, 0);
  return data;
}

// The file as UTF-8 text, whatever its encoding.
std::string DecodeFile(std::string_view content) {
  if (content.starts_with("\xFF\xFE")) {
    return Utf16LeToUtf8(content.substr(2));
  }
  if (content.starts_with("\xEF\xBB\xBF")) {
    return std::string(content.substr(3));
  }
  return std::string(content);
}

// --- the lines of the file ---

std::vector<std::string> LogicalLines(std::string_view text) {
  std::vector<std::string> lines;
  std::istringstream stream{std::string(text)};
  std::string line;
  bool continuing = false;
  while (std::getline(stream, line)) {
    std::string_view trimmed = Trim(line);
    // Hex data may go on over several lines, each but the last ending in a backslash.
    // Quoted strings never continue: "C:\\" ends in a backslash too.
    const bool hexLine = continuing || trimmed.find("=hex") != std::string_view::npos;
    const bool continues = hexLine && trimmed.ends_with('\\');
    if (continues) {
      trimmed.remove_suffix(1);
    }
    if (continuing) {
      lines.back() += trimmed;
    } else {
      lines.emplace_back(trimmed);
    }
    continuing = continues;
  }
  return lines;
}

// Reads a quoted string starting at text[0] == '"'; moves `text` past the closing quote.
std::optional<std::string> ReadQuoted(std::string_view& text) {
  std::string value;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == '"') {
      text.remove_prefix(i + 1);
      return value;
    }
    if (text[i] == '\\' && i + 1 < text.size()) {
      ++i;
    }
    value.push_back(text[i]);
  }
  return std::nullopt;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view digits, std::size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) {
    return std::nullopt;
  }
  std::uint32_t number = 0;
  for (const char c : digits) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) {
      return std::nullopt;
    }
    const int digit =
        std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
    number = number * 16 + static_cast<std::uint32_t>(digit);
  }
  return number;
}

// "01,02, ab" -> {0x01, 0x02, 0xab}.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view list) {
  std::vector<std::uint8_t> bytes;
  list = Trim(list);
  while (!list.empty()) {
    const auto comma = list.find(',');
    const auto byte = ParseHexNumber(Trim(list.substr(0, comma)), 2);
    if (!byte) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<std::uint8_t>(*byte));
    list = comma == std::string_view::npos ? std::string_view{} : Trim(list.substr(comma + 1));
  }
  return bytes;
}

// The right-hand side of a value line; nullopt when it is not understood.
std::optional<RegistryValue> ParseData(std::string_view data) {
  if (data.starts_with('"')) {
    const auto text = ReadQuoted(data);
    if (!text || !Trim(data).empty()) {
      return std::nullopt;
    }
    return RegistryValue{static_cast<std::uint32_t>(RegistryType::String), StringData(*text)};
  }
  if (StartsWithNoCase(data, "dword:")) {
    const auto number = ParseHexNumber(Trim(data.substr(6)), 8);
    if (!number) {
      return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (int shift = 0; shift < 32; shift += 8) {
      bytes.push_back(static_cast<std::uint8_t>((*number >> shift) & 0xFF));
    }
    return RegistryValue{static_cast<std::uint32_t>(RegistryType::Dword), bytes};
  }
  if (!StartsWithNoCase(data, "hex")) {
    return std::nullopt;
  }
  data.remove_prefix(3);
  std::uint32_t type = static_cast<std::uint32_t>(RegistryType::Binary);
  if (data.starts_with('(')) {
    const auto close = data.find(')');
    const auto number = close == std::string_view::npos
                            ? std::nullopt
                            : ParseHexNumber(data.substr(1, close - 1), 8);
    if (!number) {
      return std::nullopt;
    }
    type = *number;
    data.remove_prefix(close + 1);
  }
  if (!data.starts_with(':')) {
    return std::nullopt;
  }
  auto bytes = ParseHexBytes(data.substr(1));
  if (!bytes) {
    return std::nullopt;
  }
  return RegistryValue{type, std::move(*bytes)};
}

}  // namespace

RegistryTree RegistryTree::Parse(std::string_view fileContent) {
  RegistryTree tree;
  std::map<std::string, RegistryValue>* currentKey = nullptr;
  for (const std::string& line : LogicalLines(DecodeFile(fileContent))) {
    std::string_view rest = line;
    if (rest.starts_with('[')) {
      const auto close = rest.rfind(']');
      if (close == std::string_view::npos) {
        currentKey = nullptr;
      } else if (rest.starts_with("[-")) {
        tree.keys_.erase(RegistryName(rest.substr(2, close - 2)));
        currentKey = nullptr;
      } else {
        currentKey = &tree.keys_[RegistryName(rest.substr(1, close - 1))];
      }
      continue;
    }
    if (currentKey == nullptr || !(rest.starts_with('"') || rest.starts_with('@'))) {
      continue;  // blank lines, comments, the header, values outside a key
    }
    std::optional<std::string> name = std::string();
    if (rest.starts_with('@')) {
      rest.remove_prefix(1);
    } else {
      name = ReadQuoted(rest);
    }
    rest = Trim(rest);
    if (!name || !rest.starts_with('=')) {
      continue;
    }
    rest = Trim(rest.substr(1));
    if (rest == "-") {
      currentKey->erase(RegistryName(*name));
    } else if (auto value = ParseData(rest)) {
      (*currentKey)[RegistryName(*name)] = std::move(*value);
    }
  }
  return tree;
}

const std::map<std::string, RegistryValue>* RegistryTree::FindKey(std::string_view fullPath) const {
  const auto key = keys_.find(RegistryName(fullPath));
  return key == keys_.end() ? nullptr : &key->second;
}

RegistryKey RegistryKey::Open(const RegistryTree& tree, std::string_view fullPath) {
  RegistryKey key;
  if (const auto* values = tree.FindKey(fullPath)) {
    key.values_ = *values;
  }
  return key;
}

RegistryKey RegistryKey::Holding(std::map<std::string, RegistryValue> values) {
  RegistryKey key;
  key.values_ = std::move(values);
  return key;
}

const RegistryValue* RegistryKey::Find(std::string_view valueName) const {
  if (!values_) {
    return nullptr;
  }
  const auto value = values_->find(RegistryName(valueName));
  return value == values_->end() ? nullptr : &value->second;
}

long QueryRegistryValue(const RegistryKey& key, std::string_view valueName,
                        RegistryVariant& value) {
  if (!key.IsOpen()) {
    return kRegistryInvalidHandle;
  }
  const RegistryValue* stored = key.Find(valueName);
  if (stored == nullptr) {
    return kRegistryNotFound;
  }
  const auto& data = stored->data;
  switch (static_cast<RegistryType>(stored->type)) {
    case RegistryType::String: {
      std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
      if (bytes.size() >= 2 && bytes.ends_with(std::string_view("\0\0", 2))) {
        bytes.remove_suffix(2);  // the stored terminator
      }
      value = Utf16LeToUtf8(bytes);
      return kRegistrySuccess;
    }
    case RegistryType::Dword:
      if (data.size() != 4) {
        return kRegistryBadData;
      }
      value = std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 | std::uint32_t{data[2]} << 16 |
              std::uint32_t{data[3]} << 24;
      return kRegistrySuccess;
    default:
      return kRegistryOtherType;
  }
}

std::string ReadRegistryString(std::string_view keyPath, std::string_view valueName) {
  RegistryVariant value;
  QueryRegistryValue(RegistryKey::OpenLocalMachine(keyPath), valueName, value);
  if (const auto* text = std::get_if<std::string>(&value)) {
    return *text;
  }
  if (const auto* number = std::get_if<std::uint32_t>(&value)) {
    return std::to_string(*number);
  }
  return {};
}

std::filesystem::path RegistryFilePath() {
  const char* configured = std::getenv("PENLARK_REGISTRY");
  if (configured != nullptr && *configured != '\0') {
    return configured;
  }
  return std::filesystem::path(kDefaultRegistryFile);
}

}  // namespace penlark
