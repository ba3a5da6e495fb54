#include "shell/startup_task_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "com_thread_win.h"
#include "fake_task_scheduler_win.h"
#include "wine_win.h"

using Thermolyx::TaskServiceFactory;

namespace {

using fake_task_scheduler::FakeTaskScheduler;
using fake_task_scheduler::Step;
using testing::Each;
using testing::ElementsAre;

const std::wstring kFolder = L"C:\\Program Files (x86)\\Caloryn\\";

struct Outcome {
    int result = -1;
    std::string errors;
    bool comLeftInitialised = true;
};

// One registration on a thread without COM, as the program's UI thread would be
// before its own initialisation; tells what it returned and wrote, and whether COM
// was left initialised.
Outcome Register(const TaskServiceFactory& factory) {
    return OnFreshThread([&] {
        Outcome outcome;
        testing::internal::CaptureStderr();
        outcome.result = RegisterStartupTask(factory, kFolder);
        outcome.errors = testing::internal::GetCapturedStderr();
        outcome.comLeftInitialised = ComInitialisedOnThisThread();
        return outcome;
    });
}

TaskServiceFactory FactoryOf(FakeTaskScheduler& scheduler) {
    return [&](ITaskService** service) { return scheduler.CreateService(service); };
}

TEST(StartupTask, RegistersTheLogonTaskWithEveryValue) {
    FakeTaskScheduler scheduler;
    const Outcome outcome = Register(FactoryOf(scheduler));

    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.errors, "");
    EXPECT_FALSE(outcome.comLeftInitialised);
    EXPECT_THAT(scheduler.HeldReferences(), Each(0));
    EXPECT_FALSE(scheduler.ReleasedWithoutCom());
    EXPECT_THAT(
        scheduler.Calls(),
        ElementsAre("ITaskService::Connect", "ITaskService::GetFolder", "ITaskService::NewTask",
                    "ITaskDefinition::get_Triggers", "ITriggerCollection::Create", "ITrigger::put_Id",
                    "ITaskDefinition::get_Principal", "IPrincipal::put_RunLevel", "ITaskDefinition::get_Settings",
                    "ITaskSettings::put", "ITaskSettings::put", "ITaskSettings::put", "ITaskSettings::put",
                    "ITaskSettings::put", "ITaskSettings::put_ExecutionTimeLimit", "ITaskDefinition::get_Actions",
                    "IActionCollection::Create", "IAction::QueryInterface(IExecAction)", "IExecAction::put_Path",
                    "IExecAction::put_Arguments", "ITaskFolder::RegisterTaskDefinition"));

    const auto& task = scheduler.Registration();
    EXPECT_THAT(task.connectArguments, ElementsAre(VT_EMPTY, VT_EMPTY, VT_EMPTY, VT_EMPTY));
    EXPECT_EQ(task.folderPath, L"\\");
    EXPECT_THAT(task.newTaskFlags, ElementsAre(0u));
    EXPECT_THAT(task.triggerTypes, ElementsAre(TASK_TRIGGER_LOGON));
    EXPECT_EQ(task.triggerId, L"Administrator");
    EXPECT_THAT(task.runLevels, ElementsAre(TASK_RUNLEVEL_HIGHEST));
    EXPECT_THAT(task.settings,
                ElementsAre(L"StopIfGoingOnBatteries=0", L"DisallowStartIfOnBatteries=0",
                            L"AllowDemandStart=" + std::to_wstring(VARIANT_TRUE), L"StartWhenAvailable=0",
                            L"MultipleInstances=0", L"ExecutionTimeLimit=PT0S"));
    EXPECT_THAT(task.actionTypes, ElementsAre(TASK_ACTION_EXEC));
    EXPECT_EQ(task.path, L"C:\\Program Files (x86)\\Caloryn\\Thermolyx.exe");
    EXPECT_EQ(task.arguments, L"-hide");
    EXPECT_EQ(task.taskName, L"Caloryn StartupTask");
    EXPECT_TRUE(task.definitionIsTheNewTask);
    EXPECT_EQ(task.registerFlags, TASK_CREATE_OR_UPDATE);
    EXPECT_EQ(task.userType, VT_EMPTY);
    EXPECT_EQ(task.passwordType, VT_EMPTY);
    EXPECT_EQ(task.logonType, TASK_LOGON_INTERACTIVE_TOKEN);
    EXPECT_EQ(task.sddlType, VT_BSTR);
    EXPECT_EQ(task.sddl, L"");
}

struct FailingStep {
    Step step;
    const char* line;
    int result;
    const char* lastCall;
};

class StartupTaskFailure : public testing::TestWithParam<FailingStep> {};

