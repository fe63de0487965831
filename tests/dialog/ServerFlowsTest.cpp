#include "dialog/OpenDialog.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

// Since the last call, oldest first.
std::vector<std::string> Requests(TestServer& server) {
  std::vector<std::string> requests;
  for (const auto& received : server.Requests()) {
    requests.push_back(received.request);
  }
  server.ClearRequests();
  return requests;
}

std::string Listing(const std::string& dir) {
  return "<getFiles dir=\"" + dir + "\" username=\"ann\" password=\"secret\" vid=\"2.0\" />";
}

std::string Request(const std::string& element, const std::string& name, int type) {
  return "<" + element + " dir=\"/docs\" name=\"" + name + "\" type=\"" + std::to_string(type) +
         "\" username=\"ann\" password=\"secret\" version=\"2.0\" />";
}

// Each flow once against the reference server, with a name beyond ASCII (ANSI code pages).
TEST(ServerFlows, ASessionOnTheReferenceServer) {
  constexpr std::string_view kDraftRtf = "{\\rtf1\\ansi Draft \\'e9t\\'e9\\par }";
  constexpr std::string_view kReportRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Report\\par }";
  DialogTestBed bed;
  std::filesystem::remove(bed.InstallPath() / "work");
  TestServer server;
  server.AddFolder("/docs");
  server.AddDocument("/docs/report.rtf", bed.XmlOf("{\\rtf1 report}"));
  const std::string rootListing = Listing("/");
  const std::string listing = Listing("/docs");
  OpenDialog* dialog = &bed.Dialog();
  Login(" \t" + server.ServerText() + "\r\n", "ann", "secret", true)(*dialog);
  DoubleClickItem("docs")(*dialog);
  EXPECT_EQ(Requests(server), (std::vector<std::string>{rootListing, listing}));

  server.AddDocument("/docs/Bericht über.rtf", bed.XmlOf(kReportRtf));
  kReloadButton.Click(*dialog, 360, 360);
  bed.prompts.TypeNext("  new   folder  ");
  kCreateFolderButton.Click(*dialog);
  EXPECT_TRUE(server.HasFolder("/docs/new folder"));
  dialog->ListView.SelectedIndex = 2;
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  kDeleteButton.Click(*dialog);
  EXPECT_FALSE(server.HasEntry("/docs/report.rtf"));
  EXPECT_EQ(Requests(server),
            (std::vector<std::string>{listing,
                                      "<createFolder dir=\"/docs\" name=\"new folder\" type=\"1\" "
                                      "username=\"ann\" password=\"secret\" version=\"2.0\"  />",
                                      listing, Request("delete", "report.rtf", 2), listing}));
  EXPECT_EQ(ItemTexts(*dialog), (std::vector<std::string>{"new folder", "Bericht über.rtf"}));

  const auto draft = bed.OpenLocal("draft.rtf", kDraftRtf);
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  for (int save = 0; save < 2; ++save) {
    dialog->OpenButton.Caption = kSaveMode;
    dialog->FilenameText.Text = "draft.rtf";
    dialog->OpenButton_Click();
    EXPECT_EQ(server.Document("/docs/draft.rtf"), bed.XmlOf(kDraftRtf));
    EXPECT_EQ(Requests(server), (std::vector<std::string>{Request("saveFile", "draft.rtf", 2),
                                                          rootListing, rootListing}))
        << "the save, the automatic login, the listing";
    ASSERT_TRUE(bed.Context().IsDialogLoaded());
    EXPECT_NE(&bed.Dialog(), dialog);
    dialog = &bed.Dialog();
    EXPECT_EQ(dialog->TabStrip.SelectedTab, 1);
    EXPECT_EQ(
        dialog->UrlDomainCombo.Items,
        std::vector<std::string>{server.ServerText() + std::string(kHistorySeparator) + "ann"});
    EXPECT_EQ(dialog->PasswordText.Text, "secret");
    DoubleClickItem("docs")(*dialog);
    Requests(server);
  }
  EXPECT_EQ(bed.prompts.MessageTexts(),
            (std::vector<std::string>{"Delete report.rtf from Tarnwell server?",
                                      "Overwrite draft.rtf on Tarnwell server?"}));
  EXPECT_EQ(ReadFile(bed.WorkDir() + "docs/draft.rtf"), std::string(kDraftRtf));
  EXPECT_EQ(draft->Path() + "/", bed.WorkDir() + "docs/");
  EXPECT_EQ(bed.views.showings, 0) << "loaded, not shown";

  dialog->OpenButton.Caption = kOpenMode;
  DoubleClickItem("Bericht über.rtf")(*dialog);
  EXPECT_EQ(Requests(server),
            std::vector<std::string>{Request("getContent", "Bericht über.rtf", 2)});
  EXPECT_EQ(ReadFile(Utf8Path(bed.WorkDir() + "docs" + kPathSeparator + "Bericht über.rtf")),
            std::string(kReportRtf));
  ASSERT_EQ(bed.word.DocumentsCount(), 2);
  EXPECT_EQ(bed.word.ActiveDocument()->Name(), "Bericht über.rtf");
  EXPECT_EQ(bed.word.ActiveDocument()->Path(), bed.WorkDir() + "docs");
  EXPECT_TRUE(bed.word.IsVisible());
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
}

}  // namespace
}  // namespace penlark::testing
