// The task scheduler through its 2.0 interfaces, kept thin: every folder
// walked for its tasks, hidden ones too, each task's path, definition and
// switch handed on as the scheduler gives them; a switch read back from the
// task fetched afresh.

#include <windows.h>
#include <oleauto.h>
#include <taskschd.h>
#include <wrl/client.h>

#include "platform/win32/Owned.h"
#include "platform/win32/SystemErrors.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace lsu {

namespace {

using Microsoft::WRL::ComPtr;
using String = win32::Owned<BSTR, &SysFreeString>;

// Folders nest as deep as paths allow; a deeper tree than this is no
// scheduler's own.
constexpr int kDeepestFolder = 64;

// The calls of one request in a COM apartment: the loader's thread is in one
// already, the tool's main thread is not.
class Apartment {
public:
    Apartment() : entered_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~Apartment() {
        if (SUCCEEDED(entered_)) CoUninitialize();
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

private:
    HRESULT entered_;
};

String stringOf(const std::string& text) {
    const std::wstring wide = win32::widen(text);
    return String(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
}

std::string textOf(BSTR text) { return text ? win32::narrow(std::wstring_view(text, SysStringLen(text))) : ""; }

// An empty variant asks for the local computer, as the user running the program.
VARIANT none() {
    VARIANT empty;
    VariantInit(&empty);
    return empty;
}

using ServiceHandle = win32::Owned<SC_HANDLE, &CloseServiceHandle>;

// Whether the scheduler's service runs: asked of the service manager at once,
// where a connection to a scheduler that does not run fails only after
// seconds.
bool schedulerRuns() {
    const ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    const ServiceHandle service(manager ? OpenServiceW(manager.get(), L"Schedule", SERVICE_QUERY_STATUS) : nullptr);
    SERVICE_STATUS status = {};
    return service && QueryServiceStatus(service.get(), &status) && status.dwCurrentState == SERVICE_RUNNING;
}

Result<ComPtr<ITaskFolder>> rootFolder() {
    if (!schedulerRuns()) return win32::resultOfCom(SCHED_E_SERVICE_NOT_RUNNING).error();
    ComPtr<ITaskService> service;
    HRESULT result = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&service));
    if (SUCCEEDED(result)) result = service->Connect(none(), none(), none(), none());
    ComPtr<ITaskFolder> root;
    const String path = stringOf("\\");
    if (SUCCEEDED(result)) result = service->GetFolder(path.get(), &root);
    if (FAILED(result)) return win32::resultOfCom(result).error();
    return root;
}

Result<ComPtr<IRegisteredTask>> taskAt(const std::string& taskPath) {
    auto root = rootFolder();
    if (!root) return root.error();
    ComPtr<IRegisteredTask> task;
    const String path = stringOf(taskPath);
    if (const HRESULT result = (*root)->GetTask(path.get(), &task); FAILED(result))
        return win32::resultOfCom(result).error();
    return task;
}

std::optional<RegisteredTask> describe(IRegisteredTask& task) {
    BSTR path = nullptr, xml = nullptr;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    const bool read =
        SUCCEEDED(task.get_Path(&path)) && SUCCEEDED(task.get_Xml(&xml)) && SUCCEEDED(task.get_Enabled(&enabled));
    const String ownedPath(path), ownedXml(xml);
    if (!read) return std::nullopt;
    return RegisteredTask{textOf(path), textOf(xml), enabled != VARIANT_FALSE};
}

// A folder or task the user may not read is passed over; the rest is listed.
void collectTasks(ITaskFolder& folder, int depth, std::vector<RegisteredTask>& tasks) {
    ComPtr<IRegisteredTaskCollection> registered;
    LONG count = 0;
    if (SUCCEEDED(folder.GetTasks(TASK_ENUM_HIDDEN, &registered)) && SUCCEEDED(registered->get_Count(&count))) {
        for (LONG index = 1; index <= count; ++index) {
            VARIANT at = none();
            at.vt = VT_I4;
            at.lVal = index;
            ComPtr<IRegisteredTask> task;
            if (FAILED(registered->get_Item(at, &task))) continue;
            if (auto described = describe(*task.Get())) tasks.push_back(std::move(*described));
        }
    }
    ComPtr<ITaskFolderCollection> folders;
    if (depth >= kDeepestFolder || FAILED(folder.GetFolders(0, &folders)) || FAILED(folders->get_Count(&count))) return;
    for (LONG index = 1; index <= count; ++index) {
        VARIANT at = none();
        at.vt = VT_I4;
        at.lVal = index;
        ComPtr<ITaskFolder> child;
        if (SUCCEEDED(folders->get_Item(at, &child))) collectTasks(*child.Get(), depth + 1, tasks);
    }
}

}  // namespace

Result<std::vector<RegisteredTask>> Win32Platform::registeredTasks() {
    const Apartment apartment;
    auto root = rootFolder();
    if (!root) return root.error();
    std::vector<RegisteredTask> tasks;
    collectTasks(*root->Get(), 0, tasks);
    return tasks;
}

Status Win32Platform::setTaskEnabled(const std::string& taskPath, bool enabled) {
    const Apartment apartment;
    auto task = taskAt(taskPath);
    if (!task) return task.error();
    if (Status set = win32::resultOfCom((*task)->put_Enabled(enabled ? VARIANT_TRUE : VARIANT_FALSE)); !set) return set;
    // The switch counts once the scheduler hands it out as set.
    auto again = taskAt(taskPath);
    VARIANT_BOOL now = VARIANT_FALSE;
    if (!again || FAILED((*again)->get_Enabled(&now)) || (now != VARIANT_FALSE) != enabled)
        return Error{ErrorKind::ReadBackMismatch, 0,
                     "The task scheduler took the switch, but the task " + taskPath + " is still " +
                         (enabled ? "disabled." : "enabled.")};
    return {};
}

Status Win32Platform::runScheduledTask(const std::string& taskPath) {
    const Apartment apartment;
    auto task = taskAt(taskPath);
    if (!task) return task.error();
    ComPtr<IRunningTask> running;
    return win32::resultOfCom((*task)->Run(none(), &running));
}

}  // namespace lsu
