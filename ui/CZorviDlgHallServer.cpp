// The operator window's hall server: started, stopped or moved as the settings say, and its
// address and the screens that follow the game shown on the window for the operator to read
// out or put on a sign.
#include <QTimer>

#include "CZorviDlg.h"
#include "JoinCode.h"
#include "StaticControl.h"

namespace zorvi {

namespace {

// Under the game panels and the winning-now line, left.
constexpr int kAddressLeft = 10;
constexpr int kAddressTop = 300;
constexpr int kAddressWidth = 355;
constexpr int kAddressHeight = 10;
// How often the screens on the feed are counted again: an operator whose TV dropped sees it
// within a second.
constexpr int kHallWatchMs = 1000;

} // namespace

void CZorviDlg::ApplyHallServer() {
    if (settings_.hall_server == 0) {
        hallServer_.Stop();
        ShowHallAddress();
        return;
    }
    std::string error;
    const int port = settings_.hall_server_port;
    const bool started = hallServer_.Start(settings_.hall_server_address, port, &error);
    ShowHallAddress();
    if (started)
        return;
    log_.WriteLog("Hall server not started: " + error);
    // Told once the step that asked for it is over, as a failed save is.
    const QString text =
        Text(TextId::TXT_HALL_SERVER_START_FAILED).arg(port).arg(QString::fromStdString(error));
    QTimer::singleShot(0, this, [this, text] {
        if (!finishing_)
            prompts_.Message(text);
    });
}

void CZorviDlg::WatchHallServer() {
    for (const std::string& note : hallServer_.TakeNotes())
        log_.WriteLog(note);
    if (hallServer_.Running() && hallServer_.ClientCount() != hallScreensShown_)
        ShowHallAddress();
}

void CZorviDlg::ShowHallAddress() {
    if (!hallWatch_) {
        hallWatch_ = new QTimer(this);
        connect(hallWatch_, &QTimer::timeout, this, &CZorviDlg::WatchHallServer);
        hallWatch_->start(kHallWatchMs);
    }
    if (!hallAddress_) {
        hallAddress_ =
            new StaticControl(kHallAddressId, Qt::AlignLeft | Qt::AlignVCenter, false, this);
        hallAddress_->setObjectName(QString::number(kHallAddressId));
        controls_[kHallAddressId] = hallAddress_;
    }
    PlaceHallAddress();
    const std::string url = hallServer_.Url();
    hallScreensShown_ = hallServer_.ClientCount();
    hallAddress_->setText(url.empty() ? QString()
                                      : Text(TextId::TXT_HALL_SERVER_SHOWN_AT)
                                            .arg(hallScreensShown_)
                                            .arg(QString::fromStdString(url)));
    hallAddress_->setVisible(!url.empty());
    // The players' window shows the same code as the served pages, so a phone in the hall can
    // join from the big screen.
    const auto code = JoinCode::Encode(url);
    publicScreen_->PageShowJoinCode(QString::fromStdString(url), code ? code->size : 0,
                                    code ? QString::fromStdString(code->modules) : QString());
}

void CZorviDlg::PlaceHallAddress() {
    if (!hallAddress_)
        return;
    hallAddress_->setGeometry(LayoutUnits()
                                  .Rect(kAddressLeft, kAddressTop, kAddressWidth, kAddressHeight)
                                  .translated(layoutOffset_));
    hallAddress_->setFont(ScaledFont(DialogFont()));
}

} // namespace zorvi
