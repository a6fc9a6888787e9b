#pragma once
// Reading a conditions file (.cnd) for korvana-cli: the header line, then the
// lines of the condition as the user typed them, in Windows-1251 with CR LF.
#include <string>
#include <vector>

inline constexpr const char* ConditionsFileHeader = "This is Conditions File of Tavex's Bridge Generator";

// Reads the condition's lines (UTF-8, without line ends) into `lines`. False when
// the file cannot be read (`error` is the system's reason, prefixed with the file
// name) or its first line is not exactly the header (`error` is the refusal
// message of the desktop program); `lines` is then unchanged.
bool ReadConditionsFile(const std::string& fileName, std::vector<std::string>& lines, std::string& error);

// Splits text into lines at CR LF, LF or a lone CR. A line end at the very end
// of the text does not start another line; an empty text has no lines.
std::vector<std::string> SplitLines(const std::string& text);
