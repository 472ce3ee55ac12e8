#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace vellumo {

// The connector names ("HDMI-1", "eDP-1") in the output of `xrandr --listactivemonitors`.
std::vector<std::string> MonitorNamesFromXrandr(std::string_view listing);

// The connected monitors' names as xrandr lists them; empty when it cannot say.
std::vector<std::string> ActiveMonitorNames(std::chrono::milliseconds time_limit);

}  // namespace vellumo
