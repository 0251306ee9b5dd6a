#pragma once

// Shared by mofu.rc and the code: the program's icon.
#define IDI_MOFU 1
