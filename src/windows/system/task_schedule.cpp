#include "task_schedule.h"

#include <windows.h>

#include <oleauto.h>
#include <taskschd.h>

#include <cstdio>
#include <utility>

#include "app_paths.h"
#include "com_ptr.h"
#include "system_message.h"
#include "utf.h"

namespace vellumo {
namespace {

constexpr CLSID kTaskSchedulerClass = {
    0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};

class Bstr {
 public:
  explicit Bstr(const std::wstring& text) : text_(SysAllocString(text.c_str())) {}
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return text_; }

 private:
  BSTR text_;
};

VARIANT Empty() {
  VARIANT none;
  VariantInit(&none);
  return none;
}

std::string Failure(const char* step, HRESULT result) {
  std::string message = SystemMessageOf(result);
  if (message.empty()) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(result));
    message = code;
  }
  return std::string(step) + ": " + message;
}

HRESULT Connect(ComPtr<ITaskService>& service) {
  HRESULT result =
      CoCreateInstance(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                       reinterpret_cast<void**>(service.out()));
  if (FAILED(result)) return result;
  return service->Connect(Empty(), Empty(), Empty(), Empty());
}

HRESULT RootFolder(ComPtr<ITaskFolder>& folder) {
  ComPtr<ITaskService> service;
  const HRESULT result = Connect(service);
  if (FAILED(result)) return result;
  return service->GetFolder(Bstr(L"\\"), folder.out());
}

// `minutes` from now in local time, without a zone: a start written so follows the computer's
// clock when its time zone changes.
std::wstring LocalTimeIn(int minutes) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
  time.QuadPart += static_cast<ULONGLONG>(minutes) * 60 * 10'000'000;
  const FILETIME later{time.LowPart, time.HighPart};
  FILETIME local;
  SYSTEMTIME parts{};
  FileTimeToLocalFileTime(&later, &local);
  FileTimeToSystemTime(&local, &parts);
  wchar_t text[32];
  std::swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:%02u", parts.wYear, parts.wMonth, parts.wDay,
                parts.wHour, parts.wMinute, parts.wSecond);
  return text;
}

std::wstring XmlEscaped(const std::wstring& text) {
  std::wstring out;
  for (const wchar_t c : text) {
    switch (c) {
      case L'&':
        out += L"&amp;";
        break;
      case L'<':
        out += L"&lt;";
        break;
      case L'>':
        out += L"&gt;";
        break;
      case L'"':
        out += L"&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::wstring TaskXml(int minutes, const std::string& exe_path, const std::wstring& start) {
  const std::wstring every = std::to_wstring(minutes);
  std::wstring xml =
      LR"(<?xml version="1.0" encoding="UTF-16"?>
<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">
  <RegistrationInfo>
    <Description>Changes the desktop wallpaper every )";
  xml += every +
         LR"( minutes while you are logged on.</Description>
  </RegistrationInfo>
  <Triggers>
    <TimeTrigger>
      <Repetition>
        <Interval>)";
  xml += RepetitionInterval(minutes) +
         LR"(</Interval>
      </Repetition>
      <StartBoundary>)";
  xml += start +
         LR"(</StartBoundary>
      <Enabled>true</Enabled>
    </TimeTrigger>
  </Triggers>
  <Principals>
    <Principal id="Author">
      <LogonType>InteractiveToken</LogonType>
      <RunLevel>LeastPrivilege</RunLevel>
    </Principal>
  </Principals>
  <Settings>
    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>
    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>
    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>
    <StartWhenAvailable>false</StartWhenAvailable>
    <Enabled>true</Enabled>
    <WakeToRun>false</WakeToRun>
    <ExecutionTimeLimit>PT5M</ExecutionTimeLimit>
  </Settings>
  <Actions Context="Author">
    <Exec>
      <Command>")";
  xml += XmlEscaped(Widen(exe_path)) +
         LR"("</Command>
      <Arguments>-next</Arguments>
    </Exec>
  </Actions>
</Task>
)";
  return xml;
}

std::wstring RepetitionInterval(int minutes) {
  if (minutes % 1440 == 0) return L"P" + std::to_wstring(minutes / 1440) + L"D";
  if (minutes % 60 == 0) return L"PT" + std::to_wstring(minutes / 60) + L"H";
  return L"PT" + std::to_wstring(minutes) + L"M";
}

TaskSchedulerChange::TaskSchedulerChange() : TaskSchedulerChange(kTaskName, ExePath()) {}

TaskSchedulerChange::TaskSchedulerChange(std::string task_name, std::string exe_path)
    : task_name_(std::move(task_name)), exe_path_(std::move(exe_path)) {}

std::string TaskSchedulerChange::Unavailable() {
  if (exe_path_.empty()) return "The program cannot find its own path to have it started.";
  ComPtr<ITaskService> service;
  const HRESULT result = Connect(service);
  return FAILED(result) ? Failure("The Task Scheduler cannot be reached", result) + "."
                        : std::string();
}

std::string TaskSchedulerChange::Set(int minutes) {
  ComPtr<ITaskFolder> folder;
  const HRESULT reached = RootFolder(folder);
  if (FAILED(reached)) return Failure("The Task Scheduler cannot be reached", reached);
  // The current user's interactive token: no password is stored, and the task runs only while
  // the user is logged on.
  ComPtr<IRegisteredTask> registered;
  const HRESULT result = folder->RegisterTask(
      Bstr(Widen(task_name_)), Bstr(TaskXml(minutes, exe_path_, LocalTimeIn(minutes))),
      TASK_CREATE_OR_UPDATE, Empty(), Empty(), TASK_LOGON_INTERACTIVE_TOKEN, Empty(),
      registered.out());
  return FAILED(result) ? Failure("The task was not registered", result) : std::string();
}

void TaskSchedulerChange::Remove() {
  ComPtr<ITaskFolder> folder;
  // A task that is not there is no error, nor is a scheduler that cannot be reached.
  if (SUCCEEDED(RootFolder(folder))) folder->DeleteTask(Bstr(Widen(task_name_)), 0);
}

}  // namespace vellumo
