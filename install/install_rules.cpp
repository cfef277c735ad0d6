#include "install/install_rules.h"

#include <climits>
#include <cstdint>

namespace qx::install {
namespace {

bool NeedsQuotes(std::string_view piece) { return piece.find_first_of(" &|<>^(),;=") != std::string_view::npos; }

std::string QuotePiece(std::string_view piece) {
  std::string out;
  for (char c : piece) {
    out += c;
    if (c == '%') out += '%';
  }
  if (!NeedsQuotes(piece)) return out;
  std::string quoted(1, '"');
  quoted.append(out).push_back('"');
  return quoted;
}

}  // namespace

std::string QuotePathComponents(std::string_view path) {
  std::string result;
  size_t start = 0;
  while (true) {
    const size_t slash = path.find('\\', start);
    result += QuotePiece(path.substr(start, slash == std::string_view::npos ? slash : slash - start));
    if (slash == std::string_view::npos) break;
    result += '\\';
    start = slash + 1;
  }
  return result;
}

std::string VMwareSetupCommandLine(std::string_view quotedInstallFolder) {
  return std::string(quotedInstallFolder) +
         "\\VMware14.exe /s /pass /v/qn REBOOT=Suppress EULAS_AGREED=1 "
         "INSTALLDIR=\"C:\\Program Files (x86)\\VMware\\VMware Workstation\" ADDLOCAL=ALL";
}

std::string VMwareBatchText(std::string_view quotedInstallFolder) {
  return VMwareSetupCommandLine(quotedInstallFolder) + "\r\nexit\r\n";
}

int MajorVersion(std::string_view productVersion) {
  const std::string_view first = productVersion.substr(0, productVersion.find('.'));
  size_t i = 0;
  while (i < first.size() && (first[i] == ' ' || (first[i] >= '\t' && first[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < first.size() && (first[i] == '+' || first[i] == '-')) negative = first[i++] == '-';
  int64_t value = 0;
  for (; i < first.size() && first[i] >= '0' && first[i] <= '9'; ++i) {
    value = value * 10 + (first[i] - '0');
    if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
  }
  return static_cast<int>(negative ? -value : value);
}

std::string ReportBuildArgument(std::string_view displayVersion) {
  const size_t dot = displayVersion.rfind('.');
  return std::string(dot == std::string_view::npos ? displayVersion : displayVersion.substr(dot + 1)) + "_0";
}

std::string ReportCommandLine(std::string_view program, std::string_view displayVersion) {
  std::string line(1, '"');
  line.append(program).append("\" \"").append(ReportBuildArgument(displayVersion)).push_back('"');
  return line;
}

std::wstring ExtractFailureText(int code) {
  static const wchar_t* const kLines[] = {
      L"初始化安装出错，安装加载解压库失败!",    // -1
      L"初始化安装出错，获取安装解压函数失败!",  // -2
      L"获取安装解压对象失败!",                  // -3
      L"打开安装压缩包失败!",                    // -4
      L"打开安装压缩包中文件失败!",              // -5
      L"安装过程中出错!",                        // -6
  };
  const std::wstring first = code >= -6 && code <= -1 ? kLines[-code - 1] : L"";
  return first + L"\n" + L"安装模拟器失败，程序退出!";
}

std::wstring PercentText(int percent) { return std::to_wstring(percent) + L"%"; }

std::wstring NextLoadingFrame(int& counter) {
  static const wchar_t* const kFrames[] = {L"loading_pic2.bmp", L"loading_pic3.bmp", L"loading_pic1.bmp"};
  if (counter >= 3 || counter < 0) counter = 0;
  return kFrames[counter++];
}

std::wstring NextVMwareStatus(int& counter) {
  static const wchar_t* const kSuffixes[] = {L" ", L".", L"..", L"..."};
  if (counter >= 4 || counter < 0) counter = 0;
  return std::wstring(L"正在安装VMware") + kSuffixes[counter++];
}

}  // namespace qx::install
