// How the browser view's frames reach the screen. Without a graphics processor
// OpenGL is emulated on the processor (llvmpipe and the like), which costs far
// more than drawing the frames with plain software: that case takes the software
// scene graph.
#pragma once

#include <string_view>

namespace qorva {

// True for the renderer names of OpenGL done on the processor.
bool IsSoftwareOpenGl(std::string_view renderer);

// Picks the software scene graph when OpenGL is missing or emulated, unless the
// user chose a backend through Qt's own variables. Runs after the application
// object is made and before the first browser view.
void ChooseSceneGraphBackend();

}  // namespace qorva
