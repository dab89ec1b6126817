// Start-up: the dictionary, the engine, the window and its first document, the
// update checker and the message loop.
#pragma once

namespace qorva {

int RunQorva(int argc, char** argv);

}  // namespace qorva
