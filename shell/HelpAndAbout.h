// Help opens the help file "Vantrell.chm" that lies beside the plug-in's own file; About shows
// the product title in the GUI library's About box. Neither checks the host's version.
#ifndef VANTRELL_SHELL_HELPANDABOUT_H
#define VANTRELL_SHELL_HELPANDABOUT_H

// Hands the help file to the shell; when the shell cannot open it (or the plug-in's path does
// not fit the 260-byte buffer), shows "Error displaying Vantrell for Acrobat help file.".
void ShowHelp();

// Rebuilds the product title for the running host and shows it in the About box.
void ShowAbout();

#endif
