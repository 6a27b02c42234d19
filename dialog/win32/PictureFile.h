#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "platform/win32/Scoped.h"

/// One picture from a file (GIF, JPEG, BMP...) through the system's picture
/// loader, drawn centred on a placeholder control of a dialog.
class CPictureFile {
public:
    CPictureFile() = default;

    /// Loads the picture at `path`. A file that cannot be opened is reported
    /// in a message box owned by `owner`, captioned "Error opening file: "
    /// and the path, with the system's text for the error; a file that is no
    /// picture is not. False, with no picture held, in both cases.
    bool Load(const std::string& path, HWND owner);
    /// Another holder of the same picture, with a rectangle of its own, for
    /// a second placeholder.
    CPictureFile Share() const;

    /// Draws the picture upright on `dc`, centred on `placeholder` (a control
    /// of the window that `dc` paints), which it hides. The place is worked
    /// out on the first call only. False when no picture is held.
    bool Draw(HDC dc, HWND placeholder);

    bool loaded() const { return static_cast<bool>(picture_); }
    /// Where the picture is drawn, in the client coordinates of the
    /// placeholder's parent; all 0 before the first Draw.
    const RECT& target() const { return target_; }

private:
    win::ComPtr<IPicture> picture_;
    RECT target_{};
};
