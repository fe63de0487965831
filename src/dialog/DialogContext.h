#pragma once

#include "platform/Pointer.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "protocol/ConnectionUtils.h"
#include "protocol/HttpExchange.h"
#include "protocol/ServerClient.h"
#include "word/Word.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Everything the dialog works with besides its own controls: the word processor, the user
// interface services, the server interface with its listing, the connection history, and the
// slot that holds the dialog's one instance.
namespace penlark {

class DialogView;
class DialogViewFactory;
class OpenDialog;

// Where and as whom the dialog runs: the installation directory (without a trailing separator; ""
// when none is set), the user and the computer.
struct DialogMachine {
  std::string installPath;
  std::string user;
  std::string computer;

  // Read from the machine settings and the system.
  static DialogMachine OfThisMachine();
};

// What the dialog is given when the component starts.
struct DialogServices {
  Word& word;
  Prompts& prompts;
  Pointer& pointer;
  Shell& shell;
  DialogViewFactory& views;
  TransportLimits limits{};
  DialogMachine machine = DialogMachine::OfThisMachine();
  // Makes the client the dialog reaches the server through; when empty, the client over HTTP
  // with `limits`.
  ServerClientFactory serverClient{};
};

class DialogContext {
 public:
  explicit DialogContext(DialogServices services);
  ~DialogContext();
  DialogContext(const DialogContext&) = delete;
  DialogContext& operator=(const DialogContext&) = delete;

  const DialogServices& Services() const { return services_; }
  ServerClient& Server() { return *server_; }
  ConnectionHistory& History() { return history_; }

  // The password of the last successful login to each server as each user, kept in memory while
  // the component lives, so that later dialogs log in with it; the history holds a password
  // only when "Save Password" is ticked.
  void RememberPassword(const std::string& server, const std::string& user,
                        const std::string& password);
  const std::string* RememberedPassword(const std::string& server, const std::string& user) const;

  // The dialog's one instance. The first reference after start or after an unload loads it: the
  // dialog and its view are created and its load sequence runs.
  OpenDialog& Dialog();
  bool IsDialogLoaded() const { return loaded_.dialog != nullptr; }
  DialogView& ViewOf(const OpenDialog& dialog);

  // Loads the dialog when needed and shows it modally; returns when it is hidden or unloaded.
  void ShowDialog();
  // Runs the unload sequence, takes the view down and empties the slot. A handler of the dialog
  // may be running: the old instance stays alive until the modal showing returns.
  void UnloadDialog();

 private:
  struct LoadedDialog {
    std::unique_ptr<OpenDialog> dialog;
    std::unique_ptr<DialogView> view;
  };

  std::unique_ptr<ServerClient> MakeServerClient();

  DialogServices services_;
  std::unique_ptr<ServerClient> server_;
  ConnectionHistory history_;
  std::map<std::pair<std::string, std::string>, std::string> passwords_;
  LoadedDialog loaded_;
  std::vector<LoadedDialog> unloaded_;
};

}  // namespace penlark
