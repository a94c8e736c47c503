#include "ccd_wendik.h"
