#include "protocol/TarnwellInterface.h"

#include "platform/Utils.h"
#include "protocol/TarnwellRequests.h"

#include <exception>

namespace penlark {

TarnwellInterface::TarnwellInterface(Prompts& prompts, TarnwellHooks hooks, TransportLimits limits)
    : prompts_(prompts), hooks_(std::move(hooks)), limits_(std::move(limits)) {}

std::string TarnwellInterface::RequestFiles(const std::string& dir, const std::string& username,
                                            const std::string& password) {
  const std::string request = requests::GetFiles(dir, username, password);
  listedFolder_.reset();
  return Guarded([&] {
    std::string reply = Send(request, {});
    if (!reply.empty()) {
      ParseFileList(reply);
      const ListingRead read = LastListingRead();
      if (read == ListingRead::Entries || read == ListingRead::Emptied) {
        listedFolder_ = dir;
      }
    }
    return reply;
  });
}

std::string TarnwellInterface::RequestDelete(const std::string& dir, const std::string& name,
                                             std::int16_t type, const std::string& username,
                                             const std::string& password) {
  const std::string request = requests::Delete(dir, name, type, username, password);
  return Guarded([&] { return Send(request, {}); });
}

std::string TarnwellInterface::RequestCreateFolder(const std::string& dir, const std::string& name,
                                                   std::int16_t type, const std::string& username,
                                                   const std::string& password) {
  const std::string request = requests::CreateFolder(dir, name, type, username, password);
  return Guarded([&] { return Send(request, {}); });
}

std::string TarnwellInterface::RequestContent(const std::string& dir, const std::string& name,
                                              std::int16_t type, const std::string& username,
                                              const std::string& password) {
  const std::string request = requests::GetContent(dir, name, type, username, password);
  return Guarded([&] { return Send(request, {}); });
}

std::string TarnwellInterface::RequestSaveFile(const std::string& dir, const std::string& name,
                                               const std::string& content,
                                               const std::string& username,
                                               const std::string& password) {
  const std::string request = requests::SaveFile(dir, name, username, password);
  return Guarded([&] { return Send(request, content); });
}

void TarnwellInterface::ParseFileList(const std::string& reply) {
  listing_.Parse(reply);
}

std::int16_t TarnwellInterface::GetFileType(const std::string& name) const {
  return listing_.TypeOf(name);
}

bool TarnwellInterface::FileExists(const std::string& name) const {
  return listing_.Contains(name);
}

std::string TarnwellInterface::Send(const std::string& request, const std::string& content) {
  const std::string endpoint = GetEndpointURL(hooks_.serverText ? hooks_.serverText() : "");
  if (connector_ == nullptr) {
    connector_ = std::make_unique<Connector>(prompts_, limits_);
  }
  return connector_->SendRequest(endpoint, request, content);
}

template <typename Request>
std::string TarnwellInterface::Guarded(Request request) {
  try {
    return request();
  } catch (const std::exception&) {
    prompts_.ShowMessage({.text = connector_ != nullptr ? connector_->ErrorMsg() : ""});
    if (hooks_.onRequestFailure) {
      hooks_.onRequestFailure();
    }
    return {};
  }
}

}  // namespace penlark
