#include "dialog/win32/PictureFile.h"

#include <vector>

#include "platform/FileSystem.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Scoped.h"

namespace {

// Reads the whole file through a small buffer into memory that a stream can
// hand to the picture loader.
HGLOBAL ReadAll(HANDLE file) {
    std::vector<char> data;
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) return nullptr;
        if (got == 0) break;
        data.insert(data.end(), buffer, buffer + got);
    }
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, data.empty() ? 1 : data.size());
    if (!memory) return nullptr;
    {
        win::ScopedGlobalLock lock(memory);
        if (!lock.data()) {
            ::GlobalFree(memory);
            return nullptr;
        }
        if (!data.empty()) std::copy(data.begin(), data.end(), static_cast<char*>(lock.data()));
    }
    return memory;
}

}  // namespace

bool CPictureFile::Load(const std::string& path, HWND owner) {
    picture_.reset();
    // Others may read the file meanwhile, but not change it under the loader.
    win::ScopedHandle file(::CreateFileW(platform::FileCallPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        ::MessageBoxW(owner, platform::Widen(platform::ErrorMessage(error)).c_str(),
                      platform::Widen("Error opening file: " + path).c_str(), MB_OK);
        return false;
    }
    HGLOBAL memory = ReadAll(file.get());
    const LONG size = static_cast<LONG>(memory ? ::GlobalSize(memory) : 0);
    file.reset();
    if (!memory) return false;
    win::ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.out()))) {
        ::GlobalFree(memory);
        return false;
    }
    win::ComPtr<IPicture> picture;
    if (FAILED(::OleLoadPicture(stream.get(), size, FALSE, IID_IPicture, picture.outVoid()))) return false;
    picture_ = std::move(picture);
    return true;
}

CPictureFile CPictureFile::Share() const {
    CPictureFile copy;
    copy.picture_ = picture_;
    return copy;
}

bool CPictureFile::Draw(HDC dc, HWND placeholder) {
    if (!picture_) return false;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    if (target_.left == 0 && target_.top == 0 && target_.right == 0 && target_.bottom == 0) {
        RECT box{};
        ::GetWindowRect(placeholder, &box);
        ::MapWindowPoints(HWND_DESKTOP, ::GetParent(placeholder), reinterpret_cast<POINT*>(&box), 2);
        // HIMETRIC is hundredths of a millimetre; the placeholder's screen
        // says how many pixels an inch has.
        const win::ScopedDC screen(placeholder);
        const int pixelsWide = ::MulDiv(width, ::GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
        const int pixelsHigh = ::MulDiv(height, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
        target_.left = box.left + (box.right - box.left - pixelsWide) / 2;
        target_.top = box.top + (box.bottom - box.top - pixelsHigh) / 2;
        target_.right = target_.left + pixelsWide;
        target_.bottom = target_.top + pixelsHigh;
        ::ShowWindow(placeholder, SW_HIDE);
    }
    // The picture's own origin is at its bottom: drawn from there with a
    // negative height, it stands upright.
    return SUCCEEDED(picture_->Render(dc, target_.left, target_.top, target_.right - target_.left,
                                      target_.bottom - target_.top, 0, height, width, -height, nullptr));
}
