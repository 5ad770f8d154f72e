// The Linux program's entry point.
#include "platform/native.h"

int main() { return verdantix::ProgramMain(); }
