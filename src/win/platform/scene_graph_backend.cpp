#include "src/win/platform/scene_graph_backend.h"

#include <QQuickWindow>
#include <QSGRendererInterface>

#include <filesystem>
#include <system_error>

namespace qorva {
namespace {

// A render node is what hardware OpenGL draws through; without one Mesa falls
// back to rendering on the processor. Asking OpenGL itself would load that
// fallback (tens of megabytes) just to learn this.
bool HasRenderNode() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        if (entry.path().filename().string().starts_with("renderD")) return true;
    }
    return false;
}

}  // namespace

bool ChooseSceneGraphBackend() {
    const QByteArray chosen = qgetenv("QT_QUICK_BACKEND");
    if (!chosen.isEmpty() || !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND")) return chosen == "software";
    const bool softwareAsked = qEnvironmentVariableIntValue("LIBGL_ALWAYS_SOFTWARE") != 0;
    if (!softwareAsked && HasRenderNode()) return false;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // The engine makes an OpenGL context at start-up whatever draws the frames:
    // with no OpenGL for the window system none is made, nor Mesa loaded.
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
    return true;
}

}  // namespace qorva
