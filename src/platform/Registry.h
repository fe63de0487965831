#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The machine settings store that stands in for the registry: a read-only file in the text
// format of registry exports ("Windows Registry Editor Version 5.00" or "REGEDIT4"):
//
//   [HKEY_LOCAL_MACHINE\Software\Brackmoor\Penlark\2.0]
//   "InstallPath"="/opt/penlark"
//   "Retries"=dword:0000002a
//   "Search"=hex(2):25,00,48,00,00,00
//
// Key paths and value names match without regard to letter case, as in the registry. The file
// may be UTF-8 (with or without a byte order mark) or UTF-16LE with a byte order mark. Lines
// that are not understood are skipped. Nothing in the program ever writes the file.
namespace penlark {

// Value types, numbered as the registry numbers them.
enum class RegistryType : std::uint32_t {
  None = 0,
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  Dword = 4,         // REG_DWORD
  MultiString = 7,   // REG_MULTI_SZ
  Qword = 11,        // REG_QWORD
};

// One stored value: its type and its data bytes as the registry holds them (strings as
// UTF-16LE with their terminating NUL, numbers little-endian).
struct RegistryValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

// Key path (as written in the file) -> value name -> value; the default value's name is "".
class RegistryTree {
 public:
  static RegistryTree Parse(std::string_view fileContent);

  // The values of a key, or nullptr when the key is absent. `fullPath` starts with the hive,
  // for example "HKEY_LOCAL_MACHINE\Software".
  const std::map<std::string, RegistryValue>* FindKey(std::string_view fullPath) const;

  using Keys = std::map<std::string, std::map<std::string, RegistryValue>>;  // lower-case names
  const Keys& AllKeys() const { return keys_; }

 private:
  Keys keys_;
};

// A key's or value's name as the store holds it, for matching without regard to letter case.
std::string RegistryName(std::string_view name);

// Status codes of QueryRegistryValue.
inline constexpr long kRegistrySuccess = 0;
inline constexpr long kRegistryNotFound = 2;       // the value does not exist
inline constexpr long kRegistryInvalidHandle = 6;  // the key could not be opened
inline constexpr long kRegistryBadData = 13;       // a number whose data is not 4 bytes long
inline constexpr long kRegistryOtherType = -1;     // a type other than REG_SZ and REG_DWORD

// An open key of HKEY_LOCAL_MACHINE: a snapshot of its values, or closed when the key or the
// settings file could not be read.
class RegistryKey {
 public:
  // Opens a key below HKEY_LOCAL_MACHINE: in the settings file (RegistryFilePath()), or on
  // Windows in the registry itself.
  static RegistryKey OpenLocalMachine(std::string_view keyPath);
  // Opens a key of an already parsed tree; `fullPath` includes the hive.
  static RegistryKey Open(const RegistryTree& tree, std::string_view fullPath);
  // An open key holding `values`, which are named in lower case.
  static RegistryKey Holding(std::map<std::string, RegistryValue> values);

  bool IsOpen() const { return values_.has_value(); }
  const RegistryValue* Find(std::string_view valueName) const;

 private:
  std::optional<std::map<std::string, RegistryValue>> values_;
};

// What QueryRegistryValue reads: nothing, a string or a 32-bit number.
using RegistryVariant = std::variant<std::monostate, std::string, std::uint32_t>;

// Reads a value of an open key into `value`. A REG_SZ value gives its text, a REG_DWORD its
// number; any other type leaves `value` unchanged and returns kRegistryOtherType. Returns
// kRegistrySuccess, or the status of the failure.
long QueryRegistryValue(const RegistryKey& key, std::string_view valueName, RegistryVariant& value);

// The value as text: a string's text, a number's decimal digits, "" when it cannot be read
// (missing file, key or value, or another type).
std::string ReadRegistryString(std::string_view keyPath, std::string_view valueName);

// The settings file: $PENLARK_REGISTRY when set and not empty, else kDefaultRegistryFile.
inline constexpr std::string_view kDefaultRegistryFile = "/etc/penlark/registry.reg";
std::filesystem::path RegistryFilePath();

}  // namespace penlark
