#pragma once

#include <filesystem>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace penlark::server {

// The users the reference server accepts, with their passwords.
class UserTable {
 public:
  void Add(std::string name, std::string password);
  // Reads "NAME:PASSWORD" lines; blank lines and lines starting with "#" are skipped. Throws
  // std::runtime_error when the file cannot be read or a line has no ":" or no password.
  void AddFromFile(const std::filesystem::path& file);
  // The same from a stream (standard input); `source` names it in messages.
  void AddFromStream(std::istream& stream, const std::string& source);

  // True when `name` is a user and `password` is exactly its password.
  bool Accepts(std::string_view name, std::string_view password) const;
  bool Empty() const { return passwords_.empty(); }

  // "NAME:PASSWORD" split at the first ":" (a password may hold more); nullopt without one, or
  // with an empty name or password.
  static std::optional<std::pair<std::string, std::string>> ParseUser(
      std::string_view nameAndPassword);

 private:
  std::map<std::string, std::string, std::less<>> passwords_;
};

}  // namespace penlark::server
