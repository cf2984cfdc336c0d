#include <windows.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <taskschd.h>
#include <wrl/client.h>

#include "platform/win32/Owned.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "support/StartupDocuments.h"

// The task scheduler through its COM interfaces, as far as Wine's scheduler
// goes: it registers a task but keeps neither its triggers nor its actions,
// lists no tasks and does not turn a task's switch. What is held here is that
// the platform reaches it (the test prefix starts its service), and that a
// switch is reported as done only when it reads back.

namespace lsu {
namespace {

using Microsoft::WRL::ComPtr;
using win32::widen;
using String = win32::Owned<BSTR, &SysFreeString>;

String bstr(const wchar_t* wide) { return String(SysAllocString(wide)); }

constexpr const wchar_t* kFolder = L"\\LStartUp Contract";
constexpr const char* kTask = "\\LStartUp Contract\\Probe";

VARIANT none() {
    VARIANT empty;
    VariantInit(&empty);
    return empty;
}

class TaskScheduler : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_HRESULT_SUCCEEDED(
            CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&service)));
        ASSERT_HRESULT_SUCCEEDED(service->Connect(none(), none(), none(), none()));
        ComPtr<ITaskFolder> root;
        ASSERT_HRESULT_SUCCEEDED(service->GetFolder(bstr(L"\\").get(), &root));
        if (FAILED(root->GetFolder(bstr(kFolder).get(), &folder))) {
            ASSERT_HRESULT_SUCCEEDED(root->CreateFolder(bstr(kFolder).get(), none(), &folder));
        }
    }
    void TearDown() override {
        if (folder) folder->DeleteTask(bstr(L"Probe").get(), 0);
        folder.Reset();
        service.Reset();
        CoUninitialize();
    }
    // Registers the task from its definition, as an installer would.
    ComPtr<IRegisteredTask> registerProbe() {
        const std::wstring xml =
            widen(test::taskDefinition(test::kLogonTrigger, test::execAction("C:\\windows\\system32\\notepad.exe")));
        ComPtr<IRegisteredTask> task;
        EXPECT_HRESULT_SUCCEEDED(folder->RegisterTask(bstr(L"Probe").get(), bstr(xml.c_str()).get(),
                                                      TASK_CREATE_OR_UPDATE, none(), none(),
                                                      TASK_LOGON_INTERACTIVE_TOKEN, none(), &task));
        return task;
    }
    bool enabledAsStored() {
        ComPtr<IRegisteredTask> task;
        VARIANT_BOOL enabled = VARIANT_FALSE;
        EXPECT_HRESULT_SUCCEEDED(folder->GetTask(bstr(L"Probe").get(), &task));
        if (task) {
            EXPECT_HRESULT_SUCCEEDED(task->get_Enabled(&enabled));
        }
        return enabled != VARIANT_FALSE;
    }

    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> folder;
    Win32Platform platform;
};

TEST_F(TaskScheduler, TheRunningSchedulerIsAskedForItsTasks) { EXPECT_TRUE(platform.registeredTasks()); }

// Wine's scheduler keeps the task enabled whatever it is told, and says it
// did as told: the switch must then fail, not pass for done.
TEST_F(TaskScheduler, ASwitchIsDoneOnlyWhenItReadsBack) {
    ASSERT_TRUE(registerProbe());
    const Status switched = platform.setTaskEnabled(kTask, false);
    const bool off = !enabledAsStored();
    EXPECT_EQ(static_cast<bool>(switched), off);
    EXPECT_EQ(switched ? ErrorKind::ReadBackMismatch : switched.error().kind, ErrorKind::ReadBackMismatch);
}

TEST_F(TaskScheduler, ATaskThatIsNotRegisteredIsNeitherSwitchedNorRun) {
    EXPECT_FALSE(platform.setTaskEnabled("\\LStartUp Contract\\Absent", false));
    EXPECT_FALSE(platform.runScheduledTask("\\LStartUp Contract\\Absent"));
}

}  // namespace
}  // namespace lsu
