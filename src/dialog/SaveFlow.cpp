// The save flow: the word processor saves its active document as RTF into the work directory,
// the RTF becomes the server's XML document form, and the server stores it.

#include "conversion/Transform.h"
#include "dialog/BusyCursor.h"
#include "dialog/DialogContext.h"
#include "dialog/LocalCopy.h"
#include "dialog/OpenDialog.h"
#include "platform/Files.h"

#include <filesystem>

namespace penlark {

void OpenDialog::SaveToXMLFile() {
  BusyCursor busy(*this);
  ServerClient& server = context_.Server();
  Word& word = context_.Services().word;
  std::string reply;
  if (word.DocumentsCount() > 0) {
    const std::string folder = LocalCopyFolder(WorkDir, server.CurrentDir);
    CreateLocalCopyFolder(WorkDir, server.CurrentDir);
    word.ActiveDocument()->SaveAs(folder + server.CurrentFile, kWordFormatRtf);
    const std::filesystem::path written = Utf8Path(folder + word.ActiveDocument()->Name());
    // The word processor writes with the usual permissions; the copy is its user's alone.
    std::error_code ignored;
    std::filesystem::permissions(
        written, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ignored);
    std::string xml = RtfFileToXml(written);
    reply = server.RequestSaveFile(server.CurrentDir, server.CurrentFile, xml, UsernameText.Text,
                                   PasswordText.Text);
    xml.clear();
  }
  busy.Restore();
  context_.UnloadDialog();
  if (!reply.empty()) {
    // The reference loads the dialog afresh; it stays loaded and hidden on the new listing. When
    // its automatic login did not succeed, listing again would only repeat that failure.
    OpenDialog& reloaded = context_.Dialog();
    if (reloaded.TabStrip.Enabled) {
      reloaded.RedrawFiles(reloaded.TrailFolder("/"));
    }
  }
}

}  // namespace penlark
