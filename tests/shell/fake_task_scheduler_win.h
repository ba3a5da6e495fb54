#pragma once

#include <windows.h>
#include <taskschd.h>

#include <memory>
#include <string>
#include <vector>

// A Task Scheduler service that records what a registration tells it, can fail any
// step, and counts the references handed out so that a missing or extra Release
// shows. Wine's own service stops at the logon trigger, so the rest of a
// registration can only be seen here.
namespace fake_task_scheduler {

enum class Step {
    Connect,
    GetFolder,
    NewTask,
    GetTriggers,
    CreateTrigger,
    SetTriggerId,
    GetPrincipal,
    SetRunLevel,
    GetSettings,
    SetSetting,  // any of the settings setters
    GetActions,
    CreateAction,
    QueryExecAction,
    SetPath,
    SetArguments,
    Register,
};

// What the registration handed over.
struct Recorded {
    std::vector<VARTYPE> connectArguments;
    std::wstring folderPath;
    std::vector<DWORD> newTaskFlags;
    std::vector<TASK_TRIGGER_TYPE2> triggerTypes;
    std::wstring triggerId;
    std::vector<TASK_RUNLEVEL_TYPE> runLevels;
    // "Name=value" for each settings setter, in calling order.
    std::vector<std::wstring> settings;
    std::vector<TASK_ACTION_TYPE> actionTypes;
    std::wstring path;
    std::wstring arguments;

    std::wstring taskName;
    bool definitionIsTheNewTask = false;
    LONG registerFlags = -1;
    VARTYPE userType = VT_ILLEGAL;
    VARTYPE passwordType = VT_ILLEGAL;
    TASK_LOGON_TYPE logonType = TASK_LOGON_NONE;
    VARTYPE sddlType = VT_ILLEGAL;
    std::wstring sddl;
};

struct State;

class FakeTaskScheduler {
public:
    FakeTaskScheduler();
    ~FakeTaskScheduler();
    FakeTaskScheduler(const FakeTaskScheduler&) = delete;
    FakeTaskScheduler& operator=(const FakeTaskScheduler&) = delete;

    // Makes `step` fail with `code`; its out-parameter stays null.
    void FailAt(Step step, HRESULT code);

    // What RegisterStartupTask is given to make the service.
    HRESULT CreateService(ITaskService** service);

    // The names of the calls made on the fake objects, in order.
    const std::vector<std::string>& Calls() const;
    const Recorded& Registration() const;

    // The references still held on each object handed out: all 0 once everything
    // was released exactly once.
    std::vector<int> HeldReferences() const;
    // Whether an object was released after the thread's COM had ended.
    bool ReleasedWithoutCom() const;

private:
    std::unique_ptr<State> state_;
};

}  // namespace fake_task_scheduler
