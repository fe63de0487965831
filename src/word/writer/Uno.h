#pragma once

#include "word/Word.h"
#include "word/writer/CallWatch.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <rtl/ustring.hxx>
#include <string>
#include <string_view>

// Small bridges between our types and the UNO runtime's.
namespace penlark::uno {

namespace css = com::sun::star;
using css::uno::Reference;

rtl::OUString ToOUString(std::string_view utf8);
std::string ToUtf8(const rtl::OUString& text);

// The file URL of a local path, made absolute.
rtl::OUString FileUrl(const std::filesystem::path& path);
// The local path of a file URL; nullopt for any other URL.
std::optional<std::filesystem::path> SystemPath(const rtl::OUString& url);

css::beans::PropertyValue Property(const char* name, const css::uno::Any& value);
// The arguments of a call that takes a list of named values.
css::uno::Sequence<css::beans::PropertyValue> Properties(
    std::initializer_list<css::beans::PropertyValue> properties);

// The WordError for the UNO exception being handled (call it inside the catch block), with the
// office's own message.
WordError CaughtError(const css::uno::Exception& exception);

// Runs `call`, a call to the office watched by the CallWatch, raising any UNO exception it throws
// as a WordError.
template <typename Call>
auto Guarded(Call&& call) -> decltype(call()) {
  const CallInProgress inProgress;
  try {
    return call();
  } catch (const css::uno::Exception& exception) {
    throw CaughtError(exception);
  }
}

// This process's own UNO runtime, bootstrapped on first use from the office's program folder
// and kept until the process ends.
Reference<css::uno::XComponentContext> LocalContext(const std::filesystem::path& programDir);

}  // namespace penlark::uno
