#include "ccd_dwinel.h"
