#pragma once

#include "resident/ResidentChannel.h"

#include <filesystem>

namespace penlark::cli {

// Hands the request to the resident Penlark of the office running on `profile`, starting that
// resident when none answers, waits for its reply and prints it; the exit status.
int HandToResident(const std::filesystem::path& profile, const ResidentRequest& request);

}  // namespace penlark::cli
