#pragma once
// The program's document. Its pictures and drawings live in the view's
// controllers, so the document itself holds no data.
#include "document.h"

class CMikraDoc : public CDocument {};
