#include "server/UserTable.h"

#include "platform/Files.h"

#include <fstream>
#include <stdexcept>

namespace penlark::server {

void UserTable::Add(std::string name, std::string password) {
  passwords_.insert_or_assign(std::move(name), std::move(password));
}

void UserTable::AddFromFile(const std::filesystem::path& file) {
  std::ifstream stream(file);
  if (!stream) {
    throw std::runtime_error("cannot read the users file " + Utf8Text(file));
  }
  AddFromStream(stream, Utf8Text(file));
}

void UserTable::AddFromStream(std::istream& stream, const std::string& source) {
  std::string line;
  for (int number = 1; std::getline(stream, line); ++number) {
    if (line.ends_with('\r')) {
      line.pop_back();
    }
    if (line.empty() || line.starts_with('#')) {
      continue;
    }
    auto user = ParseUser(line);
    if (!user) {
      throw std::runtime_error(source + ":" + std::to_string(number) +
                               ": expected NAME:PASSWORD, the password not empty");
    }
    Add(std::move(user->first), std::move(user->second));
  }
}

bool UserTable::Accepts(std::string_view name, std::string_view password) const {
  const auto found = passwords_.find(name);
  return found != passwords_.end() && found->second == password;
}

std::optional<std::pair<std::string, std::string>> UserTable::ParseUser(
    std::string_view nameAndPassword) {
  const auto colon = nameAndPassword.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon + 1 == nameAndPassword.size()) {
    return std::nullopt;
  }
  return std::pair{std::string(nameAndPassword.substr(0, colon)),
                   std::string(nameAndPassword.substr(colon + 1))};
}

}  // namespace penlark::server
