#pragma once

// The look of the program: Fusion with our own light palette and one accent
// colour, in place of the designer's skin.

#include <QColor>

class QApplication;

namespace qv {

// The brand red (the login window's label colour).
inline QColor accentColour()
{
    return QColor(0xE2, 0x0A, 0x17);
}

void applyStyle(QApplication &app);

} // namespace qv
