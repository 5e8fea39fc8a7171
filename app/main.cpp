// The process entry of foliarkh: hands control to the runtime.
#include "run.h"

int main(int argc, char** argv) { return QbxKernogStart(argc, argv); }
