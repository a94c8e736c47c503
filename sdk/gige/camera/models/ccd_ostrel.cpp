#include "ccd_ostrel.h"
