#include "HttpsEndpoint.h"
#include "platform/windows/WideText.h"
#include "support/TempDir.h"

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

std::string DataFile(std::string_view name) {
  return std::string(PENLARK_TEST_DATA_DIR "/") + std::string(name);
}

// A certificate in the machine's root store while the object lives (committed to the registry).
struct RootCertificate {
  HCERTSTORE store =
      ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
  PCCERT_CONTEXT certificate = nullptr;

  explicit RootCertificate(const std::string& pemFile) {
    const std::string pem = ReadFile(pemFile).value_or("");
    std::vector<BYTE> der(pem.size());  // never longer than its base64 text
    auto size = static_cast<DWORD>(der.size());
    if (store == nullptr ||
        ::CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()),
                               CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                               nullptr) == FALSE ||
        ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                           CERT_STORE_ADD_REPLACE_EXISTING,
                                           &certificate) == FALSE) {
      throw std::runtime_error("cannot put " + pemFile + " into the machine's root store");
    }
    ::CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
  }
  ~RootCertificate() {
    ::CertDeleteCertificateFromStore(certificate);
    ::CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    ::CertCloseStore(store, 0);
  }
};

// Wine gives the host's program no pipes: it reads its reply from a file, writes its port to one.
int StartServer(std::string_view name, const std::string& reply) {
  const std::string portFile = PENLARK_TLS_PORT_FILE;
  std::filesystem::remove(portFile);
  WriteFile(portFile + "-reply", reply);
  std::wstring commandLine =
      ToWide(std::string(kPython) + " " + PENLARK_TLS_SERVER + " " + DataFile(name) + "-cert.pem " +
             DataFile(name) + "-key.pem " + portFile + "-reply " + portFile);
  STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
  PROCESS_INFORMATION started{};
  if (::CreateProcessW(ToWide(kPython).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &startup, &started) == FALSE) {
    throw std::runtime_error("cannot start " + std::string(kPython));
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  std::optional<std::string> port;
  while (!(port = ReadFile(portFile)) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return port ? std::stoi(*port) : throw std::runtime_error("the https server did not start");
}

}  // namespace

// Wine checks the certificate's DNS names only. The process keeps the root store it first read.
HttpsEndpoint StartHttpsEndpoint(const std::string& reply, bool trusted) {
  const std::string_view name = trusted ? "loopback" : "untrusted";
  auto trust = trusted ? std::make_shared<RootCertificate>(DataFile(name) + "-cert.pem") : nullptr;
  return {.url = "https://localhost:" + std::to_string(StartServer(name, reply)) +
                 "/servlet/XMLSOAPRouter",
          .running = std::move(trust)};
}

}  // namespace penlark::testing
