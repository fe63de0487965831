#include "word/com/ComWord.h"

#include "platform/windows/WideText.h"

#include <algorithm>
#include <objbase.h>

namespace penlark {
namespace {

ComObject CreateApplication(const std::string& progId) {
  CLSID classId{};
  if (FAILED(::CLSIDFromProgID(ToWide(progId).c_str(), &classId))) {
    throw WordError("Word is not installed: no application is registered as \"" + progId + "\".");
  }
  IDispatch* application = nullptr;
  const HRESULT result = ::CoCreateInstance(classId, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                            reinterpret_cast<void**>(&application));
  if (FAILED(result)) {
    RaiseComError(result);
  }
  return ComObject(application);
}

}  // namespace

class ComWord::Document final : public WordDocument {
 public:
  explicit Document(ComObject object) : object_(std::move(object)) {}

  const void* Identity() const { return object_.Identity(); }

  std::string Name() override { return GetProperty(object_, L"Name").ToText(); }
  std::string Path() override { return GetProperty(object_, L"Path").ToText(); }
  void SaveAs(const std::string& fileName, int fileFormat) override {
    CallMethod(object_, L"SaveAs", {Variant(fileName), Variant(fileFormat)});
  }
  void Close() override { CallMethod(object_, L"Close"); }
  void Activate() override { CallMethod(object_, L"Activate"); }
  void ShowApplication() override {
    PutProperty(GetProperty(object_, L"Application").ToObject(), L"Visible", Variant(true));
  }

 private:
  ComObject object_;
};

ComWord::ComWord(std::string progId) : progId_(std::move(progId)) {
  const HRESULT entered = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // A thread already in the multithreaded apartment keeps it.
  if (FAILED(entered) && entered != RPC_E_CHANGED_MODE) {
    RaiseComError(entered);
  }
  ownsApartment_ = SUCCEEDED(entered);
}

ComWord::~ComWord() {
  application_ = ComObject();
  if (ownsApartment_) {
    ::CoUninitialize();
  }
}

int ComWord::DocumentsCount() {
  return GetProperty(Documents(), L"Count").ToInt();
}

std::shared_ptr<WordDocument> ComWord::DocumentsItem(int index) {
  return DocumentOf(CallMethod(Documents(), L"Item", {Variant(index)}));
}

std::shared_ptr<WordDocument> ComWord::DocumentsOpen(const std::string& fileName) {
  return DocumentOf(
      CallMethod(Documents(), L"Open", {Variant(fileName), Variant::Missing(), Variant(false)}));
}

std::shared_ptr<WordDocument> ComWord::ActiveDocument() {
  return DocumentOf(GetProperty(Application(), L"ActiveDocument"));
}

void ComWord::NewApplication() {
  application_ = CreateApplication(progId_);
}

std::shared_ptr<WordDocument> ComWord::DocumentOf(const Variant& object) {
  auto document = std::make_shared<Document>(object.ToObject());
  std::erase_if(known_, [](const auto& known) { return known.expired(); });
  for (const auto& known : known_) {
    auto held = known.lock();
    if (held->Identity() == document->Identity()) {
      return held;
    }
  }
  known_.push_back(document);
  return document;
}

ComObject& ComWord::Application() {
  if (application_.Get() == nullptr) {
    application_ = CreateApplication(progId_);
  }
  return application_;
}

ComObject ComWord::Documents() {
  return GetProperty(Application(), L"Documents").ToObject();
}

}  // namespace penlark
