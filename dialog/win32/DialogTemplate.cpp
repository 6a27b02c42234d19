#include "dialog/win32/DialogTemplate.h"

#include <cstring>
#include <iterator>

namespace {

// Reads the little-endian words of a template, never past its end.
class CTemplateReader {
public:
    CTemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    size_t at() const { return at_; }

    template <class T>
    T Take() {
        T value{};
        if (!Has(sizeof value)) return value;
        std::memcpy(&value, data_ + at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    void Skip(size_t bytes) {
        if (Has(bytes)) at_ += bytes;
    }
    void AlignToDword() { Skip((4 - at_ % 4) % 4); }
    std::wstring TakeString() {
        std::wstring text;
        for (WORD c = Take<WORD>(); ok_ && c != 0; c = Take<WORD>()) text.push_back(static_cast<wchar_t>(c));
        return text;
    }
    // A name or a number: 0 for none, 0xFFFF and a number, else a string.
    std::wstring TakeNameOrNumber(WORD& number) {
        number = 0;
        WORD first = Take<WORD>();
        if (first == 0) return {};
        if (first == 0xFFFF) {
            number = Take<WORD>();
            return {};
        }
        at_ -= sizeof first;
        return TakeString();
    }

private:
    bool Has(size_t bytes) {
        if (ok_ && bytes <= size_ - at_) return true;
        ok_ = false;
        return false;
    }

    const BYTE* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

constexpr size_t kItemCountAt = 16;  // after version, signature, help id and both styles

// The classes a template names by number.
const wchar_t* ClassOfNumber(WORD number) {
    static const wchar_t* const kClasses[] = {L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};
    return number >= 0x80 && number < 0x80 + std::size(kClasses) ? kClasses[number - 0x80] : nullptr;
}

}  // namespace

bool CDialogTemplate::Load(HINSTANCE instance, int templateId) {
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return data && Read(data, ::SizeofResource(instance, found));
}

bool CDialogTemplate::Read(const void* data, size_t size) {
    frame_.clear();
    items_.clear();
    CTemplateReader in(static_cast<const BYTE*>(data), size);
    const WORD version = in.Take<WORD>();
    const WORD signature = in.Take<WORD>();
    if (!in.ok() || version != 1 || signature != 0xFFFF) return false;
    in.Skip(2 * sizeof(DWORD));
    const DWORD style = in.Take<DWORD>();
    const WORD count = in.Take<WORD>();
    in.Skip(4 * sizeof(short));
    WORD number = 0;
    in.TakeNameOrNumber(number);  // menu
    in.TakeNameOrNumber(number);  // window class
    in.TakeString();              // caption
    if (style & DS_SETFONT) {
        in.Skip(2 * sizeof(WORD) + 2);
        in.TakeString();
    }
    if (!in.ok()) return false;
    frame_.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + in.at());
    std::memset(frame_.data() + kItemCountAt, 0, sizeof(WORD));

    for (WORD i = 0; i < count; ++i) {
        in.AlignToDword();
        Item item;
        in.Skip(sizeof(DWORD));  // help id
        item.exStyle = in.Take<DWORD>();
        item.style = in.Take<DWORD>();
        item.units.left = in.Take<short>();
        item.units.top = in.Take<short>();
        item.units.right = in.Take<short>();
        item.units.bottom = in.Take<short>();
        item.id = static_cast<int>(in.Take<DWORD>());
        WORD classNumber = 0;
        item.className = in.TakeNameOrNumber(classNumber);
        if (classNumber) {
            const wchar_t* known = ClassOfNumber(classNumber);
            if (!known) return false;
            item.className = known;
        }
        WORD titleNumber = 0;
        item.title = in.TakeNameOrNumber(titleNumber);
        in.Skip(in.Take<WORD>());  // creation data: none of ours has any
        if (!in.ok() || item.className.empty()) return false;
        items_.push_back(std::move(item));
    }
    return true;
}

bool CDialogTemplate::CreateItems(HWND dialog, HINSTANCE instance) const {
    const auto font = static_cast<WPARAM>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (const Item& item : items_) {
        // What the dialog manager does with each control: its size in the
        // dialog's units, the dialog's font, a border drawn sunken (the look
        // of every dialog since Windows 95), and the default button.
        RECT r = item.units;
        ::MapDialogRect(dialog, &r);
        DWORD style = item.style | WS_CHILD, exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
        if (style & WS_BORDER) {
            style &= ~WS_BORDER;
            exStyle |= WS_EX_CLIENTEDGE;
        }
        const HWND control = ::CreateWindowExW(exStyle, item.className.c_str(), item.title.c_str(), style, r.left,
                                               r.top, r.right, r.bottom, dialog,
                                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance, nullptr);
        if (!control) return false;
        if (font) ::SendMessageW(control, WM_SETFONT, font, FALSE);
        if (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            ::SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(item.id), 0);
    }
    return true;
}
