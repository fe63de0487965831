#include "conversion/Transform.h"
#include "support/ChildProcess.h"
#include "support/Offices.h"
#include "support/TempDir.h"
#include "support/TestServer.h"
#include "word/writer/OfficeProcess.h"
#include "word/writer/Uno.h"

#include <chrono>
#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XHierarchicalNameAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/script/Invocation.hpp>
#include <com/sun/star/script/XInvocation.hpp>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

namespace css = uno::css;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using testing::Eventually;
using ::testing::HasSubstr;
using testing::OfficesOn;
using testing::ScopedEnv;

const std::filesystem::path kOfficeProgramDir = OFFICE_PROGRAM_DIR;
constexpr uid_t kNobody = 65534;

// The user's office, headless on a fresh profile with the extension added, and the test's own
// connection to it. Penlark reaches it the way it reaches any running office.
class ExtensionTest : public ::testing::Test {
 protected:
  ExtensionTest() {
    const std::string profileArgument =
        "-env:UserInstallation=" + uno::ToUtf8(uno::FileUrl(profile_));
    // A new profile makes the office ask to be started again.
    OfficeProcess(kOfficeProgramDir / "soffice.bin",
                  {profileArgument, "--headless", "--terminate_after_init"})
        .WaitForExit(std::chrono::seconds(60));
    AddExtension(profileArgument);
    const std::string pipe = "penlark-extension-test-" + std::to_string(getpid());
    office_.emplace(kOfficeProgramDir / "soffice.bin",
                    std::vector<std::string>{profileArgument, "--headless", "--norestore",
                                             "--accept=pipe,name=" + pipe + ";urp;"});
    const auto local = uno::LocalContext(kOfficeProgramDir);
    const auto resolver = css::bridge::UnoUrlResolver::create(local);
    EXPECT_TRUE(Eventually([&] {
      try {
        context_.set(resolver->resolve(uno::ToOUString("uno:pipe,name=" + pipe +
                                                       ";urp;StarOffice.ComponentContext")),
                     UNO_QUERY_THROW);
        return true;
      } catch (const css::uno::Exception&) {
        return false;
      }
    }));
    desktop_ = css::frame::Desktop::create(context_);
  }

  ~ExtensionTest() override {
    if (desktop_.is()) {
      desktop_->terminate();
    }
    if (office_) {
      office_->WaitForExit(std::chrono::seconds(20));
    }
  }

  void HandTo(uid_t owner) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.Path())) {
      ASSERT_EQ(lchown(entry.path().c_str(), owner, owner), 0);
    }
    ASSERT_EQ(chown(dir_.Path().c_str(), owner, owner), 0);
  }

  // unopkg adds the extension to the fresh profile, as a user adds it to their own. It refuses
  // to do that for root: then it runs as nobody, on a test folder handed to nobody.
  void AddExtension(const std::string& profileArgument) {
    std::filesystem::copy_file(PENLARK_EXTENSION, dir_ / "penlark.oxt");
    std::vector<std::string> command{"unopkg", "add", profileArgument,
                                     (dir_ / "penlark.oxt").string()};
    if (geteuid() == 0) {
      HandTo(kNobody);
      command.insert(command.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups"});
      command.insert(command.begin(), "setpriv");
    }
    const auto added =
        testing::RunProgram("/usr/bin/env", command, {}, {{"HOME", dir_.Path().string()}});
    ASSERT_EQ(added.exitCode, 0) << added.out << added.err;
    HandTo(geteuid());
  }

  // A menu or toolbar item of the Tarnwell menu, chosen in the frame of `model`.
  void Choose(const uno::Reference<css::frame::XModel>& model, const std::string& operation) {
    const uno::Reference<css::frame::XDispatchProvider> frame(
        model->getCurrentController()->getFrame(), UNO_QUERY_THROW);
    css::frame::DispatchHelper::create(context_)->executeDispatch(
        frame, uno::ToOUString("service:org.penlark.Tarnwell?" + operation), "", 0, {});
  }

  // The open document whose file is `path`; empty when none is.
  uno::Reference<css::frame::XModel> Document(const std::filesystem::path& path) {
    const auto components = desktop_->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
      const uno::Reference<css::frame::XModel> model(components->nextElement(), UNO_QUERY);
      if (model.is() && model->getURL() == uno::FileUrl(path)) {
        return model;
      }
    }
    return {};
  }

  uno::Reference<css::frame::XModel> Load(const std::filesystem::path& path) {
    return {desktop_->loadComponentFromURL(uno::FileUrl(path), "_blank", 0, {}), UNO_QUERY_THROW};
  }

  // An object as a Basic macro sees it.
  uno::Reference<css::script::XInvocation> Macro(
      const css::uno::Reference<css::uno::XInterface>& object) {
    const css::uno::Any argument(object);
    const auto invocation = css::script::Invocation::create(context_);
    // The invocation service makes its adapters only through this deprecated factory call.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return {
        invocation->createInstanceWithArguments(css::uno::Sequence<css::uno::Any>(&argument, 1)),
        UNO_QUERY_THROW};
