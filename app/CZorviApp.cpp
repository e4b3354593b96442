#include "CZorviApp.h"

#include "CZorviDlg.h"
#include "PublicScreenDlg.h"

namespace zorvi {

int CZorviApp::InitInstance() {
    CZorviDlg dialog(source_, [](const Settings& settings, QWidget* owner) {
        return std::make_unique<PublicScreenDlg>(settings, owner);
    });
    dialog.Start();
    dialog.exec();
    return 0;
}

} // namespace zorvi
