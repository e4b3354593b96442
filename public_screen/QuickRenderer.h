#pragma once

#include <QString>

namespace zorvi {

// Qt Quick draws the page view into its window. Its OpenGL renderer on a software OpenGL (a
// virtual display, a PC without a graphics driver) passes every frame of the page through the
// CPU several times, and the players see a new number more than half a second after the page
// has it; Qt Quick's own software renderer shows it within a frame or two there. A real
// graphics driver keeps OpenGL.
//
// Call once the application object exists and before the first page view. Returns what was
// chosen, for the log: "software (…)" or "OpenGL (…)", with the renderer's name.
QString ChooseQuickRenderer();

// True for the name of an OpenGL renderer that draws on the CPU.
bool IsSoftwareOpenGl(const QString& renderer);

} // namespace zorvi
