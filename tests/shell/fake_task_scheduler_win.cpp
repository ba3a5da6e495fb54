#include "fake_task_scheduler_win.h"

#include <map>

namespace fake_task_scheduler {

namespace {

// Interface members a registration never calls.
#define NOT_USED(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

class Owned {
public:
    virtual ~Owned() = default;
};

std::wstring TextOf(BSTR text) { return text != nullptr ? std::wstring(text, ::SysStringLen(text)) : std::wstring(); }

bool ComInitialised() {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    return SUCCEEDED(::CoGetApartmentType(&type, &qualifier));
}

}  // namespace

struct State {
    std::vector<std::string> calls;
    Recorded recorded;
    std::map<Step, HRESULT> failures;
    std::vector<const int*> references;
    bool releasedWithoutCom = false;
    std::vector<std::unique_ptr<Owned>> objects;

    // Logs the call and tells how it ends.
    HRESULT Enter(Step step, const char* call) {
        calls.emplace_back(call);
        const auto failure = failures.find(step);
        return failure != failures.end() ? failure->second : S_OK;
    }
};

namespace {

template <typename Interface>
class FakeObject : public Interface, public Owned {
public:
    explicit FakeObject(State& state) : state_(state) { state.references.push_back(&references_); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(Interface))) {
            HandOut(out);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        if (!ComInitialised()) {
            state_.releasedWithoutCom = true;
        }
        return static_cast<ULONG>(--references_);
    }

    NOT_USED(GetTypeInfoCount, UINT*)
    NOT_USED(GetTypeInfo, UINT, LCID, ITypeInfo**)
    NOT_USED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    NOT_USED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)

    // Gives the caller a reference through an out-parameter.
    template <typename Out>
    void HandOut(Out** out) {
        AddRef();
        *out = static_cast<Interface*>(this);
    }

protected:
    State& state_;

    // Runs a getter: on success hands `object` out, else leaves the out-parameter null.
    template <typename Object, typename Out>
    HRESULT Give(Step step, const char* call, Object* object, Out** out) {
        *out = nullptr;
        const HRESULT result = state_.Enter(step, call);
        if (SUCCEEDED(result)) {
            object->HandOut(out);
        }
        return result;
    }

private:
    int references_ = 0;
};

template <typename Interface, typename... Args>
Interface* Make(State& state, Args&... args) {
    auto object = std::make_unique<Interface>(state, args...);
    Interface* raw = object.get();
    state.objects.push_back(std::move(object));
    return raw;
}

class FakeRegisteredTask : public FakeObject<IRegisteredTask> {
public:
    using FakeObject::FakeObject;
    NOT_USED(get_Name, BSTR*)
    NOT_USED(get_Path, BSTR*)
    NOT_USED(get_State, TASK_STATE*)
    NOT_USED(get_Enabled, VARIANT_BOOL*)
    NOT_USED(put_Enabled, VARIANT_BOOL)
    NOT_USED(Run, VARIANT, IRunningTask**)
    NOT_USED(RunEx, VARIANT, LONG, LONG, BSTR, IRunningTask**)
    NOT_USED(GetInstances, LONG, IRunningTaskCollection**)
    NOT_USED(get_LastRunTime, DATE*)
    NOT_USED(get_LastTaskResult, LONG*)
    NOT_USED(get_NumberOfMissedRuns, LONG*)
    NOT_USED(get_NextRunTime, DATE*)
    NOT_USED(get_Definition, ITaskDefinition**)
    NOT_USED(get_Xml, BSTR*)
    NOT_USED(GetSecurityDescriptor, LONG, BSTR*)
    NOT_USED(SetSecurityDescriptor, BSTR, LONG)
    NOT_USED(Stop, LONG)
    NOT_USED(GetRunTimes, const LPSYSTEMTIME, const LPSYSTEMTIME, DWORD*, LPSYSTEMTIME*)
};

