// The hall's screens on the operator window: where a browser joins and how many screens follow
// the game, for the operator to read out or put on a sign. The hall server is the program's;
// the window only shows what it is told.
#include <QTimer>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "StaticControl.h"

namespace zorvi {

namespace {

// How often the screens on the feed are counted again: an operator whose TV dropped sees it
// within a second.
constexpr int kHallWatchMs = 1000;

} // namespace

void CZorviDlg::SetHallScreens(std::function<HallScreens()> screens) {
    hallScreens_ = std::move(screens);
    if (started_)
        ShowHallAddress();
}

void CZorviDlg::TellLater(const QString& text) {
    QTimer::singleShot(0, this, [this, text] {
        if (!finishing_)
            prompts_.Message(text);
    });
}

void CZorviDlg::WatchHallServer() {
    const HallScreens now = hallScreens_ ? hallScreens_() : HallScreens{};
    if (now.url != hallShown_.url || now.connected != hallShown_.connected)
        ShowHallAddress();
}

void CZorviDlg::ShowHallAddress() {
    if (!hallWatch_) {
        hallWatch_ = new QTimer(this);
        connect(hallWatch_, &QTimer::timeout, this, &CZorviDlg::WatchHallServer);
        hallWatch_->start(kHallWatchMs);
    }
    QWidget* line = ControlById(Control::HallAddress);
    if (!line)
        return;
    hallShown_ = hallScreens_ ? hallScreens_() : HallScreens{};
    const std::string& url = hallShown_.url;
    layout_.SetText(Control::HallAddress, url.empty() ? QString()
                                                      : Text(TextId::TXT_HALL_SERVER_SHOWN_AT)
                                                            .arg(hallShown_.connected)
                                                            .arg(QString::fromStdString(url)));
    line->setVisible(!url.empty());
}

} // namespace zorvi
