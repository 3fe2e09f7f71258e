/* -std=c++14 fails: qxzeva's headers need C++17 or later in C++: compile with -std=c++17 */
#include "qxzeva/qxzeva_host.h"
