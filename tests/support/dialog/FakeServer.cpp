#include "support/dialog/FakeServer.h"

#include <algorithm>
#include <functional>

namespace penlark::testing {

class FakeServer::Client final : public ServerClient {
 public:
  Client(FakeServer& server, Prompts& prompts, TarnwellHooks hooks)
      : server_(server), prompts_(prompts), hooks_(std::move(hooks)) {}

  std::string RequestFiles(const std::string& dir, const std::string& username,
                           const std::string& password) override {
    listed_.reset();
    return Ask("getFiles " + dir, username, password, [&] {
      names_.clear();
      types_.clear();
      for (const Entry& entry : server_.entries_) {
        if (entry.dir == dir) {
          names_.push_back(entry.name);
          types_.push_back(entry.type);
        }
      }
      listed_ = dir;
      return std::string("<files/>");
    });
  }

  std::string RequestDelete(const std::string& dir, const std::string& name, std::int16_t type,
                            const std::string& username, const std::string& password) override {
    return Ask(Line("delete", dir, name, type), username, password, [&] {
      Entry* entry = server_.Find(dir, name, type);
      if (entry == nullptr) {
        return Refuse("There is no entry \"" + name + "\" in \"" + dir + "\".");
      }
      server_.entries_.erase(server_.entries_.begin() + (entry - server_.entries_.data()));
      return std::string("<deleted/>");
    });
  }

  std::string RequestCreateFolder(const std::string& dir, const std::string& name,
                                  std::int16_t type, const std::string& username,
                                  const std::string& password) override {
    return Ask(Line("createFolder", dir, name, type), username, password, [&] {
      server_.Add(dir, name, type);
      return std::string("<created/>");
    });
  }

  std::string RequestContent(const std::string& dir, const std::string& name, std::int16_t type,
                             const std::string& username, const std::string& password) override {
    return Ask(Line("getContent", dir, name, type), username, password, [&] {
      const Entry* entry = server_.Find(dir, name, type);
      return entry != nullptr ? entry->content
                              : Refuse("There is no document \"" + name + "\" in \"" + dir + "\".");
    });
  }

  std::string RequestSaveFile(const std::string& dir, const std::string& name,
                              const std::string& content, const std::string& username,
                              const std::string& password) override {
    return Ask("saveFile " + dir + " " + name, username, password, [&] {
      if (Entry* entry = server_.Find(dir, name)) {
        entry->content = content;
      } else {
        server_.Add(dir, name, 2, content);
      }
      return std::string("<saved/>");
    });
  }

  std::int16_t GetFileType(const std::string& name) const override {
    const auto found = std::find(names_.begin(), names_.end(), name);
    return found == names_.end() ? std::int16_t{0}
                                 : types_[static_cast<std::size_t>(found - names_.begin())];
  }
  bool FileExists(const std::string& name) const override {
    return std::find(names_.begin(), names_.end(), name) != names_.end();
  }
  const std::vector<std::string>& FileNames() const override { return names_; }
  const std::vector<std::int16_t>& FileTypes() const override { return types_; }
  const std::optional<std::string>& ListedFolder() const override { return listed_; }

 private:
  static std::string Line(const char* request, const std::string& dir, const std::string& name,
                          std::int16_t type) {
    return std::string(request) + " " + dir + " " + name + " " + std::to_string(type);
  }

  std::string Refuse(const std::string& text) {
    prompts_.ShowMessage({.text = text});
    return {};
  }

  std::string Ask(std::string line, const std::string& username, const std::string& password,
                  const std::function<std::string()>& answer) {
    server_.asked.push_back(std::move(line));
    server_.lastPassword = password;
    const auto& hosts = server_.hosts;
    if (std::find(hosts.begin(), hosts.end(), hooks_.serverText()) == hosts.end()) {
      prompts_.ShowMessage({.text = "Error: Connection to Tarnwell Server failed. The Server "
                                    "could be down. Try Later...",
                            .icon = MessageIcon::Exclamation});
      return {};
    }
    const Failure failure = std::exchange(server_.failure_, Failure::None);
    if (failure == Failure::Unread) {
      return server_.failureText_;
    }
    if (failure != Failure::None) {
      Refuse(server_.failureText_);
      if (failure == Failure::Internal) {
        hooks_.onRequestFailure();
      }
      return {};
    }
    const auto& users = server_.users;
    if (std::find(users.begin(), users.end(), std::pair{username, password}) == users.end()) {
      return Refuse("Login failed: unknown user name or wrong password.");
    }
    return answer();
  }

  FakeServer& server_;
  Prompts& prompts_;
  TarnwellHooks hooks_;
  std::vector<std::string> names_;
  std::vector<std::int16_t> types_;
  std::optional<std::string> listed_;
};

void FakeServer::Add(std::string dir, std::string name, std::int16_t type, std::string content) {
  entries_.push_back({std::move(dir), std::move(name), type, std::move(content)});
}

FakeServer::Entry* FakeServer::Find(const std::string& dir, const std::string& name,
                                    std::int16_t type) {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
    return entry.dir == dir && entry.name == name && entry.type == type;
  });
  return found == entries_.end() ? nullptr : &*found;
}

ServerClientFactory FakeServer::Clients() {
  return [this](Prompts& prompts, TarnwellHooks hooks) {
    return std::make_unique<Client>(*this, prompts, std::move(hooks));
  };
}

}  // namespace penlark::testing
