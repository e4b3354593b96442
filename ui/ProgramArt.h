#pragma once

#include <QIcon>
#include <QPixmap>

namespace zorvi {

// The program icon and the logo picture of the operator window, drawn in code so that the
// program carries no image files of its own.
QIcon ProgramIcon();
QPixmap LogoPixmap(const QSize& size);

} // namespace zorvi
