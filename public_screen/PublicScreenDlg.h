#pragma once

#include <QJsonArray>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Language.h"
#include "PageCatchUp.h"
#include "PlayersScreen.h"

class QPushButton;

namespace zorvi {

class CHtmlContent;
class PageFanOut;
class Settings;

// The players' window: a frameless window owned by the operator window, holding the page
// view and, on the same screen, a draw and a close button. Its page is driven only through
// the page calls, which never wait for the page. Every page that has just loaded (a new
// window, a reload, a renderer that came back) is shown the whole game from the page fan-out's
// record, so the players never see a board with gaps.
class PublicScreenDlg : public QObject, public PlayersScreen, public PageCalls {
    Q_OBJECT
public:
    // `pages` is the fan-out this window's page is registered with; it must outlive the window.
    PublicScreenDlg(const Settings& settings, const PageFanOut& pages, QWidget* owner);
    ~PublicScreenDlg() override;

    bool created() const override;
    bool active() const { return active_; }
    bool otherScreen() const { return other_screen_; }
    // The operator window's handlers, run after the signals below.
    void SetHandlers(Handlers handlers) override;
    QWidget* window() const override; // null while not created

    // Folder of the page for the current language (html/fi, html/se, html/en).
    void SetHtmlFolder(const QString& folder) override { html_folder_ = folder; }
    const QString& HtmlFolder() const { return html_folder_; }

    PageCalls* Page() override { return this; }

    // Shows the window for mode 1 (same screen) or 2 (other screen): creates it when needed,
    // places it, lays out the page, and loads the page when reload is set or the window is
    // new. Returns true when the window was created by this call.
    bool Open(int mode, bool reload) override;
    // Waits until the page has loaded (at most eight seconds) with the windows live.
    void WaitUntilLoaded() override;
    // Hides and destroys the window (mode 0).
    void Close() override;
    // Hides the window, keeping it and its page.
    void HideWindow() override;

    void SetOtherScreen(bool other) { other_screen_ = other; }
    void PlaceWindow(int height, int width);
    void LayoutPage(bool active);
    void LayoutButtons(bool visible);
    // Both buttons' captions in the current language; the draw button keeps the caption of the
    // automatic mode it was last given, also when the window is made anew.
    void SetButtonTexts() override;
    void SetDrawButtonText(TextId entry) override;
    void EnableDrawButton(bool enable) override;
    void EnableButtons(bool enable) override;
    void LoadPage();

    // Page calls; each reaches the page only while the window is created and active, and a
    // failure is shown in a box owned by this window once the call has failed; that call is
    // lost, nothing is retried. `commitment`: the first digits of the game's commitment, shown
    // small; may be empty.
    void PageReset(int numberCount, const std::string& commitment) override;
    void PageUpdateMainScreen(int currentNumber, int count, int row) override;
    void PageShowTicket(const PageTicket& ticket) override;
    // The whole game: reset, every drawn number in order, the last ticket. A failure is shown
    // once.
    void PageShowGame(const PageGame& game) override;
    // The hall server's join code, through the page's optional showJoinCode: skipped without a
    // word when the page has no such function. An empty url hides it. Shown again to every
    // page that loads.
    void PageShowJoinCode(const PageJoinCode& code) override;
    // The last game's seal, through the page's optional showSeal: skipped without a word when
    // the page has no such function. Shown again, after the game, to every page that loads.
    void PageShowSeal(const std::string& seal) override;
    // A withdrawn ball, through the page's optional showRecall: skipped without a word when the
    // page has no such function. Told once, as it happens: a page that loads later never hears
    // of it.
    void PageShowRecall(int ball) override;
    // The programme's prize board, through the page's optional showPrizeBoard with the board as
    // one object: skipped without a word when the page has no such function. Shown again to
    // every page that loads, after the seal.
    void PageShowPrizeBoard(const PagePrizeBoard& board) override;
    // The game as this window's page is to show it.
    const PageGame& Game() const;

signals:
    void drawRequested();  // the draw button: the operator window's Draw command
    void closeRequested(); // the close button: hide the public screen
    void focusReturned();  // a click on the window: the operator window takes the focus back

private:
    bool PageCallable() const;
    // Runs one page call; a failure is shown in a box owned by this window.
    void CallPage(const PageCall& call);
    void ShowPageError(const QString& error);
    void CreateScreenWindow();
    // Shows the fan-out's game on the page; a failure is shown once when `report` is set.
    void ShowWholeGame(bool report);
    // The calls that show the game on a page that knows nothing.
    std::vector<PageCall> WholeGameCalls() const;
    // A load of the page finished: the new document knows nothing yet.
    void OnPageLoaded();
    void SendJoinCode();

    const Settings& settings_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> window_;
    QPointer<CHtmlContent> page_;
    QPointer<QPushButton> draw_button_;
    QPointer<QPushButton> close_button_;
    bool other_screen_ = false;
    bool active_ = false;
    QString html_folder_;
    TextId draw_entry_ = TextId::TXT_DRAW_SPACEBAR;

    const PageFanOut& pages_;
    QMetaObject::Connection handlers_connections_[3];
};

} // namespace zorvi