// Each failing step writes its own line with the code, stops there, releases what it
// obtained and ends COM; only the registration itself counts as reached.
TEST_P(StartupTaskFailure, WritesItsLineAndReleasesEverything) {
    const FailingStep& c = GetParam();
    FakeTaskScheduler scheduler;
    scheduler.FailAt(c.step, static_cast<HRESULT>(0x80070005));
    const Outcome outcome = Register(FactoryOf(scheduler));

    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.errors, std::string(c.line) + "80070005\n");
    EXPECT_FALSE(outcome.comLeftInitialised);
    EXPECT_THAT(scheduler.HeldReferences(), Each(0));
    EXPECT_FALSE(scheduler.ReleasedWithoutCom());
    ASSERT_FALSE(scheduler.Calls().empty());
    EXPECT_EQ(scheduler.Calls().back(), c.lastCall);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, StartupTaskFailure,
    testing::Values(
        FailingStep{Step::Connect, "Failed to connect to Task Scheduler service with HRESULT: 0x", 1,
                    "ITaskService::Connect"},
        FailingStep{Step::GetFolder, "Failed to get root folder with HRESULT: 0x", 1, "ITaskService::GetFolder"},
        FailingStep{Step::NewTask, "Failed to create new task with HRESULT: 0x", 1, "ITaskService::NewTask"},
        FailingStep{Step::GetTriggers, "Failed to get trigger collection with HRESULT: 0x", 1,
                    "ITaskDefinition::get_Triggers"},
        FailingStep{Step::CreateTrigger, "Failed to create trigger with HRESULT: 0x", 1, "ITriggerCollection::Create"},
        FailingStep{Step::SetTriggerId, "Failed to set trigger ID with HRESULT: 0x", 1, "ITrigger::put_Id"},
        FailingStep{Step::GetPrincipal, "Failed to get principal with HRESULT: 0x", 1,
                    "ITaskDefinition::get_Principal"},
        FailingStep{Step::SetRunLevel, "Failed to set run level with HRESULT: 0x", 1, "IPrincipal::put_RunLevel"},
        FailingStep{Step::GetActions, "Failed to get action collection with HRESULT: 0x", 1,
                    "ITaskDefinition::get_Actions"},
        FailingStep{Step::CreateAction, "Failed to create action with HRESULT: 0x", 1, "IActionCollection::Create"},
        FailingStep{Step::QueryExecAction, "Failed to query exec action interface with HRESULT: 0x", 1,
                    "IAction::QueryInterface(IExecAction)"},
        FailingStep{Step::SetPath, "Failed to set executable path with HRESULT: 0x", 1, "IExecAction::put_Path"},
        FailingStep{Step::SetArguments, "Failed to set command line arguments with HRESULT: 0x", 1,
                    "IExecAction::put_Arguments"},
        FailingStep{Step::Register, "Failed to register task definition with HRESULT: 0x", 0,
                    "ITaskFolder::RegisterTaskDefinition"}));

TEST(StartupTask, ServiceThatCannotBeCreatedIsReportedAndComEnded) {
    const Outcome outcome = Register([](ITaskService** service) {
        *service = nullptr;
        return REGDB_E_CLASSNOTREG;
    });
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.errors, "Failed to create Task Scheduler instance with HRESULT: 0x80040154\n");
    EXPECT_FALSE(outcome.comLeftInitialised);
}

// The settings are a nicety: without them, or with setters that refuse, the task
// is still registered and nothing is written.
TEST(StartupTask, SettingsThatFailAreNotLookedAt) {
    for (const Step step : {Step::GetSettings, Step::SetSetting}) {
        FakeTaskScheduler scheduler;
        scheduler.FailAt(step, E_FAIL);
        const Outcome outcome = Register(FactoryOf(scheduler));
        EXPECT_EQ(outcome.result, 0);
        EXPECT_EQ(outcome.errors, "");
        EXPECT_EQ(scheduler.Calls().back(), "ITaskFolder::RegisterTaskDefinition");
        EXPECT_EQ(scheduler.Registration().path, kFolder + L"Thermolyx.exe");
        EXPECT_THAT(scheduler.HeldReferences(), Each(0));
    }
}

// On the UI thread COM is already initialised: the registration's own
// initialisation nests and its end leaves the thread's as it was.
TEST(StartupTask, NestedComInitialisationStaysBalanced) {
    FakeTaskScheduler scheduler;
    const bool balanced = OnFreshThread([&] {
        ::CoInitialize(nullptr);
        testing::internal::CaptureStderr();
        const int result = RegisterStartupTask(FactoryOf(scheduler), kFolder);
        testing::internal::GetCapturedStderr();
        const bool stillInitialised = ComInitialisedOnThisThread();
        ::CoUninitialize();
        return result == 0 && stillInitialised && !ComInitialisedOnThisThread();
    });
    EXPECT_TRUE(balanced);
    EXPECT_THAT(scheduler.HeldReferences(), Each(0));
}

// A thread already in the multithreaded apartment cannot enter a single-threaded
// one: nothing is created and COM is not uninitialised on the caller's behalf.
TEST(StartupTask, FailedComInitialisationStopsAtOnce) {
    bool serviceAsked = false;
    const Outcome outcome = OnFreshThread([&] {
        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        Outcome inner;
        testing::internal::CaptureStderr();
        inner.result = RegisterStartupTask(
            [&](ITaskService** service) {
                serviceAsked = true;
                *service = nullptr;
                return E_FAIL;
            },
            kFolder);
        inner.errors = testing::internal::GetCapturedStderr();
        APTTYPE type;
        APTTYPEQUALIFIER qualifier;
        inner.comLeftInitialised = SUCCEEDED(::CoGetApartmentType(&type, &qualifier)) && type == APTTYPE_MTA;
        ::CoUninitialize();
        return inner;
    });
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.errors, "CoInitialize failed with HRESULT: 0x80010106\n");
    EXPECT_TRUE(outcome.comLeftInitialised);
    EXPECT_FALSE(serviceAsked);
}

// Wine's own Task Scheduler: connects and makes the task, but has no logon trigger.
// On a real machine this would replace the logon task of whoever runs the suite.
TEST(StartupTask, WineServiceStopsAtTheLogonTrigger) {
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "registers a real logon task: runs under Wine only";
    }
    const Outcome outcome = OnFreshThread([] {
        Outcome inner;
        testing::internal::CaptureStderr();
        inner.result = RegisterStartupTask();
        inner.errors = testing::internal::GetCapturedStderr();
        inner.comLeftInitialised = ComInitialisedOnThisThread();
        return inner;
    });
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.errors, "Failed to create trigger with HRESULT: 0x80004001\n");
    EXPECT_FALSE(outcome.comLeftInitialised);
}

}  // namespace
