#pragma once

// Resource identifiers shared by the .rc file and the code that loads them.
#define IDI_VELLUMO 1

// The program's version: major, minor, patch. The version resource is made from it.
#define VELLUMO_VERSION 0, 3, 0
