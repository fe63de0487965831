#include "protocol/ConnectionUtils.h"

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "protocol/Encryption.h"

#include <algorithm>

namespace penlark {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr char kFieldSeparator = '\t';

const std::string kNoEntry;

const std::string& At(const std::vector<std::string>& items, std::size_t i) {
  return i < items.size() ? items[i] : kNoEntry;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find(kFieldSeparator, start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) {
      return fields;
    }
    start = tab + 1;
  }
}

// Whether a field can stand in an entry line: no field separator, no line break.
bool FitsInALine(std::string_view field) {
  return field.find_first_of("\t\r\n") == std::string_view::npos;
}

}  // namespace

std::string HistoryHeader(std::string_view userName, std::string_view computerName) {
  return std::string(userName) + "." + std::string(computerName);
}

const std::string& ConnectionHistory::HistoryServer(std::size_t i) const {
  return At(servers_, i);
}

const std::string& ConnectionHistory::HistoryUser(std::size_t i) const {
  return At(users_, i);
}

const std::string& ConnectionHistory::HistoryPassword(std::size_t i) const {
  return At(passwords_, i);
}

std::vector<std::string> ConnectionHistory::ComboItems() const {
  std::vector<std::string> items;
  items.reserve(Count());
  for (std::size_t i = 0; i < Count(); ++i) {
    std::string& item = items.emplace_back(servers_[i]);
    item.append(kHistorySeparator).append(users_[i]);
  }
  return items;
}

bool ConnectionHistory::LoadHistory(const std::filesystem::path& file, const std::string& header,
                                    Prompts& prompts) {
  std::string bytes;
  try {
    bytes = ReadWholeFile<std::string>(file);
  } catch (const std::filesystem::filesystem_error& error) {
    const bool missing = error.code() == std::errc::no_such_file_or_directory;
    if (!missing && unreadableFile_ != file) {
      prompts.ShowMessage(
          {.text = "The history file " + Utf8Text(file) + " cannot be read; it is left as it is.",
           .icon = MessageIcon::Exclamation});
    }
    unreadableFile_ = missing ? std::nullopt : std::optional(file);
    return false;
  }
  unreadableFile_.reset();
  return LoadHistoryFrom(bytes, header, prompts);
}

bool ConnectionHistory::LoadHistoryFrom(std::string_view fileBytes, const std::string& header,
                                        Prompts& prompts) {
  const std::string text =
      Encryption::DecryptText(codepage::AnsiToUtf8(fileBytes), kHistoryCipherPassword);
  std::size_t lineEnd = text.find(kLineBreak);
  if (lineEnd == std::string::npos) {
    return false;
  }
  if (std::string_view(text).substr(0, lineEnd) !=
      codepage::AnsiToUtf8(codepage::Utf8ToAnsi(header))) {
    prompts.ShowMessage({.text = std::string(kCorruptHistoryMessage)});
    return false;
  }

  // Every line that a line break ends is an entry; what follows the last line break is the
  // decrypted form of the file's own closing line break, and is not read.
  ConnectionHistory loaded;
  std::size_t lineStart = lineEnd + kLineBreak.size();
  while ((lineEnd = text.find(kLineBreak, lineStart)) != std::string::npos) {
    const auto fields = SplitFields(std::string_view(text).substr(lineStart, lineEnd - lineStart));
    if (fields.size() < 2) {
      break;
    }
    loaded.servers_.emplace_back(fields[0]);
    loaded.users_.emplace_back(fields[1]);
    loaded.passwords_.emplace_back(fields.size() > 2 ? fields[2] : std::string_view());
    lineStart = lineEnd + kLineBreak.size();
  }
  if (loaded.Count() == 0) {
    return false;
  }
  *this = std::move(loaded);
  return true;
}

void ConnectionHistory::SaveHistory(const std::filesystem::path& file,
                                    const std::string& header) const {
  if (Count() == 0 || unreadableFile_ == file) {
    return;
  }
  std::string plain = header;
  plain.append(kLineBreak);
  for (std::size_t i = 0; i < Count(); ++i) {
    plain.append(servers_[i]).push_back(kFieldSeparator);
    plain.append(users_[i]).push_back(kFieldSeparator);
    plain.append(passwords_[i]).append(kLineBreak);
  }
  std::string bytes = codepage::Utf8ToAnsi(Encryption::EncryptText(plain, kHistoryCipherPassword));
  bytes.append(kLineBreak);
  try {
    ReplaceFile(file, bytes,
                std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  } catch (const std::filesystem::filesystem_error&) {
    // A history that cannot be written is given up silently; the old file stays as it was.
  }
}

ConnectionHistory::ComboChange ConnectionHistory::UpdateHistory(const std::string& server,
                                                                const std::string& user,
                                                                const std::string& password) {
  if (!FitsInALine(server) || !FitsInALine(user) || !FitsInALine(password)) {
    return ComboChange::NotRecorded;
  }
  for (std::size_t i = 0; i < Count(); ++i) {
    if (servers_[i] == server && users_[i] == user) {
      passwords_[i] = password;
      if (i == 0) {
        return ComboChange::None;
      }
      MoveHistoryToFront(i);
      return ComboChange::Rebuild;
    }
  }
  servers_.insert(servers_.begin(), server);
  users_.insert(users_.begin(), user);
  passwords_.insert(passwords_.begin(), password);
  return ComboChange::InsertServerAtFront;
}

void ConnectionHistory::MoveHistoryToFront(std::size_t i) {
  if (i >= Count()) {
    return;
  }
  const auto toFront = [i](std::vector<std::string>& items) {
    std::rotate(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(i),
                items.begin() + static_cast<std::ptrdiff_t>(i) + 1);
  };
  toFront(servers_);
  toFront(users_);
  toFront(passwords_);
}

}  // namespace penlark
