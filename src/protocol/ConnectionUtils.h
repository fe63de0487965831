#pragma once

#include "platform/Prompts.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The connection history: the servers the local user has logged in to, under which user names,
// and (when asked to) with which passwords, most recent first; kept in a file bound to one user
// on one computer, encrypted.
namespace penlark {

inline constexpr std::string_view kHistoryCipherPassword = "Glimmer42";
// Separates the server from the user in the server combo's history items.
inline constexpr std::string_view kHistorySeparator = "              ";  // 14 spaces
inline constexpr std::string_view kCorruptHistoryMessage = "Corrupt history file!!";
inline constexpr std::string_view kUnstorableLoginMessage =
    "This login is not remembered: a tab or a line break in the server, the user name or the "
    "password cannot be kept in the history.";

// The history file's first line: "ann.DESK7" for the user ann on the computer DESK7.
std::string HistoryHeader(std::string_view userName, std::string_view computerName);

// The history file, before encryption, is the header line, then one line per entry (server,
// TAB, user, TAB, password), every line ending with CR LF. The file holds the encrypted text as
// code page bytes, followed by CR LF.
class ConnectionHistory {
 public:
  std::size_t Count() const { return servers_.size(); }
  // The fields of entry i; "" when there is no entry i.
  const std::string& HistoryServer(std::size_t i) const;
  const std::string& HistoryUser(std::size_t i) const;
  const std::string& HistoryPassword(std::size_t i) const;

  // The server combo's list built from the history: server + 14 spaces + user, index 0 first.
  std::vector<std::string> ComboItems() const;

  // Reads the file; "Corrupt history file!!" through `prompts` on a foreign header. True when at
  // least one entry was read: the arrays are then exactly the entries read; otherwise they are
  // left as they were. Reading stops at the first entry line with fewer than two fields. A file
  // that exists but cannot be read is reported once (naming it) and is not saved over until it
  // has been read again.
  bool LoadHistory(const std::filesystem::path& file, const std::string& header, Prompts& prompts);
  // The same, from the bytes of a history file. The stored header went through the code page,
  // so `header` is compared after the same conversion.
  bool LoadHistoryFrom(std::string_view fileBytes, const std::string& header, Prompts& prompts);

  // Writes the arrays (silently does nothing with no entries, for a file found unreadable, or on
  // any error; the file is replaced through a temporary file beside it, readable and writable by
  // its owner only).
  void SaveHistory(const std::filesystem::path& file, const std::string& header) const;

  // What the server combo's list must do after UpdateHistory.
  enum class ComboChange {
    NotRecorded,          // a field holds a TAB, CR or LF, which the file cannot hold
    None,                 // the entry was already the most recent one
    InsertServerAtFront,  // a new entry: insert its server name alone as item 0
    Rebuild,              // an entry moved to the front: rebuild from ComboItems(), text = server 0
  };
  // Records a login (password already "" when it is not to be saved). An entry is found by
  // (server, user), compared exactly; its password is replaced and it moves to the front. A
  // login that the file could not hold changes nothing.
  ComboChange UpdateHistory(const std::string& server, const std::string& user,
                            const std::string& password);
  // Moves entry i to index 0; the entries before it move up one place. Nothing for a bad i.
  void MoveHistoryToFront(std::size_t i);

 private:
  std::vector<std::string> servers_;
  std::vector<std::string> users_;
  std::vector<std::string> passwords_;
  std::optional<std::filesystem::path> unreadableFile_;
};

}  // namespace penlark
