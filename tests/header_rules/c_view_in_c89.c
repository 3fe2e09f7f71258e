/* -std=c89 fails: the C view needs C99 or later */
#include "qxzeva/qxzeva_c.h"
