#include "qt/browser/help_view.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "app/help_window.h"
#include "qt/qt_ui.h"

namespace yentax {

void showHelpWindow(HelpWindow& form) {
  const QFileInfo page(toQString(form.PagePath));
  if (!page.isAbsolute() || !page.isFile()) return;
  QDialog window(QApplication::activeWindow());
  window.setObjectName(QStringLiteral("HelpWindow"));
  window.setWindowTitle(toQString(form.Caption));
  window.setSizeGripEnabled(true);
  // Off the record, so that reading the help writes nothing into the home folder.
  QWebEngineProfile profile;
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* view = new QWebEngineView(&window);
  view->setPage(new QWebEnginePage(&profile, view));
  view->setObjectName(QStringLiteral("HelpPage"));
  layout->addWidget(view);
  view->load(QUrl::fromLocalFile(page.absoluteFilePath()));
  window.resize(760, 600);
  form.Shown = true;
  window.exec();
  // The page goes before the profile it was made with.
  delete view;
}

}  // namespace yentax
