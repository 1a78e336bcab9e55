#pragma once

#include <QIcon>
#include <QPixmap>

// Icons are painted in code so the program ships no image files. Each icon
// carries separately drawn 16 and 32 pixel versions (64 for the program icon)
// because a scaled-down 32 pixel picture turns to mush at 16.
namespace inkrun::app {

QIcon hammerIcon();          // build the script
QIcon diskettesIcon();       // save the setup
QIcon eraserIcon();          // clear the list
QIcon closedFolderIcon();    // add drawings
QIcon openFolderTextIcon();  // open a setup file
QIcon applicationIcon();
QIcon informationIcon();     // About window

QPixmap applicationPixmap(int size);

}  // namespace inkrun::app
