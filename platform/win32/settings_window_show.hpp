#pragma once
#include <windows.h>

#include "core/event_gate.hpp"
#include "platform/settings_store.hpp"
#include "core/hand_over.hpp"
#include "platform/batch_file_writer.hpp"
#include "platform/win32/win32_window_manager.hpp"

namespace zvkob::win32 {

// Builds the settings window afresh from the store, shows it modally over
// `owner` (the main window) and returns when it has closed. Its messages are
// owned by it; the window manager knows its handle while it is shown.
void show_settings_window(HWND owner, EventGate& gate, SettingsStore& store,
                          BatchFileWriter& batch_files, HandOverReceiver& main,
                          Win32WindowManager& windows);

}  // namespace zvkob::win32
