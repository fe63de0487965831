#include "support/office/OfficeWithExtension.h"

#include "support/ChildProcess.h"
#include "support/Offices.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <stdexcept>
#include <unistd.h>

namespace penlark::testing {
namespace {

namespace css = uno::css;
namespace fs = std::filesystem;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

const fs::path kOfficeProgramDir = OFFICE_PROGRAM_DIR;
constexpr uid_t kNobody = 65534;

void HandTo(const fs::path& folder, uid_t owner) {
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (lchown(entry.path().c_str(), owner, owner) != 0) {
      throw std::runtime_error("cannot hand " + entry.path().string() + " over");
    }
  }
  if (chown(folder.c_str(), owner, owner) != 0) {
    throw std::runtime_error("cannot hand " + folder.string() + " over");
  }
}

}  // namespace

OfficeWithExtension::OfficeWithExtension(const fs::path& folder, const fs::path& extension,
                                         bool visible)
    : folder_(folder),
      profile_(folder / "profile"),
      profileArgument_("-env:UserInstallation=" + uno::ToUtf8(uno::FileUrl(profile_))) {
  // A new profile makes the office ask to be started again.
  OfficeProcess(kOfficeProgramDir / "soffice.bin",
                {profileArgument_, "--headless", "--terminate_after_init"})
      .WaitForExit(std::chrono::seconds(60));
  AddExtension(extension);
  const std::string pipe = "penlark-office-fixture-" + std::to_string(getpid());
  std::vector<std::string> arguments{profileArgument_, "--norestore", "--nologo",
                                     "--accept=pipe,name=" + pipe + ";urp;"};
  if (!visible) {
    arguments.emplace_back("--headless");
  }
  office_.emplace(kOfficeProgramDir / "soffice.bin", arguments);
  Connect(pipe);
}

OfficeWithExtension::~OfficeWithExtension() {
  try {
    if (desktop_.is()) {
      desktop_->terminate();
    }
  } catch (const css::uno::Exception&) {
    // gone already
  }
  if (office_) {
    office_->WaitForExit(std::chrono::seconds(20));
  }
}

// unopkg refuses root's profile: then it runs as nobody, on the folder handed over for the while.
void OfficeWithExtension::AddExtension(const fs::path& extension) {
  fs::copy_file(extension, folder_ / "penlark.oxt");
  std::vector<std::string> command{"unopkg", "add", profileArgument_,
                                   (folder_ / "penlark.oxt").string()};
  const uid_t user = geteuid();
  if (user == 0) {
    HandTo(folder_, kNobody);
    command.insert(command.begin(),
                   {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
  }
  const auto added = RunProgram("/usr/bin/env", command, {}, {{"HOME", folder_.string()}});
  HandTo(folder_, user);
  if (added.exitCode != 0) {
    throw std::runtime_error("unopkg failed: " + added.out + added.err);
  }
}

void OfficeWithExtension::Connect(const std::string& pipe) {
  const auto resolver = css::bridge::UnoUrlResolver::create(uno::LocalContext(kOfficeProgramDir));
  const auto url = uno::ToOUString("uno:pipe,name=" + pipe + ";urp;StarOffice.ComponentContext");
  const bool connected = Eventually([&] {
    try {
      context_.set(resolver->resolve(url), UNO_QUERY_THROW);
      return true;
    } catch (const css::uno::Exception&) {
      return false;
    }
  });
  if (!connected) {
    throw std::runtime_error("the office did not accept the connection");
  }
  desktop_ = css::frame::Desktop::create(context_);
}

void OfficeWithExtension::Choose(const uno::Reference<css::frame::XModel>& model,
                                 const std::string& operation) {
  const uno::Reference<css::frame::XDispatchProvider> frame(
      model->getCurrentController()->getFrame(), UNO_QUERY_THROW);
  css::frame::DispatchHelper::create(context_)->executeDispatch(
      frame, uno::ToOUString("org.penlark.tarnwell:" + operation), "", 0, {});
}

uno::Reference<css::frame::XModel> OfficeWithExtension::Document(const fs::path& path) {
  const auto components = desktop_->getComponents()->createEnumeration();
  while (components->hasMoreElements()) {
    const uno::Reference<css::frame::XModel> model(components->nextElement(), UNO_QUERY);
    if (model.is() && model->getURL() == uno::FileUrl(path)) {
      return model;
    }
  }
  return {};
}

uno::Reference<css::frame::XModel> OfficeWithExtension::Load(const fs::path& path) {
  return {desktop_->loadComponentFromURL(uno::FileUrl(path), "_blank", 0, {}), UNO_QUERY_THROW};
}

void OfficeWithExtension::Close(const uno::Reference<css::frame::XModel>& model) {
  uno::Reference<css::util::XCloseable>(model, UNO_QUERY_THROW)->close(true);
}

}  // namespace penlark::testing
