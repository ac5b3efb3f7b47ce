// How the user reaches the plug-in inside the host: an item in each of the host menus
// "UsingExtensions" (Help) and "AboutExtensions" (About), a toolbar button before the host's
// "endToolsGroup" button (Export), and the plug-in's own menu "Vantrell" with "&Export", "&Help"
// and "&About". The items and the button are enabled at all times.
#ifndef VANTRELL_SHELL_MENUSANDTOOLBAR_H
#define VANTRELL_SHELL_MENUSANDTOOLBAR_H

#include "host/HostTypes.h"

// The init routine: installs everything above, once, and always answers true. When the own menu
// cannot be created, the host's alert says "Unable to create the Vantrell menu" and what was
// installed before it stays. A null handle from the host is never passed back to it: the calls
// that would receive one are left out, but for the host's "endToolsGroup" button: without it the
// button goes at the end of the toolbar, added with no other button to stand beside. Without its
// bitmap the button is made all the same, with no picture.
HostBool InstallMenusAndToolbar();

// The toolbar button's picture: bitmap resource 102 of the plug-in module, or null.
HostBitmap LoadToolbarBitmap();

// Execute routines: each runs its command and ignores its (null) client data.
void OnPluginHelpItem(void* clientData);
void OnAboutPluginItem(void* clientData);
void OnExportCommand(void* clientData);
void OnHelpCommand(void* clientData);
void OnAboutCommand(void* clientData);

// Enable tests: always true.
HostBool IsExportEnabled(void* clientData);
HostBool IsHelpEnabled(void* clientData);
HostBool IsAboutEnabled(void* clientData);

#endif
