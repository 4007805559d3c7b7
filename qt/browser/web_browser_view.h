#pragma once

// WebBrowserView: the preview's browser control on QtWebEngine. It shows local
// files only: its profile is off the record (nothing is written to the home folder) and
// a request interceptor lets through only files inside the preview's working folder or
// the page's source folder, so a page cannot reach the network or other files. Every
// navigation passes the owner's before-navigate callback (a clicked link, a reload, the
// owner's own navigate); links that ask for a new window open nothing. Edits of the shown
// document run as a script in a world of their own, apart from the page's scripts.
//
//   PreviewProfile profile({.root = temp, .previewFolder = copyFolder, .sourceFolder = src});
//   WebBrowserView browser(profile.profile(), parent);
//   browser.navigate(u"/tmp/QRV.../5/a.htm", u"ABCDEFG");

#include <QObject>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/browser_view.h"

class QWebEngineProfile;
class QWebEngineView;
class QWidget;

namespace yentax {

// The folders the preview's browser may read from.
struct PreviewConfinement {
  std::string root;           // the preview's working folder
  std::string previewFolder;  // where the page copy sits, inside root
  std::string sourceFolder;   // the page's own folder
};

// Refuses every request that is not a readable local file of the confinement; a file
// missing beside the copy is read from the same place beside the source page.
class PreviewRequestInterceptor : public QWebEngineUrlRequestInterceptor {
 public:
  explicit PreviewRequestInterceptor(PreviewConfinement confinement, QObject* parent = nullptr);
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;
  // Every URL refused so far.
  const std::vector<QString>& blocked() const { return blocked_; }

 private:
  PreviewConfinement confinement_;
  std::vector<QString> blocked_;
};

// An off-the-record profile with the interceptor, for the preview's browser.
class PreviewProfile {
 public:
  explicit PreviewProfile(PreviewConfinement confinement);
  ~PreviewProfile();
  QWebEngineProfile* profile() const { return profile_.get(); }
  const PreviewRequestInterceptor& interceptor() const { return *interceptor_; }

 private:
  std::unique_ptr<PreviewRequestInterceptor> interceptor_;
  std::unique_ptr<QWebEngineProfile> profile_;
};

class WebBrowserView : public BrowserView {
 public:
  WebBrowserView(QWebEngineProfile* profile, QWidget* parent);
  ~WebBrowserView() override;

  void navigate(std::u16string_view path, std::u16string_view anchor) override;
  void reload() override;
  bool busy() const override { return busy_; }
  std::u16string locationUrl() const override;
  std::u16string urlFor(std::u16string_view path, std::u16string_view anchor) const override;
  void setVisible(bool visible) override;
  void setBeforeNavigate(BeforeNavigate handler) override { beforeNavigate_ = std::move(handler); }
  bool editShownText(const ShownTextEdit& edit) override;

  QWebEngineView* widget() const { return view_; }

 private:
  class Page;
  void loadFinished();
  // Runs the event loop, user input aside, until a load under way has finished; false
  // when it has not within kLoadWaitMs.
  bool waitForLoad();

  QWebEngineView* view_;
  QUrl location_;
  BeforeNavigate beforeNavigate_;
  bool busy_ = false;
  QString pendingAnchor_;  // scrolled to once the reload that shows it has finished
};

}  // namespace yentax
