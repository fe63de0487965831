#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace penlark {

// A listing reply holds a number that is not a 16-bit decimal integer.
class ListingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the last reply did to the listing.
enum class ListingRead {
  None,        // no reply read yet
  Entries,     // a "files" element with entries: the listing holds them
  Emptied,     // a "files" element without entries: the listing is empty
  OtherRoot,   // another root element: the listing was left as it was
  Unreadable,  // not XML: the listing holds one entry with an empty name
};

// The entries of one server folder as the last folder-listing reply gave them: three parallel
// arrays, empty when there is no listing. Entry type 1 is a folder; any other is a document.
class FileListing {
 public:
  // Rebuilds the listing from a getFiles reply. A "type" or "access" value that is not a decimal
  // number from -32768 to 32767 throws ListingError; the entries before it stay filled in.
  void Parse(std::string_view reply);

  // The type of the first entry of this name (exact comparison); 0 when there is none.
  std::int16_t TypeOf(std::string_view name) const;
  bool Contains(std::string_view name) const;

  const std::vector<std::string>& Names() const { return names_; }
  const std::vector<std::int16_t>& Types() const { return types_; }
  const std::vector<std::int16_t>& Access() const { return access_; }
  ListingRead LastRead() const { return lastRead_; }

 private:
  void Reset(std::size_t count);

  std::vector<std::string> names_;
  std::vector<std::int16_t> types_;
  std::vector<std::int16_t> access_;
  ListingRead lastRead_ = ListingRead::None;
};

}  // namespace penlark
