// Identifiers of the program's resources, shared by the resource script and
// the code that loads them.
#pragma once

#define IDI_LUMORA 1

// Main window.
#define IDB_MAIN_BACKGROUND 101
#define IDB_MAIN_LOGO 102
#define IDB_NAV_BUTTON1 103
#define IDB_NAV_BUTTON2 104
#define IDB_NAV_BUTTON3 105
#define IDB_NAV_BUTTON4 106
#define IDB_EDITION_WORKSTATION 110
#define IDB_EDITION_SERVER 111
#define IDB_PROCESSOR 112
#define IDB_CONNECTION 113
// The same list icons made at 24 x 24 and 32 x 32, for larger dpi settings.
#define IDB_EDITION_WORKSTATION_24 114
#define IDB_EDITION_SERVER_24 115
#define IDB_PROCESSOR_24 116
#define IDB_CONNECTION_24 117
#define IDB_EDITION_WORKSTATION_32 130
#define IDB_EDITION_SERVER_32 131
#define IDB_PROCESSOR_32 132
#define IDB_CONNECTION_32 133

// About box.
#define IDB_ABOUT_BANNER 120
#define IDB_ABOUT_ICON 121
