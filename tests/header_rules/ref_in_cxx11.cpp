/* -std=c++11 fails: qxzeva's headers need C++17 or later in C++: compile with -std=c++17 */
#include "qxzeva/ref.h"
