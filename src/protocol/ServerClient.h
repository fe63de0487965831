#pragma once

#include "platform/Prompts.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace penlark {

// What the requests need from the dialog, handed in so that this layer does not know it.
struct TarnwellHooks {
  // The text of the dialog's server field (referring to the dialog loads it).
  std::function<std::string()> serverText;
  // Runs after the failure message: the dialog empties its folder combo.
  std::function<void()> onRequestFailure;
};

// What the dialog asks of the Tarnwell server: the five requests, and the listing the last
// folder-listing request left. Each request returns the server's reply, or "" after a failure,
// which the client has shown to the user.
class ServerClient {
 public:
  virtual ~ServerClient() = default;

  // Lists `dir`; a non-empty reply rebuilds the listing.
  virtual std::string RequestFiles(const std::string& dir, const std::string& username,
                                   const std::string& password) = 0;
  virtual std::string RequestDelete(const std::string& dir, const std::string& name,
                                    std::int16_t type, const std::string& username,
                                    const std::string& password) = 0;
  virtual std::string RequestCreateFolder(const std::string& dir, const std::string& name,
                                          std::int16_t type, const std::string& username,
                                          const std::string& password) = 0;
  // The document in the server's XML document form.
  virtual std::string RequestContent(const std::string& dir, const std::string& name,
                                     std::int16_t type, const std::string& username,
                                     const std::string& password) = 0;
  // Stores `content` (the server's XML document form) as `name` in `dir`.
  virtual std::string RequestSaveFile(const std::string& dir, const std::string& name,
                                      const std::string& content, const std::string& username,
                                      const std::string& password) = 0;

  // The type of the first entry named `name` (exact comparison); 0 when there is none.
  virtual std::int16_t GetFileType(const std::string& name) const = 0;
  virtual bool FileExists(const std::string& name) const = 0;
  // The listing; empty when not allocated.
  virtual const std::vector<std::string>& FileNames() const = 0;
  virtual const std::vector<std::int16_t>& FileTypes() const = 0;
  // The folder whose entries the listing holds: the `dir` of the last RequestFiles when its
  // reply was read as that folder's listing; none after any other outcome.
  virtual const std::optional<std::string>& ListedFolder() const = 0;

  // The document name and server folder last accepted by the dialog's action button.
  std::string CurrentFile;
  std::string CurrentDir;
};

// Makes the client through which a dialog reaches the server, given the prompts that show its
// failures and what its requests need from the dialog.
using ServerClientFactory =
    std::function<std::unique_ptr<ServerClient>(Prompts& prompts, TarnwellHooks hooks)>;

}  // namespace penlark
