#include "src/win/platform/scene_graph_backend.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace qorva {

bool IsSoftwareOpenGl(std::string_view renderer) {
    for (std::string_view name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
        if (renderer.find(name) != std::string_view::npos) return true;
    }
    return false;
}

void ChooseSceneGraphBackend() {
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") || !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND")) return;
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    bool software = !context.create() || !context.makeCurrent(&surface);
    if (!software) {
        const auto* renderer = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
        software = !renderer || IsSoftwareOpenGl(renderer);
        context.doneCurrent();
    }
    if (software) QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

}  // namespace qorva
