#pragma once

#include <string>
#include <string_view>

namespace vellumo {

// The command that starts a background run at logon: the program's path in double quotes,
// then " -next". The path joins the folder and the file name with one backslash (a drive root
// such as "C:\" already ends in one), the name's extension replaced by ".exe".
std::string StartupCommand(std::string_view exe_folder, std::string_view exe_file_name);

}  // namespace vellumo
