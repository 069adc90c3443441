#pragma once
// The screen as a picture: light characters on a dark glass, the cursor as
// an underline, dimmer at lower brightness. Needs a QGuiApplication.
#include <QImage>
#include <QString>

#include "protocols/display/screen.h"

namespace zorv::tools {

QImage PictureOf(const opos::display::Screen& screen);
// False when the file could not be written.
bool SavePicture(const opos::display::Screen& screen, const QString& path);

} // namespace zorv::tools
