#pragma once

#include "server/DocumentStore.h"

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

// The reading of one folder of the store, the part of a listing whose calls differ between
// systems.
namespace penlark::server {

// Whether an entry of the folder is looked at further: its name, and whether it is a link.
using EntryFilter = std::function<bool(std::string_view name, bool link)>;

// Appends to `entries` the folders and documents of `folder` that `admit` lets through, in the
// order the system gives them. Links count as what they lead to; entries that are neither a
// folder nor a document (nor lead to one) are left out. `writable` says whether this process may
// write the entry. False when the folder cannot be read; `folder` itself is never a link.
bool ReadFolderEntries(const std::filesystem::path& folder, const EntryFilter& admit,
                       std::vector<StoreEntry>& entries);

}  // namespace penlark::server
