#include "PublicScreenDlg.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <optional>

#include "CHtmlContent.h"
#include "GameRules.h"
#include "PageScriptBridge.h"
#include "Placement.h"
#include "PublicScreenWindow.h"
#include "Settings.h"

namespace zorvi {

namespace {

// The players' window and its two buttons (the draw button at the left, the close button at
// the right), in dialog units of Arial 8 pt.
const QRect kWindowTemplate(0, 0, 186, 94);
const QRect kDrawButtonTemplate(5, 5, 70, 14);
const QRect kCloseButtonTemplate(110, 5, 70, 15);

constexpr int kPageLoadWaitMs = 8000;

QFont TemplateFont() {
    QFont font(QStringLiteral("Arial"));
    // 8 pt at the screen's logical resolution, rounded to whole pixels so that dialog units
    // come out as on the operator window.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    font.setPixelSize(std::max(1, qRound(8.0 * dpi / 72.0)));
    return font;
}

QString PageText(TextId entry, int language) {
    return QString::fromStdString(Language::GetText(entry, language));
}

} // namespace

PublicScreenDlg::PublicScreenDlg(const Settings& settings, QWidget* owner)
    : settings_(settings), owner_(owner) {}

PublicScreenDlg::~PublicScreenDlg() {
    // The window ends with this object even when its owner lives on: its click handler and
    // buttons call back into this object.
    delete window_.data();
}

bool PublicScreenDlg::created() const {
    return !window_.isNull();
}

QWidget* PublicScreenDlg::window() const {
    return window_.data();
}

void PublicScreenDlg::SetHandlers(Handlers handlers) {
    disconnect(handlers_connections_[0]);
    disconnect(handlers_connections_[1]);
    disconnect(handlers_connections_[2]);
    const auto run = [](std::function<void()> handler) {
        return [handler = std::move(handler)] {
            if (handler)
                handler();
        };
    };
    handlers_connections_[0] =
        connect(this, &PublicScreenDlg::drawRequested, this, run(std::move(handlers.draw)));
    handlers_connections_[1] =
        connect(this, &PublicScreenDlg::closeRequested, this, run(std::move(handlers.close)));
    handlers_connections_[2] =
        connect(this, &PublicScreenDlg::focusReturned, this, run(std::move(handlers.focus)));
}

void PublicScreenDlg::CreateScreenWindow() {
    auto* window = new PublicScreenWindow(owner_);
    window_ = window;
    const QFont font = TemplateFont();
    window->setFont(font);
    window->resize(DialogUnitsToPixels(kWindowTemplate, font).size());
    window->SetOnClicked([this] { emit focusReturned(); });

    auto makeButton = [&](const QRect& place, const char* name) {
        auto* button = new QPushButton(window);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(DialogUnitsToPixels(place, font));
        // The operator's keys must keep going to the operator window.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        return button;
    };
    draw_button_ = makeButton(kDrawButtonTemplate, "draw_button");
    close_button_ = makeButton(kCloseButtonTemplate, "close_button");
    connect(draw_button_, &QPushButton::clicked, this, [this] {
        emit drawRequested();
        emit focusReturned();
    });
    connect(close_button_, &QPushButton::clicked, this, [this] {
        emit closeRequested();
        emit focusReturned();
    });

    // Everything stays disabled until the page is laid out and the program is ready.
    draw_button_->setEnabled(false);
    close_button_->setEnabled(false);
    window->setEnabled(false);

    page_ = new CHtmlContent(window);
    page_->setObjectName(QStringLiteral("page_view"));
    page_->setGeometry(QRect());
    page_->hide();
    connect(page_, &CHtmlContent::pageLoaded, this, &PublicScreenDlg::OnPageLoaded);

    LoadPage();
}

bool PublicScreenDlg::Open(int mode, bool reload) {
    if (mode <= PublicScreenMode::None) {
        Close();
        return false;
    }
    bool isNew = false;
    if (!created()) {
        CreateScreenWindow();
        isNew = true;
    }
    SetOtherScreen(mode == PublicScreenMode::OtherScreen);
    window_->show();
    PlaceWindow(settings_.public_screen_height, settings_.public_screen_width);
    LayoutPage(true);
    // A new window has just started loading its page.
    if (reload && !isNew)
        LoadPage();
    WaitForPage(kPageLoadWaitMs);
    return isNew && created();
}

void PublicScreenDlg::WaitForPage(int milliseconds) {
    CHtmlContent* page = page_.data();
    if (!page || (page->HasDocument() && !page->IsLoading()))
        return;
    // The windows stay live meanwhile; a quick page does not hold up the caller.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    connect(page, &CHtmlContent::pageLoaded, &loop, &QEventLoop::quit);
    connect(page, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

void PublicScreenDlg::Close() {
    if (!created())
        return;
    window_->hide();
    LayoutPage(false);
    QWidget* window = window_.data();
    window_ = nullptr;
    page_ = nullptr;
    draw_button_ = nullptr;
    close_button_ = nullptr;
    // Later, as this may run from a signal of the window's own buttons.
    window->deleteLater();
}

void PublicScreenDlg::HideWindow() {
    if (created())
        window_->hide();
}

void PublicScreenDlg::PlaceWindow(int height, int width) {
    if (!created())
        return;
    const QScreen* primaryScreen = QGuiApplication::primaryScreen();
    if (!primaryScreen)
        return;
    const QRect primary = primaryScreen->geometry();
    std::optional<QRect> firstOther;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primaryScreen) {
            firstOther = screen->geometry();
            break;
        }
    }
    window_->setGeometry(ComputeWindowPlacement(other_screen_, height, width, primary, firstOther));
    window_->update();
}

void PublicScreenDlg::LayoutPage(bool active) {
    if (!created())
        return;
    active_ = active;
    const QRect client = window_->rect();
    if (active && !other_screen_) {
        const int k = close_button_->height();
        page_->setGeometry(0, k, client.width(), client.height() - k);
        page_->show();
        page_->lower();
        LayoutButtons(true);
    } else if (active) {
        page_->setGeometry(client);
        page_->show();
        page_->raise();
        LayoutButtons(false);
    } else {
        page_->hide();
        page_->setGeometry(client);
        LayoutButtons(false);
    }
    if (active)
        window_->setEnabled(true);
    window_->update();
}

void PublicScreenDlg::LayoutButtons(bool visible) {
    if (!created())
        return;
    const ButtonPlacement place = ComputeButtonPlacement(
        window_->rect().width(), close_button_->size(), draw_button_->size());
    close_button_->move(place.close.topLeft());
    draw_button_->move(place.draw.topLeft());
    if (visible) {
        close_button_->show();
        close_button_->raise();
        draw_button_->show();
        draw_button_->raise();
        SetButtonTexts();
    } else {
        close_button_->hide();
        draw_button_->hide();
    }
}

void PublicScreenDlg::SetButtonTexts() {
    if (!created())
        return;
    draw_button_->setText(PageText(draw_entry_, settings_.language));
    close_button_->setText(PageText(TextId::TXT_CLOSE_ESC, settings_.language));
}

void PublicScreenDlg::SetDrawButtonText(TextId entry) {
    draw_entry_ = entry;
    if (created())
        draw_button_->setText(PageText(entry, settings_.language));
}

void PublicScreenDlg::EnableDrawButton(bool enable) {
    if (created() && active_)
        draw_button_->setEnabled(enable);
}

void PublicScreenDlg::EnableButtons(bool enable) {
    if (created() && active_) {
        draw_button_->setEnabled(enable);
        close_button_->setEnabled(enable);
    }
}

void PublicScreenDlg::LoadPage() {
    if (page_)
        page_->LoadFile(QDir(html_folder_).filePath(QStringLiteral("public_screen.htm")));
}

bool PublicScreenDlg::PageCallable() const {
    return created() && active_ && page_;
}

namespace {

QJsonArray ResetArgs(int numberCount, int animationOff, const std::string& commitment) {
    // The fourth argument is extra: a page written for three ignores it.
    return QJsonArray{numberCount, 0, animationOff, QString::fromStdString(commitment)};
}

QJsonArray TicketArgs(const PageTicket& ticket) {
    return QJsonArray{QString::fromStdString(ticket.numbers), QString::fromStdString(ticket.marks),
                      ticket.winner ? 1 : 0, ticket.couponNumber};
}

} // namespace

void PublicScreenDlg::PageReset(int numberCount, const std::string& commitment) {
    ++changes_;
    game_.Reset(numberCount, commitment);
    if (PageCallable())
        CallPage(QStringLiteral("reset"),
                 ResetArgs(numberCount, settings_.disable_animation, commitment));
}

void PublicScreenDlg::PageUpdateMainScreen(int currentNumber, int count, int row) {
    ++changes_;
    game_.Update(currentNumber, count, row);
    if (PageCallable())
        CallPage(QStringLiteral("updateMainScreen"), QJsonArray{currentNumber, count, row});
}

void PublicScreenDlg::PageShowTicket(const PageTicket& ticket) {
    ++changes_;
    game_.Ticket(ticket);
    if (PageCallable())
        CallPage(QStringLiteral("showTicket"), TicketArgs(ticket));
}

void PublicScreenDlg::PageShowGame(const PageGame& game) {
    ++changes_;
    game_.Replace(game);
    ShowWholeGame(true);
}

void PublicScreenDlg::OnPageLoaded() {
    ShowWholeGame(false);
    if (!join_.url.isEmpty())
        SendJoinCode();
}

void PublicScreenDlg::PageShowJoinCode(const QString& url, int size, const QString& modules) {
    join_ = JoinCodeShown{url, url.isEmpty() ? 0 : size, url.isEmpty() ? QString() : modules};
    SendJoinCode();
}

void PublicScreenDlg::SendJoinCode() {
    if (!PageCallable())
        return;
    // Optional: a page without the function (an older or a hall's own page) simply shows no
    // code, and the operator is not troubled with it.
    QString error;
    PageScriptBridge(page_.data())
        .CallPageScript(QStringLiteral("showJoinCode"),
                        QJsonArray{join_.url, join_.size, join_.modules}, error);
}

std::vector<std::pair<QString, QJsonArray>> PublicScreenDlg::WholeGameCalls() const {
    std::vector<std::pair<QString, QJsonArray>> calls;
    if (!game_.Begun()) {
        // No game yet: a board of the number count in the settings.
        calls.emplace_back(QStringLiteral("reset"), ResetArgs(settings_.max_called_numbers,
                                                              settings_.disable_animation, {}));
        return calls;
    }
    const PageGame& game = game_.Game();
    calls.emplace_back(QStringLiteral("reset"),
                       ResetArgs(game.numberCount, settings_.disable_animation, game.commitment));
    const int count = static_cast<int>(game.drawn.size());
    // The page puts the n-th number at its place; a number it was never told stays dark.
    for (int i = 0; i + 1 < count; ++i) {
        if (game.drawn[std::size_t(i)] > 0)
            calls.emplace_back(QStringLiteral("updateMainScreen"),
                               QJsonArray{game.drawn[std::size_t(i)], i + 1, game.row});
    }
    const int current = count > 0 && game.drawn.back() > 0 ? game.drawn.back() : -1;
    calls.emplace_back(QStringLiteral("updateMainScreen"), QJsonArray{current, count, game.row});
    if (game.ticket)
        calls.emplace_back(QStringLiteral("showTicket"), TicketArgs(*game.ticket));
    return calls;
}

void PublicScreenDlg::ShowWholeGame(bool report) {
    // Each call lets other work run. A call of the game that comes meanwhile (an automatic
    // draw) reaches the page at once, in the middle of the older calls; the page then needs
    // the whole game again as it stands now, or the rest of the older calls would undo it.
    constexpr int kMostRounds = 8;
    QString firstError;
    for (int round = 0; round < kMostRounds; ++round) {
        if (!PageCallable())
            return;
        const std::uint64_t changes = changes_;
        bool overtaken = false;
        for (const auto& [name, args] : WholeGameCalls()) {
            QString error;
            if (!PageScriptBridge(page_.data()).CallPageScript(name, args, error) &&
                firstError.isEmpty())
                firstError = error;
            // The window may have gone meanwhile.
            if (!PageCallable())
                return;
            if (changes_ != changes) {
                overtaken = true;
                break;
            }
        }
        if (!overtaken)
            break;
    }
    if (report && !firstError.isEmpty())
        ShowPageError(firstError);
}

void PublicScreenDlg::CallPage(const QString& name, const QJsonArray& args) {
    QString error;
    if (!PageScriptBridge(page_.data()).CallPageScript(name, args, error))
        ShowPageError(error);
}

void PublicScreenDlg::ShowPageError(const QString& error) {
    // The window may have gone while the call waited; the box then has the owner's parent.
    QWidget* parent = window_ ? window_.data() : owner_.data();
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), error, QMessageBox::Ok,
                    parent);
    box.exec();
}

} // namespace zorvi
