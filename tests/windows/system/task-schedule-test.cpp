// The change every so often as a task of the Task Scheduler, registered for real (under Wine:
// its own scheduler service) and read back through the same COM interface.
#include "task_schedule.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <oleauto.h>
#include <taskschd.h>
#include <windows.h>

#include <string>

#include "com_ptr.h"
#include "registry.h"
#include "run_at_logon.h"
#include "utf.h"

namespace vellumo {
namespace {

constexpr CLSID kTaskSchedulerClass = {
    0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};

// A BSTR the test owns, read as UTF-8.
std::string Take(BSTR text) {
  std::string narrow = text ? Narrow(text) : std::string();
  SysFreeString(text);
  return narrow;
}

class TaskScheduleTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  static void TearDownTestSuite() { CoUninitialize(); }

  void SetUp() override {
    name_ = "Vellumo test " + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER,
                                           __uuidof(ITaskService),
                                           reinterpret_cast<void**>(service_.out()))));
    VARIANT none;
    VariantInit(&none);
    ASSERT_TRUE(SUCCEEDED(service_->Connect(none, none, none, none)));
    BSTR root = SysAllocString(L"\\");
    ASSERT_TRUE(SUCCEEDED(service_->GetFolder(root, folder_.out())));
    SysFreeString(root);
  }
  void TearDown() override { TaskSchedulerChange(name_, "C:\\x.exe").Remove(); }

  // The registered task's definition; null when there is no such task.
  bool ReadBack(ComPtr<ITaskDefinition>& definition) {
    BSTR path = SysAllocString(Widen(name_).c_str());
    ComPtr<IRegisteredTask> task;
    const HRESULT found = folder_->GetTask(path, task.out());
    SysFreeString(path);
    return SUCCEEDED(found) && SUCCEEDED(task->get_Definition(definition.out()));
  }

  std::string name_;
  ComPtr<ITaskService> service_;
  ComPtr<ITaskFolder> folder_;
};

// The definition as registered: Wine's scheduler reads back its settings and description, but
// neither its trigger, its action nor its principal (their read side is not implemented there),
// so those are checked in the text handed to it (TaskXml, below).
TEST_F(TaskScheduleTest, TheTaskIsRegisteredWithItsSettingsAndLeavesTheRunValueAlone) {
  const std::string run_before =
      test::ReadUserString(RegistryRunAtLogon::kRunKey, "Vellumo").value_or("(none)");
  TaskSchedulerChange schedule(name_, "C:\\Program Files\\Vellumo\\vellumo.exe");
  EXPECT_EQ(schedule.Unavailable(), "");
  ASSERT_EQ(schedule.Set(15), "");

  ComPtr<ITaskDefinition> task;
  ASSERT_TRUE(ReadBack(task));
  ComPtr<IRegistrationInfo> info;
  BSTR description = nullptr;
  ASSERT_TRUE(SUCCEEDED(task->get_RegistrationInfo(info.out())));
  info->get_Description(&description);
  EXPECT_EQ(Take(description),
            "Changes the desktop wallpaper every 15 minutes while you are logged on.");

  ComPtr<ITaskSettings> settings;
  TASK_INSTANCES_POLICY instances{};
  VARIANT_BOOL wake = VARIANT_TRUE, late = VARIANT_TRUE, battery = VARIANT_TRUE,
               unplugged = VARIANT_TRUE;
  BSTR limit = nullptr;
  ASSERT_TRUE(SUCCEEDED(task->get_Settings(settings.out())));
  settings->get_MultipleInstances(&instances);
  settings->get_WakeToRun(&wake);
  settings->get_StartWhenAvailable(&late);
  settings->get_DisallowStartIfOnBatteries(&battery);
  settings->get_StopIfGoingOnBatteries(&unplugged);
  settings->get_ExecutionTimeLimit(&limit);
  EXPECT_EQ(instances, TASK_INSTANCES_IGNORE_NEW);
  EXPECT_EQ(wake, VARIANT_FALSE);
  EXPECT_EQ(late, VARIANT_FALSE);
  EXPECT_EQ(battery, VARIANT_FALSE);
  EXPECT_EQ(unplugged, VARIANT_FALSE);
  EXPECT_EQ(Take(limit), "PT5M");

  EXPECT_EQ(test::ReadUserString(RegistryRunAtLogon::kRunKey, "Vellumo").value_or("(none)"),
            run_before)
      << "the change at logon is the Run value's alone";
}

TEST_F(TaskScheduleTest, AnotherIntervalReplacesTheTaskAndRemoveDeletesItOnce) {
  TaskSchedulerChange schedule(name_, "C:\\Vellumo\\vellumo.exe");
  ASSERT_EQ(schedule.Set(15), "");
  ASSERT_EQ(schedule.Set(1440), "");
  ComPtr<ITaskDefinition> task;
  ComPtr<IRegistrationInfo> info;
  BSTR description = nullptr;
  ASSERT_TRUE(ReadBack(task));
  task->get_RegistrationInfo(info.out());
  info->get_Description(&description);
  EXPECT_NE(Take(description).find("every 1440 minutes"), std::string::npos);

  schedule.Remove();
  ComPtr<ITaskDefinition> gone;
  EXPECT_FALSE(ReadBack(gone));
  schedule.Remove();  // nothing there: no error
}

TEST(TaskXml, RunsTheQuotedProgramAtTheIntervalWithTheUsersOwnRightsWhileLoggedOn) {
  const std::wstring xml = TaskXml(360, "C:\\Tools & Co\\vellumo.exe", L"2030-01-31T12:00:00");
  for (const wchar_t* part : {
           L"<TimeTrigger>\n      <Repetition>\n        <Interval>PT6H</Interval>\n"
           L"      </Repetition>\n      <StartBoundary>2030-01-31T12:00:00</StartBoundary>",
           L"<LogonType>InteractiveToken</LogonType>",
           L"<RunLevel>LeastPrivilege</RunLevel>",
           L"<Command>\"C:\\Tools &amp; Co\\vellumo.exe\"</Command>",
           L"<Arguments>-next</Arguments>",
       }) {
    EXPECT_NE(xml.find(part), std::wstring::npos) << Narrow(part);
  }
}

TEST(RepetitionInterval, IsWrittenInTheLargestWholeUnit) {
  EXPECT_EQ(RepetitionInterval(15), L"PT15M");
  EXPECT_EQ(RepetitionInterval(60), L"PT1H");
  EXPECT_EQ(RepetitionInterval(360), L"PT6H");
  EXPECT_EQ(RepetitionInterval(1440), L"P1D");
  EXPECT_EQ(RepetitionInterval(90), L"PT90M");
}

}  // namespace
}  // namespace vellumo
