#include "shell/shell.h"

#include <QCoreApplication>

// exit(), not quit(): in Qt 6 quit() first offers every window a close event.
void quitte() { QCoreApplication::exit(0); }
