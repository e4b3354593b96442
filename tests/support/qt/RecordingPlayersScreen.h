#pragma once

#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "PageGameRecord.h"
#include "PlayersScreen.h"

namespace zorvi::test {

// A players' window without a page, for tests of the operator window where the page is not
// the point: a real frameless window with the draw and close buttons, which writes down every
// page call and keeps the game they show.
class RecordingPlayersScreen : public PlayersScreen, public PageCalls {
public:
    RecordingPlayersScreen(const Settings& settings, QWidget* owner);
    ~RecordingPlayersScreen() override;

    static PlayersScreenFactory Factory();

    PageCalls* Page() override { return this; }
    void SetHandlers(Handlers handlers) override { handlers_ = std::move(handlers); }
    bool created() const override { return !window_.isNull(); }
    QWidget* window() const override { return window_.data(); }
    void SetHtmlFolder(const QString& folder) override { folder_ = folder; }
    bool Open(int mode, bool reload) override;
    void Close() override;
    void HideWindow() override;
    void SetButtonTexts() override;
    void SetDrawButtonText(TextId entry) override;
    void EnableDrawButton(bool enable) override;
    void EnableButtons(bool enable) override;

    void PageReset(int numberCount, const std::string& commitment) override;
    void PageUpdateMainScreen(int currentNumber, int count, int row) override;
    void PageShowTicket(const PageTicket& ticket) override;
    void PageShowGame(const PageGame& game) override;
    void PageShowSeal(const std::string& seal) override;
    void PageShowRecall(int ball) override;
    void PageShowPrizeBoard(const PagePrizeBoard& board) override;
    void PageShowJoinCode(const PageJoinCode& code) override {
        joinUrl = QString::fromStdString(code.url);
        const QString modules = QString::fromStdString(code.modules);
        joinModules =
            code.size > 0 && modules.size() == code.size * code.size ? modules : QString();
    }

    QPushButton* DrawButton() const { return draw_; }
    QPushButton* CloseButton() const { return close_; }
    const QString& Folder() const { return folder_; }
    // Every call, in short: "open 1 reload", "reset 75", "update 7 1 1", "ticket 3 win",
    // "game 75 [7,9] row 1", "seal 1a2b3c4d5e6f7a8b", "recall 23", "board 2/5 stage 1/1".
    QStringList calls;
    PageGameRecord shown;
    // The join code last shown: its address (empty: none) and modules when well formed.
    QString joinUrl;
    QString joinModules;

private:
    const Settings& settings_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> window_;
    QPointer<QPushButton> draw_;
    QPointer<QPushButton> close_;
    Handlers handlers_;
    QString folder_;
    TextId drawEntry_ = TextId::TXT_DRAW_SPACEBAR;
};

} // namespace zorvi::test
