#pragma once

#include "dialog/OpenDialog.h"
#include "protocol/ServerClient.h"
#include "support/dialog/DialogTestBed.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace penlark::testing {

// A server in memory; `asked` logs requests as "delete /docs a.rtf 2".
class FakeServer {
 public:
  struct Entry {
    std::string dir;
    std::string name;
    std::int16_t type;    // 1: a folder
    std::string content;  // a document's XML form
  };
  enum class Failure {
    Fault,     // the text is shown and the reply is empty
    Internal,  // the same, then the dialog's failure hook runs
    Unread,    // the text is the reply, which leaves a listing as it was
  };

  void Add(std::string dir, std::string name, std::int16_t type = 2) {
    entries.push_back({std::move(dir), std::move(name), type, {}});
  }
  void FailNext(Failure failure, std::string text) { failure_ = {failure, std::move(text)}; }
  ServerClientFactory Clients() {
    return [this](Prompts& prompts, TarnwellHooks hooks) {
      return std::make_unique<Client>(*this, prompts, std::move(hooks));
    };
  }

  std::vector<Entry> entries;
  std::vector<std::pair<std::string, std::string>> users = {
      {"ann", "secret"}, {"Ann", "secret"}, {"bob", "pw"}, {"guest", ""}};
  std::vector<std::string> asked;
  std::string lastPassword;

 private:
  class Client final : public ServerClient {
   public:
    Client(FakeServer& server, Prompts& prompts, TarnwellHooks hooks)
        : server_(server), prompts_(prompts), hooks_(std::move(hooks)) {}

    std::string RequestFiles(const std::string& dir, const std::string& user,
                             const std::string& password) override {
      listed_.reset();
      return Ask("getFiles " + dir, user, password, [&] {
        names_.clear();
        types_.clear();
        for (const Entry& entry : server_.entries) {
          if (entry.dir == dir) {
            names_.push_back(entry.name);
            types_.push_back(entry.type);
          }
        }
        listed_ = dir;
        return "<files/>";
      });
    }
    std::string RequestDelete(const std::string& dir, const std::string& name, std::int16_t type,
                              const std::string& user, const std::string& password) override {
      return Ask(Line("delete", dir, name, type), user, password, [&] {
        std::erase_if(server_.entries, [&](const Entry& entry) {
          return entry.dir == dir && entry.name == name && entry.type == type;
        });
        return "<deleted/>";
      });
    }
    std::string RequestCreateFolder(const std::string& dir, const std::string& name,
                                    std::int16_t type, const std::string& user,
                                    const std::string& password) override {
      return Ask(Line("createFolder", dir, name, type), user, password, [&] {
        server_.Add(dir, name, type);
        return "<created/>";
      });
    }
    std::string RequestContent(const std::string& dir, const std::string& name, std::int16_t type,
                               const std::string& user, const std::string& password) override {
      return Ask(Line("getContent", dir, name, type), user, password, [&] {
        const auto found = std::find_if(
            server_.entries.begin(), server_.entries.end(),
            [&](const Entry& entry) { return entry.dir == dir && entry.name == name; });
        return found == server_.entries.end() ? std::string() : found->content;
      });
    }
    std::string RequestSaveFile(const std::string& dir, const std::string& name, const std::string&,
                                const std::string& user, const std::string& password) override {
      return Ask(Line("saveFile", dir, name, kDocumentType), user, password,
                 [] { return "<saved/>"; });
    }

    std::int16_t GetFileType(const std::string& name) const override {
      const auto found = std::find(names_.begin(), names_.end(), name);
      return found == names_.end() ? std::int16_t{0} : types_[std::size_t(found - names_.begin())];
    }
    bool FileExists(const std::string& name) const override { return GetFileType(name) != 0; }
    const std::vector<std::string>& FileNames() const override { return names_; }
    const std::vector<std::int16_t>& FileTypes() const override { return types_; }
    const std::optional<std::string>& ListedFolder() const override { return listed_; }

   private:
    static std::string Line(const char* request, const std::string& dir, const std::string& name,
                            std::int16_t type) {
      return std::string(request) + " " + dir + " " + name + " " + std::to_string(type);
    }

    std::string Ask(std::string line, const std::string& user, const std::string& password,
                    const std::function<std::string()>& answer) {
      server_.asked.push_back(std::move(line));
      server_.lastPassword = password;
      const auto failure = std::exchange(server_.failure_, std::nullopt);
      const auto& users = server_.users;
      if (failure && failure->first == Failure::Unread) {
        return failure->second;
      }
      if (failure) {
        prompts_.ShowMessage({.text = failure->second});
        if (failure->first == Failure::Internal) {
          hooks_.onRequestFailure();
        }
      } else if (std::find(users.begin(), users.end(), std::pair{user, password}) == users.end()) {
        prompts_.ShowMessage({.text = "Login failed"});
      } else {
        return answer();
      }
      return {};
    }

    FakeServer& server_;
    Prompts& prompts_;
    TarnwellHooks hooks_;
    std::vector<std::string> names_;
    std::vector<std::int16_t> types_;
    std::optional<std::string> listed_;
  };

  std::optional<std::pair<Failure, std::string>> failure_;
};

// /docs (2004 with april.rtf and march.rtf, notes.rtf, report.rtf), /empty and /report.rtf.
struct FakeMachine {
  FakeMachine() {
    const std::string xml = bed.XmlOf("{\\rtf1 Report}");
    server.entries = {{"/", "docs", kFolderType, ""},
                      {"/", "empty", kFolderType, ""},
                      {"/", "report.rtf", kDocumentType, xml},
                      {"/docs", "2004", kFolderType, ""},
                      {"/docs", "notes.rtf", kDocumentType, xml},
                      {"/docs", "report.rtf", kDocumentType, xml},
                      {"/docs/2004", "april.rtf", kDocumentType, xml},
                      {"/docs/2004", "march.rtf", kDocumentType, xml}};
  }

  // Loads the dialog and logs in to tarn as ann, saving the password.
  OpenDialog& LoggedIn() {
    OpenDialog& dialog = bed.Dialog();
    Login("tarn", "ann", "secret", true)(dialog);
    return dialog;
  }
  // Logged in, in `mode`, on the listing of /docs, with the server's log emptied.
  OpenDialog& InDocs(const char* mode = kOpenMode) {
    OpenDialog& dialog = LoggedIn();
    dialog.OpenButton.Caption = mode;
    DoubleClickItem("docs")(dialog);
    server.asked.clear();
    return dialog;
  }

  FakeServer server;
  DialogTestBed bed{server.Clients()};
};

class DialogRulesTest : public ::testing::Test, public FakeMachine {};

}  // namespace penlark::testing
