#include "word/writer/WriterSession.h"

#include <algorithm>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>

namespace penlark {
namespace {

namespace css = uno::css;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

std::shared_ptr<WriterDocument> Find(const std::vector<std::shared_ptr<WriterDocument>>& documents,
                                     const uno::Reference<css::frame::XModel>& model) {
  if (!model.is()) {
    return nullptr;
  }
  const auto found = std::find_if(documents.begin(), documents.end(),
                                  [&](const auto& document) { return document->Model() == model; });
  return found == documents.end() ? nullptr : *found;
}

}  // namespace

WriterSession::WriterSession(WriterOptions options)
    : options_(std::move(options)), office_(std::make_unique<Office>(options_)) {}

WriterSession::~WriterSession() {
  ForgetAll();
}

std::vector<std::shared_ptr<WriterDocument>> WriterSession::Documents() {
  std::vector<std::shared_ptr<WriterDocument>> documents;
  uno::Guarded([&] {
    const auto components = office_->Desktop()->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
      const uno::Reference<css::text::XTextDocument> text(components->nextElement(), UNO_QUERY);
      const uno::Reference<css::frame::XModel> model(text, UNO_QUERY);
      // A document with two windows is listed once for each.
      if (model.is() && Find(documents, model) == nullptr) {
        documents.push_back(Wrap(model));
      }
    }
  });
  // What is no longer on the desktop has been closed in the office.
  std::erase_if(handedOut_, [&](const auto& document) {
    if (Find(documents, document->Model()) != nullptr) {
      return false;
    }
    document->MarkClosed();
    return true;
  });
  return documents;
}

std::shared_ptr<WriterDocument> WriterSession::FindByFile(const std::filesystem::path& path) {
  const auto documents = Documents();
  const auto found = std::find_if(documents.begin(), documents.end(),
                                  [&](const auto& document) { return document->File() == path; });
  return found == documents.end() ? nullptr : *found;
}

std::shared_ptr<WriterDocument> WriterSession::FindByRuntimeId(const std::string& id) {
  const auto documents = Documents();
  const auto found = std::find_if(documents.begin(), documents.end(), [&](const auto& document) {
    return uno::Guarded([&] {
      rtl::OUString runtimeId;
      uno::Reference<css::beans::XPropertySet>(document->Model(), UNO_QUERY_THROW)
          ->getPropertyValue("RuntimeUID") >>= runtimeId;
      return uno::ToUtf8(runtimeId) == id;
    });
  });
  return found == documents.end() ? nullptr : *found;
}

std::shared_ptr<WriterDocument> WriterSession::Open(const std::string& fileName) {
  const auto path = std::filesystem::absolute(fileName).lexically_normal();
  if (auto open = FindByFile(path)) {
    open->Activate();
    return open;
  }
  const auto model = uno::Guarded([&] {
    const auto arguments = uno::Properties({uno::Property("ReadOnly", css::uno::Any(false))});
    const auto component =
        office_->Desktop()->loadComponentFromURL(uno::FileUrl(path), "_blank", 0, arguments);
    if (!uno::Reference<css::text::XTextDocument>(component, UNO_QUERY).is()) {
      const uno::Reference<css::util::XCloseable> other(component, UNO_QUERY);
      if (other.is()) {
        other->close(true);
      }
      throw WordError("Cannot open " + fileName + ": it is not a text document.");
    }
    return uno::Reference<css::frame::XModel>(component, UNO_QUERY_THROW);
  });
  SetActive(model);
  return Wrap(model);
}

std::shared_ptr<WriterDocument> WriterSession::Active() {
  const auto documents = Documents();
  if (documents.empty()) {
    throw WordError(kNoDocumentMessage);
  }
  const auto front = FrontModel();
  if (front.is() && front != frontSeen_) {
    frontSeen_ = front;
    if (auto found = Find(documents, front)) {
      active_ = front;
      return found;
    }
  }
  if (auto found = Find(documents, active_)) {
    return found;
  }
  if (auto found = Find(documents, front)) {
    return found;
  }
  return documents.front();
}

void WriterSession::SetActive(const uno::Reference<css::frame::XModel>& model) {
  active_ = model;
  frontSeen_ = FrontModel();
}

void WriterSession::ActivateNewest() {
  if (const auto documents = Documents(); !documents.empty()) {
    documents.front()->Activate();
  }
}

void WriterSession::Forget(WriterDocument& document) {
  if (active_ == document.Model()) {
    active_.clear();
  }
  document.MarkClosed();
  std::erase_if(handedOut_, [&](const auto& held) { return held.get() == &document; });
}

void WriterSession::ShowAllWindows() {
  uno::Guarded([&] {
    const auto frames = office_->Desktop()->getFrames();
    for (sal_Int32 index = 0; index < frames->getCount(); ++index) {
      const uno::Reference<css::frame::XFrame> frame(frames->getByIndex(index), UNO_QUERY);
      if (frame.is() && frame->getContainerWindow().is()) {
        frame->getContainerWindow()->setVisible(true);
      }
    }
  });
}

void WriterSession::RestartIfGone() {
  if (office_->Answers()) {
    return;
  }
  if (!options_.runningProfile.empty()) {
    throw WordError("The office Penlark was attached to has ended.");
  }
  auto fresh = std::make_unique<Office>(options_);
  ForgetAll();
  office_ = std::move(fresh);
}

std::shared_ptr<WriterDocument> WriterSession::Wrap(
    const uno::Reference<css::frame::XModel>& model) {
  if (auto known = Find(handedOut_, model)) {
    return known;
  }
  return handedOut_.emplace_back(std::make_shared<WriterDocument>(weak_from_this(), model));
}

uno::Reference<css::frame::XModel> WriterSession::FrontModel() {
  return uno::Guarded([&]() -> uno::Reference<css::frame::XModel> {
    const auto frame = office_->Desktop()->getActiveFrame();
    const auto controller = frame.is() ? frame->getController() : nullptr;
    return controller.is() ? controller->getModel() : nullptr;
  });
}

void WriterSession::ForgetAll() {
  for (const auto& document : handedOut_) {
    document->MarkClosed();
  }
  handedOut_.clear();
  active_.clear();
  frontSeen_.clear();
}

}  // namespace penlark
