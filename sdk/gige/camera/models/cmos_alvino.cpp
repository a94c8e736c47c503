#include "cmos_alvino.h"
