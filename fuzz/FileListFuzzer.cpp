// Folder-listing replies: any text is parsed without crashing, and the listing's three arrays
// stay parallel whether the parse succeeds or stops at a bad number.

#include "protocol/FileListing.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  penlark::FileListing listing;
  try {
    listing.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const penlark::ListingError&) {
  }
  if (listing.Names().size() != listing.Types().size() ||
      listing.Names().size() != listing.Access().size()) {
    std::abort();
  }
  return 0;
}
