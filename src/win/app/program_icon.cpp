#include "src/win/app/program_icon.h"

namespace qorva {

QIcon ProgramIcon() {
    QIcon builtIn;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        builtIn.addFile(QStringLiteral(":/qorva/icons/qorva-%1.png").arg(size), QSize(size, size));
    }
    return QIcon::fromTheme(QStringLiteral("qorva"), builtIn);
}

}  // namespace qorva
