#pragma once

#include <windows.h>

namespace vellumo {

// An open registry key, closed when it goes out of scope.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }

  HKEY get() const { return key_; }
  // For the Reg*Key* calls that hand back a new key.
  HKEY* out() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace vellumo
