#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How the desktop commands reach the resident Penlark of a running office: one local socket per
// office, private to the user, and a line-based exchange over it.
//
// A request is the operation's name, lines "document PATH" for the documents to open first,
// "from ID" and "window ID" for where a menu command was chosen, and an empty line.
// The reply is lines "out TEXT" (standard output), "err TEXT" (standard error) and a last line
// "exit N" with the exit status.
namespace penlark::cli {

struct ResidentRequest {
  std::string operation;
  std::vector<std::string> documents;
  // The office document (its RuntimeUID) the operation acts on; empty for the active one.
  std::string fromDocument;
  // The office's X11 window the dialog comes up in front of, "ID,X,Y,WIDTH,HEIGHT"; empty when
  // none is known.
  std::string window;
};

// The socket of the resident Penlark of the office running on `profile`:
// $XDG_RUNTIME_DIR/penlark/, or /tmp/penlark-UID/ without it, made private to the user. Raises
// std::runtime_error when that folder is not the user's alone.
std::filesystem::path ResidentSocketPath(const std::filesystem::path& profile);

// The request's text; nullopt when one of its values holds a line break.
std::optional<std::string> EncodeRequest(const ResidentRequest& request);
// The request once `text` holds all of it; nullopt while it is incomplete.
std::optional<ResidentRequest> DecodeRequest(std::string_view text);

// The reply's lines for what an operation printed and its exit status.
std::string EncodeReply(std::string_view out, std::string_view err, int exitStatus);

}  // namespace penlark::cli
