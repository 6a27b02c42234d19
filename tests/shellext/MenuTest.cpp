#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/shellext/ExtensionTestSupport.h"

// The menu item: when it is added, where it goes among the maker's sibling
// products, its help text, and which commands are refused.

namespace {

using ext_test::CFakeDataObject;
using ext_test::DropAnswer;
using ext_test::ExtensionTest;

constexpr UINT kFirstId = 100;
constexpr UINT kLastId = 199;
const std::wstring kItem = L"Quorl&in...";
const HRESULT kAdded = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
const HRESULT kNothingAdded = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);

// A popup menu of `items`, where "-" stands for a separator; destroyed with
// the object.
class CMenu {
public:
    explicit CMenu(const std::vector<std::wstring>& items) : menu_(::CreatePopupMenu()) {
        UINT id = 1;
        for (const std::wstring& text : items) {
            ::AppendMenuW(menu_, text == L"-" ? MF_SEPARATOR : MF_STRING, id++, text.c_str());
        }
    }
    ~CMenu() { ::DestroyMenu(menu_); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    HMENU get() const { return menu_; }

    std::vector<std::wstring> items() const {
        std::vector<std::wstring> texts;
        for (int i = 0; i < ::GetMenuItemCount(menu_); ++i) {
            wchar_t text[128] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = 128;
            ::GetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &info);
            texts.push_back(info.fType & MFT_SEPARATOR ? L"-" : text);
        }
        return texts;
    }

private:
    HMENU menu_;
};

TEST_F(ExtensionTest, FlagsDecideWhetherTheItemIsAdded) {
    const struct {
        const char* name;
        UINT flags;
        bool adds;
    } cases[] = {
        {"normal", CMF_NORMAL, true},
        {"explore", CMF_EXPLORE, true},
        {"verbs only", CMF_VERBSONLY, false},
        {"default only", CMF_DEFAULTONLY, false},
        {"no verbs", CMF_NOVERBS, false},
        {"verbs only wins over explore", CMF_VERBSONLY | CMF_EXPLORE, false},
        {"explore wins over default only", CMF_EXPLORE | CMF_DEFAULTONLY, true},
        {"higher bits ignored", CMF_EXTENDEDVERBS | CMF_CANRENAME | 0x80000000u, true},
        {"higher bits ignored, no verbs", CMF_EXTENDEDVERBS | CMF_NOVERBS, false},
    };
    const win::ComPtr<IContextMenu> extension = extension_.create();
    ASSERT_TRUE(extension);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMenu menu({});
        EXPECT_EQ(extension->QueryContextMenu(menu.get(), 0, kFirstId, kLastId, c.flags),
                  c.adds ? kAdded : kNothingAdded);
        EXPECT_EQ(menu.items().size(), c.adds ? 3u : 0u);
    }
}

TEST_F(ExtensionTest, TheItemJoinsTheSiblingsOrIsFramedBySeparators) {
    const struct {
        const char* name;
        std::vector<std::wstring> before;
        UINT insertIndex;
        std::vector<std::wstring> after;
    } cases[] = {
        {"empty menu", {}, 0, {L"-", kItem, L"-"}},
        {"no siblings", {L"Open", L"Edit", L"Copy"}, 1, {L"Open", L"-", kItem, L"-", L"Edit", L"Copy"}},
        {"insert index past the end", {L"Open"}, 7, {L"Open", L"-", kItem, L"-"}},
        {"after Ostr&el...",
         {L"Open", L"Edit", L"Copy", L"-", L"Ostr&el..."},
         0,
         {L"Open", L"Edit", L"Copy", L"-", L"Ostr&el...", kItem}},
        {"after &Ostrel",
         {L"Open", L"Edit", L"Copy", L"-", L"&Ostrel", L"Cut"},
         0,
         {L"Open", L"Edit", L"Copy", L"-", L"&Ostrel", kItem, L"Cut"}},
        {"before &Vinmar",
         {L"Open", L"Edit", L"Copy", L"-", L"&Vinmar"},
         0,
         {L"Open", L"Edit", L"Copy", L"-", kItem, L"&Vinmar"}},
        {"before Vinm&ar...", {L"-", L"Vinm&ar..."}, 0, {L"-", kItem, L"Vinm&ar..."}},
        {"the first sibling decides (Vinmar)",
         {L"Open", L"&Vinmar", L"Edit", L"Ostr&el..."},
         0,
         {L"Open", kItem, L"&Vinmar", L"Edit", L"Ostr&el..."}},
        {"the first sibling decides (Ostrel)",
         {L"Open", L"&Ostrel", L"Edit", L"&Vinmar"},
         0,
         {L"Open", L"&Ostrel", kItem, L"Edit", L"&Vinmar"}},
        {"other letter case is no sibling",
         {L"ostr&el...", L"&VINMAR"},
         0,
         {L"-", kItem, L"-", L"ostr&el...", L"&VINMAR"}},
        {"near misses are no siblings",
         {L"Ostr&el", L"Vinmar", L"&Ostrel "},
         3,
         {L"Ostr&el", L"Vinmar", L"&Ostrel ", L"-", kItem, L"-"}},
        {"a long text cut to the buffer is no sibling",
         {L"&Ostrel" + std::wstring(80, L'x')},
         1,
         {L"&Ostrel" + std::wstring(80, L'x'), L"-", kItem, L"-"}},
    };
    const win::ComPtr<IContextMenu> extension = extension_.create();
    ASSERT_TRUE(extension);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMenu menu(c.before);
        EXPECT_EQ(extension->QueryContextMenu(menu.get(), c.insertIndex, kFirstId, kLastId, CMF_NORMAL), kAdded);
        const std::vector<std::wstring> items = menu.items();
        EXPECT_EQ(items, c.after);
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i] == kItem) {
                EXPECT_EQ(::GetMenuItemID(menu.get(), static_cast<int>(i)), kFirstId);
            }
        }
    }
}

