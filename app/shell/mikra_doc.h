#pragma once
// The program's document. Its pictures and drawings live in the view's
// controllers; the document itself holds nothing yet.
#include "document.h"

class CMikraDoc : public CDocument {};