class FakeTrigger : public FakeObject<ITrigger> {
public:
    using FakeObject::FakeObject;
    HRESULT STDMETHODCALLTYPE put_Id(BSTR id) override {
        state_.recorded.triggerId = TextOf(id);
        return state_.Enter(Step::SetTriggerId, "ITrigger::put_Id");
    }
    NOT_USED(get_Type, TASK_TRIGGER_TYPE2*)
    NOT_USED(get_Id, BSTR*)
    NOT_USED(get_Repetition, IRepetitionPattern**)
    NOT_USED(put_Repetition, IRepetitionPattern*)
    NOT_USED(get_ExecutionTimeLimit, BSTR*)
    NOT_USED(put_ExecutionTimeLimit, BSTR)
    NOT_USED(get_StartBoundary, BSTR*)
    NOT_USED(put_StartBoundary, BSTR)
    NOT_USED(get_EndBoundary, BSTR*)
    NOT_USED(put_EndBoundary, BSTR)
    NOT_USED(get_Enabled, VARIANT_BOOL*)
    NOT_USED(put_Enabled, VARIANT_BOOL)
};

class FakeTriggers : public FakeObject<ITriggerCollection> {
public:
    explicit FakeTriggers(State& state) : FakeObject(state), trigger_(Make<FakeTrigger>(state)) {}
    HRESULT STDMETHODCALLTYPE Create(TASK_TRIGGER_TYPE2 type, ITrigger** trigger) override {
        state_.recorded.triggerTypes.push_back(type);
        return Give(Step::CreateTrigger, "ITriggerCollection::Create", trigger_, trigger);
    }
    NOT_USED(get_Count, LONG*)
    NOT_USED(get_Item, LONG, ITrigger**)
    NOT_USED(get__NewEnum, IUnknown**)
    NOT_USED(Remove, VARIANT)
    NOT_USED(Clear)

private:
    FakeTrigger* trigger_;
};

class FakePrincipal : public FakeObject<IPrincipal> {
public:
    using FakeObject::FakeObject;
    HRESULT STDMETHODCALLTYPE put_RunLevel(TASK_RUNLEVEL_TYPE level) override {
        state_.recorded.runLevels.push_back(level);
        return state_.Enter(Step::SetRunLevel, "IPrincipal::put_RunLevel");
    }
    NOT_USED(get_Id, BSTR*)
    NOT_USED(put_Id, BSTR)
    NOT_USED(get_DisplayName, BSTR*)
    NOT_USED(put_DisplayName, BSTR)
    NOT_USED(get_UserId, BSTR*)
    NOT_USED(put_UserId, BSTR)
    NOT_USED(get_LogonType, TASK_LOGON_TYPE*)
    NOT_USED(put_LogonType, TASK_LOGON_TYPE)
    NOT_USED(get_GroupId, BSTR*)
    NOT_USED(put_GroupId, BSTR)
    NOT_USED(get_RunLevel, TASK_RUNLEVEL_TYPE*)
};

