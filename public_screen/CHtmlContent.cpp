#include "CHtmlContent.h"

#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace zorvi {

CHtmlContent::CHtmlContent(QWidget* parent) : QWebEngineView(parent) {
    // An off-the-record profile keeps nothing on disk and holds no cache between loads.
    profile_ = new QWebEngineProfile;
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    page_ = new QWebEnginePage(profile_, this);
    // Children go in the order they came: the page, then the profile it was made with.
    profile_->setParent(this);
    QWebEngineSettings* s = page_->settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
    page_->setBackgroundColor(Qt::black);
    setPage(page_);

    setEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::NoContextMenu);

    connect(page_, &QWebEnginePage::loadStarted, this, &CHtmlContent::OnLoadStarted);
    connect(page_, &QWebEnginePage::loadFinished, this, &CHtmlContent::OnLoadFinished);
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            &CHtmlContent::OnRendererTerminated);
}

CHtmlContent::~CHtmlContent() {
    emit closing();
    disconnect(page_, nullptr, this, nullptr);
}

void CHtmlContent::LoadFile(const QString& path) {
    url_ = QUrl::fromLocalFile(path);
    has_document_ = false;
    loading_ = true;
    page_->load(url_);
}

void CHtmlContent::OnLoadStarted() {
    has_document_ = false;
    loading_ = true;
}

void CHtmlContent::OnLoadFinished(bool ok) {
    loading_ = false;
    has_document_ = true;
    emit pageLoaded(ok);
    if (restoring_) {
        restoring_ = false;
        emit pageRestored();
    }
}

void CHtmlContent::OnRendererTerminated() {
    has_document_ = false;
    emit rendererGone();
    if (url_.isEmpty())
        return;
    // Loading again from inside the termination signal is not safe; do it right after.
    restoring_ = true;
    QTimer::singleShot(0, this, [this] {
        loading_ = true;
        page_->load(url_);
    });
}

} // namespace zorvi
