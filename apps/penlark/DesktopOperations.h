#pragma once

#include "automation/Tarnwell.h"

#include <algorithm>
#include <array>
#include <string_view>

// The seven operations of Tarnwell by their command names.
namespace penlark::cli {

struct DesktopOperation {
  std::string_view name;
  std::string_view summary;
  bool (Tarnwell::*run)();
};

inline constexpr std::array kDesktopOperations = {
    DesktopOperation{"open", "Shows the dialog in Open mode (XMLOpen).", &Tarnwell::XMLOpen},
    DesktopOperation{"saveas", "Shows the dialog in Save mode for the active document (XMLSaveAs).",
                     &Tarnwell::XMLSaveAs},
    DesktopOperation{"save", "The same as saveas (XMLSave).", &Tarnwell::XMLSave},
    DesktopOperation{"close", "Closes the active document (XMLClose).", &Tarnwell::XMLClose},
    DesktopOperation{"help", "Opens the installed help page (XMLHelp).", &Tarnwell::XMLHelp},
    DesktopOperation{"new", "Does nothing (XMLNew).", &Tarnwell::XMLNew},
    DesktopOperation{"wordclose",
                     "Loads the dialog and reads the active document's name (WordClose).",
                     &Tarnwell::WordClose},
};

// The operation of that name; nullptr for none.
inline const DesktopOperation* FindDesktopOperation(std::string_view name) {
  const auto found = std::find_if(kDesktopOperations.begin(), kDesktopOperations.end(),
                                  [&](const DesktopOperation& o) { return o.name == name; });
  return found == kDesktopOperations.end() ? nullptr : &*found;
}

}  // namespace penlark::cli
