#include "word/LocalWord.h"

#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace penlark {

struct LocalWord::State {
  std::vector<std::shared_ptr<Document>> documents;
  std::shared_ptr<Document> active;
  bool visible = false;
  int newApplications = 0;

  std::shared_ptr<Document> FindByFile(const std::string& fileName) const;
  std::shared_ptr<Document> Share(const Document* document) const;
  void Remove(const Document* document);
};

class LocalWord::Document final : public WordDocument {
 public:
  Document(std::weak_ptr<State> state, std::string fileName, std::string rtf)
      : state_(std::move(state)), fileName_(std::move(fileName)), rtf_(std::move(rtf)) {}

  const std::string& FileName() const { return fileName_; }

  std::string Name() override { return Utf8Text(Utf8Path(OpenFile()).filename()); }

  std::string Path() override { return Utf8Text(Utf8Path(OpenFile()).parent_path()); }

  void SaveAs(const std::string& fileName, int fileFormat) override {
    auto state = OpenState();
    if (fileFormat != kWordFormatRtf) {
      throw WordError("This word processor saves documents only as Rich Text Format (format 6).");
    }
    const auto holder = state->FindByFile(fileName);
    if (holder != nullptr && holder.get() != this) {
      throw WordError("Cannot save " + fileName + ": it is open as another document.");
    }
    std::ofstream file(Utf8Path(fileName), std::ios::binary | std::ios::trunc);
    file.write(rtf_.data(), static_cast<std::streamsize>(rtf_.size()));
    file.close();
    if (!file) {
      throw WordError("Cannot save " + fileName + ": " + std::strerror(errno));
    }
    fileName_ = fileName;
  }

  void Close() override {
    OpenState()->Remove(this);
    state_.reset();
  }

  void Activate() override {
    auto state = OpenState();
    state->active = state->Share(this);
  }

  void ShowApplication() override { OpenState()->visible = true; }

 private:
  std::shared_ptr<State> OpenState() const {
    auto state = state_.lock();
    if (state == nullptr) {
      throw WordError("The document has been closed.");
    }
    return state;
  }

  const std::string& OpenFile() const {
    OpenState();
    return fileName_;
  }

  std::weak_ptr<State> state_;
  std::string fileName_;
  std::string rtf_;
};

std::shared_ptr<LocalWord::Document> LocalWord::State::FindByFile(
    const std::string& fileName) const {
  const auto found = std::find_if(documents.begin(), documents.end(), [&](const auto& document) {
    return document->FileName() == fileName;
  });
  return found == documents.end() ? nullptr : *found;
}

std::shared_ptr<LocalWord::Document> LocalWord::State::Share(const Document* document) const {
  const auto found = std::find_if(documents.begin(), documents.end(),
                                  [&](const auto& open) { return open.get() == document; });
  return found == documents.end() ? nullptr : *found;
}

void LocalWord::State::Remove(const Document* document) {
  std::erase_if(documents, [&](const auto& open) { return open.get() == document; });
  if (active.get() == document) {
    active = documents.empty() ? nullptr : documents.back();
  }
}

LocalWord::LocalWord() : state_(std::make_shared<State>()) {}

LocalWord::~LocalWord() = default;

int LocalWord::DocumentsCount() {
  return static_cast<int>(state_->documents.size());
}

std::shared_ptr<WordDocument> LocalWord::DocumentsItem(int index) {
  if (index < 1 || index > DocumentsCount()) {
    throw WordError("The requested member of the collection does not exist.");
  }
  return state_->documents[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<WordDocument> LocalWord::DocumentsOpen(const std::string& fileName) {
  if (auto open = state_->FindByFile(fileName)) {
    state_->active = open;
    return open;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(Utf8Path(fileName), error)) {
    throw WordError("Cannot open " + fileName + ": the file does not exist.");
  }
  std::string rtf;
  try {
    rtf = ReadWholeFile<std::string>(Utf8Path(fileName));
  } catch (const std::filesystem::filesystem_error& failure) {
    throw WordError("Cannot open " + fileName + ": " + failure.code().message());
  }
  return AddDocument(fileName, std::move(rtf));
}

std::shared_ptr<WordDocument> LocalWord::AddDocument(const std::string& fileName, std::string rtf) {
  auto document = std::make_shared<Document>(state_, fileName, std::move(rtf));
  state_->documents.push_back(document);
  state_->active = document;
  return document;
}

std::shared_ptr<WordDocument> LocalWord::ActiveDocument() {
  if (state_->active == nullptr) {
    throw WordError(kNoDocumentMessage);
  }
  return state_->active;
}

void LocalWord::NewApplication() {
  ++state_->newApplications;
}

bool LocalWord::IsVisible() const {
  return state_->visible;
}

int LocalWord::NewApplicationCount() const {
  return state_->newApplications;
}

}  // namespace penlark
