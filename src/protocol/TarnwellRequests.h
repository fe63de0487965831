#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The server's request language: each request is one empty XML element on one line, its
// attributes in a fixed order. Values are escaped as XML attribute values, so that the server
// reads exactly the text given.
namespace penlark::requests {

inline constexpr std::string_view kProtocolVersion = "2.0";

std::string GetFiles(std::string_view dir, std::string_view username, std::string_view password);
std::string Delete(std::string_view dir, std::string_view name, std::int16_t type,
                   std::string_view username, std::string_view password);
std::string CreateFolder(std::string_view dir, std::string_view name, std::int16_t type,
                         std::string_view username, std::string_view password);
std::string GetContent(std::string_view dir, std::string_view name, std::int16_t type,
                       std::string_view username, std::string_view password);
std::string SaveFile(std::string_view dir, std::string_view name, std::string_view username,
                     std::string_view password);

}  // namespace penlark::requests
