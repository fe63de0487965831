// The office extension's UNO component: the service org.penlark.Tarnwell, which office macros
// create, and the dispatch of the Tarnwell menu and toolbar (org.penlark.tarnwell:OPERATION). It
// hands each operation to the Penlark of this office ("penlark OPERATION --profile PROFILE", which
// passes it on to the resident Penlark attached to the office) and returns at once: the office's
// main thread must never wait for a process that calls back into the office. The menu's dispatch
// also names the document and the window the item was chosen in.

#include "org/penlark/XTarnwell.hpp"

#include <com/sun/star/awt/SystemDependentXWindow.hpp>
#include <com/sun/star/awt/XSystemDependentWindowPeer.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatch.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/SystemDependent.hpp>
#include <com/sun/star/lang/XInitialization.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/implbase2.hxx>
#include <cppuhelper/implbase4.hxx>
#include <cppuhelper/implementationentry.hxx>
#include <cppuhelper/supportsservice.hxx>
#include <cstdlib>
#include <fcntl.h>
#include <osl/file.hxx>
#include <rtl/bootstrap.hxx>
#include <rtl/process.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <uno/lbnames.h>
#include <vector>

namespace {

namespace css = com::sun::star;

constexpr char kImplementationName[] = "org.penlark.comp.Tarnwell";
constexpr char kServiceName[] = "org.penlark.Tarnwell";
constexpr char kDispatchImplementationName[] = "org.penlark.comp.TarnwellDispatch";
constexpr char kDispatchServiceName[] = "com.sun.star.frame.ProtocolHandler";
constexpr char kProtocol[] = "org.penlark.tarnwell:";

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

// Where a menu command was chosen: the document's RuntimeUID and the window of its frame (see
// WindowOf); each empty when unknown.
struct Origin {
  std::string document;
  std::string window;
};

// Starts "penlark COMMAND --profile PROFILE" (with the origin's options) and does not wait for it:
// it runs in a session of its own, as a grandchild that the system reaps, so the office keeps no
// child of ours.
void HandToPenlark(const char* command, const Origin& origin = {}) {
  const std::string program = PenlarkProgram();
  const std::string profile = ProfileFolder();
  std::vector<const char*> argv = {program.c_str(), command, "--profile", profile.c_str()};
  if (!origin.document.empty()) {
    argv.insert(argv.end(), {"--from-document", origin.document.c_str()});
  }
  if (!origin.window.empty()) {
    argv.insert(argv.end(), {"--window", origin.window.c_str()});
  }
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    // Only async-signal-safe calls here: the office has other threads.
    if (fork() == 0) {
      setsid();
      const int null = open("/dev/null", O_RDWR);
      dup2(null, STDIN_FILENO);
      execvp(argv[0], const_cast<char* const*>(argv.data()));
    }
    _exit(0);
  }
  if (child > 0) {
    int status = 0;
    waitpid(child, &status, 0);
  }
}

std::string DocumentId(const css::uno::Reference<css::frame::XFrame>& frame) {
  const css::uno::Reference<css::frame::XController> controller = frame->getController();
  const css::uno::Reference<css::beans::XPropertySet> document(
      controller.is() ? controller->getModel() : nullptr, css::uno::UNO_QUERY);
  rtl::OUString id;
  if (document.is() && document->getPropertySetInfo()->hasPropertyByName("RuntimeUID")) {
    document->getPropertyValue("RuntimeUID") >>= id;
  }
  return ToUtf8(id);
}

// The X11 window of the frame and its area on the screen, "ID,X,Y,WIDTH,HEIGHT"; empty without
// one (a headless office).
std::string WindowOf(const css::uno::Reference<css::frame::XFrame>& frame) {
  const css::uno::Reference<css::awt::XWindow> container = frame->getContainerWindow();
  const css::uno::Reference<css::awt::XSystemDependentWindowPeer> peer(container,
                                                                       css::uno::UNO_QUERY);
  css::awt::SystemDependentXWindow window{};
  if (peer.is()) {
    css::uno::Sequence<sal_Int8> processId(16);
    rtl_getGlobalProcessId(reinterpret_cast<sal_uInt8*>(processId.getArray()));
    peer->getWindowHandle(processId, css::lang::SystemDependent::SYSTEM_XWINDOW) >>= window;
  }
  if (window.WindowHandle == 0) {
    return {};
  }
  const css::awt::Rectangle area = container->getPosSize();
  return std::to_string(window.WindowHandle) + "," + std::to_string(area.X) + "," +
         std::to_string(area.Y) + "," + std::to_string(area.Width) + "," +
         std::to_string(area.Height);
}

