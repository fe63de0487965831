#include "word/writer/WriterDocument.h"

#include "word/writer/WriterSession.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/util/XCloseable.hpp>

namespace penlark {
namespace {

namespace css = uno::css;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

}  // namespace

WriterDocument::WriterDocument(std::weak_ptr<WriterSession> session,
                               uno::Reference<css::frame::XModel> model)
    : session_(std::move(session)), model_(std::move(model)) {}

std::optional<std::filesystem::path> WriterDocument::File() {
  OpenSession();
  return uno::SystemPath(uno::Guarded([&] { return model_->getURL(); }));
}

std::string WriterDocument::Name() {
  if (const auto file = File()) {
    return file->filename().string();
  }
  return uno::Guarded([&] {
    return uno::ToUtf8(uno::Reference<css::frame::XTitle>(model_, UNO_QUERY_THROW)->getTitle());
  });
}

std::string WriterDocument::Path() {
  const auto file = File();
  return file ? file->parent_path().string() : std::string();
}

void WriterDocument::SaveAs(const std::string& fileName, int fileFormat) {
  const auto session = OpenSession();
  if (fileFormat != kWordFormatRtf) {
    throw WordError("Documents are saved here only as Rich Text Format (format 6).");
  }
  const auto path = std::filesystem::absolute(fileName).lexically_normal();
  const auto holder = session->FindByFile(path);
  if (holder != nullptr && holder.get() != this) {
    throw WordError("Cannot save " + fileName + ": it is open as another document.");
  }
  uno::Guarded([&] {
    const auto arguments = uno::Properties(
        {uno::Property("FilterName", css::uno::Any(rtl::OUString("Rich Text Format"))),
         uno::Property("Overwrite", css::uno::Any(true))});
    uno::Reference<css::frame::XStorable>(model_, UNO_QUERY_THROW)
        ->storeAsURL(uno::FileUrl(path), arguments);
  });
}

void WriterDocument::Close() {
  const auto session = OpenSession();
  const bool wasActive = session->Active().get() == this;
  uno::Guarded([&] {
    // Suspending the view is where the office asks about unsaved changes; the user may refuse.
    const auto controller = model_->getCurrentController();
    if (controller.is() && !controller->suspend(true)) {
      throw WordError("The document was not closed.");
    }
    uno::Reference<css::util::XCloseable>(model_, UNO_QUERY_THROW)->close(true);
  });
  session->Forget(*this);
  if (wasActive) {
    session->ActivateNewest();
  }
}

void WriterDocument::Activate() {
  const auto session = OpenSession();
  uno::Guarded([&] {
    const auto controller = model_->getCurrentController();
    if (!controller.is()) {
      return;
    }
    const auto frame = controller->getFrame();
    frame->activate();
    const uno::Reference<css::awt::XTopWindow> window(frame->getContainerWindow(), UNO_QUERY);
    if (window.is()) {
      window->toFront();
    }
  });
  session->SetActive(model_);
}

void WriterDocument::ShowApplication() {
  OpenSession()->ShowAllWindows();
}

std::shared_ptr<WriterSession> WriterDocument::OpenSession() const {
  auto session = session_.lock();
  if (session == nullptr || !model_.is()) {
    throw WordError("The document has been closed.");
  }
  return session;
}

}  // namespace penlark
