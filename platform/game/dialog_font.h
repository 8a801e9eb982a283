#pragma once

#include <QFont>

namespace blok::qt {

// The face of the game's dialogs: a narrow sans serif of about 8 points, sized in pixels so the
// texts fit the fixed dialog layouts on any desktop.
inline QFont DialogFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setStretch(QFont::Condensed);
    font.setPixelSize(11);
    return font;
}

}  // namespace blok::qt
