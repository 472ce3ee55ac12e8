#include "system_message.h"

#include <string_view>

#include "utf.h"

namespace vellumo {

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring_view message(text, text ? length : 0);
  while (!message.empty() && std::wstring_view(L" \t\r\n.").find(message.back()) != message.npos)
    message.remove_suffix(1);
  std::string words = Narrow(message);
  LocalFree(text);
  return words;
}

std::string SystemMessageOf(HRESULT result) {
  if (HRESULT_FACILITY(result) == FACILITY_WIN32) return SystemMessage(HRESULT_CODE(result));
  return SystemMessage(static_cast<DWORD>(result));
}

}  // namespace vellumo
