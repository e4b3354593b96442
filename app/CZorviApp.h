#pragma once

#include "DrawSource.h"

namespace zorvi {

// The process's entry into the system: owns the draw source of the run (the operating system's
// secure generator), runs the operator window modally and ends when it ends.
class CZorviApp {
public:
    CZorviApp() = default;
    virtual ~CZorviApp() = default;

    // Builds and runs the operator window; returns the process's exit code.
    int InitInstance();

private:
    // Every game of the run takes its sequence from here; nothing seeds it.
    OsRandomSource source_;
};

} // namespace zorvi
