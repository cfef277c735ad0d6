#include "uninstall/uninstall_rules.h"

#include <cwctype>

#include "core/path.h"
#include "core/text.h"

namespace qx::uninstall {
namespace {

bool Is(std::wstring_view word, std::wstring_view wanted) {
  if (word.size() != wanted.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::towlower(static_cast<wint_t>(word[i])) != std::towlower(static_cast<wint_t>(wanted[i]))) return false;
  return true;
}

bool ParseNumber(std::wstring_view text, uint64_t& value) {
  if (text.empty() || text.size() > 19) return false;
  value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    value = value * 10 + static_cast<uint64_t>(c - L'0');
  }
  return value != 0;
}

bool IsPlainFileName(std::wstring_view name) {
  return !name.empty() && name.find_first_of(L"\\/:") == std::wstring_view::npos && name != L"." && name != L"..";
}

std::wstring Quoted(std::wstring_view text) { return L"\"" + std::wstring(text) + L"\""; }

}  // namespace

constexpr wchar_t kWorkerSwitch[] = L"/qx-worker";

Arguments ParseArguments(const std::vector<std::wstring>& words) {
  Arguments args;
  for (size_t i = 0; i < words.size(); ++i) {
    if (Is(words[i], L"/S")) {
      args.silent = true;
    } else if (Is(words[i], kWorkerSwitch) && i + 4 < words.size()) {
      Arguments worker;
      worker.folder = words[i + 1];
      worker.originalProgram = words[i + 2];
      if (!IsPlainFileName(worker.originalProgram) || worker.folder.empty() ||
          !ParseNumber(words[i + 3], worker.originalProcess) || !ParseNumber(words[i + 4], worker.resultPipe))
        continue;
      args.worker = true;
      args.folder = worker.folder;
      args.originalProgram = worker.originalProgram;
      args.originalProcess = worker.originalProcess;
      args.resultPipe = worker.resultPipe;
      i += 4;
    }
  }
  return args;
}

std::wstring WorkerCommandLine(std::wstring_view copy, const Arguments& worker) {
  // A folder may end in "\", which would escape the closing quote.
  std::wstring folder = worker.folder;
  while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  std::wstring line = Quoted(copy) + L" " + kWorkerSwitch + L" " + Quoted(folder) + L" " +
                      Quoted(worker.originalProgram) + L" " + std::to_wstring(worker.originalProcess) + L" " +
                      std::to_wstring(worker.resultPipe);
  if (worker.silent) line += L" /S";
  return line;
}

Refusal Judge(const Evidence& e, std::string_view folder) {
  if (!e.folderAllowed) return Refusal::kUnsafeFolder;
  if (e.folderIsLink) return Refusal::kFolderIsLink;
  if (!e.recordLoaded) return Refusal::kNoRecord;
  if (!e.mainProgramPresent || !e.mainProgramListed) return Refusal::kNoMainProgram;
  if (!e.keyNameValid) return Refusal::kBadKeyName;
  if (e.entryPresent && (!SameFolder(e.entryIconFolder, folder) || !SameFolder(e.entryUninstallFolder, folder)))
    return Refusal::kEntryElsewhere;
  return Refusal::kProved;
}

std::wstring Caption(std::wstring_view displayName) { return std::wstring(displayName) + L" 卸载"; }

std::wstring ConfirmText(std::wstring_view displayName) { return L"确定要卸载" + std::wstring(displayName) + L"吗?"; }

std::wstring RefusalText(Refusal refusal, std::wstring_view displayName, std::wstring_view folder,
                         std::wstring_view entryFolder) {
  std::wstring why;
  switch (refusal) {
    case Refusal::kProved:
      return {};
    case Refusal::kUnsafeFolder:
      why = L"它是磁盘根目录、系统文件夹或用户的个人文件夹。";
      break;
    case Refusal::kFolderIsLink:
      why = L"它是指向其他位置的链接。";
      break;
    case Refusal::kNoRecord:
      why = L"其中没有完整的安装记录(uninstall.lst、uninstall.ini)。";
      break;
    case Refusal::kNoMainProgram:
      why = L"其中没有" + std::wstring(displayName) + L"的主程序。";
      break;
    case Refusal::kBadKeyName:
      why = L"安装记录中的注册表项名称无效。";
      break;
    case Refusal::kEntryElsewhere:
      why = L"系统中的卸载信息指向另一个文件夹:\n" + std::wstring(entryFolder);
      break;
  }
  return L"无法确认以下文件夹是" + std::wstring(displayName) + L"的安装文件夹:\n" + std::wstring(folder) + L"\n\n" +
         why + L"\n\n为避免误删您的文件，卸载已取消，没有删除任何内容。";
}

std::wstring NameLines(const std::vector<std::wstring>& names, size_t limit) {
  std::wstring text;
  for (size_t i = 0; i < names.size() && i < limit; ++i) text += L"    " + names[i] + L"\n";
  if (names.size() > limit) text += L"    ……等共" + std::to_wstring(names.size()) + L"项\n";
  return text;
}

std::wstring DoneText(std::wstring_view displayName, std::wstring_view folder, const std::vector<std::wstring>& kept) {
  std::wstring text = std::wstring(displayName) + L"已从您的计算机中卸载。";
  if (!kept.empty())
    text += L"\n\n以下内容不是安装时放入的，已为您保留在\n" + std::wstring(folder) + L" 中:\n" + NameLines(kept, 15);
  return text;
}

std::wstring IncompleteText(std::wstring_view displayName, const std::vector<std::wstring>& held) {
  return L"以下文件正在使用，无法删除:\n" + NameLines(held, 15) + L"\n请关闭相关程序后重新卸载" +
         std::wstring(displayName) + L"。卸载信息已保留。";
}

std::wstring FailedText(std::wstring_view displayName) {
  return L"无法启动卸载(临时文件夹不可写?)。" + std::wstring(displayName) + L"未做任何更改。";
}

bool ReportSettingsAreTheInstallers(std::string_view text, std::string_view installFolder) {
  std::string section;
  bool namesThisFolder = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = TrimBlanks(text.substr(pos, end - pos));
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line = TrimBlanks(line.substr(0, line.size() - 1));
    if (line.empty()) continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      section = std::string(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      if (!EqualsIgnoreAsciiCase(section, "CONFIG")) return false;
      continue;
    }
    if (!EqualsIgnoreAsciiCase(section, "CONFIG")) return false;
    const KeyValue entry = SplitEntry(line);
    if (EqualsIgnoreAsciiCase(entry.key, "installPath"))
      namesThisFolder = SameFolder(entry.value, installFolder);
    else if (!EqualsIgnoreAsciiCase(entry.key, "Version"))
      return false;
  }
  return namesThisFolder;
}

}  // namespace qx::uninstall
