#pragma once

#include "protocol/Connector.h"
#include "protocol/FileListing.h"
#include "protocol/ServerClient.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace penlark {

// The server's five requests and the folder listing. Every request takes the endpoint afresh
// from the server field and goes through one shared Connector, created on the first request.
// Each returns the server's reply, or "" when there was none: after a fault or a failed
// exchange (shown by the Connector), or after any other failure (shown here with the last
// error text, then onRequestFailure).
class TarnwellInterface final : public ServerClient {
 public:
  TarnwellInterface(Prompts& prompts, TarnwellHooks hooks, TransportLimits limits = {});

  // Lists `dir`; a non-empty reply rebuilds the listing (ParseFileList).
  std::string RequestFiles(const std::string& dir, const std::string& username,
                           const std::string& password) override;
  std::string RequestDelete(const std::string& dir, const std::string& name, std::int16_t type,
                            const std::string& username, const std::string& password) override;
  std::string RequestCreateFolder(const std::string& dir, const std::string& name,
                                  std::int16_t type, const std::string& username,
                                  const std::string& password) override;
  // The document in the server's XML document form.
  std::string RequestContent(const std::string& dir, const std::string& name, std::int16_t type,
                             const std::string& username, const std::string& password) override;
  // Stores `content` (the server's XML document form) as `name` in `dir`.
  std::string RequestSaveFile(const std::string& dir, const std::string& name,
                              const std::string& content, const std::string& username,
                              const std::string& password) override;

  // Rebuilds the listing from a getFiles reply: entries in document order from a "files"
  // element, emptied by one without entries, unchanged by another root element, one entry with
  // an empty name when the reply is not XML. Throws ListingError on a bad number.
  void ParseFileList(const std::string& reply);
  // The type of the first entry named `name` (exact comparison); 0 when there is none.
  std::int16_t GetFileType(const std::string& name) const override;
  bool FileExists(const std::string& name) const override;

  // The listing; all three empty when not allocated.
  const std::vector<std::string>& FileNames() const override { return listing_.Names(); }
  const std::vector<std::int16_t>& FileTypes() const override { return listing_.Types(); }
  const std::vector<std::int16_t>& FileAccess() const { return listing_.Access(); }
  // What the last listing reply did to the listing.
  ListingRead LastListingRead() const { return listing_.LastRead(); }
  // The folder whose entries the listing holds: the `dir` of the last RequestFiles, when its
  // reply was read as a "files" listing; none after any other outcome (no reply, another root,
  // a reply that is not XML, a bad number), whatever the arrays still hold.
  const std::optional<std::string>& ListedFolder() const override { return listedFolder_; }

  // nullptr until the first request.
  const Connector* ServerConnector() const { return connector_.get(); }

 private:
  std::string Send(const std::string& request, const std::string& content);
  template <typename Request>
  std::string Guarded(Request request);

  Prompts& prompts_;
  TarnwellHooks hooks_;
  TransportLimits limits_;
  std::unique_ptr<Connector> connector_;
  FileListing listing_;
  std::optional<std::string> listedFolder_;
};

}  // namespace penlark
