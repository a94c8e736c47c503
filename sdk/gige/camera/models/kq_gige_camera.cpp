#include "kq_gige_camera.h"
