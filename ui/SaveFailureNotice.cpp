#include "SaveFailureNotice.h"

namespace zorvi {

bool SaveFailureNotice::Report(bool saved) {
    if (saved) {
        armed_ = true;
        return false;
    }
    if (!armed_ || showing_)
        return false;
    armed_ = false;
    showing_ = true;
    return true;
}

} // namespace zorvi
