#include "cmos_ebrant.h"
