// The office extension's UNO component: the service org.penlark.Tarnwell, which office macros
// create and the Tarnwell menu and toolbar trigger. It hands each operation to the Penlark of
// this office ("penlark OPERATION --profile PROFILE", which passes it on to the resident Penlark
// attached to the office) and returns at once: the office's main thread must never wait for a
// process that calls back into the office.

#include "org/penlark/XTarnwell.hpp"

#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/task/XJobExecutor.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/implbase3.hxx>
#include <cppuhelper/implementationentry.hxx>
#include <cppuhelper/supportsservice.hxx>
#include <cstdlib>
#include <fcntl.h>
#include <osl/file.hxx>
#include <rtl/bootstrap.hxx>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <uno/lbnames.h>

namespace {

namespace css = com::sun::star;

constexpr char kImplementationName[] = "org.penlark.comp.Tarnwell";
constexpr char kServiceName[] = "org.penlark.Tarnwell";

std::string ToUtf8(const rtl::OUString& text) {
  const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
  return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

// The penlark program: $PENLARK_PROGRAM, else the one on the office's PATH.
std::string PenlarkProgram() {
  const char* program = std::getenv("PENLARK_PROGRAM");
  return program != nullptr && *program != '\0' ? program : "penlark";
}

// The folder of this office's user profile.
std::string ProfileFolder() {
  rtl::OUString url;
  rtl::OUString path;
  rtl::Bootstrap::get("UserInstallation", url);
  rtl::Bootstrap::expandMacros(url);
  if (osl::FileBase::getSystemPathFromFileURL(url, path) != osl::FileBase::E_None) {
    return {};
  }
  return ToUtf8(path);
}

// Starts "penlark COMMAND --profile PROFILE" and does not wait for it: it runs in a session of its
// own, as a grandchild that the system reaps, so the office keeps no child of ours.
void HandToPenlark(const char* command) {
  const std::string program = PenlarkProgram();
  const std::string profile = ProfileFolder();
  const char* argv[] = {program.c_str(), command, "--profile", profile.c_str(), nullptr};
  const pid_t child = fork();
  if (child == 0) {
    // Only async-signal-safe calls here: the office has other threads.
    if (fork() == 0) {
      setsid();
      const int null = open("/dev/null", O_RDWR);
      dup2(null, STDIN_FILENO);
      execvp(argv[0], const_cast<char* const*>(argv));
    }
    _exit(0);
  }
  if (child > 0) {
    int status = 0;
    waitpid(child, &status, 0);
  }
}

css::uno::Sequence<rtl::OUString> SAL_CALL ServiceNames() {
  const rtl::OUString name(kServiceName);
  return css::uno::Sequence<rtl::OUString>(&name, 1);
}

// The operations by the names the menu triggers them with, and the command of each.
struct Operation {
  const char* name;
  const char* command;
};
constexpr Operation kOperations[] = {
    {"XMLOpen", "open"}, {"XMLClose", "close"},   {"WordClose", "wordclose"},
    {"XMLSave", "save"}, {"XMLSaveAs", "saveas"}, {"XMLHelp", "help"},
};

class Tarnwell : public cppu::WeakImplHelper3<org::penlark::XTarnwell, css::task::XJobExecutor,
                                              css::lang::XServiceInfo> {
 public:
  // The results are fixed per operation and carry no status.
  sal_Int16 SAL_CALL getDOCTYPE() override { return docType_; }
  void SAL_CALL setDOCTYPE(sal_Int16 value) override { docType_ = value; }
  sal_Bool SAL_CALL XMLNew() override { return true; }
  sal_Bool SAL_CALL XMLOpen() override { return Hand("open"); }
  sal_Bool SAL_CALL XMLClose() override { return Hand("close"); }
  sal_Bool SAL_CALL WordClose() override { return Hand("wordclose"); }
  sal_Bool SAL_CALL XMLSave() override { return Hand("save"); }
  sal_Bool SAL_CALL XMLSaveAs() override { return Hand("saveas"); }
  sal_Bool SAL_CALL XMLHelp() override { return Hand("help"); }

  // The menu's and toolbar's items: "service:org.penlark.Tarnwell?XMLOpen".
  void SAL_CALL trigger(const rtl::OUString& event) override {
    for (const Operation& operation : kOperations) {
      if (event.equalsAscii(operation.name)) {
        Hand(operation.command);
      }
    }
  }

  rtl::OUString SAL_CALL getImplementationName() override { return kImplementationName; }
  sal_Bool SAL_CALL supportsService(const rtl::OUString& name) override {
    return cppu::supportsService(this, name);
  }
  css::uno::Sequence<rtl::OUString> SAL_CALL getSupportedServiceNames() override {
    return ServiceNames();
  }

 private:
  static bool Hand(const char* command) {
    HandToPenlark(command);
    return false;
  }

  sal_Int16 docType_ = 0;
};

css::uno::Reference<css::uno::XInterface> SAL_CALL
Create(const css::uno::Reference<css::uno::XComponentContext>&) {
  return static_cast<cppu::OWeakObject*>(new Tarnwell);
}

rtl::OUString SAL_CALL ImplementationName() {
  return kImplementationName;
}

const cppu::ImplementationEntry kEntries[] = {
    {Create, ImplementationName, ServiceNames, cppu::createSingleComponentFactory, nullptr, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0}};

}  // namespace

// The office loads the component into its own C++ environment.
extern "C" SAL_DLLPUBLIC_EXPORT void component_getImplementationEnvironment(
    const char** environmentTypeName, uno_Environment**) {
  *environmentTypeName = CPPU_CURRENT_LANGUAGE_BINDING_NAME;
}

extern "C" SAL_DLLPUBLIC_EXPORT void* component_getFactory(const char* implementationName,
                                                           void* serviceManager,
                                                           void* registryKey) {
  return cppu::component_getFactoryHelper(implementationName, serviceManager, registryKey,
                                          kEntries);
}
