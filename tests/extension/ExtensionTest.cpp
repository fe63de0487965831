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
#include <csignal>
#include <thread>

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

TEST_F(ExtensionTest, TheMenuMacrosAndCommandsActOnTheUsersOfficeThroughOneResidentPenlark) {
  uno::Guarded([&] { DriveAsAUser(); });
}

void ExtensionTest::DriveAsAUser() {
  testing::TestServer server;
  server.AddDocument("/report.rtf", RtfToXml("{\\rtf1 quarterly report\\par}"));
  testing::WriteFile(dir_ / "script", "set filename waiting.rtf\n");
  testing::WriteFile(dir_ / "mine.rtf", "{\\rtf1 my own notes\\par}");
  testing::WriteFile(dir_ / "a.rtf", "{\\rtf1 a\\par}");
  EXPECT_EQ(AddonMenuTitle(), "Tarnwell");
  const int office = office_.Process().Id();
  const std::string profile = office_.Profile().string();
  auto run = [&](const std::string& command, const testing::EnvironmentChanges& changes = {}) {
    return testing::RunProgram(PENLARK_PROGRAM, {command, "--profile", profile}, {}, changes);
  };

  // An office that does not answer before Penlark attached: the command gives up in time.
  kill(office, SIGSTOP);
  const auto asked = std::chrono::steady_clock::now();
  const auto stopped = run("new");
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(20));
  kill(office, SIGCONT);
  EXPECT_EQ(stopped.exitCode, 1);
  EXPECT_THAT(stopped.err, HasSubstr("did not answer in time"));

  // One dialog at a time.
  testing::ChildProcess waiting(PENLARK_PROGRAM, {"open", "--profile", profile});
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const auto second = run("saveas");
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_THAT(second.err, HasSubstr("brought to the front"));

  // Penlark killed with its dialog up: the office goes on, and the next command reaches it.
  using namespace std::string_literals;
  const auto residentArguments = "resident\0--profile\0"s + profile;
  const auto residents = testing::ProcessIds("penlark", residentArguments);
  ASSERT_EQ(residents.size(), 1u);
  kill(residents.front(), SIGKILL);
  EXPECT_THAT(waiting.Finish().err, HasSubstr("ended before it answered"));
  const auto after = testing::RunProgram(
      PENLARK_PROGRAM, {"new", "--document", (dir_ / "a.rtf").string(), "--profile", profile}, {},
      {{"PENLARK_OFFICE_TIMEOUT", "5"}});
  EXPECT_EQ(after.exitCode, 0) << after.err;
  EXPECT_EQ(after.out, "Documents open:\n  " + (dir_ / "a.rtf").string() + "   (active)\n");

  // The office hanging after its Penlark attached: the command hears why, that Penlark ends.
  kill(office, SIGSTOP);
  const auto hung = run("new");
  kill(office, SIGCONT);
  EXPECT_EQ(hung.exitCode, 1);
  EXPECT_THAT(hung.err, HasSubstr("did not answer within 5 seconds"));
  EXPECT_TRUE(
      Eventually([&] { return testing::ProcessIds("penlark", residentArguments).empty(); }));

  // Later dialogs have the server and user from the remembered login, not the password.
  testing::WriteFile(
      dir_ / "script",
      testing::ScriptedLogin(server.ServerText()) + "set filename report.rtf\nclick action\n--\n" +
          "set password secret\nclick login\n" + "set filename terminal.rtf\nclick action\n--\n" +
          "set password secret\nclick login\n" + "set filename copy.rtf\nclick action\n--\n" +
          "set filename waiting.rtf\n");
  const auto mine = office_.Load(dir_ / "mine.rtf");
  const auto work = testing::UsersWorkFolder(dir_ / "data");
  office_.Choose(mine, "XMLOpen");
  ASSERT_TRUE(Eventually([&] { return office_.Document(work / "report.rtf").is(); }));

  // A terminal command reaches the document opened from the menu, through the same Penlark.
  const auto terminal = run("save");
  EXPECT_EQ(terminal.exitCode, 0) << terminal.err;
  EXPECT_THAT(server.Document("/terminal.rtf").value_or(""), HasSubstr("quarterly report"));

  // Save chosen in the window of the document that is not the active one sends that document.
  office_.Choose(mine, "XMLSave");
  ASSERT_TRUE(Eventually([&] { return server.Document("/copy.rtf").has_value(); }));
  EXPECT_THAT(*server.Document("/copy.rtf"), HasSubstr("my own notes"));

  // Macros call the service as Basic does, through the office's invocation: the fixed results.
  const auto tarnwell = Macro(
      context_->getServiceManager()->createInstanceWithContext("org.penlark.Tarnwell", context_));
  EXPECT_EQ(tarnwell->getValue("DOCTYPE"), css::uno::Any(sal_Int16(0)));
  EXPECT_EQ(Call(tarnwell, "XMLNew"), css::uno::Any(true));
  EXPECT_EQ(Call(tarnwell, "XMLClose"), css::uno::Any(false));
  EXPECT_TRUE(Eventually([&] { return !office_.Document(work / "copy.rtf").is(); }));
  EXPECT_TRUE(office_.Document(work / "terminal.rtf").is());
  EXPECT_EQ(OfficesOn(office_.Profile()), 1);

  // The office ending takes the dialog down, sending nothing, and the resident with it.
  testing::ChildProcess closing(PENLARK_PROGRAM, {"open", "--profile", profile});
  std::this_thread::sleep_for(std::chrono::seconds(1));
  server.ClearRequests();
  kill(office, SIGTERM);
  EXPECT_TRUE(office_.Process().WaitForExit(std::chrono::seconds(60)));
  const auto ended = closing.Finish();
  EXPECT_EQ(ended.exitCode, 1);
  EXPECT_THAT(ended.err, HasSubstr("nothing was sent"));
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_TRUE(Eventually([&] { return std::filesystem::is_empty(dir_ / "penlark"); }));
}

}  // namespace
}  // namespace penlark
