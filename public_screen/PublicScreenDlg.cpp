#include "PublicScreenDlg.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <optional>
#include <variant>

#include "CHtmlContent.h"
#include "GameRules.h"
#include "PageFanOut.h"
#include "PageScriptBridge.h"
#include "Placement.h"
#include "PrizeBoardJson.h"
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

PublicScreenDlg::PublicScreenDlg(const Settings& settings, const PageFanOut& pages, QWidget* owner)
    : settings_(settings), owner_(owner), pages_(pages) {}

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
    return isNew && created();
}

void PublicScreenDlg::WaitUntilLoaded() {
    const int milliseconds = kPageLoadWaitMs;
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

// One page call as the page's script takes it. The reset's fourth argument is extra: a page
// written for three ignores it.
std::pair<QString, QJsonArray> ScriptCall(const PageCall& call, int animationOff) {
    struct Encode {
        int animationOff;
        std::pair<QString, QJsonArray> operator()(const PageResetCall& c) const {
            return {QStringLiteral("reset"), QJsonArray{c.numberCount, 0, animationOff,
                                                        QString::fromStdString(c.commitment)}};
        }
        std::pair<QString, QJsonArray> operator()(const PageUpdateCall& c) const {
            return {QStringLiteral("updateMainScreen"),
                    QJsonArray{c.currentNumber, c.count, c.row}};
        }
        std::pair<QString, QJsonArray> operator()(const PageTicket& t) const {
            return {QStringLiteral("showTicket"),
                    QJsonArray{QString::fromStdString(t.numbers), QString::fromStdString(t.marks),
                               t.winner ? 1 : 0, t.couponNumber}};
        }
        std::pair<QString, QJsonArray> operator()(const PageSealCall& c) const {
            return {QStringLiteral("showSeal"), QJsonArray{QString::fromStdString(c.seal)}};
        }
        std::pair<QString, QJsonArray> operator()(const PagePrizeBoard& b) const {
            // The feed's own text, so both page kinds get the same object.
            const std::string json = PrizeBoardJson(b);
            return {QStringLiteral("showPrizeBoard"),
                    QJsonArray{QJsonDocument::fromJson(QByteArray::fromStdString(json)).object()}};
        }
    };
    return std::visit(Encode{animationOff}, call);
}

} // namespace

const PageGame& PublicScreenDlg::Game() const {
    return pages_.Game();
}

void PublicScreenDlg::PageReset(int numberCount, const std::string& commitment) {
    if (PageCallable())
        CallPage(PageResetCall{numberCount, commitment});
}

void PublicScreenDlg::PageUpdateMainScreen(int currentNumber, int count, int row) {
    if (PageCallable())
        CallPage(PageUpdateCall{currentNumber, count, row});
}

void PublicScreenDlg::PageShowTicket(const PageTicket& ticket) {
    if (PageCallable())
        CallPage(ticket);
}

void PublicScreenDlg::PageShowGame(const PageGame&) {
    ShowWholeGame(true);
}

void PublicScreenDlg::OnPageLoaded() {
    ShowWholeGame(false);
    // A page that has just loaded shows no code: it needs one only when there is one.
    if (!pages_.JoinCode().url.empty())
        SendJoinCode();
}

void PublicScreenDlg::PageShowJoinCode(const PageJoinCode&) {
    SendJoinCode();
}

void PublicScreenDlg::PageShowSeal(const std::string& seal) {
    // Optional as the join code is: a page without showSeal shows none, and nobody is told.
    if (PageCallable()) {
        const auto [name, args] = ScriptCall(PageSealCall{seal}, settings_.disable_animation);
        PageScriptBridge(page_.data()).CallPageScript(name, args);
    }
}

void PublicScreenDlg::PageShowRecall(int ball) {
    // Optional as the seal is: a page without showRecall simply loses the ball with the update
    // that follows.
    if (PageCallable())
        PageScriptBridge(page_.data())
            .CallPageScript(QStringLiteral("showRecall"), QJsonArray{ball});
}

void PublicScreenDlg::PageShowPrizeBoard(const PagePrizeBoard& board) {
    // Optional as the seal is: a page without showPrizeBoard shows no board, and nobody is told.
    if (PageCallable()) {
        const auto [name, args] = ScriptCall(board, settings_.disable_animation);
        PageScriptBridge(page_.data()).CallPageScript(name, args);
    }
}

void PublicScreenDlg::SendJoinCode() {
    if (!PageCallable())
        return;
    const PageJoinCode& code = pages_.JoinCode();
    // Optional: a page without the function (an older or a hall's own page) simply shows no
    // code, and the operator is not troubled with it.
    PageScriptBridge(page_.data())
        .CallPageScript(QStringLiteral("showJoinCode"),
                        QJsonArray{QString::fromStdString(code.url), code.size,
                                   QString::fromStdString(code.modules)});
}

std::vector<PageCall> PublicScreenDlg::WholeGameCalls() const {
    if (pages_.Begun())
        return CatchUpCalls(pages_.Game());
    // No game yet: a board of the number count in the settings, and the last seal and the
    // prize board, if any.
    std::vector<PageCall> calls{PageResetCall{settings_.max_called_numbers, {}}};
    for (PageCall& call : LastingCalls(pages_.Game()))
        calls.push_back(std::move(call));
    return calls;
}

void PublicScreenDlg::ShowWholeGame(bool report) {
    if (!PageCallable())
        return;
    // The calls run in order after any call made before; one made later follows them, so
    // nothing overtakes the catch-up. Only the first failure is shown.
    auto reported = std::make_shared<bool>(!report);
    QPointer<PublicScreenDlg> self(this);
    for (const PageCall& call : WholeGameCalls()) {
        const auto [name, args] = ScriptCall(call, settings_.disable_animation);
        // The seal and the prize board are optional: a page without showSeal or
        // showPrizeBoard is not an error.
        if (std::holds_alternative<PageSealCall>(call) ||
            std::holds_alternative<PagePrizeBoard>(call)) {
            PageScriptBridge(page_.data()).CallPageScript(name, args);
            continue;
        }
        PageScriptBridge(page_.data())
            .CallPageScript(name, args, [self, reported](const QString& error) {
                if (error.isEmpty() || *reported || !self)
                    return;
                *reported = true;
                self->ShowPageError(error);
            });
    }
}

void PublicScreenDlg::CallPage(const PageCall& call) {
    const auto [name, args] = ScriptCall(call, settings_.disable_animation);
    QPointer<PublicScreenDlg> self(this);
    PageScriptBridge(page_.data()).CallPageScript(name, args, [self](const QString& error) {
        if (!error.isEmpty() && self)
            self->ShowPageError(error);
    });
}

void PublicScreenDlg::ShowPageError(const QString& error) {
    // The window may have gone while the call was on its way; the box then has the owner's
    // parent.
    QWidget* parent = window_ ? window_.data() : owner_.data();
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), error, QMessageBox::Ok,
                    parent);
    box.exec();
}

} // namespace zorvi
