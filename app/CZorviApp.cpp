#include "CZorviApp.h"

#include <ctime>

#include "CZorviDlg.h"

namespace zorvi {

Random15& CZorviApp::Generator() {
    static Random15 generator;
    return generator;
}

CZorviApp::CZorviApp() {
    // Seeded once per run, before the operator window exists.
    Generator().Seed(static_cast<std::uint32_t>(std::time(nullptr)));
}

int CZorviApp::InitInstance() {
    CZorviDlg dialog(Generator());
    dialog.Start();
    dialog.exec();
    return 0;
}

} // namespace zorvi
