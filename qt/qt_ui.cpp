#include "qt/qt_ui.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <QUrl>
#include <algorithm>

#include "ui/desktop_open.h"

namespace yentax {

bool installJapaneseTranslation(QApplication& app) {
  auto* translator = new QTranslator(&app);
  const auto folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_", folder)) {
    delete translator;
    return false;
  }
  return QApplication::installTranslator(translator);
}

QString toQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string fromQString(const QString& text) { return text.toStdU16String(); }

QStringList qtNameFilters(std::u16string_view filter) {
  const auto parts = toQString(filter).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    auto patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    // The Windows caption usually repeats its pattern already: "HTML (*.htm)".
    filters << (parts[i].contains(u'(') ? parts[i] : parts[i] + " (" + patterns + ")");
  }
  return filters;
}

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

MessageAnswer answerOf(int clicked, MessageButtons buttons) {
  switch (clicked) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    default:
      return answerWhenClosed(buttons);
  }
}

QColor qtColor(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t bgrOf(const QColor& color) {
  return static_cast<std::uint32_t>(color.red()) |
         (static_cast<std::uint32_t>(color.green()) << 8) |
         (static_cast<std::uint32_t>(color.blue()) << 16);
}

// The folder and name a file dialog starts with: a name with a folder part brings its
// folder, a bare name starts in the request's initial folder.
QString startPath(const FileDialogRequest& request) {
  const auto name = toQString(request.fileName);
  if (name.contains(u'/')) return name;
  const auto folder = toQString(request.initialFolder);
  return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

std::optional<std::u16string> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                            QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, toQString(request.title));
  dialog.setAcceptMode(mode);
  const auto filters = qtNameFilters(request.filter);
  dialog.setNameFilters(filters);
  const auto index = static_cast<qsizetype>(request.filterIndex - 1);
  if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
  dialog.setDefaultSuffix(toQString(request.defaultExtension));
  dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
  dialog.selectFile(startPath(request));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return fromQString(dialog.selectedFiles().front());
}

}  // namespace

QtUi::QtUi(std::u16string title)
    : title_(std::move(title)), launcher_([](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
      }) {}

std::unique_ptr<QMessageBox> QtUi::makeMessageBox(std::u16string_view text, MessageButtons buttons,
                                                  MessageIcon icon) const {
  auto box = std::make_unique<QMessageBox>(qtIcon(icon), toQString(title_), toQString(text),
                                           qtButtons(buttons), dialogParent());
  box->setTextFormat(Qt::PlainText);
  return box;
}

MessageAnswer QtUi::messageBox(std::u16string_view text, MessageButtons buttons, MessageIcon icon) {
  const auto box = makeMessageBox(text, buttons, icon);
  return answerOf(box->exec(), buttons);
}

std::optional<std::u16string> QtUi::openFileDialog(const FileDialogRequest& request) {
  return runFileDialog(dialogParent(), request, QFileDialog::AcceptOpen);
}

std::optional<std::u16string> QtUi::saveFileDialog(const FileDialogRequest& request) {
  return runFileDialog(dialogParent(), request, QFileDialog::AcceptSave);
}

std::optional<std::u16string> QtUi::browseForFolder(std::u16string_view title,
                                                    std::u16string_view startFolder) {
  const auto chosen =
      QFileDialog::getExistingDirectory(dialogParent(), toQString(title), toQString(startFolder));
  if (chosen.isEmpty()) return std::nullopt;
  return fromQString(chosen);
}

std::optional<std::uint32_t> QtUi::chooseColor(std::u16string_view title,
                                               std::uint32_t initialColor) {
  const auto chosen =
      QColorDialog::getColor(qtColor(initialColor), dialogParent(), toQString(title));
  if (!chosen.isValid()) return std::nullopt;
  return bgrOf(chosen);
}

std::vector<std::u16string> QtUi::installedFontNames() {
  std::vector<std::u16string> names;
  for (const auto& family : QFontDatabase::families()) names.push_back(fromQString(family));
  return names;
}

bool QtUi::openWithDesktop(std::u16string_view path) {
  if (!isDesktopPath(path)) return false;
  return launcher_(QFileInfo(toQString(path)).absoluteFilePath());
}

void QtUi::processPendingEvents() {
  for (auto* view : std::vector<RefreshableView*>(views_)) view->refreshFromModel();
  QCoreApplication::processEvents();
}

void QtUi::bringMainWindowToFront() {
  if (!mainWindow_) return;
  mainWindow_->setWindowState((mainWindow_->windowState() & ~Qt::WindowMinimized) |
                              Qt::WindowActive);
  mainWindow_->show();
  mainWindow_->raise();
  mainWindow_->activateWindow();
}

void QtUi::addView(RefreshableView* view) { views_.push_back(view); }

void QtUi::removeView(RefreshableView* view) { std::erase(views_, view); }

QWidget* QtUi::dialogParent() const {
  if (auto* modal = QApplication::activeModalWidget()) return modal;
  if (auto* active = QApplication::activeWindow()) return active;
  return mainWindow_;
}

}  // namespace yentax
