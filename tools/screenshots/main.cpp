#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>

#include "platform/version_info.h"
#include "tools/screenshots/screenshots.h"

namespace yentax {

namespace {

std::map<std::string, ShotFunction>& shots() {
  static std::map<std::string, ShotFunction> all;
  return all;
}

}  // namespace

bool registerShots(const char* group, ShotFunction shoot) {
  return shots().emplace(group, std::move(shoot)).second;
}

bool ShotContext::save(QWidget& widget, const QString& name, QSize size) {
  widget.resize(size.isValid() ? size : widget.sizeHint());
  widget.show();
  QCoreApplication::processEvents();
  const auto path = QDir(outputFolder_).filePath(name + ".png");
  const bool saved = widget.grab().save(path);
  if (!saved) ++failures_;
  std::cout << (saved ? "wrote " : "could not write ") << path.toStdString() << '\n';
  return saved;
}

}  // namespace yentax

// yentax_screenshots OUTPUT_FOLDER [GROUP...]: renders every registered window, or only
// the named groups.
int main(int argc, char** argv) {
  using namespace yentax;
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  installJapaneseTranslation(app);
  const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
  QDir().mkpath(output);
  auto pattern = (std::filesystem::temp_directory_path() / "yentax-shots-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    std::cerr << "yentax_screenshots: cannot create a scratch folder\n";
    return 1;
  }
  QtUi ui{std::u16string(kProgramTitle)};
  int failures = 0;
  for (auto& [group, shoot] : shots()) {
    bool wanted = argc <= 2;
    for (int i = 2; i < argc; ++i) wanted = wanted || group == argv[i];
    if (!wanted) continue;
    const auto folder = pattern + "/" + group;
    std::filesystem::create_directories(folder);
    ShotContext context(output, folder, ui);
    shoot(context);
    failures += context.failures();
  }
  std::error_code error;
  std::filesystem::remove_all(pattern, error);
  return failures == 0 ? 0 : 1;
}
