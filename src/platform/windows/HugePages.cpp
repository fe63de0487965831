#include "platform/ByteBuffer.h"

namespace penlark {

// Windows gives large pages only to memory allocated for them, by a user holding the right to
// lock pages in memory; ordinary heap blocks cannot be moved onto them afterwards.
void PreferHugePages(void*, std::size_t) {}

}  // namespace penlark
