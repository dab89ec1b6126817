// How the browser view's frames reach the screen. Without a graphics processor
// OpenGL is emulated on the processor (llvmpipe), which costs far more than
// drawing the frames with plain software, and loads a compiler besides: that
// case takes the software scene graph.
#pragma once

namespace qorva {

// Picks the software scene graph when there is no graphics device to render on
// or software OpenGL is asked for, unless the user chose a backend through Qt's
// own variables. Runs before the application object is made; true when the
// scene graph draws in software (then no OpenGL context is shared either).
bool ChooseSceneGraphBackend();

}  // namespace qorva
