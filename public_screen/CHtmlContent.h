#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineView>

class QWebEngineProfile;

namespace zorvi {

// The page view of the players' window. It is disabled, so it never takes mouse or keyboard
// input, yet it renders and runs script. It loads a local file with no cache and reloads the
// page by itself when the page's renderer process ends.
class CHtmlContent : public QWebEngineView {
    Q_OBJECT
public:
    explicit CHtmlContent(QWidget* parent = nullptr);
    ~CHtmlContent() override;

    // Loads the page from a plain file path, always from the file.
    void LoadFile(const QString& path);
    const QUrl& PageUrl() const { return url_; }

    // True once the current page has finished loading (a load that failed shows an error
    // document, which counts); false before the first load, while a load runs, and after
    // the renderer ended until the page is back.
    bool HasDocument() const { return has_document_; }
    bool IsLoading() const { return loading_; }

signals:
    // A load of the page has finished (ok false: the file could not be shown).
    void pageLoaded(bool ok);
    // The page came back after its renderer ended; it has lost what it was shown.
    void pageRestored();
    // The renderer process of the page ended; any script call in progress will not answer.
    void rendererGone();
    // The view is being destroyed: its calls in progress are dropped, not failed.
    void closing();

private:
    void OnLoadStarted();
    void OnLoadFinished(bool ok);
    void OnRendererTerminated();

    QWebEngineProfile* profile_ = nullptr;
    QWebEnginePage* page_ = nullptr;
    QUrl url_;
    bool has_document_ = false;
    bool loading_ = false;
    bool restoring_ = false;
};

} // namespace zorvi
