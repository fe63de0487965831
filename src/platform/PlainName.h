#pragma once

#include <string_view>

namespace penlark {

// Whether a name can be one step of a path, on the server or below the work directory, on every
// system (a copy kept on one must be possible on the other): not "", not ending with "." or a
// blank, without "/", "\", a control character or one of <>:"|?*, and not a device name of
// Windows (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any case, with or without an
// extension).
bool IsPlainName(std::string_view name);

}  // namespace penlark