TEST_F(ExtensionTest, NoItemWithoutAMenuOrAnIdToGiveIt) {
    const win::ComPtr<IContextMenu> extension = extension_.create();
    ASSERT_TRUE(extension);
    EXPECT_EQ(extension->QueryContextMenu(nullptr, 0, kFirstId, kLastId, CMF_NORMAL), E_INVALIDARG);
    const HMENU destroyed = ::CreatePopupMenu();
    ::DestroyMenu(destroyed);
    EXPECT_EQ(extension->QueryContextMenu(destroyed, 0, kFirstId, kLastId, CMF_NORMAL), E_INVALIDARG);
    CMenu menu({L"Open"});
    EXPECT_EQ(extension->QueryContextMenu(menu.get(), 0, kFirstId, kFirstId - 1, CMF_NORMAL), kNothingAdded);
    EXPECT_EQ(menu.items(), std::vector<std::wstring>{L"Open"});
}

// The text up to its terminator, read as ANSI or wide text.
std::wstring TextIn(const std::vector<unsigned char>& buffer, bool wide) {
    std::wstring text;
    for (size_t i = 0; i + (wide ? 1 : 0) < buffer.size(); i += wide ? 2 : 1) {
        const wchar_t c = wide ? static_cast<wchar_t>(buffer[i] | buffer[i + 1] << 8) : buffer[i];
        if (!c) return text;
        text += c;
    }
    return L"<no terminator>";
}

TEST_F(ExtensionTest, GetCommandStringAnswersTheHelpTextWithinTheBuffer) {
    const struct {
        const char* name;
        UINT_PTR offset;
        UINT type;
        UINT size;
        HRESULT expected;
        std::wstring text;
    } cases[] = {
        {"help text", 0, GCS_HELPTEXTA, 64, S_OK, L"Renames a list of files"},
        {"help text, exact fit", 0, GCS_HELPTEXTA, 24, S_OK, L"Renames a list of files"},
        {"help text, cut", 0, GCS_HELPTEXTA, 10, S_OK, L"Renames a"},
        {"help text, room for the end only", 0, GCS_HELPTEXTA, 1, S_OK, L""},
        {"wide help text", 0, GCS_HELPTEXTW, 64, S_OK, L"Renames a list of files"},
        {"wide help text, cut", 0, GCS_HELPTEXTW, 8, S_OK, L"Renames"},
        {"verb", 0, GCS_VERBA, 64, E_NOTIMPL, L""},
        {"wide verb", 0, GCS_VERBW, 64, E_NOTIMPL, L""},
        {"validate", 0, GCS_VALIDATEA, 64, S_OK, L""},
        {"wide validate", 0, GCS_VALIDATEW, 64, S_OK, L""},
        {"another offset", 1, GCS_HELPTEXTA, 64, E_INVALIDARG, L""},
        {"another offset, wide", 1, GCS_HELPTEXTW, 64, E_INVALIDARG, L""},
    };
    const win::ComPtr<IContextMenu> extension = extension_.create();
    ASSERT_TRUE(extension);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool wide = (c.type & GCS_UNICODE) != 0;
        const size_t unit = wide ? sizeof(wchar_t) : 1;
        std::vector<unsigned char> buffer(c.size * unit + 16, 0xCC);
        EXPECT_EQ(
            extension->GetCommandString(c.offset, c.type, nullptr, reinterpret_cast<CHAR*>(buffer.data()), c.size),
            c.expected);
        EXPECT_EQ(TextIn(buffer, wide), c.text);
        for (size_t i = c.size * unit; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xCC) << "written past the end";
    }
    char untouched = 'x';
    EXPECT_EQ(extension->GetCommandString(0, GCS_HELPTEXTA, nullptr, nullptr, 64), E_INVALIDARG);
    EXPECT_EQ(extension->GetCommandString(0, GCS_HELPTEXTA, nullptr, &untouched, 0), E_INVALIDARG);
    EXPECT_EQ(untouched, 'x');
}

