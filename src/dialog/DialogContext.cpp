#include "dialog/DialogContext.h"

#include "dialog/DialogView.h"
#include "dialog/OpenDialog.h"
#include "platform/Identity.h"
#include "platform/Settings.h"
#include "protocol/TarnwellInterface.h"

#include <algorithm>
#include <stdexcept>

namespace penlark {

DialogMachine DialogMachine::OfThisMachine() {
  return {.installPath = ReadInstallPath(),
          .user = CurrentUserName(),
          .computer = CurrentComputerName()};
}

DialogContext::DialogContext(DialogServices services)
    : services_(std::move(services)), server_(MakeServerClient()) {}

std::unique_ptr<ServerClient> DialogContext::MakeServerClient() {
  TarnwellHooks hooks{
      .serverText = [this] { return Dialog().UrlDomainCombo.Text; },
      .onRequestFailure = [this] { Dialog().ImageCombo.Clear(); },
  };
  if (services_.serverClient) {
    return services_.serverClient(services_.prompts, std::move(hooks));
  }
  return std::make_unique<TarnwellInterface>(services_.prompts, std::move(hooks), services_.limits);
}

DialogContext::~DialogContext() = default;

OpenDialog& DialogContext::Dialog() {
  if (loaded_.dialog == nullptr) {
    // The slot holds the new instance before its load sequence runs, so that the sequence's
    // own references to the dialog reach it.
    loaded_.dialog = std::make_unique<OpenDialog>(*this);
    loaded_.view = services_.views.CreateView(*loaded_.dialog);
    loaded_.dialog->Form_Load();
  }
  return *loaded_.dialog;
}

void DialogContext::RememberPassword(const std::string& server, const std::string& user,
                                     const std::string& password) {
  passwords_[{server, user}] = password;
}

const std::string* DialogContext::RememberedPassword(const std::string& server,
                                                     const std::string& user) const {
  const auto found = passwords_.find({server, user});
  return found == passwords_.end() ? nullptr : &found->second;
}

DialogView& DialogContext::ViewOf(const OpenDialog& dialog) {
  if (loaded_.dialog.get() == &dialog) {
    return *loaded_.view;
  }
  const auto unloaded = std::find_if(unloaded_.begin(), unloaded_.end(), [&](const auto& entry) {
    return entry.dialog.get() == &dialog;
  });
  if (unloaded == unloaded_.end()) {
    throw std::logic_error("the dialog has no view");
  }
  return *unloaded->view;
}

void DialogContext::ShowDialog() {
  OpenDialog& dialog = Dialog();
  struct ReleaseUnloaded {
    std::vector<LoadedDialog>& unloaded;
    ~ReleaseUnloaded() { unloaded.clear(); }
  } release{unloaded_};
  ViewOf(dialog).ShowModal();
}

void DialogContext::UnloadDialog() {
  if (loaded_.dialog == nullptr) {
    return;
  }
  loaded_.dialog->Form_Unload();
  LoadedDialog unloading = std::move(loaded_);
  loaded_ = {};
  unloading.view->Close();
  unloaded_.push_back(std::move(unloading));
}

}  // namespace penlark
