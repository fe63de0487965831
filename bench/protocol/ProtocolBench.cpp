// The protocol's two heavy paths, each against its baseline in the same run:
//   ParseFileList of a 100,000-entry listing, against libxml2 alone parsing the same text;
//   RequestContent of a 10 MB document from the reference server on loopback, against the curl
//   command posting the same envelope to the same server;
//   and the client's own part of that exchange alone: ReadReply of the server's reply.

#include "protocol/FileListing.h"
#include "protocol/HttpExchange.h"
#include "protocol/SoapEnvelope.h"
#include "protocol/TarnwellInterface.h"
#include "protocol/TarnwellRequests.h"
#include "server/ReferenceServer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

class NoPrompts final : public penlark::Prompts {
 public:
  penlark::MessageAnswer ShowMessage(const penlark::Message&) override {
    return penlark::MessageAnswer::Ok;
  }
  std::string InputBox(const penlark::InputRequest&) override { return {}; }
};

// Registered first: the 10 MB benchmarks below leave a heap that would favour whichever of
// these two ran second.
std::string ListingOfOneHundredThousand() {
  std::string reply = "<files>";
  for (int i = 0; i < 100'000; ++i) {
    reply += "<file name=\"document number " + std::to_string(i) + ".xml\" type=\"" +
             (i % 10 == 0 ? "1" : "2") + "\" access=\"3\"/>";
  }
  return reply + "</files>";
}

xmlDoc* ParseWithLibXml2(const std::string& text) {
  return xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, "UTF-8", 0);
}

// The listing, after one parse each way, so that neither benchmark pays for growing the heap.
const std::string& Listing() {
  static const std::string listing = [] {
    std::string text = ListingOfOneHundredThousand();
    xmlFreeDoc(ParseWithLibXml2(text));
    penlark::FileListing().Parse(text);
    return text;
  }();
  return listing;
}

void ParseFileList(benchmark::State& state) {
  NoPrompts prompts;
  penlark::TarnwellInterface tarnwell(prompts, {});
  for (auto _ : state) {
    tarnwell.ParseFileList(Listing());
    benchmark::DoNotOptimize(tarnwell.FileNames().data());
  }
  if (tarnwell.FileNames().size() != 100'000) {
    state.SkipWithError("wrong listing");
  }
}
BENCHMARK(ParseFileList)->Unit(benchmark::kMillisecond);

void LibXml2ParseAlone(benchmark::State& state) {
  const std::string& listing = Listing();
  for (auto _ : state) {
    xmlDoc* document = ParseWithLibXml2(listing);
    benchmark::DoNotOptimize(document);
    xmlFreeDoc(document);
  }
}
BENCHMARK(LibXml2ParseAlone)->Unit(benchmark::kMillisecond);

// About 10 MB in the shape of a converted document: short runs of text between markup.
std::string TenMegabyteDocument() {
  const std::string paragraph =
      "<p style=\"Normal\"><r font=\"2\" size=\"24\">The quarterly figures &amp; the "
      "r\u00E9sum\u00E9 of \"open\" items</r><r b=\"1\"> follow below.</r></p>\r\n";
  std::string document = "<document version=\"2.0\">\r\n";
  while (document.size() < 10'000'000) {
    document += paragraph;
  }
  return document + "</document>\r\n";
}

// A server over a temporary root holding the document, for the whole run.
class ContentFixture {
 public:
  ContentFixture() {
    std::string pattern = (fs::temp_directory_path() / "penlark-bench-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    std::ofstream(root_ / "big.xml", std::ios::binary) << TenMegabyteDocument();
    penlark::server::ServerConfig config{.root = root_};
    config.users.Add("ann", "secret");
    server_ = std::make_unique<penlark::server::ReferenceServer>(std::move(config));
    server_->Start();
    envelopeFile_ = root_.string() + ".envelope";
    std::ofstream(envelopeFile_, std::ios::binary) << penlark::soap::BuildRequestEnvelope(
        penlark::requests::GetContent("/", "big.xml", 2, "ann", "secret"), "");
  }
  ~ContentFixture() {
    server_->Stop();
    fs::remove_all(root_);
    fs::remove(envelopeFile_);
  }

  std::string ServerText() const { return server_->ServerText(); }
  std::string Url() const { return "http://" + ServerText() + "/servlet/XMLSOAPRouter"; }
  const std::string& EnvelopeFile() const { return envelopeFile_; }

 private:
  fs::path root_;
  std::string envelopeFile_;
  std::unique_ptr<penlark::server::ReferenceServer> server_;
};

ContentFixture& Content() {
  static ContentFixture fixture;
  return fixture;
}

void RequestContent(benchmark::State& state) {
  NoPrompts prompts;
  const std::string serverText = Content().ServerText();
  penlark::TarnwellInterface tarnwell(prompts, {.serverText = [&] { return serverText; }});
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string document = tarnwell.RequestContent("/", "big.xml", 2, "ann", "secret");
    bytes = document.size();
    benchmark::DoNotOptimize(document.data());
  }
  if (bytes < 10'000'000) {
    state.SkipWithError("the document did not arrive");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(RequestContent)->Unit(benchmark::kMillisecond)->UseRealTime();

void CurlCommandSameEnvelope(benchmark::State& state) {
  const std::string url = Content().Url();
  std::vector<std::string> args{"curl",
                                "--silent",
                                "--fail",
                                "--output",
                                "/dev/null",
                                "--header",
                                "Content-Type: text/xml; charset=utf-8",
                                "--header",
                                "SOAPAction: \"urn:xmladmin-request#sendRequest\"",
                                "--header",
                                "Expect:",
                                "--data-binary",
                                "@" + Content().EnvelopeFile(),
                                url};
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  for (auto _ : state) {
    pid_t pid = 0;
    int status = 0;
    if (::posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("curl failed (is it installed?)");
      break;
    }
  }
}
BENCHMARK(CurlCommandSameEnvelope)->Unit(benchmark::kMillisecond)->UseRealTime();

void ReadContentReply(benchmark::State& state) {
  const std::string envelope = penlark::soap::BuildRequestEnvelope(
      penlark::requests::GetContent("/", "big.xml", 2, "ann", "secret"), "");
  const penlark::HttpResult http =
      penlark::PostSoapMessage(Content().Url(), penlark::soap::kSoapAction, envelope, {});
  std::size_t bytes = 0;
  for (auto _ : state) {
    const penlark::soap::Reply reply = penlark::soap::ReadReply(http.body);
    bytes = reply.result.size();
    benchmark::DoNotOptimize(reply.result.data());
  }
  if (bytes < 10'000'000) {
    state.SkipWithError("the document did not arrive");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(http.body.size()));
}
BENCHMARK(ReadContentReply)->Unit(benchmark::kMillisecond);

}  // namespace
