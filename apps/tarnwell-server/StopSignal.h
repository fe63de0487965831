#pragma once

// The request to stop the server: SIGINT or SIGTERM, or on Windows Ctrl+C, Ctrl+Break or the
// console closing. The calls that differ between systems live in posix/ and windows/.

namespace tarnwell_server {

// What a user does to stop the server, as the usage text names it.
extern const char* const kStopRequests;

// Takes the stop requests away from their default action; call before any thread starts, as
// threads started later inherit what this sets.
void CatchStopRequests();

// Returns once a stop has been requested.
void WaitForStopRequest();

}  // namespace tarnwell_server
