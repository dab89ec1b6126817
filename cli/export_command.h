// `qorva-convert export ...`: headless export of a native document, through the
// export tools; argv[0] is the program, argv[1] is "export".
#pragma once

namespace qorva {

int runExportCommand(int argc, char** argv);

}  // namespace qorva
