#pragma once

namespace zorvi {

// Results of the prompt dialogs, with the values the dialogs have always returned. Not named
// IDOK and so on: those are macros of <windows.h>.
enum DialogResult : int {
    kResultOk = 1,
    kResultCancel = 2,
    kResultYes = 6,
    kResultNo = 7,
};

} // namespace zorvi
