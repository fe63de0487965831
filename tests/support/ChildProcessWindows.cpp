#include "platform/windows/WideText.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <array>
#include <stdexcept>
#include <thread>
#include <windows.h>

namespace penlark::testing {
namespace {

// A program that does not end fails its test in minutes, not at the test driver's limit.
constexpr DWORD kLongestRunMilliseconds = 3 * 60 * 1000;

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

std::wstring CommandLine(const std::string& program, const std::vector<std::string>& args) {
  std::wstring line = Quoted(program);
  for (const std::string& arg : args) {
    line += L' ' + Quoted(arg);
  }
  return line;
}

// The block of this process's variables with `changes` made; names compare without case.
std::wstring EnvironmentBlock(const EnvironmentChanges& changes) {
  std::wstring block;
  wchar_t* const strings = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += ::wcslen(entry) + 1) {
    const std::wstring_view variable(entry);
    // The names of the per-drive folders begin with "=".
    const std::wstring name(variable.substr(0, variable.find(L'=', 1)));
    bool changed = false;
    for (const auto& change : changes) {
      changed = changed || ::_wcsicmp(ToWide(change.first).c_str(), name.c_str()) == 0;
    }
    if (!changed) {
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

struct StandardHandles {
  HANDLE input;
  HANDLE output;
  HANDLE error;
};

// Starts `program` on `handles`, which must be inheritable, with the creation `flags` beside
// the environment's. The process handle, or nullptr (GetLastError() tells why).
HANDLE Start(const std::string& program, const std::vector<std::string>& args,
             const EnvironmentChanges& environment, const StandardHandles& handles, DWORD flags,
             const std::filesystem::path& folder = {}) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = handles.input;
  startup.hStdOutput = handles.output;
  startup.hStdError = handles.error;
  std::wstring commandLine = CommandLine(program, args);
  std::wstring environmentBlock = EnvironmentBlock(environment);
  PROCESS_INFORMATION started{};
  if (::CreateProcessW(ToWide(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT | flags, environmentBlock.data(),
                       folder.empty() ? nullptr : folder.c_str(), &startup, &started) == FALSE) {
    return nullptr;
  }
  ::CloseHandle(started.hThread);
  return started.hProcess;
}

// Waits for the end of `process` and closes it: its exit code, or -1 when it had to be killed.
int ExitCode(HANDLE process) {
  DWORD code = static_cast<DWORD>(-1);
  if (::WaitForSingleObject(process, kLongestRunMilliseconds) == WAIT_TIMEOUT) {
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, INFINITE);
  } else {
    ::GetExitCodeProcess(process, &code);
  }
  ::CloseHandle(process);
  return static_cast<int>(code);
}

void Close(void*& handle) {
  if (handle != nullptr) {
    ::CloseHandle(handle);
    handle = nullptr;
  }
}

// A pipe whose end `childEnd` (0 reading, 1 writing) is inherited and the other not.
std::array<HANDLE, 2> Pipe(std::size_t childEnd) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  std::array<HANDLE, 2> ends{};
  if (::CreatePipe(&ends[0], &ends[1], &inheritable, 0) == FALSE) {
    throw std::runtime_error("cannot create a pipe");
  }
  ::SetHandleInformation(ends[1 - childEnd], HANDLE_FLAG_INHERIT, 0);
  return ends;
}

// Reads what is available, waiting for some; false at the end of the stream.
bool ReadSome(HANDLE pipe, std::string& out) {
  std::array<char, 65536> buffer{};
  DWORD count = 0;
  if (::ReadFile(pipe, buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr) ==
          FALSE ||
      count == 0) {
    return false;
  }
  out.append(buffer.data(), count);
  return true;
}

std::runtime_error CannotStart(const std::string& program, DWORD error) {
  return std::runtime_error("cannot start " + program + ": error " + std::to_string(error));
}

// Text as a Windows program writes it, with its line breaks "\r\n" as "\n".
std::string FromText(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
    text.erase(at, 1);
  }
  return text;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const EnvironmentChanges& environment) {
  const auto in = Pipe(0);
  const auto out = Pipe(1);
  const auto err = Pipe(1);
  input_ = in[1];
  output_ = out[0];
  error_ = err[0];
  // A console of its own, without a window, for Signal to reach it alone.
  process_ = Start(program, args, environment, {in[0], out[1], err[1]}, CREATE_NO_WINDOW);
  const DWORD error = ::GetLastError();
  for (HANDLE childEnd : {in[0], out[1], err[1]}) {
    ::CloseHandle(childEnd);
  }
  if (process_ == nullptr) {
    throw CannotStart(program, error);
  }
}

ChildProcess::~ChildProcess() {
  if (process_ != nullptr) {
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, INFINITE);
    Close(process_);
  }
  Close(input_);
  Close(output_);
  Close(error_);
}

