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

QString PublicScreenDlg::PageFolderFor(const QString& programFolder, int language) {
    const QString name = language == 2   ? QStringLiteral("en")
                         : language == 1 ? QStringLiteral("se")
                                         : QStringLiteral("fi");
    return QDir(programFolder).filePath(QStringLiteral("html/") + name);
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
    connect(page_, &CHtmlContent::pageRestored, this, &PublicScreenDlg::RestorePage);

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
    history_ = PageHistory{};
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

void PublicScreenDlg::PageReset(int numberCount, const QString& commitment) {
    if (!PageCallable())
        return;
    // The fourth argument is extra: a page written for three ignores it.
    const QJsonArray args{numberCount, 0, settings_.disable_animation, commitment};
    history_ = PageHistory{};
    history_.reset_sent = true;
    history_.reset_args = args;
    CallPage(QStringLiteral("reset"), args);
}

void PublicScreenDlg::PageUpdateMainScreen(int currentNumber, int count, int row) {
    if (!PageCallable())
        return;
    const QJsonArray args{currentNumber, count, row};
    // Numbers by their place in the draw; a cancelled number drops off the end.
    if (count >= 0 && count <= 1000) {
        history_.drawn.resize(static_cast<std::size_t>(count), 0);
        if (count > 0 && currentNumber > 0)
            history_.drawn[static_cast<std::size_t>(count - 1)] = currentNumber;
    }
    history_.last_update_args = args;
    CallPage(QStringLiteral("updateMainScreen"), args);
}

void PublicScreenDlg::PageShowTicket(const std::string& numbers, const std::string& marks,
                                     bool winner, int couponNumber) {
    if (!PageCallable())
        return;
    CallPage(QStringLiteral("showTicket"),
             QJsonArray{QString::fromStdString(numbers), QString::fromStdString(marks),
                        winner ? 1 : 0, couponNumber});
}

bool PublicScreenDlg::PageMissedNumbers(int count) const {
    return PageCallable() && count > 1 &&
           history_.drawn.size() + 1 < static_cast<std::size_t>(count);
}

void PublicScreenDlg::PageShowGame(const std::vector<int>& drawn, int row) {
    if (!PageCallable())
        return;
    if (drawn.empty()) {
        PageUpdateMainScreen(-1, 0, row);
        return;
    }
    QString error;
    for (std::size_t i = 0; i + 1 < drawn.size(); ++i) {
        const int count = static_cast<int>(i) + 1;
        history_.drawn.resize(i + 1, 0);
        history_.drawn[i] = drawn[i];
        PageScriptBridge(page_.data())
            .CallPageScript(QStringLiteral("updateMainScreen"), QJsonArray{drawn[i], count, row},
                            error);
        // The call lets other events run; the window may have gone meanwhile.
        if (!PageCallable())
            return;
    }
    PageUpdateMainScreen(drawn.back(), static_cast<int>(drawn.size()), row);
}

void PublicScreenDlg::CallPage(const QString& name, const QJsonArray& args) {
    QString error;
    if (PageScriptBridge(page_.data()).CallPageScript(name, args, error))
        return;
    // The window may have gone while the call waited; the box then has the owner's parent.
    QWidget* parent = window_ ? window_.data() : owner_.data();
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), error, QMessageBox::Ok,
                    parent);
    box.exec();
}

void PublicScreenDlg::RestorePage() {
    if (!PageCallable() || !history_.reset_sent)
        return;
    // Replayed from copies: a nested call may change the history meanwhile.
    const PageHistory history = history_;
    QString error;
    PageScriptBridge bridge(page_.data());
    bridge.CallPageScript(QStringLiteral("reset"), history.reset_args, error);
    const int row = history.last_update_args.size() == 3 ? history.last_update_args[2].toInt() : 1;
    for (std::size_t i = 0; i < history.drawn.size(); ++i) {
        if (history.drawn[i] > 0)
            bridge.CallPageScript(QStringLiteral("updateMainScreen"),
                                  QJsonArray{history.drawn[i], static_cast<int>(i) + 1, row},
                                  error);
    }
    if (!history.last_update_args.isEmpty())
        bridge.CallPageScript(QStringLiteral("updateMainScreen"), history.last_update_args, error);
}

} // namespace zorvi
