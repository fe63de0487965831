#include "protocol/HttpExchange.h"

#include "protocol/SoapEnvelope.h"

#include <memory>

#include <curl/curl.h>

namespace penlark {
namespace {

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

void InitialiseOnce() {
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)initialised;
}

// Replies are read whole into memory; a larger announced length is not reserved in advance.
constexpr curl_off_t kMaxReserve = curl_off_t{256} << 20;

// Large replies arrive in fewer, larger pieces: fewer reads from the socket and calls of the sink.
constexpr long kReceiveBufferSize = 512L * 1024;

struct ReplySink {
  CURL* handle;
  std::string* body;

  // Returning less than was given makes libcurl abandon the transfer.
  static std::size_t Append(char* data, std::size_t size, std::size_t count, void* self) noexcept {
    auto& sink = *static_cast<ReplySink*>(self);
    try {
      if (sink.body->empty()) {
        curl_off_t length = -1;
        curl_easy_getinfo(sink.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        if (length > 0 && length <= kMaxReserve) {
          sink.body->reserve(static_cast<std::size_t>(length));
        }
      }
      sink.body->append(data, size * count);
      return size * count;
    } catch (...) {
      return 0;
    }
  }
};

bool AddHeader(HeaderList& list, const std::string& header) {
  curl_slist* extended = curl_slist_append(list.get(), header.c_str());
  if (extended == nullptr) {
    return false;
  }
  (void)list.release();  // `extended` is the same list, one header longer
  list.reset(extended);
  return true;
}

// Abandons a transfer once no byte has moved either way for the stall time-out. (libcurl's
// low-speed limit averages over several seconds, so a short burst would hide a stall.)
class StallWatch {
 public:
  explicit StallWatch(std::chrono::milliseconds limit) : limit_(limit) {}

  static int OnProgress(void* self, curl_off_t downloadTotal, curl_off_t downloaded,
                        curl_off_t uploadTotal, curl_off_t uploaded) noexcept {
    (void)downloadTotal;
    (void)uploadTotal;
    return static_cast<StallWatch*>(self)->Stalled(downloaded + uploaded) ? 1 : 0;
  }

 private:
  bool Stalled(curl_off_t moved) {
    const auto now = std::chrono::steady_clock::now();
    if (moved != moved_) {
      moved_ = moved;
      lastMove_ = now;
    }
    return now - lastMove_ >= limit_;
  }

  std::chrono::milliseconds limit_;
  curl_off_t moved_ = 0;
  std::chrono::steady_clock::time_point lastMove_ = std::chrono::steady_clock::now();
};

}  // namespace

HttpResult PostSoapMessage(const std::string& url, std::string_view soapAction,
                           std::string_view body, const TransportLimits& limits) {
  InitialiseOnce();
  HttpResult result;
  const std::unique_ptr<CURL, EasyDeleter> handle(curl_easy_init());
  HeaderList headers;
  if (handle == nullptr ||
      !AddHeader(headers, "Content-Type: " + std::string(soap::kContentType)) ||
      !AddHeader(headers, "SOAPAction: \"" + std::string(soapAction) + "\"") ||
      // No "100 Continue" round trip before large bodies.
      !AddHeader(headers, "Expect:")) {
    return result;
  }

  CURL* easy = handle.get();
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(easy, CURLOPT_POST, 1L);
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(easy, CURLOPT_USERAGENT, "Penlark/2.0");
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(limits.connectTimeout.count()));
  StallWatch stallWatch(limits.stallTimeout);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, StallWatch::OnProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &stallWatch);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  if (!limits.caFile.empty()) {
    curl_easy_setopt(easy, CURLOPT_CAINFO, limits.caFile.c_str());
  }
  ReplySink sink{easy, &result.body};
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, ReplySink::Append);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);

  if (curl_easy_perform(easy) != CURLE_OK) {
    result.body.clear();
    return result;
  }
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &result.status);
  result.received = true;
  return result;
}

}  // namespace penlark
