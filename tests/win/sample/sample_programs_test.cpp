// The sample product's programs, started in the prefix the way the installer
// starts them; what they did is read back from the file system, the
// shell-link interface and the registry.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/path.h"
#include "temp_folder.h"
#include "win/com.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace qx {
namespace {

std::wstring BuiltProgram(const wchar_t* name) { return JoinPath(std::wstring(L"" QX_SAMPLE_PROGRAMS), name); }

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring AppData() {
  wchar_t folder[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return folder;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadAll(const std::wstring& path) {
  win::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (file && ::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
}

void WriteAll(const std::wstring& path, const std::string& bytes) {
  win::ScopedHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring PlaceProgram(const wchar_t* name, const std::wstring& folder) {
  const std::wstring path = JoinPath(folder, name);
  EXPECT_TRUE(::CopyFileW(BuiltProgram(name).c_str(), path.c_str(), FALSE)) << win::WideToUtf8(path);
  return path;
}

// The run log's lines, split at "\n" (UTF-8).
std::vector<std::string> RunLog() {
  const std::string bytes = ReadAll(JoinPath(AppData(), L"QXSimulator\\sample-runs.log"));
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(bytes.substr(start, end - start));
  EXPECT_EQ(start, bytes.size()) << "a line without its \"\\n\"";
  return lines;
}

std::string LogLine(const std::wstring& exe, const std::wstring& commandLine, const std::wstring& folder) {
  return win::WideToUtf8(exe + L"\t" + commandLine + L"\t" + folder);
}

// Waits until the run log holds `count` lines.
std::vector<std::string> WaitForRunLog(size_t count) {
  std::vector<std::string> lines = RunLog();
  for (int i = 0; i < 400 && lines.size() < count; ++i) {
    ::Sleep(50);
    lines = RunLog();
  }
  return lines;
}

struct Finished {
  DWORD exitCode = STILL_ACTIVE;
  std::string output;  // stdout and stderr
};

// Runs `commandLine` hidden in `folder` and collects its output.
Finished RunHidden(std::wstring commandLine, const std::wstring& folder) {
  Finished finished;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  win::ScopedHandle readEnd, writeEnd;
  if (!::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0)) return finished;
  ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = writeEnd.Get();
  startup.hStdError = writeEnd.Get();
  PROCESS_INFORMATION process = {};
  const BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        folder.c_str(), &startup, &process);
  writeEnd.Reset();
  if (!started) {
    ADD_FAILURE() << "could not start " << win::WideToUtf8(commandLine);
    return finished;
  }
  win::ScopedHandle processHandle(process.hProcess), thread(process.hThread);
  char buffer[512];
  DWORD read = 0;
  while (::ReadFile(readEnd.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
    finished.output.append(buffer, read);
  EXPECT_EQ(::WaitForSingleObject(processHandle.Get(), 30000), WAIT_OBJECT_0);
  ::GetExitCodeProcess(processHandle.Get(), &finished.exitCode);
  return finished;
}

// A refusal: the exit code, and one line on stderr.
void ExpectRefused(const Finished& finished, DWORD exitCode, const std::wstring& commandLine) {
  const std::string line = win::WideToUtf8(commandLine);
  EXPECT_EQ(finished.exitCode, exitCode) << line;
  ASSERT_FALSE(finished.output.empty()) << line;
  EXPECT_EQ(finished.output.find('\n'), finished.output.size() - 1) << line << ": " << finished.output;
}

class RunningProgram {
 public:
  RunningProgram(std::wstring commandLine, const std::wstring& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                         &process)) {
      process_.Reset(process.hProcess);
      ::CloseHandle(process.hThread);
      id_ = process.dwProcessId;
    }
  }
  ~RunningProgram() {
    if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.Get(), 9);
      ::WaitForSingleObject(process_.Get(), 5000);
    }
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  RunningProgram(RunningProgram&&) = default;

  bool Started() const { return process_.Valid(); }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.Get(); }

 private:
  win::ScopedHandle process_;
  DWORD id_ = 0;
};

// ---- QXSimulator.exe, QXBallonTips.exe

class ProductProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(::CreateDirectoryW(install_.c_str(), nullptr)); }
  test::TempFolder root_{"sample-product"};
  const std::wstring install_ = JoinPath(win::AnsiToWide(root_.Path()), L"岚舟 模拟器");
};

