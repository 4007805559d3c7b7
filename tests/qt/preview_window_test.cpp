#include "qt/browser/preview_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTextCursor>
#include <QWebEngineView>
#include <algorithm>
#include <functional>

#include "base/utf8.h"
#include "docio/page_file.h"
#include "platform/console_ui.h"
#include "preview/preview_form.h"
#include "qt/qt_form_host.h"
#include "qt/qt_ui.h"
#include "tests/qt/modal_answer.h"
#include "tests/qt/preview_window_fixture.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

TEST(PreviewWindowTest, HighlightsConvertsAndSavesAShiftJisPage) {
  WindowOnPage w(sjis(shop(u"1,980円")), {{"src/img/p.png", png()}});
  EXPECT_EQ(w.window->findChild<QPushButton*>("Cmd_Next(1)")->text(), "次の対象金額");
  EXPECT_FALSE(w.window->findChild<QPushButton*>("Cmd_Write")->isEnabled());
  EXPECT_EQ(w.run("document.images[0].naturalWidth").toInt(), 4);

  // A mark left in the document by the test: a load of the page would take it away.
  w.run("document.body.dataset.left = 'here'");
  w.click("Cmd_Next(1)");
  EXPECT_TRUE(w.selects("1,980円"));
  // The highlight's colours: InsertFont red on its complement.
  EXPECT_EQ(w.run("getComputedStyle(window.getSelection().anchorNode.parentNode, '::selection')"
                  ".backgroundColor")
                .toString(),
            "rgb(0, 255, 255)");
  w.click("Cmd_Chenge(1)");
  EXPECT_EQ(w.form->Lbl_Change[0].Caption, u"500円");
  EXPECT_TRUE(w.selects("500円"));
  EXPECT_TRUE(w.run("document.body.textContent.includes('1,980円(税込み2,178円)')").toBool());
  EXPECT_EQ(w.run("document.body.dataset.left").toString(), "here");
  EXPECT_TRUE(w.window->findChild<QPushButton*>("Cmd_Write")->isEnabled());
  w.click("Cmd_Write");
  EXPECT_EQ(readFile(w.scratch / "out/a.htm"), sjis(shop(u"1,980円(税込み2,178円)")));
  EXPECT_EQ(w.ui.messages().back().text, u"ファイルを保存しました。");
}

// Esc leaves the window open, changed or not; the close box closes it.
TEST(PreviewWindowTest, EscapeDoesNothingAndTheCloseBoxCloses) {
  WindowOnPage w(sjis(shop(u"1,980円")));
  w.window->activateWindow();
  QTest::keyClick(w.window.get(), Qt::Key_Escape);
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.window->isVisible());
  EXPECT_FALSE(w.form->Unloaded);
  w.window->close();
  EXPECT_FALSE(w.window->isVisible());
  EXPECT_TRUE(w.form->Unloaded);
}

// The source view takes edits; closing a changed page asks, and Cancel keeps the window.
TEST(PreviewWindowTest, AnEditedSourceIsAskedAboutOnClosing) {
  WindowOnPage w(sjis(shop(u"1,980円")));
  auto* source = w.window->findChild<QPlainTextEdit*>("RTxt");
  ASSERT_NE(source, nullptr);
  EXPECT_FALSE(source->isVisible());
  w.click("Cmd_Txt");
  EXPECT_TRUE(source->isVisible());
  EXPECT_EQ(w.window->findChild<QPushButton*>("Cmd_Txt")->text(), "ブラウザ表示");
  source->moveCursor(QTextCursor::End);
  source->insertPlainText("x");
  EXPECT_TRUE(w.window->findChild<QPushButton*>("Cmd_Write")->isEnabled());
  w.ui.queueAnswer(MessageAnswer::Cancel);
  w.window->close();
  EXPECT_TRUE(w.window->isVisible());
  EXPECT_FALSE(w.form->Unloaded);
  EXPECT_EQ(w.ui.messages().back().text, u"変更内容を登録しますか？");
  w.ui.queueAnswer(MessageAnswer::No);
  w.window->close();
  EXPECT_FALSE(w.window->isVisible());
}

TEST(PreviewWindowTest, ConfirmingAConversionTakesTheEditedText) {
  WindowOnPage w(sjis(shop(u"1,980円")));
  w.click("Cmd_Next(1)");
  whenModalShows([](QWidget* dialog) {
    auto* change = dialog->findChild<QLineEdit*>("Txt_Change");
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->text(), QString::fromUtf8("1,980円(税込み2,178円)"));
    change->setText(QString::fromUtf8("1,980円(込)"));
    dialog->findChild<QPushButton*>("Command1(0)")->click();
  });
  w.click("Cmd_Chenge(0)");
  EXPECT_NE(w.form->PreviewText.find(u"<TD>1,980円(込)</TD>"), std::u16string::npos);
  EXPECT_TRUE(w.selects("500円"));
  EXPECT_TRUE(w.run("document.body.textContent.includes('1,980円(込)')").toBool());
}

