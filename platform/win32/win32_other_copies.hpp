#pragma once
#include <windows.h>

#include "platform/other_copies.hpp"

namespace zvkob::win32 {

// The message copies of ZV-KOB ask each other's main windows with: its
// WPARAM is a process number, and the answer is that number when the copy
// holds the process as its node (or is starting it), else 0.
UINT which_node_message();

// Asks the main windows of the other copies of ZV-KOB in this session.
class Win32OtherCopies : public OtherCopies {
public:
    CopiesAnswer who_holds(unsigned long process_id) override;
};

}  // namespace zvkob::win32
