#pragma once

#include "platform/Prompts.h"

#include <optional>
#include <string>
#include <windows.h>

// The input box: the prompt, a text field holding the default text, OK and Cancel, shown modally
// over `owner`. Returns the text on OK, nothing on Cancel, Escape or the close box.
namespace penlark::win32 {

std::optional<std::string> AskText(HWND owner, const InputRequest& request);

}  // namespace penlark::win32
