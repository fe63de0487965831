#include "server/TarnwellService.h"

#include "protocol/XmlCharacterData.h"
#include "protocol/XmlDocument.h"
#include "protocol/XmlEscape.h"

#include <exception>

namespace penlark::server {
namespace {

constexpr std::string_view kDone = "<ok/>";
constexpr std::string_view kFolderType = "1";

// The attributes of one request element.
class RequestElement {
 public:
  explicit RequestElement(std::string_view text)
      : document_(xml::Parse(text, xml::InputEncoding::Utf8)),
        element_(document_ ? xmlDocGetRootElement(document_.get()) : nullptr) {
    if (element_ == nullptr) {
      throw RequestRefused("The request is not an XML element.");
    }
  }

  std::string Name() const { return xml::QualifiedName(element_); }

  std::string Attribute(std::string_view name) const {
    const xmlAttr* attribute = xml::FindAttribute(element_, name);
    if (attribute == nullptr) {
      throw RequestRefused("The request has no " + std::string(name) + " attribute.");
    }
    return xml::AttributeValue(attribute);
  }

 private:
  xml::Document document_;
  const xmlNode* element_;
};

std::string ListingReply(const std::vector<StoreEntry>& entries) {
  if (entries.empty()) {
    return "<files/>";
  }
  std::string reply = "<files>";
  for (const StoreEntry& entry : entries) {
    reply.append(R"(<file name=")").append(xml::EscapeAttribute(entry.name));
    reply.append(R"(" type=")").append(entry.folder ? "1" : "2");
    reply.append(R"(" access=")").append(entry.writable ? "3" : "1").append(R"("/>)");
  }
  reply.append("</files>");
  return reply;
}

}  // namespace

TarnwellService::TarnwellService(DocumentStore store, UserTable users)
    : store_(std::move(store)), users_(std::move(users)) {}

std::string TarnwellService::Execute(const RequestEnvelope& envelope,
                                     std::string_view client) const {
  const RequestElement request(envelope.request);
  const std::string operation = request.Name();
  if (operation != "getFiles" && operation != "getContent" && operation != "saveFile" &&
      operation != "createFolder" && operation != "delete") {
    throw RequestRefused("Unknown request: " + operation + ".");
  }
  const std::string user = request.Attribute("username");
  const auto now = LoginThrottle::Clock::now();
  if (!throttle_.MayTry(client, user, now) ||
      !users_.Accepts(user, request.Attribute("password"))) {
    throttle_.Failed(client, user, now);
    throw RequestRefused("Login failed: unknown user name or wrong password.");
  }
  throttle_.Succeeded(client, user);
  const std::string dir = request.Attribute("dir");
  if (operation == "getFiles") {
    return ListingReply(store_.List(dir));
  }
  const std::string name = request.Attribute("name");
  if (operation == "getContent") {
    std::string document = store_.Read(dir, name);
    if (!xml::IsXmlText(document)) {
      throw RequestRefused("The document holds characters that cannot be sent.");
    }
    return document;
  }
  if (operation == "saveFile") {
    store_.Write(dir, name, envelope.content.value_or(""));
  } else if (operation == "createFolder") {
    store_.CreateFolder(dir, name);
  } else {
    store_.Delete(dir, name, request.Attribute("type") == kFolderType);
  }
  return std::string(kDone);
}

Answer TarnwellService::Handle(std::string_view body, std::string_view client) const {
  try {
    return Handle(ReadRequestEnvelope(body), client);
  } catch (const RequestRefused& refused) {
    return FaultAnswer(kClientFault, refused.what());
  }
}

Answer TarnwellService::Handle(const RequestEnvelope& envelope, std::string_view client) const {
  try {
    return {.status = 200, .body = ReplyEnvelope(Execute(envelope, client))};
  } catch (const RequestRefused& refused) {
    return FaultAnswer(kClientFault, refused.what());
  } catch (const std::exception&) {
    return FaultAnswer(kServerFault, "The server could not carry out the request.");
  }
}

Answer FaultAnswer(std::string_view faultCode, std::string_view faultString) {
  return {.status = 500, .body = FaultEnvelope(faultCode, faultString)};
}

}  // namespace penlark::server