TEST_F(ProductProgramTest, MainProgramShowsItsWindowLogsAndEndsWhenClosed) {
  const std::wstring program = PlaceProgram(L"QXSimulator.exe", install_);
  const size_t before = RunLog().size();
  RunningProgram running(Quoted(program), install_);
  ASSERT_TRUE(running.Started());
  const std::vector<std::string> log = WaitForRunLog(before + 1);
  ASSERT_EQ(log.size(), before + 1);
  EXPECT_EQ(log.back(), LogLine(L"QXSimulator.exe", Quoted(program), install_));

  HWND window = ::FindWindowW(nullptr, L"岚舟模拟器");
  ASSERT_NE(window, nullptr);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  EXPECT_EQ(owner, running.Id());
  RECT frame;
  ::GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, 480);
  EXPECT_EQ(frame.bottom - frame.top, 300);

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(running.Handle(), 10000), WAIT_OBJECT_0);
  DWORD exitCode = STILL_ACTIVE;
  ::GetExitCodeProcess(running.Handle(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(ProductProgramTest, AutoStartProgramStaysAndEveryConcurrentStartIsLogged) {
  const std::wstring program = PlaceProgram(L"QXBallonTips.exe", install_);
  const size_t before = RunLog().size();
  std::vector<RunningProgram> running;
  constexpr size_t kStarts = 6;
  for (size_t i = 0; i < kStarts; ++i) {
    running.emplace_back(Quoted(program) + L" --start " + std::to_wstring(i), install_);
    ASSERT_TRUE(running.back().Started());
  }
  std::vector<std::string> log = WaitForRunLog(before + kStarts);
  ASSERT_EQ(log.size(), before + kStarts);
  log.erase(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(before));
  for (size_t i = 0; i < kStarts; ++i) {
    const std::string line =
        LogLine(L"QXBallonTips.exe", Quoted(program) + L" --start " + std::to_wstring(i), install_);
    EXPECT_EQ(std::count(log.begin(), log.end(), line), 1) << line;
  }
  ::Sleep(500);
  for (const RunningProgram& start : running)
    EXPECT_EQ(::WaitForSingleObject(start.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

// ---- syspin.exe

class PinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::SHCreateDirectoryExW(nullptr, install_.c_str(), nullptr);
    PlaceProgram(L"syspin.exe", install_);
    PlaceProgram(L"QXSimulator.exe", install_);
  }
  // The installer's line: "<folder>\syspin" "<folder>\<program>" c:5386.
  std::wstring PinLine(const std::wstring& target, const std::wstring& code = L"c:5386") const {
    return Quoted(JoinPath(install_, L"syspin")) + L" " + Quoted(target) + L" " + code;
  }
  test::TempFolder root_{"sample-pin"};
  const std::wstring install_ = JoinPath(win::AnsiToWide(root_.Path()), L"Program Files\\QXSimulator");
  const std::wstring pins_ = JoinPath(AppData(), L"Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar");
};

std::wstring ShortcutTarget(const std::wstring& link) {
  win::ScopedCoInitialize com;
  win::ComPtr<IShellLinkW> shellLink;
  if (FAILED(
          ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.ReceiveVoid())))
    return L"";
  win::ComPtr<IPersistFile> file = shellLink.As<IPersistFile>(IID_IPersistFile);
  if (!file || FAILED(file->Load(link.c_str(), STGM_READ))) return L"";
  wchar_t target[MAX_PATH] = {};
  shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  return target;
}

TEST_F(PinTest, WrongLinesChangeNothing) {
  const bool hadPinFolder = Exists(pins_);
  const size_t logged = RunLog().size();
  const std::wstring target = JoinPath(install_, L"QXSimulator.exe");
  const std::wstring syspin = Quoted(JoinPath(install_, L"syspin"));
  const std::wstring lines[] = {
      syspin,
      syspin + L" " + Quoted(target),
      PinLine(target) + L" extra",
      PinLine(target, L"C:5386"),
      PinLine(target, L"c:538"),
      PinLine(L"QXSimulator.exe"),
      PinLine(JoinPath(install_, L"missing.exe")),
      PinLine(install_),
      // Unquoted, the blank splits the target into two arguments.
      syspin + L" " + target + L" c:5386",
  };
  for (const std::wstring& line : lines) ExpectRefused(RunHidden(line, install_), 2, line);
  EXPECT_FALSE(Exists(JoinPath(pins_, L"QXSimulator.lnk")));
  if (!hadPinFolder) {
    EXPECT_FALSE(Exists(pins_));
  }
  EXPECT_EQ(RunLog().size(), logged);
}

TEST_F(PinTest, InstallerLinePinsReplacingAnOldPin) {
  ::SHCreateDirectoryExW(nullptr, pins_.c_str(), nullptr);
  WriteAll(JoinPath(pins_, L"QXSimulator.lnk"), "not a shortcut");
  const size_t logged = RunLog().size();
  const std::wstring target = JoinPath(install_, L"QXSimulator.exe");
  const Finished finished = RunHidden(PinLine(target), install_);
  EXPECT_EQ(finished.exitCode, 0u) << finished.output;
  EXPECT_EQ(ShortcutTarget(JoinPath(pins_, L"QXSimulator.lnk")), target);
  const std::vector<std::string> log = RunLog();
  ASSERT_EQ(log.size(), logged + 1);
  EXPECT_EQ(log.back(), LogLine(L"syspin.exe", PinLine(target), install_));

  // A Chinese file in a Chinese folder.
  const std::wstring chinese = JoinPath(install_, L"深层\\岚舟.exe");
  ::CreateDirectoryW(JoinPath(install_, L"深层").c_str(), nullptr);
  WriteAll(chinese, "x");
  EXPECT_EQ(RunHidden(PinLine(chinese), install_).exitCode, 0u);
  EXPECT_EQ(ShortcutTarget(JoinPath(pins_, L"岚舟.lnk")), chinese);
}

// ---- HttpInstallSubmit.exe

std::optional<std::string> JsonField(const std::string& json, const std::string& key) {
  const std::string opening = "\"" + key + "\":\"";
  size_t at = json.find(opening);
  if (at == std::string::npos) return std::nullopt;
  std::string value;
  for (at += opening.size(); at < json.size() && json[at] != '"'; ++at) {
    if (json[at] == '\\' && at + 1 < json.size()) ++at;
    value += json[at];
  }
  return value;
}

class SubmitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::SHCreateDirectoryExW(nullptr, folder_.c_str(), nullptr);
    program_ = PlaceProgram(L"HttpInstallSubmit.exe", folder_);
    ::DeleteFileW(report_.c_str());
  }
  void TearDown() override {
    for (const wchar_t* name : {L"HttpInstallSubmit.exe", L"submitconfig.ini", L"install-report.json"})
      ::DeleteFileW(JoinPath(folder_, name).c_str());
  }
  // As the installer writes it: A-API, values in the ANSI code page.
  void WriteSettings(const std::string& installPath, const std::string& version) {
    const std::string file = win::WideToAnsi(settings_);
    if (!installPath.empty()) ::WritePrivateProfileStringA("CONFIG", "installPath", installPath.c_str(), file.c_str());
    if (!version.empty()) ::WritePrivateProfileStringA("CONFIG", "Version", version.c_str(), file.c_str());
  }
  // The installer's line: the program's path unquoted, the build quoted.
  std::wstring Line(const std::wstring& arguments) const { return program_ + L" " + arguments; }

  const std::wstring folder_ = JoinPath(AppData(), L"QXSimulator");
  const std::wstring settings_ = JoinPath(folder_, L"submitconfig.ini");
  const std::wstring report_ = JoinPath(folder_, L"install-report.json");
  std::wstring program_;
};