// The first mark's colours hold for the whole document; a reduced-rate amount between
// standard ones shows in its own colours, and the next standard one in the first again.
TEST(PreviewWindowTest, AReducedAmountIsMarkedInItsOwnColoursBetweenStandardOnes) {
  WindowOnPage w(
      sjis(u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>※印は軽減税率対象商品です</P>"
           u"<TABLE><TR><TD>本</TD><TD>1,000円</TD></TR>"
           u"<TR><TD>※米</TD><TD>2,000円</TD></TR>"
           u"<TR><TD>傘</TD><TD>3,000円</TD></TR></TABLE></BODY></HTML>"));
  const auto markColour = [&w] {
    return w
        .run(
            "getComputedStyle(window.getSelection().anchorNode.parentNode, '::selection')"
            ".backgroundColor")
        .toString();
  };
  w.click("Cmd_Next(1)");
  ASSERT_TRUE(w.selects("1,000円"));
  const QString standard = markColour();
  EXPECT_EQ(standard, "rgb(0, 255, 255)");
  w.click("Cmd_Next(1)");
  ASSERT_TRUE(w.selects("2,000円"));
  EXPECT_EQ(markColour(), "rgb(255, 204, 0)");
  w.click("Cmd_Next(1)");
  ASSERT_TRUE(w.selects("3,000円"));
  EXPECT_EQ(markColour(), standard);
}

TEST(PreviewWindowTest, ALinkInThePageNavigatesNowhere) {
  WindowOnPage w(sjis(u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY>"
                      u"<A ID=\"same\" HREF=\"b.htm\">b</A>"
                      u"<A ID=\"blank\" HREF=\"b.htm\" TARGET=\"_blank\">new</A>"
                      u"<P ID=\"here\">100円</P></BODY></HTML>"),
                 {{"src/b.htm", "<html><body><p id=\"other\">b</p></body></html>"},
                  {"t1/1/2/3/4/5/b.htm", "<html><body><p id=\"other\">b</p></body></html>"}});
  const auto url = w.shown()->url();
  const auto windows = QApplication::topLevelWidgets().size();
  for (const char* link : {"same", "blank"}) {
    SCOPED_TRACE(link);
    w.run(QStringLiteral("document.getElementById('%1').click()").arg(QLatin1String(link)));
    QElapsedTimer timer;
    timer.start();
    waitFor([&] { return timer.elapsed() > 500; });
    w.settled();
    EXPECT_EQ(w.shown()->url(), url);
    EXPECT_TRUE(w.run("document.getElementById('here') !== null").toBool());
  }
  EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
}

TEST(PreviewWindowTest, NothingLeavesThePageFolders) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  int connections = 0;
  QObject::connect(&server, &QTcpServer::newConnection, [&] { ++connections; });
  ScratchFolder elsewhere;
  writeFile(elsewhere / "outside.png", png());
  const auto remote = QStringLiteral("http://127.0.0.1:%1/x.png").arg(server.serverPort());
  const auto outside = QUrl::fromLocalFile(QString::fromStdString(elsewhere / "outside.png"));
  const std::u16string body =
      u"<IMG ID=\"remote\" SRC=\"" + fromQString(remote) + u"\">" + u"<IMG ID=\"outside\" SRC=\"" +
      fromQString(outside.toString()) + u"\"><IMG ID=\"up\" SRC=\"../../../../../../../../.." +
      utf8ToUtf16(elsewhere / "outside.png") + u"\"><LINK REL=\"stylesheet\" HREF=\"style.css\">";
  WindowOnPage w(sjis(u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY>" + body + u"</BODY></HTML>"),
                 {{"src/style.css", "body { background-color: rgb(1, 2, 3); }"}});
  for (const char* id : {"remote", "outside", "up"}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(
        w.run(QStringLiteral("document.getElementById('%1').naturalWidth").arg(QLatin1String(id)))
            .toInt(),
        0);
  }
  EXPECT_EQ(w.run("getComputedStyle(document.body).backgroundColor").toString(), "rgb(1, 2, 3)");
  QCoreApplication::processEvents();
  EXPECT_EQ(connections, 0);
  const auto& blocked = w.window->interceptor().blocked();
  EXPECT_NE(std::find(blocked.begin(), blocked.end(), outside.toString()), blocked.end());
}

TEST(PreviewWindowTest, APagesScriptReadsNothingFromOutsideItsFolder) {
  const std::string passwd = readFile("/etc/passwd").substr(0, 16);
  const std::u16string up = u"../../../../..";
  // Images that would bring the files into the preview's folder, where the script looks.
  const std::u16string images = u"<IMG SRC=\"../secret.txt\"><IMG SRC=\"" + up +
                                u"/etc/passwd\"><IMG SRC=\"link-out.txt\"><IMG SRC=\"" +
                                utf8ToUtf16(std::string(std::filesystem::temp_directory_path())) +
                                u"/../etc/passwd\">";
  const std::u16string script =
      u"<PRE ID=\"out\"></PRE><SCRIPT>function read(u){try{var x=new XMLHttpRequest();"
      u"x.open('GET',u,false);x.send();return x.responseText;}catch(e){return '';}}"
      u"document.getElementById('out').textContent=['a_files/in.txt','../secret.txt','" +
      up + u"/etc/passwd','link-out.txt','a_files/comp.css','/etc/passwd','" + up +
      u"/secret.txt'].map(read).join('|');</SCRIPT>";
  WindowOnPage w(
      sjis(u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY>" + images + script + u"</BODY></HTML>"),
      {{"secret.txt", "SECRET-OUTSIDE"},
       {"src/a_files/in.txt", "inside"},
       {"t0/a_files/comp.css", "SECRET-OUTSIDE"}},
      {{"src/link-out.txt", "secret.txt"}, {"src/a_files/comp.css", "secret.txt"}});
  const auto read = w.run("document.getElementById('out').textContent").toString().toStdString();
  EXPECT_NE(read.find("inside"), std::string::npos) << read;  // the script could read at all
  EXPECT_EQ(read.find("SECRET-OUTSIDE"), std::string::npos) << read;
  EXPECT_EQ(read.find(passwd), std::string::npos) << read;
}

}  // namespace
}  // namespace yentax