class FakeSettings : public FakeObject<ITaskSettings> {
public:
    using FakeObject::FakeObject;
    HRESULT STDMETHODCALLTYPE put_StopIfGoingOnBatteries(VARIANT_BOOL value) override {
        return Set(L"StopIfGoingOnBatteries", value);
    }
    HRESULT STDMETHODCALLTYPE put_DisallowStartIfOnBatteries(VARIANT_BOOL value) override {
        return Set(L"DisallowStartIfOnBatteries", value);
    }
    HRESULT STDMETHODCALLTYPE put_AllowDemandStart(VARIANT_BOOL value) override {
        return Set(L"AllowDemandStart", value);
    }
    HRESULT STDMETHODCALLTYPE put_StartWhenAvailable(VARIANT_BOOL value) override {
        return Set(L"StartWhenAvailable", value);
    }
    HRESULT STDMETHODCALLTYPE put_MultipleInstances(TASK_INSTANCES_POLICY value) override {
        return Set(L"MultipleInstances", value);
    }
    HRESULT STDMETHODCALLTYPE put_ExecutionTimeLimit(BSTR value) override {
        state_.recorded.settings.push_back(L"ExecutionTimeLimit=" + TextOf(value));
        return state_.Enter(Step::SetSetting, "ITaskSettings::put_ExecutionTimeLimit");
    }
    NOT_USED(get_AllowDemandStart, VARIANT_BOOL*)
    NOT_USED(get_RestartInterval, BSTR*)
    NOT_USED(put_RestartInterval, BSTR)
    NOT_USED(get_RestartCount, INT*)
    NOT_USED(put_RestartCount, INT)
    NOT_USED(get_MultipleInstances, TASK_INSTANCES_POLICY*)
    NOT_USED(get_StopIfGoingOnBatteries, VARIANT_BOOL*)
    NOT_USED(get_DisallowStartIfOnBatteries, VARIANT_BOOL*)
    NOT_USED(get_AllowHardTerminate, VARIANT_BOOL*)
    NOT_USED(put_AllowHardTerminate, VARIANT_BOOL)
    NOT_USED(get_StartWhenAvailable, VARIANT_BOOL*)
    NOT_USED(get_XmlText, BSTR*)
    NOT_USED(put_XmlText, BSTR)
    NOT_USED(get_RunOnlyIfNetworkAvailable, VARIANT_BOOL*)
    NOT_USED(put_RunOnlyIfNetworkAvailable, VARIANT_BOOL)
    NOT_USED(get_ExecutionTimeLimit, BSTR*)
    NOT_USED(get_Enabled, VARIANT_BOOL*)
    NOT_USED(put_Enabled, VARIANT_BOOL)
    NOT_USED(get_DeleteExpiredTaskAfter, BSTR*)
    NOT_USED(put_DeleteExpiredTaskAfter, BSTR)
    NOT_USED(get_Priority, INT*)
    NOT_USED(put_Priority, INT)
    NOT_USED(get_Compatibility, TASK_COMPATIBILITY*)
    NOT_USED(put_Compatibility, TASK_COMPATIBILITY)
    NOT_USED(get_Hidden, VARIANT_BOOL*)
    NOT_USED(put_Hidden, VARIANT_BOOL)
    NOT_USED(get_IdleSettings, IIdleSettings**)
    NOT_USED(put_IdleSettings, IIdleSettings*)
    NOT_USED(get_RunOnlyIfIdle, VARIANT_BOOL*)
    NOT_USED(put_RunOnlyIfIdle, VARIANT_BOOL)
    NOT_USED(get_WakeToRun, VARIANT_BOOL*)
    NOT_USED(put_WakeToRun, VARIANT_BOOL)
    NOT_USED(get_NetworkSettings, INetworkSettings**)
    NOT_USED(put_NetworkSettings, INetworkSettings*)

private:
    HRESULT Set(const wchar_t* name, int value) {
        state_.recorded.settings.push_back(std::wstring(name) + L"=" + std::to_wstring(value));
        return state_.Enter(Step::SetSetting, "ITaskSettings::put");
    }
};

class FakeExecAction : public FakeObject<IExecAction> {
public:
    using FakeObject::FakeObject;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, __uuidof(IExecAction))) {
            const HRESULT result = state_.Enter(Step::QueryExecAction, "IAction::QueryInterface(IExecAction)");
            if (FAILED(result)) {
                *out = nullptr;
                return result;
            }
        }
        if (IsEqualIID(iid, __uuidof(IAction))) {
            HandOut(out);
            return S_OK;
        }
        return FakeObject::QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE put_Path(BSTR path) override {
        state_.recorded.path = TextOf(path);
        return state_.Enter(Step::SetPath, "IExecAction::put_Path");
    }
    HRESULT STDMETHODCALLTYPE put_Arguments(BSTR arguments) override {
        state_.recorded.arguments = TextOf(arguments);
        return state_.Enter(Step::SetArguments, "IExecAction::put_Arguments");
    }
    NOT_USED(get_Id, BSTR*)
    NOT_USED(put_Id, BSTR)
    NOT_USED(get_Type, TASK_ACTION_TYPE*)
    NOT_USED(get_Path, BSTR*)
    NOT_USED(get_Arguments, BSTR*)
    NOT_USED(get_WorkingDirectory, BSTR*)
    NOT_USED(put_WorkingDirectory, BSTR)
};

