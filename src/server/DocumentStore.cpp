#include "server/DocumentStore.h"

#include "platform/Files.h"
#include "platform/PlainName.h"
#include "protocol/XmlCharacterData.h"
#include "server/FolderEntries.h"
#include "server/SoapMessages.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace penlark::server {
namespace fs = std::filesystem;
namespace {

// Half-written documents carry a mark no document name can hold. Windows keeps "\\" for folders:
// there the mark is one that IsValidName refuses.
#ifdef _WIN32
constexpr std::string_view kPartialMark = "~partial-";
#else
constexpr std::string_view kPartialMark = "\\partial-";
#endif

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

bool IsValidName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string_view::npos &&
         name.find(kPartialMark) == std::string_view::npos &&
         std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; }) &&
         xml::IsXmlText(name);
}

// Whether the system under the store can hold the name as a file: Windows cannot hold every name
// the protocol allows (<>:"|?*, a trailing "." or blank, its device names).
bool SystemHoldsName([[maybe_unused]] std::string_view name) {
#ifdef _WIN32
  return IsPlainName(name);
#else
  return true;  // every name IsValidName admits
#endif
}

void RequireValidName(std::string_view name) {
  if (!IsValidName(name)) {
    throw RequestRefused("The name is not allowed: it must be one folder or document name.");
  }
  if (!SystemHoldsName(name)) {
    throw RequestRefused("The name " + Quoted(name) +
                         " is not allowed: the server's system cannot hold it.");
  }
}

void RemovePartialWrites(const fs::path& root) {
  std::error_code error;
  for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code ignored;
    if (Utf8Text(it->path().filename()).find(kPartialMark) != std::string::npos &&
        it->is_regular_file(ignored) && !it->is_symlink(ignored)) {
      fs::remove(it->path(), ignored);
    }
  }
}

std::string ReadWhole(const fs::path& file) {
  try {
    return ReadWholeFile<std::string>(file);
  } catch (const fs::filesystem_error&) {
    throw RequestRefused("The document cannot be read.");
  }
}

}  // namespace

DocumentStore::DocumentStore(const fs::path& root) {
  std::error_code error;
  root_ = fs::canonical(root, error);
  if (error || !fs::is_directory(root_)) {
    throw std::runtime_error("not a directory: " + Utf8Text(root));
  }
  RemovePartialWrites(root_);
}

std::vector<StoreEntry> DocumentStore::List(std::string_view dir) const {
  const fs::path folder = Folder(dir);
  std::vector<StoreEntry> entries;
  const auto admit = [&](std::string_view name, bool link) {
    std::error_code error;
    return IsValidName(name) && (!link || Inside(fs::canonical(folder / Utf8Path(name), error)));
  };
  if (!ReadFolderEntries(folder, admit, entries)) {
    throw RequestRefused("The folder " + Quoted(dir) + " cannot be read.");
  }
  std::sort(entries.begin(), entries.end(), [](const StoreEntry& a, const StoreEntry& b) {
    return a.folder != b.folder ? a.folder : a.name < b.name;
  });
  return entries;
}

std::string DocumentStore::Read(std::string_view dir, std::string_view name) const {
  const fs::path path = EntryPath(dir, name);
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    throw RequestRefused("There is no document " + Quoted(name) + " in " + Quoted(dir) + ".");
  }
  return ReadWhole(path);
}

void DocumentStore::Write(std::string_view dir, std::string_view name,
                          std::string_view content) const {
  const fs::path path = EntryPath(dir, name);
  std::error_code error;
  if (fs::is_directory(path, error)) {
    throw RequestRefused(Quoted(name) + " is a folder.");
  }
  constexpr auto kDocumentPermissions = fs::perms::owner_read | fs::perms::owner_write |
                                        fs::perms::group_read | fs::perms::others_read;
  try {
    ReplaceFile(path, content, kDocumentPermissions, kPartialMark);
  } catch (const std::filesystem::filesystem_error&) {
    throw RequestRefused("The document " + Quoted(name) + " cannot be written.");
  }
}

void DocumentStore::CreateFolder(std::string_view dir, std::string_view name) const {
  const fs::path path = EntryPath(dir, name);
  std::error_code error;
  if (fs::exists(fs::symlink_status(path, error))) {
    throw RequestRefused("An entry named " + Quoted(name) + " already exists in " + Quoted(dir) +
                         ".");
  }
  if (!fs::create_directory(path, error) || error) {
    throw RequestRefused("The folder " + Quoted(name) + " cannot be created.");
  }
}

void DocumentStore::Delete(std::string_view dir, std::string_view name, bool folder) const {
  const fs::path path = EntryPath(dir, name);
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (!fs::exists(status)) {
    throw RequestRefused("There is no entry " + Quoted(name) + " in " + Quoted(dir) + ".");
  }
  if (folder != fs::is_directory(status)) {
    throw RequestRefused(Quoted(name) + (folder ? " is not a folder." : " is a folder."));
  }
  if (folder && !fs::is_empty(path, error)) {
    throw RequestRefused("The folder " + Quoted(name) + " is not empty.");
  }
  if (!fs::remove(path, error) || error) {
    throw RequestRefused(Quoted(name) + " cannot be deleted.");
  }
}

fs::path DocumentStore::Folder(std::string_view dir) const {
  fs::path path = root_;
  std::size_t start = 0;
  while (start <= dir.size()) {
    const std::size_t slash = std::min(dir.find('/', start), dir.size());
    const std::string_view component = dir.substr(start, slash - start);
    if (!component.empty()) {
      RequireValidName(component);
      path /= Utf8Path(component);
    }
    start = slash + 1;
  }
  std::error_code error;
  const fs::path resolved = fs::canonical(path, error);
  if (error || !Inside(resolved) || !fs::is_directory(resolved, error)) {
    throw RequestRefused("There is no folder " + Quoted(dir) + ".");
  }
  return resolved;
}

fs::path DocumentStore::EntryPath(std::string_view dir, std::string_view name) const {
  RequireValidName(name);
  const fs::path path = Folder(dir) / Utf8Path(name);
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    const fs::path target = fs::canonical(path, error);
    if (error || !Inside(target)) {
      throw RequestRefused(Quoted(name) + " leads outside the server's folders.");
    }
  }
  return path;
}

bool DocumentStore::Inside(const fs::path& resolved) const {
  if (resolved.empty()) {
    return false;
  }
  const auto [rootEnd, pathEnd] =
      std::mismatch(root_.begin(), root_.end(), resolved.begin(), resolved.end());
  return rootEnd == root_.end();
}

}  // namespace penlark::server
