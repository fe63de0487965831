#pragma once

#include <cstdint>
#include <string_view>

// The component's one public class: what a word-processor macro creates and calls to open, save
// and close documents kept on a Tarnwell server. The results carry no status: XMLNew returns
// true, every other operation false, whatever happened.
namespace penlark {

class Component;

class Tarnwell {
 public:
  // Identifiers under which macros have always found the class.
  static constexpr std::string_view kClassId = "{BEF8520C-1575-4893-A9D8-3B39F0745379}";
  static constexpr std::string_view kInterfaceId = "{09838BBE-7CB9-4CD0-BBB1-D0C72832A305}";
  static constexpr std::string_view kInterfaceName = "_Tarnwell";
  static constexpr std::string_view kTypeLibraryId = "{204A3F1B-02E9-4B45-AAD2-CF6E9689B0B8}";
  static constexpr std::string_view kTypeLibraryName = "Penlark";
  static constexpr std::string_view kTypeLibraryVersion = "1.0";
  static constexpr std::string_view kTypeLibraryDescription =
      "Penlark - Load/Save documents across net";
  static constexpr std::string_view kFileDescription =
      "Dialog for Opening/Saving Microsoft Word documents from remote Tarnwell server.";

  // An object working on this thread's component.
  Tarnwell();
  explicit Tarnwell(Component& component);

  std::int16_t DOCTYPE = 0;

  bool XMLNew();
  bool XMLOpen();
  bool XMLClose();
  bool WordClose();
  bool XMLSave();
  bool XMLSaveAs();
  bool XMLHelp();

 private:
  Component& component_;
};

}  // namespace penlark
