// `qorva-convert export ...`: headless export of a native document, through the
// export tools; argv[0] is the program, argv[1] is "export".
#pragma once

int runExportCommand(int argc, char** argv);
