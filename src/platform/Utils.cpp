#include "platform/Utils.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace penlark {
namespace {

constexpr std::string_view kRouterPath = "servlet/XMLSOAPRouter";

bool IsPrintable(char c) {
  return static_cast<unsigned char>(c) > 32;
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool HasScheme(std::string_view server) {
  constexpr std::array<std::string_view, 2> kSchemes = {"http://", "https://"};
  return std::any_of(kSchemes.begin(), kSchemes.end(),
                     [&](std::string_view scheme) { return StartsWithNoCase(server, scheme); });
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string TrimControlChars(std::string_view text) {
  const auto first = std::find_if(text.begin(), text.end(), IsPrintable);
  if (first == text.end()) {
    return {};
  }
  const auto last = std::find_if(text.rbegin(), text.rend(), IsPrintable).base();
  return std::string(first, last);
}

std::string CollapseRepeats(std::string_view text, std::string_view repeated) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);

  std::string result;
  result.reserve(text.size());
  bool previousWasRepeated = false;
  std::size_t position = 0;
  while (position < text.size()) {
    if (!repeated.empty() && text.substr(position).starts_with(repeated)) {
      if (!previousWasRepeated) {
        result += repeated;
      }
      previousWasRepeated = true;
      position += repeated.size();
    } else {
      result.push_back(text[position]);
      previousWasRepeated = false;
      ++position;
    }
  }
  return result;
}

std::string GetEndpointURL(std::string_view serverText) {
  const std::string server = TrimControlChars(serverText);
  if (!HasScheme(server)) {
    return "http://" + server + "/" + std::string(kRouterPath);
  }
  return server.ends_with('/') ? server + std::string(kRouterPath)
                               : server + "/" + std::string(kRouterPath);
}

int ReadFromView(void* view, char* buffer, int length) {
  std::string_view& unread = *static_cast<std::string_view*>(view);
  const std::size_t count = std::min(unread.size(), static_cast<std::size_t>(length));
  std::memcpy(buffer, unread.data(), count);
  unread.remove_prefix(count);
  return static_cast<int>(count);
}

}  // namespace penlark
