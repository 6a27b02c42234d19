#include "dialog/win32/PanelLists.h"

#include <charconv>

#include "dialog/PanelIds.h"
#include "platform/win32/Wide.h"

std::vector<CPanelList> ParsePanelLists(std::string_view text) {
    std::vector<CPanelList> lists;
    bool inList = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // Text typed on Windows may end its lines with a carriage return too.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() == '@') {
            int id = 0;
            const char* first = line.data() + 1;
            const char* last = line.data() + line.size();
            const auto [ptr, ec] = std::from_chars(first, last, id);
            inList = ec == std::errc() && ptr == last && first != last;
            if (inList) lists.push_back({id, {}});
        } else if (inList) {
            lists.back().entries.emplace_back(line);
        }
    }
    return lists;
}

std::vector<CPanelList> LoadPanelLists(HINSTANCE instance, int templateId) {
    const HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(QLN_PANEL_LISTS));
    if (!found) return {};
    const HGLOBAL loaded = ::LoadResource(instance, found);
    const DWORD size = ::SizeofResource(instance, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data || size == 0) return {};
    std::string_view text(static_cast<const char*>(data), size);
    // The resource compiler may pad the data with NULs.
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    return ParsePanelLists(text);
}

bool FillPanelLists(HWND panel, HINSTANCE instance, int templateId) {
    bool complete = true;
    for (const CPanelList& list : LoadPanelLists(instance, templateId)) {
        const HWND combo = ::GetDlgItem(panel, list.controlId);
        if (!combo) {
            complete = false;
            continue;
        }
        ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const std::string& entry : list.entries)
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(entry).c_str()));
    }
    return complete;
}