#pragma GCC diagnostic pop
  }

  static css::uno::Any Call(const uno::Reference<css::script::XInvocation>& object,
                            const char* name) {
    css::uno::Sequence<sal_Int16> outIndices;
    css::uno::Sequence<css::uno::Any> out;
    return object->invoke(rtl::OUString::createFromAscii(name), {}, outIndices, out);
  }

  std::string AddonMenuTitle() {
    const auto provider = css::configuration::theDefaultProvider::get(context_);
    css::beans::NamedValue node{
        "nodepath", css::uno::Any(uno::ToOUString("/org.openoffice.Office.Addons/AddonUI"))};
    const uno::Reference<css::container::XHierarchicalNameAccess> addons(
        provider->createInstanceWithArguments(
            "com.sun.star.configuration.ConfigurationAccess",
            css::uno::Sequence<css::uno::Any>(
                &static_cast<const css::uno::Any&>(css::uno::Any(node)), 1)),
        UNO_QUERY_THROW);
    rtl::OUString title;
    addons->getByHierarchicalName("OfficeMenuBar/org.penlark.menu/Title") >>= title;
    return uno::ToUtf8(title);
  }

  void DriveAsAUser();

  testing::TempDir dir_;
  std::filesystem::path profile_ = dir_ / "profile";
  ScopedEnv program_{"PENLARK_PROGRAM", PENLARK_PROGRAM};
  ScopedEnv script_{"PENLARK_DIALOG_SCRIPT", (dir_ / "script").string()};
  ScopedEnv registry_{"PENLARK_REGISTRY", (dir_ / "registry.reg").string()};
  ScopedEnv runtime_{"XDG_RUNTIME_DIR", dir_.Path().string()};
  ScopedEnv data_{"XDG_DATA_HOME", (dir_ / "data").string()};
  ScopedEnv qt_{"QT_QPA_PLATFORM", "offscreen"};
  std::optional<OfficeProcess> office_;
  uno::Reference<css::uno::XComponentContext> context_;
  uno::Reference<css::frame::XDesktop2> desktop_;
};

TEST_F(ExtensionTest, TheMenuAndMacrosActOnTheUsersOfficeThroughPenlark) {
  uno::Guarded([&] { DriveAsAUser(); });
}

void ExtensionTest::DriveAsAUser() {
  testing::TestServer server;
  server.AddDocument("/report.rtf", RtfToXml("{\\rtf1 quarterly report\\par}"));
  const std::string login = testing::ScriptedLogin(server.ServerText());
  // Later dialogs have the server and user from the remembered login, not the password.
  testing::WriteFile(dir_ / "script", login + "set filename report.rtf\nclick action\n--\n" +
                                          "set password secret\nclick login\n" +
                                          "set filename copy.rtf\nclick action\n--\n" +
                                          "set password secret\nclick login\n" +
                                          "set filename terminal.rtf\nclick action\n");
  testing::WriteFile(dir_ / "mine.rtf", "{\\rtf1 my own notes\\par}");
  EXPECT_EQ(AddonMenuTitle(), "Tarnwell");
  const auto mine = Load(dir_ / "mine.rtf");
  const auto work = dir_ / "data/penlark/work";

  Choose(mine, "XMLOpen");
  ASSERT_TRUE(Eventually([&] { return Document(work / "report.rtf").is(); }));

  Choose(Document(work / "report.rtf"), "XMLSave");
  ASSERT_TRUE(Eventually([&] { return server.Document("/copy.rtf").has_value(); }));
  EXPECT_THAT(*server.Document("/copy.rtf"), HasSubstr("quarterly report"));

  // A terminal command reaches the document opened from the menu, through the same Penlark.
  const auto terminal =
      testing::RunProgram(PENLARK_PROGRAM, {"save", "--profile", profile_.string()});
  EXPECT_EQ(terminal.exitCode, 0) << terminal.err;
  EXPECT_THAT(server.Document("/terminal.rtf").value_or(""), HasSubstr("quarterly report"));

  // Macros create the service and call it the way Basic does, through the office's invocation:
  // DOCTYPE and the operations with their fixed results.
  const auto tarnwell = Macro(
      context_->getServiceManager()->createInstanceWithContext("org.penlark.Tarnwell", context_));
  EXPECT_EQ(tarnwell->getValue("DOCTYPE"), css::uno::Any(sal_Int16(0)));
  tarnwell->setValue("DOCTYPE", css::uno::Any(sal_Int16(3)));
  EXPECT_EQ(tarnwell->getValue("DOCTYPE"), css::uno::Any(sal_Int16(3)));
  EXPECT_EQ(Call(tarnwell, "XMLNew"), css::uno::Any(true));
  EXPECT_EQ(Call(tarnwell, "XMLClose"), css::uno::Any(false));
  EXPECT_TRUE(Eventually([&] { return !Document(work / "terminal.rtf").is(); }));
  EXPECT_TRUE(Document(dir_ / "mine.rtf").is());

  EXPECT_EQ(OfficesOn(profile_), 1);
  EXPECT_FALSE(office_->ExitStatus().has_value());
}

}  // namespace
}  // namespace penlark
