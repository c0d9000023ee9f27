#include "platform/formsruntime.h"
#include "ui/form1.h"

int main(int argc, char** argv) { return zev::runStartupForm<zev::Form1>(argc, argv); }
