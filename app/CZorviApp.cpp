#include "CZorviApp.h"

#include "CZorviDlg.h"

namespace zorvi {

int CZorviApp::InitInstance() {
    CZorviDlg dialog(source_);
    dialog.Start();
    dialog.exec();
    return 0;
}

} // namespace zorvi
