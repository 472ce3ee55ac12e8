#include "pictures.h"

#include <initializer_list>

// Outside any namespace, as the resource's initialiser is declared there.
static void InitPictures() {
  static const bool once = [] {
    Q_INIT_RESOURCE(pictures);
    return true;
  }();
  (void)once;
}

namespace vellumo {
namespace {

QIcon Sizes(const QString& stem, std::initializer_list<int> sizes) {
  InitPictures();
  QIcon icon;
  for (int size : sizes) icon.addFile(QStringLiteral(":/vellumo/%1-%2.png").arg(stem).arg(size));
  return icon;
}

}  // namespace

QIcon ProgramIcon() {
  InitPictures();
  return QIcon(QStringLiteral(":/vellumo/vellumo.ico"));
}

QIcon RatioIcon() {
  InitPictures();
  return QIcon(QStringLiteral(":/vellumo/ratio.ico"));
}

QIcon ToolbarIcon(const char* name) {
  return Sizes(QStringLiteral("toolbar-") + QLatin1String(name), {32, 48, 64});
}

QIcon ButtonIcon(const char* name) {
  return Sizes(QLatin1String(name), {16, 20, 24, 32, 40, 48});
}

}  // namespace vellumo
