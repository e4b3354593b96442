#pragma once

namespace zorvi {

// Results of the prompt dialogs, with the values the dialogs have always returned.
enum DialogResult : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

} // namespace zorvi
