#include "RecordingPlayersScreen.h"

#include <QPushButton>

#include "Settings.h"

namespace zorvi::test {

RecordingPlayersScreen::RecordingPlayersScreen(const Settings& settings, QWidget* owner)
    : settings_(settings), owner_(owner) {}

RecordingPlayersScreen::~RecordingPlayersScreen() {
    delete window_.data();
}

PlayersScreenFactory RecordingPlayersScreen::Factory() {
    return [](const Settings& settings, const PageFanOut&, QWidget* owner) {
        return std::make_unique<RecordingPlayersScreen>(settings, owner);
    };
}

bool RecordingPlayersScreen::Open(int mode, bool reload) {
    calls << QStringLiteral("open %1%2").arg(mode).arg(reload ? " reload" : "");
    if (mode <= 0) {
        Close();
        return false;
    }
    const bool isNew = !created();
    if (isNew) {
        window_ = new QWidget(owner_, Qt::Window | Qt::FramelessWindowHint | Qt::Tool |
                                          Qt::WindowDoesNotAcceptFocus);
        window_->setAttribute(Qt::WA_ShowWithoutActivating);
        draw_ = new QPushButton(window_);
        draw_->setObjectName(QStringLiteral("draw_button"));
        draw_->setGeometry(0, 0, 100, 20);
        close_ = new QPushButton(window_);
        close_->setObjectName(QStringLiteral("close_button"));
        close_->setGeometry(120, 0, 100, 20);
        for (QPushButton* button : {draw_.data(), close_.data()})
            button->setFocusPolicy(Qt::NoFocus);
        QObject::connect(draw_, &QPushButton::clicked, [this] {
            if (handlers_.draw)
                handlers_.draw();
            if (handlers_.focus)
                handlers_.focus();
        });
        QObject::connect(close_, &QPushButton::clicked, [this] {
            if (handlers_.close)
                handlers_.close();
            if (handlers_.focus)
                handlers_.focus();
        });
        window_->resize(400, 300);
    }
    draw_->setVisible(mode == 1);
    close_->setVisible(mode == 1);
    SetButtonTexts();
    window_->show();
    return isNew;
}

void RecordingPlayersScreen::Close() {
    delete window_.data();
}

void RecordingPlayersScreen::HideWindow() {
    if (window_)
        window_->hide();
}

void RecordingPlayersScreen::SetButtonTexts() {
    if (!created())
        return;
    draw_->setText(QString::fromStdString(Language::GetText(drawEntry_, settings_.language)));
    close_->setText(
        QString::fromStdString(Language::GetText(TextId::TXT_CLOSE_ESC, settings_.language)));
}

void RecordingPlayersScreen::SetDrawButtonText(TextId entry) {
    drawEntry_ = entry;
    SetButtonTexts();
}

void RecordingPlayersScreen::EnableDrawButton(bool enable) {
    if (created())
        draw_->setEnabled(enable);
}

void RecordingPlayersScreen::EnableButtons(bool enable) {
    if (created()) {
        draw_->setEnabled(enable);
        close_->setEnabled(enable);
    }
}

void RecordingPlayersScreen::PageReset(int numberCount, const std::string& commitment) {
    calls << QStringLiteral("reset %1").arg(numberCount);
    shown.Reset(numberCount, commitment);
}

void RecordingPlayersScreen::PageUpdateMainScreen(int currentNumber, int count, int row) {
    calls << QStringLiteral("update %1 %2 %3").arg(currentNumber).arg(count).arg(row);
    shown.Update(currentNumber, count, row);
}

void RecordingPlayersScreen::PageShowTicket(const PageTicket& ticket) {
    calls << QStringLiteral("ticket %1 %2")
                 .arg(ticket.couponNumber)
                 .arg(ticket.winner ? QStringLiteral("win") : QStringLiteral("lose"));
    shown.Ticket(ticket);
}

void RecordingPlayersScreen::PageShowGame(const PageGame& game) {
    QStringList numbers;
    for (int n : game.drawn)
        numbers << QString::number(n);
    calls << QStringLiteral("game %1 [%2] row %3")
                 .arg(game.numberCount)
                 .arg(numbers.join(QLatin1Char(',')))
                 .arg(game.row);
    shown.Replace(game);
}

void RecordingPlayersScreen::PageShowSeal(const std::string& seal) {
    calls << QStringLiteral("seal %1").arg(QString::fromStdString(seal));
    shown.Seal(seal);
}

void RecordingPlayersScreen::PageShowRecall(int ball) {
    // The game shown changes with the update that follows, not here.
    calls << QStringLiteral("recall %1").arg(ball);
}

void RecordingPlayersScreen::PageShowPrizeBoard(const PagePrizeBoard& board) {
    calls << (board.between ? QStringLiteral("board %1/%2 between").arg(board.game).arg(board.games)
                            : QStringLiteral("board %1/%2 stage %3/%4")
                                  .arg(board.game)
                                  .arg(board.games)
                                  .arg(board.stage)
                                  .arg(board.stages));
    shown.Board(board);
}

} // namespace zorvi::test
