// The program's entry point; everything happens in RunQorva.
#include "src/win/app/run_program.h"

int main(int argc, char** argv) { return qorva::RunQorva(argc, argv); }
