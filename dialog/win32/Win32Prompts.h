#pragma once

#include <windows.h>

#include "core/Prompts.h"

/// The rename run's questions as the modal Win32 dialogs. When a dialog cannot
/// be shown the answer is Skip all: nothing is renamed without the user's word,
/// and the run does not go on past questions nobody can see.
class Win32Prompts : public IPrompts {
public:
    /// Dialogs come from the templates of `instance` (null: the module this
    /// code is linked into) and are owned by `owner` (may be null).
    explicit Win32Prompts(HWND owner = nullptr, HINSTANCE instance = nullptr);
    /// The window that owns the dialogs from now on: the main dialog, once
    /// it has one.
    void SetOwner(HWND owner) { owner_ = owner; }

    int Confirm(CNameRequest& request) override;
    int Duplicate(CNameRequest& request) override;
    int Illegal(CNameRequest& request) override;
    int TooLong(CNameRequest& request) override;
    int DefaultError(CErrorReport& report) override;

private:
    HWND owner_;
    HINSTANCE instance_;
};