Origin OriginOf(const css::uno::Reference<css::frame::XFrame>& frame) {
  if (!frame.is()) {
    return {};
  }
  return {DocumentId(frame), WindowOf(frame)};
}

css::uno::Sequence<rtl::OUString> SAL_CALL ServiceNames() {
  const rtl::OUString name(kServiceName);
  return css::uno::Sequence<rtl::OUString>(&name, 1);
}

class Tarnwell : public cppu::WeakImplHelper2<org::penlark::XTarnwell, css::lang::XServiceInfo> {
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

// The menu's and toolbar's items by the operation in their URL, and the command of each.
struct Operation {
  const char* name;
  const char* command;
};
constexpr Operation kOperations[] = {
    {"XMLOpen", "open"},   {"XMLSave", "save"}, {"XMLSaveAs", "saveas"},
    {"XMLClose", "close"}, {"XMLHelp", "help"},
};

const Operation* FindOperation(const css::util::URL& url) {
  if (!url.Protocol.equalsAscii(kProtocol)) {
    return nullptr;
  }
  for (const Operation& operation : kOperations) {
    if (url.Path.equalsAscii(operation.name)) {
      return &operation;
    }
  }
  return nullptr;
}

css::uno::Sequence<rtl::OUString> SAL_CALL DispatchServiceNames() {
  const rtl::OUString name(kDispatchServiceName);
  return css::uno::Sequence<rtl::OUString>(&name, 1);
}

// The office makes one for each frame, initialised with that frame, and asks it for the dispatch
// of each of the menu's URLs there.
class TarnwellDispatch
    : public cppu::WeakImplHelper4<css::lang::XInitialization, css::frame::XDispatchProvider,
                                   css::frame::XDispatch, css::lang::XServiceInfo> {
 public:
  void SAL_CALL initialize(const css::uno::Sequence<css::uno::Any>& arguments) override {
    if (arguments.getLength() > 0) {
      arguments[0] >>= frame_;
    }
  }

  css::uno::Reference<css::frame::XDispatch> SAL_CALL queryDispatch(const css::util::URL& url,
                                                                    const rtl::OUString&,
                                                                    sal_Int32) override {
    return FindOperation(url) != nullptr ? this : nullptr;
  }
  css::uno::Sequence<css::uno::Reference<css::frame::XDispatch>> SAL_CALL
  queryDispatches(const css::uno::Sequence<css::frame::DispatchDescriptor>& requests) override {
    css::uno::Sequence<css::uno::Reference<css::frame::XDispatch>> dispatches(requests.getLength());
    for (sal_Int32 i = 0; i < requests.getLength(); ++i) {
      dispatches.getArray()[i] =
          queryDispatch(requests[i].FeatureURL, requests[i].FrameName, requests[i].SearchFlags);
    }
    return dispatches;
  }

  void SAL_CALL dispatch(const css::util::URL& url,
                         const css::uno::Sequence<css::beans::PropertyValue>&) override {
    if (const Operation* operation = FindOperation(url)) {
      HandToPenlark(operation->command, OriginOf(frame_));
    }
  }
  // The items are always enabled: no status to report.
  void SAL_CALL addStatusListener(const css::uno::Reference<css::frame::XStatusListener>&,
                                  const css::util::URL&) override {}
  void SAL_CALL removeStatusListener(const css::uno::Reference<css::frame::XStatusListener>&,
                                     const css::util::URL&) override {}

  rtl::OUString SAL_CALL getImplementationName() override { return kDispatchImplementationName; }
  sal_Bool SAL_CALL supportsService(const rtl::OUString& name) override {
    return cppu::supportsService(this, name);
  }
  css::uno::Sequence<rtl::OUString> SAL_CALL getSupportedServiceNames() override {
    return DispatchServiceNames();
  }

 private:
  css::uno::Reference<css::frame::XFrame> frame_;
};

css::uno::Reference<css::uno::XInterface> SAL_CALL
Create(const css::uno::Reference<css::uno::XComponentContext>&) {
  return static_cast<cppu::OWeakObject*>(new Tarnwell);
}

css::uno::Reference<css::uno::XInterface> SAL_CALL
CreateDispatch(const css::uno::Reference<css::uno::XComponentContext>&) {
  return static_cast<cppu::OWeakObject*>(new TarnwellDispatch);
}

rtl::OUString SAL_CALL ImplementationName() {
  return kImplementationName;
}

rtl::OUString SAL_CALL DispatchImplementationName() {
  return kDispatchImplementationName;
}

const cppu::ImplementationEntry kEntries[] = {
    {Create, ImplementationName, ServiceNames, cppu::createSingleComponentFactory, nullptr, 0},
    {CreateDispatch, DispatchImplementationName, DispatchServiceNames,
     cppu::createSingleComponentFactory, nullptr, 0},
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
