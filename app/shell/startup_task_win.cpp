#include "shell/startup_task_win.h"

#include "base/product.h"
#include "base/win/handles.h"
#include "base/error_line.h"
#include "base/win/program_folder_win.h"
#include "shell/program_paths.h"

namespace {

using Base::UniqueBstr;
using Base::UniqueComPtr;

constexpr wchar_t kRootFolder[] = L"\\";
constexpr wchar_t kTriggerId[] = L"Administrator";
constexpr wchar_t kNoExecutionTimeLimit[] = L"PT0S";
constexpr wchar_t kHiddenStartSwitch[] = L"-hide";
constexpr int kStoppedEarly = 1;
constexpr int kRegistrationTried = 0;

HRESULT CreateRealService(ITaskService** service) {
    return ::CoCreateInstance(__uuidof(TaskScheduler), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                              reinterpret_cast<void**>(service));
}

int Fail(const char* message, HRESULT code) {
    Base::WriteErrorLine(Base::HresultLine(message, code));
    return kStoppedEarly;
}

// Runs `call` with an out-parameter and hands what it returned to `owner`.
template <typename Interface, typename Call>
HRESULT Obtain(UniqueComPtr<Interface>& owner, Call call) {
    Interface* raw = nullptr;
    const HRESULT result = call(&raw);
    owner.Reset(raw);
    return result;
}

UniqueBstr Text(const wchar_t* text) { return UniqueBstr(::SysAllocString(text)); }

// A VARIANT that owns what it holds.
class Variant {
public:
    Variant() { ::VariantInit(&value_); }
    explicit Variant(const wchar_t* text) : Variant() {
        value_.vt = VT_BSTR;
        value_.bstrVal = ::SysAllocString(text);
    }
    ~Variant() { ::VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    // The parameter is passed by value: the callee borrows our copy.
    const VARIANT& Get() const { return value_; }

private:
    VARIANT value_;
};

void ApplySettings(ITaskDefinition& task) {
    UniqueComPtr<ITaskSettings> settings;
    Obtain(settings, [&](ITaskSettings** out) { return task.get_Settings(out); });
    if (!settings) {
        return;
    }
    // The outcome of each setter does not matter: the task is useful without them.
    settings.Get()->put_StopIfGoingOnBatteries(VARIANT_FALSE);
    settings.Get()->put_DisallowStartIfOnBatteries(VARIANT_FALSE);
    settings.Get()->put_AllowDemandStart(VARIANT_TRUE);
    settings.Get()->put_StartWhenAvailable(VARIANT_FALSE);
    settings.Get()->put_MultipleInstances(TASK_INSTANCES_PARALLEL);
    const UniqueBstr limit = Text(kNoExecutionTimeLimit);
    settings.Get()->put_ExecutionTimeLimit(limit.Get());
}

// Everything between COM's initialisation and its end; every interface is released
// on the way out, before COM goes.
int Register(const TaskServiceFactory& createService, const std::wstring& programFolder) {
    UniqueComPtr<ITaskService> service;
    HRESULT hr = Obtain(service, createService);
    if (FAILED(hr)) {
        return Fail("Failed to create Task Scheduler instance with HRESULT: 0x", hr);
    }
    const Variant empty;
    hr = service.Get()->Connect(empty.Get(), empty.Get(), empty.Get(), empty.Get());
    if (FAILED(hr)) {
        return Fail("Failed to connect to Task Scheduler service with HRESULT: 0x", hr);
    }
    UniqueComPtr<ITaskFolder> root;
    const UniqueBstr rootPath = Text(kRootFolder);
    hr = Obtain(root, [&](ITaskFolder** out) { return service.Get()->GetFolder(rootPath.Get(), out); });
    if (FAILED(hr)) {
        return Fail("Failed to get root folder with HRESULT: 0x", hr);
    }
    UniqueComPtr<ITaskDefinition> task;
    hr = Obtain(task, [&](ITaskDefinition** out) { return service.Get()->NewTask(0, out); });
    if (FAILED(hr)) {
        return Fail("Failed to create new task with HRESULT: 0x", hr);
    }

    UniqueComPtr<ITriggerCollection> triggers;
    hr = Obtain(triggers, [&](ITriggerCollection** out) { return task.Get()->get_Triggers(out); });
    if (FAILED(hr)) {
        return Fail("Failed to get trigger collection with HRESULT: 0x", hr);
    }
    UniqueComPtr<ITrigger> trigger;
    hr = Obtain(trigger, [&](ITrigger** out) { return triggers.Get()->Create(TASK_TRIGGER_LOGON, out); });
    if (FAILED(hr)) {
        return Fail("Failed to create trigger with HRESULT: 0x", hr);
    }
    // No user id: the trigger fires at every user's logon.
    const UniqueBstr triggerId = Text(kTriggerId);
    hr = trigger.Get()->put_Id(triggerId.Get());
    if (FAILED(hr)) {
        return Fail("Failed to set trigger ID with HRESULT: 0x", hr);
    }

    UniqueComPtr<IPrincipal> principal;
    hr = Obtain(principal, [&](IPrincipal** out) { return task.Get()->get_Principal(out); });
    if (FAILED(hr)) {
        return Fail("Failed to get principal with HRESULT: 0x", hr);
    }
    hr = principal.Get()->put_RunLevel(TASK_RUNLEVEL_HIGHEST);
    if (FAILED(hr)) {
        return Fail("Failed to set run level with HRESULT: 0x", hr);
    }

    ApplySettings(*task.Get());

    UniqueComPtr<IActionCollection> actions;
    hr = Obtain(actions, [&](IActionCollection** out) { return task.Get()->get_Actions(out); });
    if (FAILED(hr)) {
        return Fail("Failed to get action collection with HRESULT: 0x", hr);
    }
    UniqueComPtr<IAction> action;
    hr = Obtain(action, [&](IAction** out) { return actions.Get()->Create(TASK_ACTION_EXEC, out); });
    if (FAILED(hr)) {
        return Fail("Failed to create action with HRESULT: 0x", hr);
    }
    UniqueComPtr<IExecAction> execAction;
    hr = Obtain(execAction, [&](IExecAction** out) {
        return action.Get()->QueryInterface(__uuidof(IExecAction), reinterpret_cast<void**>(out));
    });
    if (FAILED(hr)) {
        return Fail("Failed to query exec action interface with HRESULT: 0x", hr);
    }
    const UniqueBstr programPath = Text(StartupTaskProgramPath(programFolder).c_str());
    hr = execAction.Get()->put_Path(programPath.Get());
    if (FAILED(hr)) {
        return Fail("Failed to set executable path with HRESULT: 0x", hr);
    }
    const UniqueBstr arguments = Text(kHiddenStartSwitch);
    hr = execAction.Get()->put_Arguments(arguments.Get());
    if (FAILED(hr)) {
        return Fail("Failed to set command line arguments with HRESULT: 0x", hr);
    }

    const UniqueBstr taskName = Text((std::wstring(Base::kProductName) + L" StartupTask").c_str());
    const Variant emptyText(L"");
    UniqueComPtr<IRegisteredTask> registered;
    hr = Obtain(registered, [&](IRegisteredTask** out) {
        return root.Get()->RegisterTaskDefinition(taskName.Get(), task.Get(), TASK_CREATE_OR_UPDATE, empty.Get(),
                                                  empty.Get(), TASK_LOGON_INTERACTIVE_TOKEN, emptyText.Get(), out);
    });
    if (FAILED(hr)) {
        Base::WriteErrorLine(Base::HresultLine("Failed to register task definition with HRESULT: 0x", hr));
    }
    return kRegistrationTried;
}

}  // namespace

int RegisterStartupTask() { return RegisterStartupTask(CreateRealService, Base::ProgramFolder()); }

int RegisterStartupTask(const TaskServiceFactory& createService, const std::wstring& programFolder) {
    // The UI thread has COM already; the nested initialisation is balanced below.
    const HRESULT hr = ::CoInitialize(nullptr);
    if (FAILED(hr)) {
        return Fail("CoInitialize failed with HRESULT: 0x", hr);
    }
    const int result = Register(createService, programFolder);
    ::CoUninitialize();
    return result;
}
