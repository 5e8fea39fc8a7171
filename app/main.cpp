// The process entry of foliarkh: hands control to the runtime.
#include "runtime/run.h"

int main(int argc, char** argv) { return QbxKernogStart(argc, argv); }
