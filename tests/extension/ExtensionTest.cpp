#include "conversion/Transform.h"
#include "support/ChildProcess.h"
#include "support/Offices.h"
#include "support/TempDir.h"
#include "support/TestServer.h"
#include "support/office/OfficeWithExtension.h"
#include "word/writer/Uno.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XHierarchicalNameAccess.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/script/Invocation.hpp>
#include <com/sun/star/script/XInvocation.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

namespace css = uno::css;
using css::uno::UNO_QUERY_THROW;
using testing::Eventually;
using ::testing::HasSubstr;
using testing::OfficesOn;
using testing::ScopedEnv;

// The user's office with the extension, and the environment Penlark finds there.
class ExtensionTest : public ::testing::Test {
 protected:
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
    const css::uno::Any node(css::beans::NamedValue{
        "nodepath", css::uno::Any(uno::ToOUString("/org.openoffice.Office.Addons/AddonUI"))});
    const uno::Reference<css::container::XHierarchicalNameAccess> addons(
        provider->createInstanceWithArguments("com.sun.star.configuration.ConfigurationAccess",
                                              css::uno::Sequence<css::uno::Any>(&node, 1)),
        UNO_QUERY_THROW);
    rtl::OUString title;
    addons->getByHierarchicalName("OfficeMenuBar/org.penlark.menu/Title") >>= title;
    return uno::ToUtf8(title);
  }

  void DriveAsAUser();

  testing::TempDir dir_;
  ScopedEnv program_{"PENLARK_PROGRAM", PENLARK_PROGRAM};
  ScopedEnv script_{"PENLARK_DIALOG_SCRIPT", (dir_ / "script").string()};
  ScopedEnv registry_{"PENLARK_REGISTRY", (dir_ / "registry.reg").string()};
  ScopedEnv runtime_{"XDG_RUNTIME_DIR", dir_.Path().string()};
  ScopedEnv data_{"XDG_DATA_HOME", (dir_ / "data").string()};
  ScopedEnv qt_{"QT_QPA_PLATFORM", "offscreen"};
  testing::OfficeWithExtension office_{dir_.Path(), PENLARK_EXTENSION};
  const uno::Reference<css::uno::XComponentContext>& context_ = office_.Context();
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
                                          "set filename terminal.rtf\nclick action\n--\n" +
                                          "set password secret\nclick login\n" +
                                          "set filename copy.rtf\nclick action\n");
  testing::WriteFile(dir_ / "mine.rtf", "{\\rtf1 my own notes\\par}");
  EXPECT_EQ(AddonMenuTitle(), "Tarnwell");
  const auto mine = office_.Load(dir_ / "mine.rtf");
  const auto work = testing::UsersWorkFolder(dir_ / "data");

  office_.Choose(mine, "XMLOpen");
  ASSERT_TRUE(Eventually([&] { return office_.Document(work / "report.rtf").is(); }));

  // A terminal command reaches the document opened from the menu, through the same Penlark.
  const auto terminal =
      testing::RunProgram(PENLARK_PROGRAM, {"save", "--profile", office_.Profile().string()});
  EXPECT_EQ(terminal.exitCode, 0) << terminal.err;
  EXPECT_THAT(server.Document("/terminal.rtf").value_or(""), HasSubstr("quarterly report"));

  // Save chosen in the window of the document that is not the active one sends that document.
  office_.Choose(mine, "XMLSave");
  ASSERT_TRUE(Eventually([&] { return server.Document("/copy.rtf").has_value(); }));
  EXPECT_THAT(*server.Document("/copy.rtf"), HasSubstr("my own notes"));

  // Macros create the service and call it the way Basic does, through the office's invocation:
  // DOCTYPE and the operations with their fixed results.
  const auto tarnwell = Macro(
      context_->getServiceManager()->createInstanceWithContext("org.penlark.Tarnwell", context_));
  EXPECT_EQ(tarnwell->getValue("DOCTYPE"), css::uno::Any(sal_Int16(0)));
  EXPECT_EQ(Call(tarnwell, "XMLNew"), css::uno::Any(true));
  EXPECT_EQ(Call(tarnwell, "XMLClose"), css::uno::Any(false));
  EXPECT_TRUE(Eventually([&] { return !office_.Document(work / "copy.rtf").is(); }));
  EXPECT_TRUE(office_.Document(work / "terminal.rtf").is());

  EXPECT_EQ(OfficesOn(office_.Profile()), 1);
  EXPECT_FALSE(office_.Process().ExitStatus().has_value());
}

}  // namespace
}  // namespace penlark
