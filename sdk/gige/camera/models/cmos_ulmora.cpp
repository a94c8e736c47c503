#include "cmos_ulmora.h"
