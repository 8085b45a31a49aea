#pragma once
// The tool bar's small pictures, painted here at 16 x 16 so the program needs
// no image files.

#include <QIcon>

namespace kalvoro {

enum class ToolIcon {
    New,
    Open,
    Save,
    Print,
    Configure,
    Calculate,
    Influence,
    Draw,
    PanLeft,
    PanRight,
    ZoomOut,
    ZoomIn
};

QIcon toolIcon(ToolIcon which);

// The beam picture of the about box and the window icon.
QPixmap beamPicture(int size);

}  // namespace kalvoro
