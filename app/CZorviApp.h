#pragma once

#include "Random.h"

namespace zorvi {

// The process's entry into the system: seeds the one random generator of the program once,
// runs the operator window modally and ends when it ends.
class CZorviApp {
public:
    CZorviApp();
    virtual ~CZorviApp() = default;

    // Builds and runs the operator window; returns the process's exit code.
    int InitInstance();

    // The program's one random generator; every shuffle of the run draws from it.
    static Random15& Generator();
};

} // namespace zorvi
