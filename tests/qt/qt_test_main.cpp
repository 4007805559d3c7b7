#include <gtest/gtest.h>

#include <QApplication>

#include "qt/qt_ui.h"

// Widget tests share one application object, in Japanese as the program runs.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The build lists the tests without CTest's environment; no display is needed for that.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  yentax::installJapaneseTranslation(app);
  return RUN_ALL_TESTS();
}