bool ChildProcess::ReadOutput(std::chrono::steady_clock::time_point deadline) {
  // Anonymous pipes cannot be waited on: look for output every 10 ms.
  DWORD available = 0;
  while (::PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr) != FALSE) {
    if (available > 0) {
      return ReadSome(output_, pendingOutput_);
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    ::Sleep(10);
  }
  return false;  // the program closed its output
}

// A Ctrl+C goes to every process of a console: this one joins the program's console for the
// moment. It takes Ctrl+C as handled from then on, as the event reaches it too once this has
// returned; with a handler of its own, as ignoring Ctrl+C would be inherited by later programs.
void ChildProcess::Signal(int /*signal*/) const {
  static const BOOL handled = ::SetConsoleCtrlHandler([](DWORD) -> BOOL { return TRUE; }, TRUE);
  (void)handled;
  ::FreeConsole();
  if (::AttachConsole(::GetProcessId(process_)) != FALSE) {
    ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    ::FreeConsole();
  }
  ::AttachConsole(ATTACH_PARENT_PROCESS);  // the console of the test's own again, if any
}

ProgramResult ChildProcess::Finish(std::string_view input) {
  DWORD written = 0;
  while (!input.empty() && ::WriteFile(input_, input.data(), static_cast<DWORD>(input.size()),
                                       &written, nullptr) != FALSE) {
    input.remove_prefix(written);
  }
  Close(input_);

  ProgramResult result;
  result.out = std::move(pendingOutput_);
  {
    const auto readAll = [](HANDLE pipe, std::string& out) {
      while (ReadSome(pipe, out)) {
      }
    };
    const std::jthread outputReader(readAll, output_, std::ref(result.out));
    const std::jthread errorReader(readAll, error_, std::ref(result.err));
    result.exitCode = ExitCode(process_);  // the readers end with the program's end
    process_ = nullptr;
  }
  result.out = FromText(std::move(result.out));
  result.err = FromText(std::move(result.err));
  return result;
}

int RunInFolder(const std::filesystem::path& folder, std::string_view program,
                std::string_view arguments) {
  std::vector<std::string> words;
  const std::array<std::filesystem::path, 3> defaults{"NUL", folder / "stdout", folder / "stderr"};
  std::array<std::filesystem::path, 3> files = defaults;
  for (std::size_t start = 0, end = 0; start < arguments.size(); start = end + 1) {
    end = std::min(arguments.find(' ', start), arguments.size());
    const std::string_view word = arguments.substr(start, end - start);
    if (word.starts_with('<') || word.starts_with('>')) {
      files[word.starts_with('<') ? 0 : 1] = folder / word.substr(1);
    } else if (!word.empty()) {
      words.emplace_back(word);
    }
  }
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  std::array<HANDLE, 3> handles{};
  for (std::size_t i = 0; i < handles.size(); ++i) {
    handles[i] = ::CreateFileW(
        files[i].c_str(), i == 0 ? GENERIC_READ : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        &inheritable, i == 0 ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  const std::string path(program);
  HANDLE process = Start(path, words, {}, {handles[0], handles[1], handles[2]}, 0, folder);
  const DWORD error = ::GetLastError();
  for (HANDLE handle : handles) {
    ::CloseHandle(handle);
  }
  if (process == nullptr) {
    throw CannotStart(path, error);
  }
  const int exitCode = ExitCode(process);
  for (std::size_t i = 1; i < files.size(); ++i) {
    if (files[i] == defaults[i]) {
      WriteFile(files[i], FromText(ReadFile(files[i]).value_or("")));
    }
  }
  return exitCode;
}

}  // namespace penlark::testing
