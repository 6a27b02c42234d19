#pragma once

#include <windows.h>

#include <string>
#include <vector>

/// A dialog template of the extended form (what DIALOGEX compiles to), read
/// so that its window can open without its controls and take them a little
/// later: a window with many controls paints for the first time only once
/// all of them exist, and a user who clicked should see it at once.
class CDialogTemplate {
public:
    /// One control of the template, as the dialog manager would create it.
    struct Item {
        DWORD exStyle = 0;
        DWORD style = 0;
        RECT units{};  // left, top, width, height in dialog units
        int id = 0;
        std::wstring className;
        std::wstring title;
    };

    /// Reads template `templateId` of `instance`; false when it is missing,
    /// damaged or of the plain form.
    bool Load(HINSTANCE instance, int templateId);
    /// Reads the template in `data`; false as Load.
    bool Read(const void* data, size_t size);

    /// The template with no controls, for DialogBoxIndirectParam: the
    /// window's frame, caption, style and font.
    const DLGTEMPLATE* frame() const { return reinterpret_cast<const DLGTEMPLATE*>(frame_.data()); }
    const std::vector<Item>& items() const { return items_; }

    /// Creates the controls as children of `dialog`, in the template's
    /// order, in its font, sized from its dialog units; the last default
    /// button becomes the dialog's default. False when one could not be.
    bool CreateItems(HWND dialog, HINSTANCE instance) const;

private:
    std::vector<BYTE> frame_;
    std::vector<Item> items_;
};