TEST_F(ExtensionTest, InvokeCommandRunsOnlyTheOneCommandOffset) {
    const auto withVerb = [](LPCSTR verb) {
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;
        info.lpVerb = verb;
        info.fMask = CMIC_MASK_FLAG_NO_UI;
        return info;
    };
    CMINVOKECOMMANDINFO shortInfo = withVerb(nullptr);
    shortInfo.cbSize = sizeof shortInfo - 1;
    CMINVOKECOMMANDINFO stringVerb = withVerb("rename");
    CMINVOKECOMMANDINFO emptyVerb = withVerb("");
    CMINVOKECOMMANDINFO offsetOne = withVerb(MAKEINTRESOURCEA(1));
    // Past the low word it is a string pointer; this one must not be read.
    CMINVOKECOMMANDINFO wildVerb = withVerb(reinterpret_cast<LPCSTR>(0x10000));
    CMINVOKECOMMANDINFO offsetZero = withVerb(MAKEINTRESOURCEA(0));
    const struct {
        const char* name;
        CMINVOKECOMMANDINFO* info;
        HRESULT expected;
        int dataRequests;
    } cases[] = {
        {"no information", nullptr, E_INVALIDARG, 0},
        {"short information", &shortInfo, E_INVALIDARG, 0},
        {"string verb", &stringVerb, E_INVALIDARG, 0},
        {"empty string verb", &emptyVerb, E_INVALIDARG, 0},
        {"offset 1", &offsetOne, E_INVALIDARG, 0},
        {"a pointer-sized verb", &wildVerb, E_INVALIDARG, 0},
        {"offset 0", &offsetZero, S_OK, 1},
    };
    const win::ComPtr<IContextMenu> extension = extension_.create();
    ASSERT_TRUE(extension);
    win::ComPtr<IShellExtInit> init;
    ASSERT_EQ(extension->QueryInterface(IID_IShellExtInit, init.outVoid()), S_OK);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The command's first step asks the data object for the selection.
        CFakeDataObject data(DropAnswer::NoFileList);
        ASSERT_EQ(init->Initialize(nullptr, &data, nullptr), S_OK);
        EXPECT_EQ(extension->InvokeCommand(c.info), c.expected);
        EXPECT_EQ(data.dataRequests(), c.dataRequests);
        init->Initialize(nullptr, nullptr, nullptr);
    }
}

// With presets kept, a submenu under the item holds one entry per preset,
// each with the next command id; without them the menu is as it was.
TEST_F(ExtensionTest, KeptPresetsGetASubmenuUnderTheItem) {
    const struct {
        const char* name;
        std::wstring kept;
        UINT lastId;
        std::vector<std::wstring> entries;
    } cases[] = {
        {"two presets", L"Holiday & trip\nScans\n", kLastId, {L"Holiday && trip", L"Scans"}},
        {"blank lines and no end", L"\nOne\n\nTwo", kLastId, {L"One", L"Two"}},
        {"ids for one only", L"One\nTwo\n", kFirstId + 1, {L"One"}},
        {"no id for any", L"One\n", kFirstId, {}},
        {"nothing kept", L"", kLastId, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ext_test::CKeptPresets kept(c.kept);
        const win::ComPtr<IContextMenu> extension = extension_.create();
        ASSERT_TRUE(extension);
        CMenu menu({L"Open"});
        const UINT added = 1 + static_cast<UINT>(c.entries.size());
        EXPECT_EQ(extension->QueryContextMenu(menu.get(), 1, kFirstId, c.lastId, CMF_NORMAL),
                  MAKE_HRESULT(SEVERITY_SUCCESS, 0, added));
        std::vector<std::wstring> expected = {L"Open", L"-", kItem, L"-"};
        if (!c.entries.empty()) expected.insert(expected.begin() + 3, L"Quorlin presets");
        EXPECT_EQ(menu.items(), expected);
        const HMENU sub = ::GetSubMenu(menu.get(), 3);
        if (c.entries.empty()) continue;
        ASSERT_NE(sub, nullptr);
        ASSERT_EQ(::GetMenuItemCount(sub), static_cast<int>(c.entries.size()));
        for (int i = 0; i < ::GetMenuItemCount(sub); ++i) {
            wchar_t text[64] = {};
            ::GetMenuStringW(sub, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            EXPECT_EQ(text, c.entries[i]);
            EXPECT_EQ(::GetMenuItemID(sub, i), kFirstId + 1 + static_cast<UINT>(i));
        }
        char help[64] = {};
        EXPECT_EQ(extension->GetCommandString(1, GCS_HELPTEXTA, nullptr, help, 64), S_OK);
        EXPECT_STREQ(help, "Renames a list of files with a preset");
        EXPECT_EQ(extension->GetCommandString(added, GCS_HELPTEXTA, nullptr, help, 64), E_INVALIDARG);
    }
}

}  // namespace
