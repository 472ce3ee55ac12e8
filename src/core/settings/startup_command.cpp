#include "settings/startup_command.h"

namespace vellumo {

std::string StartupCommand(std::string_view exe_folder, std::string_view exe_file_name) {
  // Only the last dot starts the extension; a name without one is taken whole.
  const std::string_view stem = exe_file_name.substr(0, exe_file_name.rfind('.'));
  std::string command = "\"";
  command += exe_folder;
  if (exe_folder.empty() || exe_folder.back() != '\\') command += '\\';
  command += stem;
  command += ".exe\" -next";
  return command;
}

}  // namespace vellumo
