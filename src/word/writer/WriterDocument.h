#pragma once

#include "word/Word.h"
#include "word/writer/Uno.h"

#include <com/sun/star/frame/XModel.hpp>
#include <filesystem>
#include <memory>
#include <optional>

namespace penlark {

class WriterSession;

// One open text document of the office. Once it has been closed (or its office has ended) every
// operation raises WordError.
class WriterDocument final : public WordDocument {
 public:
  WriterDocument(std::weak_ptr<WriterSession> session,
                 uno::Reference<uno::css::frame::XModel> model);

  // The office's document; empty once closed.
  const uno::Reference<uno::css::frame::XModel>& Model() const { return model_; }
  // The document's file; nullopt for one never saved or not stored as a local file.
  std::optional<std::filesystem::path> File();
  void MarkClosed() { model_.clear(); }

  std::string Name() override;
  std::string Path() override;
  void SaveAs(const std::string& fileName, int fileFormat) override;
  void Close() override;
  void Activate() override;
  void ShowApplication() override;

 private:
  std::shared_ptr<WriterSession> OpenSession() const;

  std::weak_ptr<WriterSession> session_;
  uno::Reference<uno::css::frame::XModel> model_;
};

}  // namespace penlark