std::string WindowsVersion() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  rtlGetVersion(&info);
  return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
         std::to_string(info.dwBuildNumber);
}

// ISO 8601 UTC; texts of this form sort as their times do.
std::string UtcNow() {
  SYSTEMTIME now;
  ::GetSystemTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  return text;
}

TEST_F(SubmitTest, ReportHoldsTheSettingsInUtf8) {
  ASSERT_EQ(::GetACP(), 936u);
  const std::wstring installPath = L"C:\\Program Files\\岚舟模拟器";
  WriteSettings(win::WideToGbk(installPath), "0.2.0.1760");
  WriteAll(report_, "old report");
  const size_t logged = RunLog().size();
  const std::string before = UtcNow();
  const Finished finished = RunHidden(Line(L"\"1760_0\""), folder_);
  const std::string after = UtcNow();
  ASSERT_EQ(finished.exitCode, 0u) << finished.output;

  const std::string json = ReadAll(report_);
  ASSERT_EQ(json.front(), '{') << json;
  EXPECT_EQ(json.substr(json.size() - 2), "}\n");
  EXPECT_EQ(JsonField(json, "version"), "0.2.0.1760");
  EXPECT_EQ(JsonField(json, "build"), "1760");
  EXPECT_EQ(JsonField(json, "installPath"), win::WideToUtf8(installPath));
  EXPECT_NE(json.find("C:\\\\Program Files\\\\"), std::string::npos) << json;
  EXPECT_EQ(JsonField(json, "windows"), WindowsVersion());
  const std::string time = JsonField(json, "time").value_or("");
  EXPECT_EQ(time.size(), before.size());
  EXPECT_LE(before, time);
  EXPECT_LE(time, after);

  // Nothing left of the temporary file.
  WIN32_FIND_DATAW entry;
  win::ScopedFindHandle find(::FindFirstFileW(JoinPath(folder_, L"*.tmp").c_str(), &entry));
  EXPECT_FALSE(find.Valid());
  const std::vector<std::string> log = RunLog();
  ASSERT_EQ(log.size(), logged + 1);
  EXPECT_EQ(log.back(), LogLine(L"HttpInstallSubmit.exe", Line(L"\"1760_0\""), folder_));
}

