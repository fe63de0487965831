#include "platform/windows/WideText.h"
#include "support/ChildProcess.h"

#include <algorithm>
#include <stdexcept>
#include <windows.h>

namespace penlark::testing::process {
namespace {

// `argument` quoted so that the child's C runtime, splitting its command line, reads it back.
std::wstring Quoted(std::string_view argument) {
  const std::wstring wide = ToWide(argument);
  if (!wide.empty() && wide.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return wide;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : wide) {
    if (c == L'"') {
      quoted.append(backslashes + 1, L'\\');  // the backslashes before a quote, and the quote
    }
    backslashes = c == L'\\' ? backslashes + 1 : 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes, L'\\');  // those before the closing quote
  return quoted + L'"';
}

// The block of this process's variables with `changes` made; names compare without case.
std::wstring EnvironmentBlock(const EnvironmentChanges& changes) {
  std::wstring block;
  wchar_t* const strings = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += ::wcslen(entry) + 1) {
    const std::wstring_view variable(entry);
    // The names of the per-drive folders begin with "=".
    const std::wstring name(variable.substr(0, variable.find(L'=', 1)));
    if (std::none_of(changes.begin(), changes.end(), [&](const auto& change) {
          return ::_wcsicmp(ToWide(change.first).c_str(), name.c_str()) == 0;
        })) {
      block.append(variable).push_back(L'\0');
    }
  }
  ::FreeEnvironmentStringsW(strings);
  for (const auto& [name, value] : changes) {
    if (value) {
      block.append(ToWide(name + "=" + *value)).push_back(L'\0');
    }
  }
  block.push_back(L'\0');
  return block;
}

HANDLE Handle(std::intptr_t process) {
  return reinterpret_cast<HANDLE>(process);
}

}  // namespace

const std::filesystem::path kNullDevice = "NUL";

// A program to be signalled gets a windowless console of its own; names are found as commands are.
std::intptr_t Start(const std::string& program, const std::vector<std::string>& args,
                    const EnvironmentChanges& environment, const std::filesystem::path& folder,
                    const StandardFiles& files, bool signalled) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  std::array<HANDLE, 3> handles{};
  for (std::size_t i = 0; i < handles.size(); ++i) {
    handles[i] = ::CreateFileW(
        files[i].c_str(), i == 0 ? GENERIC_READ : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        &inheritable, i == 0 ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = handles[0];
  startup.hStdOutput = handles[1];
  startup.hStdError = handles[2];
  std::wstring commandLine = Quoted(program);
  for (const std::string& arg : args) {
    commandLine += L' ' + Quoted(arg);
  }
  std::wstring environmentBlock = EnvironmentBlock(environment);
  PROCESS_INFORMATION started{};
  BOOL created = FALSE;
  DWORD error = ERROR_INTERNAL_ERROR;
  // Wine, on a busy machine, now and then fails to create a process with an internal error.
  for (int attempt = 0; attempt < 3 && !created && error == ERROR_INTERNAL_ERROR; ++attempt) {
    created = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                               CREATE_UNICODE_ENVIRONMENT | (signalled ? CREATE_NO_WINDOW : 0),
                               environmentBlock.data(), folder.empty() ? nullptr : folder.c_str(),
                               &startup, &started);
    error = ::GetLastError();
  }
  for (HANDLE handle : handles) {
    ::CloseHandle(handle);
  }
  if (created == FALSE) {
    throw std::runtime_error("cannot start " + program + ": error " + std::to_string(error));
  }
  ::CloseHandle(started.hThread);
  return reinterpret_cast<std::intptr_t>(started.hProcess);
}

std::optional<int> Wait(std::intptr_t process, std::chrono::milliseconds timeout) {
  if (::WaitForSingleObject(Handle(process), static_cast<DWORD>(timeout.count())) !=
      WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(Handle(process), &code);
  ::CloseHandle(Handle(process));
  return static_cast<int>(code);
}

void Kill(std::intptr_t process) {
  ::TerminateProcess(Handle(process), 1);
  ::WaitForSingleObject(Handle(process), INFINITE);
  ::CloseHandle(Handle(process));
}

// Ctrl+C reaches every process of a console: this one joins it for the moment, with a handler of
// its own that takes Ctrl+C as handled (ignoring it would be inherited by later programs).
void Signal(std::intptr_t process, int /*signal*/) {
  static const BOOL handled = ::SetConsoleCtrlHandler([](DWORD) -> BOOL { return TRUE; }, TRUE);
  (void)handled;
  ::FreeConsole();
  if (::AttachConsole(::GetProcessId(Handle(process))) != FALSE) {
    ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    ::FreeConsole();
  }
  ::AttachConsole(ATTACH_PARENT_PROCESS);  // the console of the test's own again, if any
}

std::string FromText(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
    text.erase(at, 1);
  }
  return text;
}

}  // namespace penlark::testing::process