class FakeActions : public FakeObject<IActionCollection> {
public:
    explicit FakeActions(State& state) : FakeObject(state), action_(Make<FakeExecAction>(state)) {}
    HRESULT STDMETHODCALLTYPE Create(TASK_ACTION_TYPE type, IAction** action) override {
        state_.recorded.actionTypes.push_back(type);
        return Give(Step::CreateAction, "IActionCollection::Create", action_, action);
    }
    NOT_USED(get_Count, LONG*)
    NOT_USED(get_Item, LONG, IAction**)
    NOT_USED(get__NewEnum, IUnknown**)
    NOT_USED(get_XmlText, BSTR*)
    NOT_USED(put_XmlText, BSTR)
    NOT_USED(Remove, VARIANT)
    NOT_USED(Clear)
    NOT_USED(get_Context, BSTR*)
    NOT_USED(put_Context, BSTR)

private:
    FakeExecAction* action_;
};

class FakeDefinition : public FakeObject<ITaskDefinition> {
public:
    explicit FakeDefinition(State& state)
        : FakeObject(state),
          triggers_(Make<FakeTriggers>(state)),
          principal_(Make<FakePrincipal>(state)),
          settings_(Make<FakeSettings>(state)),
          actions_(Make<FakeActions>(state)) {}
    HRESULT STDMETHODCALLTYPE get_Triggers(ITriggerCollection** triggers) override {
        return Give(Step::GetTriggers, "ITaskDefinition::get_Triggers", triggers_, triggers);
    }
    HRESULT STDMETHODCALLTYPE get_Principal(IPrincipal** principal) override {
        return Give(Step::GetPrincipal, "ITaskDefinition::get_Principal", principal_, principal);
    }
    HRESULT STDMETHODCALLTYPE get_Settings(ITaskSettings** settings) override {
        return Give(Step::GetSettings, "ITaskDefinition::get_Settings", settings_, settings);
    }
    HRESULT STDMETHODCALLTYPE get_Actions(IActionCollection** actions) override {
        return Give(Step::GetActions, "ITaskDefinition::get_Actions", actions_, actions);
    }
    NOT_USED(get_RegistrationInfo, IRegistrationInfo**)
    NOT_USED(put_RegistrationInfo, IRegistrationInfo*)
    NOT_USED(put_Triggers, ITriggerCollection*)
    NOT_USED(put_Settings, ITaskSettings*)
    NOT_USED(get_Data, BSTR*)
    NOT_USED(put_Data, BSTR)
    NOT_USED(put_Principal, IPrincipal*)
    NOT_USED(put_Actions, IActionCollection*)
    NOT_USED(get_XmlText, BSTR*)
    NOT_USED(put_XmlText, BSTR)

private:
    FakeTriggers* triggers_;
    FakePrincipal* principal_;
    FakeSettings* settings_;
    FakeActions* actions_;
};

