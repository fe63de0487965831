#include "HttpsEndpoint.h"
#include "platform/windows/WideText.h"
#include "support/TempDir.h"

#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>
#include <windows.h>
// After windows.h:
#include <wincrypt.h>

namespace penlark::testing {
namespace {

// The host system's Python, which runs the server; Wine starts programs of the host by path.
constexpr std::string_view kPython = "/usr/bin/python3";
constexpr auto kStartTime = std::chrono::seconds(20);

std::string DataFile(std::string_view name) {
  return std::string(PENLARK_TEST_DATA_DIR "/") + std::string(name);
}

std::string Hex(std::string_view bytes) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string hex;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xF];
  }
  return hex;
}

// A certificate in the machine's root store while the object lives.
class RootCertificate {
 public:
  explicit RootCertificate(const std::string& pemFile) {
    const std::string pem = ReadFile(pemFile).value_or("");
    const auto length = static_cast<DWORD>(pem.size());
    DWORD size = 0;
    ::CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                           nullptr);
    std::vector<BYTE> der(size);
    store_ =
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (::CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, der.data(), &size,
                               nullptr, nullptr) == FALSE ||
        store_ == nullptr ||
        ::CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, der.data(), size,
                                           CERT_STORE_ADD_REPLACE_EXISTING,
                                           &certificate_) == FALSE) {
      throw std::runtime_error("cannot put " + pemFile + " into the machine's root store");
    }
    Commit();
  }
  ~RootCertificate() {
    ::CertDeleteCertificateFromStore(certificate_);
    Commit();
    ::CertCloseStore(store_, 0);
  }
  RootCertificate(const RootCertificate&) = delete;
  RootCertificate& operator=(const RootCertificate&) = delete;

 private:
  // A store kept in the registry writes its changes there on commit (or when it is closed).
  void Commit() const { ::CertControlStore(store_, 0, CERT_STORE_CTRL_COMMIT, nullptr); }

  HCERTSTORE store_ = nullptr;
  PCCERT_CONTEXT certificate_ = nullptr;
};

// Starts the server, which ends after its one connection or a minute; the port it listens on.
// The host's program gets no pipes from Wine: it tells its port through a file.
int StartServer(std::string_view name, const std::string& reply) {
  const std::string portFile = PENLARK_TLS_PORT_FILE;
  std::filesystem::remove(portFile);
  std::wstring commandLine =
      ToWide(std::string(kPython) + " " + PENLARK_TLS_SERVER + " " + DataFile(name) + "-cert.pem " +
             DataFile(name) + "-key.pem " + Hex(reply) + " " + portFile + " 1");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (::CreateProcessW(ToWide(kPython).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &startup, &started) == FALSE) {
    throw std::runtime_error("cannot start " + std::string(kPython));
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  const auto deadline = std::chrono::steady_clock::now() + kStartTime;
  std::optional<std::string> port;
  while (!(port = ReadFile(portFile)) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return port ? std::stoi(*port) : throw std::runtime_error("the https server did not start");
}

}  // namespace

struct HttpsEndpoint::Parts {
  std::optional<RootCertificate> trust;
  std::string url;
};

// Wine checks the server's name against the certificate's DNS names only: "localhost".
HttpsEndpoint::HttpsEndpoint(const std::string& reply, bool trusted)
    : parts_(std::make_unique<Parts>()) {
  const std::string_view name = trusted ? "loopback" : "untrusted";
  if (trusted) {
    parts_->trust.emplace(DataFile(name) + "-cert.pem");
  }
  parts_->url =
      "https://localhost:" + std::to_string(StartServer(name, reply)) + "/servlet/XMLSOAPRouter";
}

HttpsEndpoint::~HttpsEndpoint() = default;

const std::string& HttpsEndpoint::Url() const {
  return parts_->url;
}

TransportLimits HttpsEndpoint::Limits() const {
  return {};
}

}  // namespace penlark::testing
