#pragma once
// The data the program works on. It follows the view and the frame on the
// command route.
#include "command_target.h"

class CDocument : public CCommandTarget {
public:
    // Called when the document starts afresh (start-up, File New); false
    // leaves the previous state in place.
    virtual bool OnNewDocument() { return true; }
};
