#pragma once

// PreviewWindow: the Qt view of the preview window SFrm_Disp. A QtWebEngine browser and
// the source view, a plain-text editor, share one place; above them the save folder,
// the tab strip and the frame of the active tab. The window owns its browser and its
// confined profile; the model decides everything else.
//
//   PreviewWindow window(form, ui, parent);
//   if (window.load()) window.exec();   // Form_Load, then modal until the form unloads

#include <QDialog>
#include <array>
#include <memory>

#include "preview/preview_form.h"
#include "qt/bindings.h"
#include "qt/browser/web_browser_view.h"

class QLabel;
class QPushButton;

namespace yentax {

class PreviewWindow : public QDialog {
 public:
  PreviewWindow(SFrm_Disp& form, QtUi& ui, QWidget* parent = nullptr);
  ~PreviewWindow() override;

  // Opens the page; false when the form could not open it.
  bool load();

  WebBrowserView& browser() { return *browser_; }
  // The browser is loading a page.
  bool loading() const { return browser_->busy(); }
  const PreviewRequestInterceptor& interceptor() const { return profile_->interceptor(); }

 protected:
  // Esc (QDialog's reject) and the close box both ask the form, which decides which closes.
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* amountFrame();
  QWidget* tableFrame();
  QWidget* pageArea();
  void bindColours();

  SFrm_Disp& form_;
  ViewBindings bind_;
  std::unique_ptr<PreviewProfile> profile_;
  std::unique_ptr<WebBrowserView> browser_;
  QLabel* changeLabel_ = nullptr;
  std::array<QPushButton*, 3> colourButtons_{};
};

// Shows the form's page in a preview window over the active window, modally, until the
// form closes.
void showPreviewWindow(SFrm_Disp& form, QtUi& ui);

}  // namespace yentax
