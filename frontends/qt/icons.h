#pragma once

#include <QIcon>

// The icons are the SVG drawings in icons/, built into the program as
// resources; the installers render their PNG and ICO files from the same
// drawings. Small sizes use hand-tuned drawings (icons/16, icons/32) because
// a scaled-down 32 pixel picture turns to mush at 16.
namespace inkrun::qt {

QIcon hammerIcon();          // build the script
QIcon diskettesIcon();       // save the setup
QIcon eraserIcon();          // clear the setup
QIcon closedFolderIcon();    // pick drawings, in place of the earlier pick
QIcon openFolderTextIcon();  // open a setup file
QIcon applicationIcon();
QIcon informationIcon();  // About window

}  // namespace inkrun::qt
