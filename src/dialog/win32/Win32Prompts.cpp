#include "dialog/win32/Win32Prompts.h"

#include "dialog/win32/InputBoxWindow.h"
#include "dialog/win32/Module.h"
#include "platform/windows/WideText.h"

#include <windows.h>

namespace penlark::win32 {

Win32Prompts::Win32Prompts(std::function<void()> beforePrompt)
    : beforePrompt_(std::move(beforePrompt)) {}

MessageAnswer Win32Prompts::ShowMessage(const Message& message) {
  if (beforePrompt_) {
    beforePrompt_();
  }
  const bool yesNo = message.buttons == MessageButtons::YesNo;
  const UINT style = (yesNo ? MB_YESNO : MB_OK) |
                     (message.icon == MessageIcon::Exclamation ? MB_ICONEXCLAMATION : 0) |
                     MB_DEFBUTTON1;
  const CommonControlsScope commonControls;
  const int answer = ::MessageBoxW(::GetActiveWindow(), ToWide(message.text).c_str(),
                                   ToWide(message.title).c_str(), style);
  if (!yesNo) {
    return MessageAnswer::Ok;
  }
  return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string Win32Prompts::InputBox(const InputRequest& request) {
  if (beforePrompt_) {
    beforePrompt_();
  }
  return AskText(::GetActiveWindow(), request).value_or("");
}

}  // namespace penlark::win32
