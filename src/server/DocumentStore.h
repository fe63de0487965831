#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace penlark::server {

struct StoreEntry {
  std::string name;
  bool folder = false;
  bool writable = false;
};

// Folders and documents of a server kept below a root directory. Server folder paths read "/",
// "/a", "/a/b"; entry names are single path components. Nothing outside the root is ever
// reached: "." and ".." components, names holding "/" or "\", and links that lead out of the
// root are refused. Failures throw RequestRefused with a message for the client.
//
// A document being written lives beside its place under a name holding "\", which no request
// can name: listings never show it, and those a crash left behind are removed when the store
// is opened.
class DocumentStore {
 public:
  // Throws std::runtime_error when `root` is not a directory. Removes the files of writes that
  // never ended.
  explicit DocumentStore(const std::filesystem::path& root);

  const std::filesystem::path& Root() const { return root_; }

  // Folders first, then documents, each in byte order of their names. Entries that are neither
  // (or whose names are not XML text) are left out.
  std::vector<StoreEntry> List(std::string_view dir) const;
  std::string Read(std::string_view dir, std::string_view name) const;
  // Creates or replaces a document.
  void Write(std::string_view dir, std::string_view name, std::string_view content) const;
  void CreateFolder(std::string_view dir, std::string_view name) const;
  // Deletes a document, or an empty folder when `folder` is true.
  void Delete(std::string_view dir, std::string_view name, bool folder) const;

 private:
  // The existing folder `dir`, resolved.
  std::filesystem::path Folder(std::string_view dir) const;
  // Where `name` lives in the folder `dir`; when it exists, it resolves inside the root.
  std::filesystem::path EntryPath(std::string_view dir, std::string_view name) const;
  bool Inside(const std::filesystem::path& resolved) const;

  std::filesystem::path root_;
};

}  // namespace penlark::server
