#pragma once

// Shared by mofu.rc and the code: the program's icon, and the name Windows'
// screen-saver settings list it by (string 1 of a screen saver, by convention).
#define IDI_MOFU 1
#define IDS_DESCRIPTION 1
