#include "word/writer/Uno.h"

#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/exc_hlp.hxx>
#include <osl/file.hxx>
#include <rtl/bootstrap.hxx>

namespace penlark::uno {

rtl::OUString ToOUString(std::string_view utf8) {
  return rtl::OUString(utf8.data(), static_cast<sal_Int32>(utf8.size()), RTL_TEXTENCODING_UTF8);
}

std::string ToUtf8(const rtl::OUString& text) {
  const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
  return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

rtl::OUString FileUrl(const std::filesystem::path& path) {
  rtl::OUString url;
  const auto absolute = std::filesystem::absolute(path).lexically_normal();
  if (osl::FileBase::getFileURLFromSystemPath(ToOUString(absolute.string()), url) !=
      osl::FileBase::E_None) {
    throw WordError("Not a valid file name: " + path.string());
  }
  return url;
}

std::optional<std::filesystem::path> SystemPath(const rtl::OUString& url) {
  rtl::OUString path;
  if (!url.startsWithIgnoreAsciiCase("file:") ||
      osl::FileBase::getSystemPathFromFileURL(url, path) != osl::FileBase::E_None) {
    return std::nullopt;
  }
  return std::filesystem::path(ToUtf8(path));
}

css::beans::PropertyValue Property(const char* name, const css::uno::Any& value) {
  css::beans::PropertyValue property;
  property.Name = rtl::OUString::createFromAscii(name);
  property.Value = value;
  return property;
}

css::uno::Sequence<css::beans::PropertyValue> Properties(
    std::initializer_list<css::beans::PropertyValue> properties) {
  return css::uno::Sequence<css::beans::PropertyValue>(properties.begin(),
                                                       static_cast<sal_Int32>(properties.size()));
}

WordError CaughtError(const css::uno::Exception& exception) {
  // Some exceptions carry only where they were raised ("at ./sfx2/..."): name their type then.
  const rtl::OUString message = exception.Message.trim();
  if (!message.isEmpty() && !message.startsWith("at ")) {
    return WordError(ToUtf8(message));
  }
  const std::string type = ToUtf8(cppu::getCaughtException().getValueTypeName());
  return WordError(message.isEmpty() ? type : type + " " + ToUtf8(message));
}

Reference<css::uno::XComponentContext> LocalContext(const std::filesystem::path& programDir) {
  // Never destroyed: references into a remote office may be released at any time, even after
  // its connection has gone, and the runtime does not take being torn down at exit well.
  static const auto* context = [&] {
    // Without this the runtime looks for its types beside our program, and crashes on the first
    // remote call.
    rtl::Bootstrap::set("URE_BOOTSTRAP", ToOUString("vnd.sun.star.pathname:" +
                                                    (programDir / "fundamentalrc").string()));
    try {
      return new Reference<css::uno::XComponentContext>(
          cppu::defaultBootstrap_InitialComponentContext());
    } catch (const cppu::BootstrapException& exception) {
      throw WordError("Cannot start the UNO runtime: " + ToUtf8(exception.getMessage()));
    } catch (const css::uno::Exception& exception) {
      throw CaughtError(exception);
    }
  }();
  return *context;
}

}  // namespace penlark::uno

// The headers generated for the office's types allocate one type object per type that is never
// freed, on purpose.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:cppu_detail_getUnoType\n";
}
