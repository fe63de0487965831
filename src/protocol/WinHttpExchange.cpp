#include "platform/windows/WideText.h"
#include "protocol/HttpExchange.h"
#include "protocol/SoapEnvelope.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <windows.h>
#include <winhttp.h>

// The exchange over Windows' own HTTP client. Like the libcurl one: a fresh connection for every
// exchange (no keep-alive, no redirects, no cookies, no automatic authentication), time-outs for
// connecting and for a transfer that stalls, server certificates checked against the system's
// certificate store.
namespace penlark {
namespace {

struct HandleCloser {
  void operator()(HINTERNET handle) const { ::WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// Replies are read whole into memory; a larger announced length is not reserved in advance.
constexpr DWORD kMaxReserve = DWORD{256} << 20;
constexpr DWORD kReadChunk = 64 * 1024;

struct Target {
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring path;  // with the query, if any
  bool secure = false;
};

// Splits an http or https URL; nullopt for any other scheme or a malformed URL.
std::optional<Target> ParseUrl(const std::wstring& url) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!::WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) ||
      parts.dwHostNameLength == 0) {
    return std::nullopt;
  }
  Target target{.host = std::wstring(parts.lpszHostName, parts.dwHostNameLength),
                .port = parts.nPort,
                .path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength),
                .secure = parts.nScheme == INTERNET_SCHEME_HTTPS};
  if (target.path.empty()) {
    target.path = L"/";
  }
  return target;
}

int Milliseconds(std::chrono::milliseconds duration) {
  return static_cast<int>(
      std::min<std::chrono::milliseconds::rep>(duration.count(), std::numeric_limits<int>::max()));
}

std::optional<DWORD> NumericHeader(HINTERNET request, DWORD header) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!::WinHttpQueryHeaders(request, header | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &value, &size,
                             WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  return value;
}

// Reads the reply's body to its end; false when the connection fails on the way, or ends before
// the length the reply announced (which WinHTTP may report as the end of the body).
bool ReadBody(HINTERNET request, std::string& body) {
  const auto announced = NumericHeader(request, WINHTTP_QUERY_CONTENT_LENGTH);
  if (announced && *announced <= kMaxReserve) {
    body.reserve(*announced);
  }
  for (;;) {
    const std::size_t held = body.size();
    body.resize(held + kReadChunk);
    DWORD read = 0;
    if (!::WinHttpReadData(request, body.data() + held, kReadChunk, &read)) {
      return false;
    }
    body.resize(held + read);
    if (read == 0) {
      return !announced || body.size() == *announced;
    }
  }
}

// The wait for the reply's headers has a time-out of its own (90 s unless set).
bool SetResponseTimeout(HINTERNET request, std::chrono::milliseconds stall) {
  DWORD timeout = static_cast<DWORD>(Milliseconds(stall));
  return ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &timeout,
                            sizeof timeout);
}

bool Exchange(HINTERNET session, const Target& target, const TransportLimits& limits,
              std::string_view soapAction, std::string_view body, HttpResult& result) {
  const Handle connection(::WinHttpConnect(session, target.host.c_str(), target.port, 0));
  if (connection == nullptr) {
    return false;
  }
  const Handle request(::WinHttpOpenRequest(connection.get(), L"POST", target.path.c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                            target.secure ? WINHTTP_FLAG_SECURE : 0));
  if (request == nullptr) {
    return false;
  }
  DWORD disabled = WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS |
                   WINHTTP_DISABLE_AUTHENTICATION | WINHTTP_DISABLE_KEEP_ALIVE;
  const std::wstring headers = ToWide("Content-Type: " + std::string(soap::kContentType) +
                                      "\r\nSOAPAction: \"" + std::string(soapAction) + "\"");
  const auto size = static_cast<DWORD>(body.size());
  if (!::WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disabled,
                          sizeof disabled) ||
      !SetResponseTimeout(request.get(), limits.stallTimeout) ||
      !::WinHttpSendRequest(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                            const_cast<char*>(body.data()), size, size, 0) ||
      !::WinHttpReceiveResponse(request.get(), nullptr)) {
    return false;
  }
  const auto status = NumericHeader(request.get(), WINHTTP_QUERY_STATUS_CODE);
  if (!status || !ReadBody(request.get(), result.body)) {
    return false;
  }
  result.status = static_cast<long>(*status);
  return true;
}

}  // namespace

HttpResult PostSoapMessage(const std::string& url, std::string_view soapAction,
                           std::string_view body, const TransportLimits& limits) {
  HttpResult result;
  const auto target = ParseUrl(ToWide(url));
  if (!target || body.size() > std::numeric_limits<DWORD>::max()) {
    return result;
  }
  const Handle session(::WinHttpOpen(L"Penlark/2.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                     WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  const int connect = Milliseconds(limits.connectTimeout);
  const int stall = Milliseconds(limits.stallTimeout);
  if (session == nullptr || !::WinHttpSetTimeouts(session.get(), connect, connect, stall, stall) ||
      !Exchange(session.get(), *target, limits, soapAction, body, result)) {
    result.body.clear();
    return result;
  }
  result.received = true;
  return result;
}

}  // namespace penlark
