#pragma once

#include "word/writer/OfficeProcess.h"
#include "word/writer/Uno.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <filesystem>
#include <optional>
#include <string>

namespace penlark::testing {

// A user's office, penlark.oxt added by unopkg to a fresh profile in `folder`, on a UNO pipe of the
// caller's; headless unless `visible`, ended with the object. Throws when it cannot be set up.
class OfficeWithExtension {
 public:
  OfficeWithExtension(const std::filesystem::path& folder, const std::filesystem::path& extension,
                      bool visible = false);
  ~OfficeWithExtension();
  OfficeWithExtension(const OfficeWithExtension&) = delete;
  OfficeWithExtension& operator=(const OfficeWithExtension&) = delete;

  const std::filesystem::path& Profile() const { return profile_; }
  const uno::Reference<uno::css::uno::XComponentContext>& Context() const { return context_; }
  OfficeProcess& Process() { return *office_; }

  // A menu or toolbar item of the Tarnwell menu, chosen in the window of `model`.
  void Choose(const uno::Reference<uno::css::frame::XModel>& model, const std::string& operation);
  // The open document whose file is `path`; empty when none is.
  uno::Reference<uno::css::frame::XModel> Document(const std::filesystem::path& path);
  uno::Reference<uno::css::frame::XModel> Load(const std::filesystem::path& path);
  static void Close(const uno::Reference<uno::css::frame::XModel>& model);

 private:
  void AddExtension(const std::filesystem::path& extension);
  void Connect(const std::string& pipe);

  std::filesystem::path folder_;
  std::filesystem::path profile_;
  std::string profileArgument_;
  std::optional<OfficeProcess> office_;
  uno::Reference<uno::css::uno::XComponentContext> context_;
  uno::Reference<uno::css::frame::XDesktop2> desktop_;
};

}  // namespace penlark::testing
