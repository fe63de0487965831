#include "automation/com/ComError.h"

#include "automation/com/Registration.h"
#include "platform/windows/WideText.h"

#include <oleauto.h>
#include <string>
#include <wrl/client.h>

namespace penlark::com {

HRESULT ReportError(std::string_view message) {
  Microsoft::WRL::ComPtr<ICreateErrorInfo> error;
  if (SUCCEEDED(::CreateErrorInfo(&error))) {
    std::wstring description = ToWide(message);
    std::wstring source(kProgId);
    error->SetDescription(description.data());
    error->SetSource(source.data());
    Microsoft::WRL::ComPtr<IErrorInfo> info;
    if (SUCCEEDED(error.As(&info))) {
      ::SetErrorInfo(0, info.Get());
    }
  }
  return E_FAIL;
}

}  // namespace penlark::com
