#pragma once

namespace vellumo {

// The program's name, as every window shows it.
inline constexpr char kProductName[] = "Vellumo";

}  // namespace vellumo