TEST_F(SubmitTest, EachRefusalWritesNoReport) {
  const size_t logged = RunLog().size();
  WriteAll(report_, "old report");
  // No settings file.
  ExpectRefused(RunHidden(Line(L"\"1760_0\""), folder_), 2, L"no settings");

  WriteSettings("C:\\QXSimulator", "0.2.0.1760");
  for (const wchar_t* arguments : {L"", L"\"1760_0\" \"1760_0\"", L"\"1760\"", L"\"1760_1\"", L"\"x1760_0\"",
                                   L"\"1761_0\"", L"\"01760_0\"", L"\"_0\""})
    ExpectRefused(RunHidden(Line(arguments), folder_), 2, Line(arguments));

  ::DeleteFileW(settings_.c_str());
  WriteSettings("", "0.2.0.1760");
  ExpectRefused(RunHidden(Line(L"\"1760_0\""), folder_), 2, L"no installPath");
  ::DeleteFileW(settings_.c_str());
  WriteSettings("C:\\QXSimulator", "");
  ExpectRefused(RunHidden(Line(L"\"1760_0\""), folder_), 2, L"no Version");

  EXPECT_EQ(ReadAll(report_), "old report");
  EXPECT_EQ(RunLog().size(), logged);
}

// ---- VMware14.exe through the installer's batch file

constexpr wchar_t kAppPathKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vmware.exe";
constexpr wchar_t kProductKey[] = L"SOFTWARE\\VMware, Inc.\\VMware Workstation";
constexpr wchar_t kVendorKey[] = L"SOFTWARE\\VMware, Inc.";
constexpr wchar_t kSetupFolder[] = L"C:\\Program Files (x86)\\VMware\\VMware Workstation";

std::optional<std::wstring> ReadRegistryString(REGSAM view, const wchar_t* keyPath, const wchar_t* name) {
  win::ScopedRegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE | view, key.Receive()) != ERROR_SUCCESS)
    return std::nullopt;
  wchar_t value[1024] = {};
  DWORD type = 0, bytes = sizeof value - sizeof(wchar_t);
  if (::RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;
  return std::wstring(value);
}

bool KeyExists(REGSAM view, const wchar_t* keyPath) {
  win::ScopedRegKey key;
  return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE | view, key.Receive()) == ERROR_SUCCESS;
}

// The batch file's form of a folder: every component holding a blank in quotes.
std::wstring QuoteComponentsWithBlanks(const std::wstring& path) {
  std::wstring out;
  size_t start = 0;
  for (;;) {
    const size_t end = path.find(L'\\', start);
    const std::wstring part = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    out += part.find(L' ') == std::wstring::npos ? part : Quoted(part);
    if (end == std::wstring::npos) return out;
    out += L'\\';
    start = end + 1;
  }
}

class SetupStandInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::SHCreateDirectoryExW(nullptr, install_.c_str(), nullptr);
    program_ = PlaceProgram(L"VMware14.exe", install_);
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kAppPathKey, view, 0);
      ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kProductKey, view, 0);
      ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kVendorKey, view, 0);
    }
  }
  // Writes Vmware.bat as the installer does, runs it hidden through the
  // shell, waits; the batch's exit code.
  DWORD RunBatch(const std::wstring& setupLine) {
    const std::wstring batch = JoinPath(install_, L"Vmware.bat");
    WriteAll(batch,
             win::WideToAnsi(QuoteComponentsWithBlanks(install_) + L"\\VMware14.exe " + setupLine + L"\r\nexit\r\n"));
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.lpVerb = L"open";
    execute.lpFile = batch.c_str();
    execute.lpDirectory = install_.c_str();
    execute.nShow = SW_HIDE;
    if (!::ShellExecuteExW(&execute) || !execute.hProcess) {
      ADD_FAILURE() << "the shell did not start the batch file";
      return STILL_ACTIVE;
    }
    win::ScopedHandle process(execute.hProcess);
    EXPECT_EQ(::WaitForSingleObject(process.Get(), 60000), WAIT_OBJECT_0);
    DWORD exitCode = STILL_ACTIVE;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
  }

  test::TempFolder root_{"sample-setup"};
  const std::wstring install_ = JoinPath(win::AnsiToWide(root_.Path()), L"Program Files\\QXSimulator");
  std::wstring program_;
};

const wchar_t kSilentLine[] =
    L"/s /pass /v/qn REBOOT=Suppress EULAS_AGREED=1 INSTALLDIR=\"C:\\Program Files (x86)\\VMware\\VMware Workstation\" "
    L"ADDLOCAL=ALL";

TEST_F(SetupStandInTest, InstallersBatchLineRegistersInBothViews) {
  const size_t logged = RunLog().size();
  const DWORD started = ::GetTickCount();
  const DWORD batchExit = RunBatch(kSilentLine);
  const DWORD elapsed = ::GetTickCount() - started;
  EXPECT_GE(elapsed, 2900u);

  const std::vector<std::string> log = RunLog();
  ASSERT_EQ(log.size(), logged + 1) << "VMware14.exe did not start through the batch file";
  // How the command processor handed on the line with quotes inside the path.
  std::cout << "[ batch    ] exit code " << batchExit << "; VMware14.exe saw: " << log.back() << std::endl;
  EXPECT_EQ(log.back().substr(0, log.back().find('\t')), "VMware14.exe");

  BOOL wow64 = FALSE;
  ::IsWow64Process(::GetCurrentProcess(), &wow64);
  const bool oneView = sizeof(void*) == 4 && !wow64;
  const std::wstring exe = std::wstring(kSetupFolder) + L"\\vmware.exe";
  EXPECT_EQ(ReadRegistryString(KEY_WOW64_64KEY, kAppPathKey, nullptr), exe);
  EXPECT_EQ(ReadRegistryString(KEY_WOW64_32KEY, kProductKey, L"ProductVersion"), L"14.1.1.28517");
  EXPECT_EQ(ReadRegistryString(KEY_WOW64_32KEY, kProductKey, L"InstallPath"), kSetupFolder);
  // On 64-bit Windows the product's key is in the 32-bit view only. (App
  // Paths is one key shared by both views in the prefix, so its 32-bit
  // view tells nothing.)
  EXPECT_EQ(KeyExists(KEY_WOW64_64KEY, kProductKey), oneView);
}

TEST_F(SetupStandInTest, AnyOtherLineChangesNothing) {
  const size_t logged = RunLog().size();
  const std::wstring quotedProgram = Quoted(program_);
  const std::wstring lines[] = {
      quotedProgram,
      quotedProgram + L" /s",
      quotedProgram + L" " + kSilentLine + L" /norestart",
      quotedProgram + L" /S /pass /v/qn REBOOT=Suppress EULAS_AGREED=1 INSTALLDIR=\"" + kSetupFolder +
          L"\" ADDLOCAL=ALL",
      // The folder unquoted: INSTALLDIR ends at the first blank.
      quotedProgram + L" /s /pass /v/qn REBOOT=Suppress EULAS_AGREED=1 INSTALLDIR=" + kSetupFolder + L" ADDLOCAL=ALL",
  };
  for (const std::wstring& line : lines) ExpectRefused(RunHidden(line, install_), 1, line);
  // The same through the batch file.
  RunBatch(L"/s /pass");
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
    EXPECT_FALSE(KeyExists(view, kAppPathKey) || KeyExists(view, kProductKey));
  EXPECT_EQ(RunLog().size(), logged);
}

}  // namespace
}  // namespace qx
