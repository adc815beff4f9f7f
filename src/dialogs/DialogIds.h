#pragma once
// Ids of the configuration dialogs' templates and controls. Shared by the resource script and
// the dialog classes, so it holds nothing but #defines. The program's icon and strings are the
// whole program's resources.
#include "resources/ResourceIds.h"

// The command of the About item that the main dialog adds to its system menu.
#define IDM_ABOUT_COMMAND 16

// Dialog templates.
#define IDD_ABOUT 100
#define IDD_SETTINGS 102
#define IDD_PROPERTIES 139
#define IDD_MESSAGE 140

// Resource type of a template's initial data (items put into its lists when it opens).
#define RT_DIALOG_INIT 240

// Main settings dialog.
#define IDC_APPLY_AND_TEST 3
#define IDC_DRIVER_LIST 1003
#define IDC_NETWORK_LIST 1005
#define IDC_PREVIEW_PLACE 1006
#define IDC_BACK_COLOUR 1007
#define IDC_RESET_ALL 1016
#define IDC_LIFTS_SLIDER 1018
#define IDC_PEOPLE_SLIDER 1019
#define IDC_CAPACITY_SLIDER 1026
#define IDC_SCALE_SLIDER 1034
#define IDC_DEFAULT_VIEW 1035
#define IDC_PROPERTIES 1037
#define IDC_SETTINGS_ICON 1060

// About box.
#define IDC_ABOUT_TITLE 1028

// Properties dialog.
#define IDC_BASE_SCALE 1000
#define IDC_SPEED_SLIDER 1019
#define IDC_SHOW_LEGEND 1030
#define IDC_UNUSED_CHECK_1 1031
#define IDC_USE_COLOURS 1033
#define IDC_UNUSED_CHECK_2 1036
#define IDC_USE_DEFAULTS 1039
#define IDC_FLOORS 1041
#define IDC_LIFT_PAUSE 1042
#define IDC_PERSON_PAUSE 1043
#define IDC_PERSON_INTERVAL 1044
#define IDC_IMPATIENCE 1045
#define IDC_UNUSED_EDIT_1 1046
#define IDC_UNUSED_CHECK_3 1057
#define IDC_UNUSED_EDIT_2 1058
#define IDC_UNUSED_EDIT_3 1059
#define IDC_ALL_MONITORS 1061

// Message dialog.
#define IDC_MESSAGE_BODY 1047
#define IDC_MESSAGE_HEADING 1050
#define IDC_MESSAGE_CHECK 1051
#define IDC_MESSAGE_CHECK_LABEL 1052
