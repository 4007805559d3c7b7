#include <QMessageBox>

#include "tools/screenshots/screenshots.h"

namespace yentax {
namespace {

const bool registered = registerShots("message_box", [](ShotContext& shot) {
  const auto box = shot.ui().makeMessageBox(u"変更内容を登録しますか？",
                                            MessageButtons::YesNoCancel, MessageIcon::Question);
  shot.save(*box, "message_box");
});

}  // namespace
}  // namespace yentax