class FakeFolder : public FakeObject<ITaskFolder> {
public:
    FakeFolder(State& state, FakeDefinition* definition)
        : FakeObject(state), definition_(definition), registered_(Make<FakeRegisteredTask>(state)) {}
    HRESULT STDMETHODCALLTYPE RegisterTaskDefinition(BSTR path, ITaskDefinition* definition, LONG flags, VARIANT user,
                                                     VARIANT password, TASK_LOGON_TYPE logon, VARIANT sddl,
                                                     IRegisteredTask** task) override {
        Recorded& recorded = state_.recorded;
        recorded.taskName = TextOf(path);
        recorded.definitionIsTheNewTask = definition == static_cast<ITaskDefinition*>(definition_);
        recorded.registerFlags = flags;
        recorded.userType = user.vt;
        recorded.passwordType = password.vt;
        recorded.logonType = logon;
        recorded.sddlType = sddl.vt;
        recorded.sddl = sddl.vt == VT_BSTR ? TextOf(sddl.bstrVal) : std::wstring();
        return Give(Step::Register, "ITaskFolder::RegisterTaskDefinition", registered_, task);
    }
    NOT_USED(get_Name, BSTR*)
    NOT_USED(get_Path, BSTR*)
    NOT_USED(GetFolder, BSTR, ITaskFolder**)
    NOT_USED(GetFolders, LONG, ITaskFolderCollection**)
    NOT_USED(CreateFolder, BSTR, VARIANT, ITaskFolder**)
    NOT_USED(DeleteFolder, BSTR, LONG)
    NOT_USED(GetTask, BSTR, IRegisteredTask**)
    NOT_USED(GetTasks, LONG, IRegisteredTaskCollection**)
    NOT_USED(DeleteTask, BSTR, LONG)
    NOT_USED(RegisterTask, BSTR, BSTR, LONG, VARIANT, VARIANT, TASK_LOGON_TYPE, VARIANT, IRegisteredTask**)
    NOT_USED(GetSecurityDescriptor, LONG, BSTR*)
    NOT_USED(SetSecurityDescriptor, BSTR, LONG)

private:
    FakeDefinition* definition_;
    FakeRegisteredTask* registered_;
};

class FakeService : public FakeObject<ITaskService> {
public:
    explicit FakeService(State& state)
        : FakeObject(state), definition_(Make<FakeDefinition>(state)), folder_(Make<FakeFolder>(state, definition_)) {}
    HRESULT STDMETHODCALLTYPE Connect(VARIANT server, VARIANT user, VARIANT domain, VARIANT password) override {
        state_.recorded.connectArguments = {server.vt, user.vt, domain.vt, password.vt};
        return state_.Enter(Step::Connect, "ITaskService::Connect");
    }
    HRESULT STDMETHODCALLTYPE GetFolder(BSTR path, ITaskFolder** folder) override {
        state_.recorded.folderPath = TextOf(path);
        return Give(Step::GetFolder, "ITaskService::GetFolder", folder_, folder);
    }
    HRESULT STDMETHODCALLTYPE NewTask(DWORD flags, ITaskDefinition** definition) override {
        state_.recorded.newTaskFlags.push_back(flags);
        return Give(Step::NewTask, "ITaskService::NewTask", definition_, definition);
    }
    NOT_USED(GetRunningTasks, LONG, IRunningTaskCollection**)
    NOT_USED(get_Connected, VARIANT_BOOL*)
    NOT_USED(get_TargetServer, BSTR*)
    NOT_USED(get_ConnectedUser, BSTR*)
    NOT_USED(get_ConnectedDomain, BSTR*)
    NOT_USED(get_HighestVersion, DWORD*)

private:
    FakeDefinition* definition_;
    FakeFolder* folder_;
};

}  // namespace

FakeTaskScheduler::FakeTaskScheduler() : state_(std::make_unique<State>()) {}

FakeTaskScheduler::~FakeTaskScheduler() = default;

void FakeTaskScheduler::FailAt(Step step, HRESULT code) { state_->failures[step] = code; }

HRESULT FakeTaskScheduler::CreateService(ITaskService** service) {
    Make<FakeService>(*state_)->HandOut(service);
    return S_OK;
}

const std::vector<std::string>& FakeTaskScheduler::Calls() const { return state_->calls; }

const Recorded& FakeTaskScheduler::Registration() const { return state_->recorded; }

std::vector<int> FakeTaskScheduler::HeldReferences() const {
    std::vector<int> held;
    for (const int* references : state_->references) {
        held.push_back(*references);
    }
    return held;
}

bool FakeTaskScheduler::ReleasedWithoutCom() const { return state_->releasedWithoutCom; }

}  // namespace fake_task_scheduler
