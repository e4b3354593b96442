#pragma once

#include <QDir>
#include <QString>
#include <functional>
#include <memory>

#include "Language.h"
#include "PageCalls.h"

class QWidget;

namespace zorvi {

class Settings;

// The players' window as the operator window drives it: opened, hidden and closed by the
// `public_screen` mode, its page folder, its draw button kept in step with the operator's, and
// the page calls. The program's one is the public screen on the browser engine; a window that
// shows no page stands in where the page is not the point.
class PlayersScreen : public PageCalls {
public:
    // What the window asks of the operator window: its draw button, its close button, and a
    // click anywhere on it (the keyboard focus goes back to the operator window).
    struct Handlers {
        std::function<void()> draw;
        std::function<void()> close;
        std::function<void()> focus;
    };
    virtual void SetHandlers(Handlers handlers) = 0;

    virtual bool created() const = 0;
    virtual QWidget* window() const = 0; // null while not created

    virtual void SetHtmlFolder(const QString& folder) = 0;
    // Shows the window for mode 1 (same screen) or 2 (other screen), creating it when needed;
    // mode 0 closes it. True when this call created the window.
    virtual bool Open(int mode, bool reload) = 0;
    virtual void Close() = 0;
    // Hides the window, keeping it and its page.
    virtual void HideWindow() = 0;

    virtual void SetButtonTexts() = 0;
    virtual void SetDrawButtonText(TextId entry) = 0;
    virtual void EnableDrawButton(bool enable) = 0;
    virtual void EnableButtons(bool enable) = 0;

    // The hall server's join code (a QR code of its address, `size` x `size` modules row by
    // row, '1' dark) in a corner of the page; an empty url takes it away. Optional: a window
    // without a page for it shows nothing.
    virtual void PageShowJoinCode(const QString& url, int size, const QString& modules) {
        (void)url;
        (void)size;
        (void)modules;
    }

    // The folder of the page for a language index: "en" for 2, "se" for 1, "fi" otherwise.
    static QString PageFolderFor(const QString& programFolder, int language) {
        const QString name = language == 2   ? QStringLiteral("en")
                             : language == 1 ? QStringLiteral("se")
                                             : QStringLiteral("fi");
        return QDir(programFolder).filePath(QStringLiteral("html/") + name);
    }
};

// Makes the players' window for an operator window: the settings it reads and its owner.
using PlayersScreenFactory =
    std::function<std::unique_ptr<PlayersScreen>(const Settings& settings, QWidget* owner)>;

} // namespace zorvi
