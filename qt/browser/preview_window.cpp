#include "qt/browser/preview_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <string>

#include "base/utf8.h"
#include "preview/preview_files.h"

namespace yentax {

namespace {

// A widget named after element index of a control array, "Cmd_Next(1)".
template <class Widget>
Widget* makeAt(QWidget* parent, const char* controlName, int index) {
  const auto name = std::string(controlName) + "(" + std::to_string(index) + ")";
  return make<Widget>(parent, name.c_str());
}

QColor colour(ColorValue value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

// A tooltip that shows page text as it is, markup and all.
QString plainToolTip(const std::u16string& text) {
  if (text.empty()) return {};
  return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(toQString(text).toHtmlEscaped());
}

PreviewConfinement confinementOf(const PreviewRequest& request) {
  const auto& root = request.TempFolders[1];
  return {root, previewFolderOf(root), utf16ToUtf8(request.PreviewSourceFolder)};
}

}  // namespace

PreviewWindow::PreviewWindow(SFrm_Disp& form, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      form_(form),
      bind_(&ui),
      profile_(std::make_unique<PreviewProfile>(confinementOf(form.request()))) {
  setModal(true);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);

  auto* menus = new QMenuBar(this);
  auto* file = menus->addMenu(QString());
  file->setObjectName(QStringLiteral("MENU_FILE"));
  auto* save = file->addAction(QString());
  save->setObjectName(QStringLiteral("MENU_SAVE"));
  file->addSeparator();
  auto* close = file->addAction(QString());
  close->setObjectName(QStringLiteral("MENU_CLOSE"));
  auto* tool = menus->addMenu(QString());
  tool->setObjectName(QStringLiteral("MENU_TOOL"));
  auto* option = tool->addAction(QString());
  option->setObjectName(QStringLiteral("MENU_OPTION"));
  bind_.menu(file->menuAction(), form.MENU_FILE, [] {});
  bind_.menu(save, form.MENU_SAVE, [&form] { form.MENU_SAVE_Click(); });
  bind_.menu(close, form.MENU_CLOSE, [&form] { form.MENU_CLOSE_Click(); });
  bind_.menu(tool->menuAction(), form.MENU_TOOL, [] {});
  bind_.menu(option, form.MENU_OPTION, [&form] { form.MENU_OPTION_Click(); });
  layout->setMenuBar(menus);

  auto* saveRow = new QHBoxLayout;
  auto* folderButton = make<QPushButton>(this, "Command1");
  bind_.clicked(folderButton, form.Command1, [&form] { form.Command1_Click(); });
  auto* folderLabel = make<QLabel>(this, "Lbl_WriteFolder");
  bind_.label(folderLabel, form.Lbl_WriteFolder);
  auto* writeButton = make<QPushButton>(this, "Cmd_Write");
  bind_.clicked(writeButton, form.Cmd_Write, [&form] { form.Cmd_Write_Click(); });
  saveRow->addWidget(folderButton);
  saveRow->addWidget(folderLabel, 1);
  saveRow->addWidget(writeButton);
  layout->addLayout(saveRow);

  auto* tabs = make<QTabBar>(this, "Tab1");
  tabs->setExpanding(false);
  bind_.tabs(tabs, form.Tab1, [&form] { form.Tab1_Click(); });
  layout->addWidget(tabs);
  layout->addWidget(amountFrame());
  layout->addWidget(tableFrame());
  layout->addWidget(pageArea(), 1);

  bindColours();
  bind_.custom([this, &form] { setWindowTitle(toQString(form.Caption)); });
  bind_.closeWhen(this, [&form] { return form.Unloaded; });
  resize(900, 700);
}

PreviewWindow::~PreviewWindow() {
  // The page goes before the profile it was made with.
  delete browser_->widget();
}

QWidget* PreviewWindow::amountFrame() {
  auto* frame = makeAt<QWidget>(this, "Frm_Disp", 0);
  bind_.control(frame, form_.Frm_Disp[0]);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* buttons = new QHBoxLayout;
  for (int i = 0; i < 2; ++i) {
    auto* next = makeAt<QPushButton>(frame, "Cmd_Next", i);
    bind_.clicked(next, form_.Cmd_Next[i], [this, i] { form_.Cmd_Next_Click(i); });
    buttons->addWidget(next);
  }
  for (int i = 0; i < 2; ++i) {
    auto* change = makeAt<QPushButton>(frame, "Cmd_Chenge", i);
    bind_.clicked(change, form_.Cmd_Chenge[i], [this, i] { form_.Cmd_Chenge_Click(i); });
    buttons->addWidget(change);
  }
  auto* sourceSwitch = make<QPushButton>(frame, "Cmd_Txt");
  bind_.clicked(sourceSwitch, form_.Cmd_Txt, [this] { form_.Cmd_Txt_Click(); });
  auto* showSelection = make<QPushButton>(frame, "Cmd_ChangeStr");
  bind_.clicked(showSelection, form_.Cmd_ChangeStr, [this] { form_.Cmd_ChangeStr_Click(); });
  buttons->addWidget(sourceSwitch);
  buttons->addWidget(showSelection);
  buttons->addStretch(1);
  layout->addLayout(buttons);

  auto* labels = new QHBoxLayout;
  changeLabel_ = makeAt<QLabel>(frame, "Lbl_Change", 0);
  changeLabel_->setAutoFillBackground(true);
  bind_.label(changeLabel_, form_.Lbl_Change[0]);
  auto* afterCaption = make<QLabel>(frame, "Label1");
  bind_.label(afterCaption, form_.Label1);
  auto* after = makeAt<QLabel>(frame, "Lbl_Change", 1);
  bind_.label(after, form_.Lbl_Change[1]);
  labels->addWidget(changeLabel_);
  labels->addWidget(afterCaption);
  labels->addWidget(after, 1);
  layout->addLayout(labels);
  return frame;
}

QWidget* PreviewWindow::tableFrame() {
  auto* frame = makeAt<QWidget>(this, "Frm_Disp", 1);
  bind_.control(frame, form_.Frm_Disp[1]);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* buttons = new QHBoxLayout;
  const auto addPair = [&](const char* name, std::array<CaptionControl, 2>& controls,
                           void (SFrm_Disp::*click)(int)) {
    for (int i = 0; i < 2; ++i) {
      auto* button = makeAt<QPushButton>(frame, name, i);
      bind_.clicked(button, controls[static_cast<std::size_t>(i)],
                    [this, click, i] { (form_.*click)(i); });
      buttons->addWidget(button);
    }
  };
  addPair("Cmd_Table", form_.Cmd_Table, &SFrm_Disp::Cmd_Table_Click);
  addPair("Cmd_Col", form_.Cmd_Col, &SFrm_Disp::Cmd_Col_Click);
  addPair("Cmd_Cell", form_.Cmd_Cell, &SFrm_Disp::Cmd_Cell_Click);
  addPair("Cmd_AllChenge", form_.Cmd_AllChenge, &SFrm_Disp::Cmd_AllChenge_Click);
  auto* kind = make<QLabel>(frame, "Lbl_SelectKind");
  bind_.label(kind, form_.Lbl_SelectKind);
  auto* running = make<QLabel>(frame, "Lbl_AllChangeMsg");
  bind_.label(running, form_.Lbl_AllChangeMsg);
  buttons->addWidget(kind);
  buttons->addWidget(running);
  buttons->addStretch(1);
  layout->addLayout(buttons);

  auto* counts = new QHBoxLayout;
  const auto addLabels = [&](const char* name, std::array<CaptionControl, 4>& controls) {
    for (int i = 0; i < 4; ++i) {
      auto* label = makeAt<QLabel>(frame, name, i);
      bind_.label(label, controls[static_cast<std::size_t>(i)]);
      counts->addWidget(label);
    }
    counts->addSpacing(12);
  };
  addLabels("Lbl_Table", form_.Lbl_Table);
  addLabels("Lbl_Col", form_.Lbl_Col);
  addLabels("Lbl_Cell", form_.Lbl_Cell);
  counts->addStretch(1);
  layout->addLayout(counts);

  auto* marks = new QHBoxLayout;
  auto* borderCaption = make<QLabel>(frame, "Lbl_Border");
  bind_.label(borderCaption, form_.Lbl_Border);
  auto* border = make<QLineEdit>(frame, "Txt_Border");
  border->setMaximumWidth(60);
  bind_.text(border, form_.Txt_Border);
  borderCaption->setBuddy(border);
  auto* colourCaption = make<QLabel>(frame, "Label2");
  bind_.label(colourCaption, form_.Label2);
  marks->addWidget(borderCaption);
  marks->addWidget(border);
  marks->addSpacing(12);
  marks->addWidget(colourCaption);
  for (int i = 0; i < static_cast<int>(colourButtons_.size()); ++i) {
    colourButtons_[static_cast<std::size_t>(i)] = makeAt<QPushButton>(frame, "Cmd_Color", i);
    bind_.clicked(colourButtons_[static_cast<std::size_t>(i)], form_.Cmd_Color[i],
                  [this, i] { form_.Cmd_Color_Click(i); });
    marks->addWidget(colourButtons_[static_cast<std::size_t>(i)]);
  }
  marks->addStretch(1);
  layout->addLayout(marks);
  return frame;
}

QWidget* PreviewWindow::pageArea() {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  browser_ = std::make_unique<WebBrowserView>(profile_->profile(), area);
  browser_->widget()->setObjectName(QStringLiteral("WebB"));
  grid->addWidget(browser_->widget(), 0, 0);
  auto* source = make<QPlainTextEdit>(area, "RTxt");
  source->setLineWrapMode(QPlainTextEdit::NoWrap);
  source->installEventFilter(this);
  bind_.richText(source, form_.RTxt, [this] { form_.RTxt_Change(); });
  grid->addWidget(source, 0, 0);
  form_.attachBrowser(*browser_);
  return area;
}

void PreviewWindow::bindColours() {
  bind_.custom([this] {
    QPalette palette = changeLabel_->palette();
    palette.setColor(QPalette::WindowText, colour(form_.Lbl_ChangeForeColor));
    palette.setColor(QPalette::Window, colour(form_.Lbl_ChangeBackColor));
    changeLabel_->setPalette(palette);
    changeLabel_->setToolTip(plainToolTip(form_.Lbl_ChangeToolTip));
    for (std::size_t i = 0; i < colourButtons_.size(); ++i) {
      const QColor face = colour(form_.Cmd_ColorFace[i]);
      const QColor text = face.lightness() < 128 ? Qt::white : Qt::black;
      colourButtons_[i]->setStyleSheet(
          QStringLiteral("background-color:%1;color:%2").arg(face.name(), text.name()));
    }
  });
}

bool PreviewWindow::load() {
  // Nothing may be clicked while the page is being opened; a click once it is open waits
  // for the browser's load where it needs the page.
  setEnabled(false);
  bool opened = false;
  bind_.handle([&] { opened = form_.Form_Load(); });
  setEnabled(true);
  // While the window was off its widgets looked off whatever their own state; show it.
  bind_.refreshFromModel();
  return opened;
}

void PreviewWindow::reject() {
  bind_.handle([this] { form_.requestClose(SFrm_Disp::CloseRequest::kEscapeKey); });
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
  bind_.handle([this] { form_.requestClose(SFrm_Disp::CloseRequest::kCloseBox); });
  // Unloaded, the bindings have ended the dialog; otherwise it stays (Cancel to the save
  // question, or a step still running that closes it when it ends).
  event->setAccepted(form_.Unloaded);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease && watched->objectName() == QLatin1String("RTxt")) {
    bind_.handle([this] { form_.RTxt_KeyUp(); });
  }
  return QDialog::eventFilter(watched, event);
}

void showPreviewWindow(SFrm_Disp& form, QtUi& ui) {
  PreviewWindow window(form, ui, QApplication::activeWindow());
  window.show();
  // A window closed while its page was opening is not run again.
  if (window.load() && !form.Unloaded) window.exec();
}

}  // namespace yentax
