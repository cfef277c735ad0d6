// The install run's texts and command lines, built from plain strings so
// that they can be checked without Windows. Pure logic: no Windows headers.
#pragma once

#include <string>
#include <string_view>

namespace qx::install {

// Every path component that the command interpreter would split or read as
// an operator (a blank, & | < > ^ ( ) , ; =) enclosed in double quotes, and
// "%" doubled so that a batch file does not expand it. C:\Program Files\QX
// gives C:\"Program Files"\QX; a trailing "\" stays exactly one.
std::string QuotePathComponents(std::string_view path);

// The prerequisite's silent setup line for a quoted install folder.
std::string VMwareSetupCommandLine(std::string_view quotedInstallFolder);

// The batch file's whole text: the setup line and "exit", each CR LF ended.
std::string VMwareBatchText(std::string_view quotedInstallFolder);

// The whole number in front of the first "." of a version text (leading
// blanks skipped, optional sign); 0 without digits. Never overflows.
int MajorVersion(std::string_view productVersion);

// The major version the payload's prerequisite setup installs.
inline constexpr int kRequiredVMwareMajor = 14;

// The report program's argument: the version's part after its last "."
// (the whole text without one) followed by "_0".
std::string ReportBuildArgument(std::string_view displayVersion);

// "<program>" "<build argument>": the program path quoted too, so that a
// blank in the user's profile path cannot make the system start another
// program first.
std::string ReportCommandLine(std::string_view program, std::string_view displayVersion);

// The failure box for an extraction result code: the code's line (empty for
// an unknown code), a line break, and the closing line.
std::wstring ExtractFailureText(int code);

// "42%" for 42.
std::wstring PercentText(int percent);

// The loading picture's next frame file name ("loading_pic2.bmp" first),
// advancing the counter; wraps after three frames.
std::wstring NextLoadingFrame(int& counter);

// The prerequisite's status text with its next suffix (" ", ".", "..",
// "..."), advancing the counter.
std::wstring NextVMwareStatus(int& counter);

}  // namespace qx::install
