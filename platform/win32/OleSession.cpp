#include "platform/win32/OleSession.h"

#include <windows.h>

#include <ole2.h>

// S_FALSE (already initialised on this thread) counts too: every success needs its own
// OleUninitialize.
OleSession::OleSession() : active_(SUCCEEDED(OleInitialize(nullptr))) {}

OleSession::~OleSession() {
    if (active_) OleUninitialize();
}
