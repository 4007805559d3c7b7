#include "qt/browser/web_browser_view.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineView>
#include <memory>
#include <optional>

#include "preview/preview_files.h"
#include "qt/qt_ui.h"

namespace yentax {

namespace {

// A page of many megabytes takes seconds to load, and to lay out again after a change,
// which an edit that follows waits for; at most this long.
constexpr int kLoadWaitMs = 60000;
constexpr int kScriptWaitMs = 60000;

// Edits the shown document in a world of its own. The node is found by walking from the
// element with the id; a mark is the document's selection over the stretch, coloured with
// the colours of the html's highlight, so that moving it lays nothing out again; it is
// scrolled to at once. The colours of the first mark become a rule on the whole document,
// given once: a class changed on an element of a long table costs the browser a walk
// over the whole table at every step. A mark in other colours (the reduced rate) has a
// rule of its own on the node's parent. After a kept edit, which leaves the page to lay
// out again, the selection and the scroll come in a task after the answer, so that the
// answer does not wait for that layout. A kept edit puts the html in the node, which is
// then joined with its neighbours into one node again, as the copy's text would be read.
constexpr char16_t kEditScript[] =
    uR"((function (from, index, nodeText, offset, length, html, keep, scroll) {
  var state = window.__yentaxShown ||
      (window.__yentaxShown = {mark: null, rules: {}, sheet: null, first: null});
  var later = function (work) {
    clearTimeout(state.timer);
    state.timer = setTimeout(work, 0);
  };
  if (state.mark) {
    if (state.mark.added) state.mark.parent.classList.remove(state.mark.added);
    state.mark = null;
    later(function () { window.getSelection().removeAllRanges(); });
  }
  if (from === '') return true;
  var start = document.getElementById(from);
  if (!start || !document.body) return false;
  var walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  walker.currentNode = start;
  var node = null;
  for (var seen = -1; seen < index;) {
    node = walker.nextNode();
    if (!node) return false;
    var name = node.parentNode.nodeName;
    if (name !== 'SCRIPT' && name !== 'STYLE' && /[^ \t\n\f\r]/.test(node.data)) ++seen;
  }
  if (node.data !== nodeText || offset + length > node.data.length) return false;
  var template = document.createElement('template');
  template.innerHTML = html;
  var parent = node.parentNode;
  if (keep) {
    var tail = node.splitText(offset);
    tail.data = tail.data.slice(length);
    parent.insertBefore(template.content, tail);
    parent.normalize();
    state.changed = true;
    return true;
  }
  var span = template.content.querySelector('span');
  var font = template.content.querySelector('font[color]');
  var background = span ? span.style.backgroundColor : '';
  var colour = font ? font.getAttribute('color') : '';
  var key = background + '|' + colour;
  if (state.first === null) state.first = key;
  var rule = state.rules[key];
  if (!rule) {
    if (!state.sheet) {
      var style = document.createElement('style');
      (document.head || document.documentElement).appendChild(style);
      state.sheet = style.sheet;
    }
    rule = from.slice(0, from.lastIndexOf('-')) + '-mark' + Object.keys(state.rules).length;
    // Later rules win over the document's one, which comes first.
    var whole = key === state.first;
    state.sheet.insertRule('.' + CSS.escape(rule) + (whole ? ' ' : '') +
                           '::selection{background-color:' + (background || 'highlight') +
                           ';color:' + (colour || 'inherit') + '}',
                           state.sheet.cssRules.length);
    state.rules[key] = rule;
    if (whole) document.documentElement.classList.add(rule);
  }
  var added = key === state.first || parent.classList.contains(rule) ? null : rule;
  if (added) parent.classList.add(added);
  var range = document.createRange();
  range.setStart(node, offset);
  range.setEnd(node, offset + length);
  state.mark = {parent: parent, added: added};
  var show = function () {
    var selection = window.getSelection();
    selection.removeAllRanges();
    selection.addRange(range);
    if (!scroll) return;
    var box = range.getBoundingClientRect();
    window.scrollBy(box.left < 0 || box.right > window.innerWidth ? box.left : 0, box.top);
  };
  if (state.changed) {
    state.changed = false;
    later(show);
  } else {
    clearTimeout(state.timer);
    show();
  }
  return true;
}))";

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

bool WebBrowserView::waitForLoad() {
  if (!busy_) return true;
  QEventLoop loop;
  QObject::connect(view_->page(), &QWebEnginePage::loadFinished, &loop, &QEventLoop::quit);
  QTimer::singleShot(kLoadWaitMs, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return !busy_;
}

bool WebBrowserView::editShownText(const ShownTextEdit& edit) {
  if (!waitForLoad()) return false;
  const QJsonArray arguments{toQString(edit.from),
                             static_cast<qint64>(edit.index),
                             toQString(edit.nodeText),
                             static_cast<qint64>(edit.offset),
                             static_cast<qint64>(edit.length),
                             toQString(edit.html),
                             edit.keep,
                             edit.scroll};
  const QString script =
      QString::fromStdU16String(kEditScript) +
      QStringLiteral(".apply(null, %1)")
          .arg(QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact)));
  // The answer comes through the event loop; the loop may be gone by the time it does.
  auto answer = std::make_shared<std::optional<bool>>();
  QEventLoop loop;
  QPointer<QEventLoop> waiting(&loop);
  view_->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                               [answer, waiting](const QVariant& result) {
                                 *answer = result.toBool();
                                 if (waiting) waiting->quit();
                               });
  if (!answer->has_value()) {
    QTimer::singleShot(kScriptWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  return answer->value_or(false);
}

}  // namespace yentax
