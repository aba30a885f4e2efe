#pragma once
#include <windows.h>

#include <string>

#include "platform/win32/owners.hpp"

namespace zvkob::win32 {

// The token the service starts the node with: never an administrator's
// full one. A service logon of an administrator's account gets the full,
// elevated token, and the batch file the user edits would run elevated at
// every boot; the node gets what a normal sign-in gives instead (the
// normal-user level of Windows' Safer API at medium integrity, or the
// limited half of a split token). A token without an administrator's rights
// is used as it is. Null, with the reason, when there is no such token.
KernelHandle node_token(std::string& failure);

}  // namespace zvkob::win32
