#pragma once

#include <QDir>
#include <QString>
#include <functional>
#include <memory>

#include "Language.h"
#include "PageCalls.h"
#include "PageLanguage.h"

class QWidget;

namespace zorvi {

class PageFanOut;
class Settings;

// The players' window as the operator window drives it: opened, hidden and closed by the
// `public_screen` mode, its page folder, and its draw button kept in step with the operator's.
// Its page takes the game from the page fan-out, not from the operator window. The program's
// one is the public screen on the browser engine; a window that shows no page stands in where
// the page is not the point.
class PlayersScreen {
public:
    virtual ~PlayersScreen() = default;

    // The page this window shows, for the program to register with the page fan-out; none
    // for a window without a page.
    virtual PageCalls* Page() { return nullptr; }

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
    // Never waits for the page: a page that loads later is shown the game as it stands then.
    virtual bool Open(int mode, bool reload) = 0;
    // The start-up's one wait: until the page has finished loading, bounded.
    virtual void WaitUntilLoaded() {}
    virtual void Close() = 0;
    // Hides the window, keeping it and its page.
    virtual void HideWindow() = 0;

    virtual void SetButtonTexts() = 0;
    virtual void SetDrawButtonText(TextId entry) = 0;
    virtual void EnableDrawButton(bool enable) = 0;
    virtual void EnableButtons(bool enable) = 0;

    // The folder of the page for a language index, in the program's html folder.
    static QString PageFolderFor(const QString& programFolder, int language) {
        const std::string_view name = PageLanguageFolder(language);
        return QDir(programFolder)
            .filePath(QStringLiteral("html/") +
                      QString::fromLatin1(name.data(), qsizetype(name.size())));
    }
};

// A players' window that shows nothing: where a program runs without one.
class NoPlayersScreen final : public PlayersScreen {
public:
    void SetHandlers(Handlers) override {}
    bool created() const override { return false; }
    QWidget* window() const override { return nullptr; }
    void SetHtmlFolder(const QString&) override {}
    bool Open(int, bool) override { return false; }
    void Close() override {}
    void HideWindow() override {}
    void SetButtonTexts() override {}
    void SetDrawButtonText(TextId) override {}
    void EnableDrawButton(bool) override {}
    void EnableButtons(bool) override {}
};

// Makes the players' window for an operator window: the settings it reads, the page fan-out
// whose record its page shows when it loads, and its owner.
using PlayersScreenFactory = std::function<std::unique_ptr<PlayersScreen>(
    const Settings& settings, const PageFanOut& pages, QWidget* owner)>;

} // namespace zorvi
