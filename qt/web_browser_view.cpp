#include "qt/web_browser_view.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineView>

#include "preview/preview_files.h"
#include "qt/qt_ui.h"

namespace yentax {

namespace {

QString anchorScript(const QString& anchor) {
  QString name = anchor;
  name.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
      .replace(QLatin1Char('\''), QLatin1String("\\'"));
  return QStringLiteral(
             "(function(){var e=document.getElementsByName('%1')[0];"
             "if(e)e.scrollIntoView();})();")
      .arg(name);
}

}  // namespace

PreviewRequestInterceptor::PreviewRequestInterceptor(PreviewConfinement confinement,
                                                     QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), confinement_(std::move(confinement)) {}

void PreviewRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const QUrl url = info.requestUrl();
  if (url.isLocalFile()) {
    const auto decision = decideResource(url.toLocalFile().toStdString(), confinement_.root,
                                         confinement_.previewFolder, confinement_.sourceFolder);
    if (decision.allowed) {
      const QUrl target = QUrl::fromLocalFile(QString::fromStdString(decision.path));
      if (target.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery) !=
          url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery)) {
        info.redirect(target);
      }
      return;
    }
  }
  blocked_.push_back(url.toString());
  info.block(true);
}

PreviewProfile::PreviewProfile(PreviewConfinement confinement)
    : interceptor_(std::make_unique<PreviewRequestInterceptor>(std::move(confinement))),
      profile_(std::make_unique<QWebEngineProfile>()) {
  profile_->setUrlRequestInterceptor(interceptor_.get());
  profile_->setHttpCacheType(QWebEngineProfile::NoCache);
  profile_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
}

PreviewProfile::~PreviewProfile() = default;

// Hands every navigation to the view's before-navigate callback.
class WebBrowserView::Page : public QWebEnginePage {
 public:
  Page(QWebEngineProfile* profile, WebBrowserView& owner, QObject* parent)
      : QWebEnginePage(profile, parent), owner_(owner) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type,
                               bool /*isMainFrame*/) override {
    // A reload goes nowhere (readsShownDocumentAgain): not put to the handler.
    if (type == NavigationTypeReload) return true;
    return !owner_.beforeNavigate_ || owner_.beforeNavigate_(fromQString(url.toString()));
  }

 private:
  WebBrowserView& owner_;
};

WebBrowserView::WebBrowserView(QWebEngineProfile* profile, QWidget* parent)
    : view_(new QWebEngineView(parent)) {
  auto* page = new Page(profile, *this, view_);
  view_->setPage(page);
  view_->setContextMenuPolicy(Qt::NoContextMenu);
  QObject::connect(page, &QWebEnginePage::loadStarted, view_, [this] { busy_ = true; });
  QObject::connect(page, &QWebEnginePage::loadFinished, view_, [this](bool) { loadFinished(); });
}

WebBrowserView::~WebBrowserView() = default;

void WebBrowserView::navigate(std::u16string_view path, std::u16string_view anchor) {
  const QUrl target(toQString(urlFor(path, anchor)));
  const QUrl shown = view_->page()->url();
  busy_ = true;
  location_ = target;
  if (readsShownDocumentAgain(fromQString(shown.toString()), fromQString(target.toString()))) {
    pendingAnchor_ = target.fragment();
    view_->page()->triggerAction(QWebEnginePage::Reload);
    return;
  }
  pendingAnchor_.clear();
  view_->page()->setUrl(target);
}

void WebBrowserView::reload() {
  busy_ = true;
  pendingAnchor_.clear();
  view_->page()->triggerAction(QWebEnginePage::Reload);
}

void WebBrowserView::loadFinished() {
  busy_ = false;
  if (pendingAnchor_.isEmpty()) return;
  view_->page()->runJavaScript(anchorScript(pendingAnchor_));
  pendingAnchor_.clear();
}

std::u16string WebBrowserView::locationUrl() const {
  // Links are refused, so the page shows what it was last sent to; a reload that scrolls
  // to a new anchor does not change the engine's own URL.
  return fromQString(location_.toString());
}

std::u16string WebBrowserView::urlFor(std::u16string_view path, std::u16string_view anchor) const {
  QUrl url = QUrl::fromLocalFile(toQString(path));
  if (!anchor.empty()) url.setFragment(toQString(anchor));
  return fromQString(url.toString());
}

void WebBrowserView::setVisible(bool visible) { view_->setVisible(visible); }

void WebBrowserView::bringToFront() { view_->raise(); }

}  // namespace yentax
