#pragma once

#include "ui/product.h"

namespace vellumo::about_text {

// The About box's texts. The maker's address is shown on the link and opened by it.
inline constexpr char kCaption[] = "About Vellumo";
inline constexpr const char* kProduct = kProductName;
inline constexpr char kVersion[] = "v0.3b";
inline constexpr char kCredit[] = "by Corvane";
inline constexpr char kMakerAddress[] = "http://corvane.example/";
inline constexpr char kLinkText[] = "corvane.example";  // the address as people write it
inline constexpr char kCancel[] = "cancel";

}  // namespace vellumo::about_text
