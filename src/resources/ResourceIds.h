#pragma once
// Ids of the resources that belong to the whole program: the view uses the pointer, the dialogs
// the icon and the strings, the system the name. The dialogs' templates and controls have their
// own header. Shared with the resource scripts, so it holds nothing but #defines.

// The saver's name, shown in the system's screen-saver list.
#define IDS_SAVER_NAME 1
// The text of the About item that the main dialog adds to its system menu.
#define IDS_ABOUT_MENU_TEXT 101
// The program icon.
#define IDI_SAVER_ICON 128
// The pointer over a simulation view: a 32 x 32 monochrome arrow, hot spot top left.
#define IDC_SAVER_CURSOR 129
