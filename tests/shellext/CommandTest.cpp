#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "platform/win32/Wide.h"
#include "tests/shellext/ExtensionTestSupport.h"

// The command: the selection goes into a list file in the temporary folder,
// and the launcher beside the extension is started with it. A copy of the
// extension sits in a folder of its own beside a stand-in launcher that
// records what it got.

namespace {

using ext_test::CBoxWatcher;
using ext_test::CFakeDataObject;
using ext_test::CLoadedExtension;
using ext_test::COwnerWindow;
using ext_test::CSeenBox;
using ext_test::CTempFolder;
using ext_test::DropAnswer;
using platform::Narrow;

constexpr DWORD kLauncherWaitMs = 20000;

// A list file's path: "qln" and a number, in `folder`.
bool IsListFileIn(const std::string& path, const std::string& folder) {
    return path.rfind(folder, 0) == 0 && std::regex_match(path.substr(folder.size()), std::regex("qln[0-9]+"));
}

struct CLaunch {
    HRESULT result = E_UNEXPECTED;
    std::vector<CSeenBox> boxes;
};

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CopyFileW(ext_test::BuiltDll().c_str(), (install_.path() + L"QlnExt.dll").c_str(), FALSE));
        ASSERT_TRUE(::CopyFileW(ext_test::StandInLauncher().c_str(), launcher().c_str(), FALSE));
        useTempFolder(temp_.path());
        extension_ = std::make_unique<CLoadedExtension>(install_.path() + L"QlnExt.dll");
        ASSERT_NE(extension_->module(), nullptr);
    }
    void TearDown() override {
        EXPECT_EQ(extension_->canUnloadNow(), S_OK);
        extension_.reset();
        ::SetEnvironmentVariableW(L"TMP", savedTmp_.empty() ? nullptr : savedTmp_.c_str());
    }

    std::wstring launcher() const { return install_.path() + L"Qln.exe"; }
    bool launcherRan() const {
        return ::GetFileAttributesW((install_.path() + L"done").c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    void useTempFolder(const std::wstring& folder) {
        if (savedTmp_.empty()) {
            wchar_t saved[MAX_PATH] = {};
            ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH);
            savedTmp_ = saved;
        }
        ::SetEnvironmentVariableW(L"TMP", folder.c_str());
    }

    // Does what Explorer does when the item is chosen: initialise, build the
    // menu, invoke the item's command offset.
    CLaunch invoke(IDataObject* data, DWORD mask = 0, UINT offset = 0) {
        CLaunch launch;
        const win::ComPtr<IContextMenu> extension = extension_->create();
        win::ComPtr<IShellExtInit> init;
        if (!extension || FAILED(extension->QueryInterface(IID_IShellExtInit, init.outVoid()))) return launch;
        if (data) init->Initialize(nullptr, data, nullptr);
        const HMENU menu = ::CreatePopupMenu();
        extension->QueryContextMenu(menu, 0, 1, 100, CMF_NORMAL);
        ::DestroyMenu(menu);
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;
        info.fMask = mask;
        info.hwnd = owner_.hwnd();
        info.lpVerb = MAKEINTRESOURCEA(offset);
        CBoxWatcher watcher;
        launch.result = extension->InvokeCommand(&info);
        launch.boxes = watcher.stop();
        return launch;
    }

    // What the stand-in launcher recorded: its arguments and the list's bytes.
    std::vector<std::string> launcherArguments() const {
        std::vector<std::string> lines;
        std::string all = win_test::ReadWholeFile(install_.path() + L"args.txt");
        for (size_t end; (end = all.find('\n')) != std::string::npos; all.erase(0, end + 1)) {
            lines.push_back(all.substr(0, end));
        }
        return lines;
    }

    // Checks one launch with the list of `paths`, in that order, written in
    // `tempFolder`.
    void expectLaunchedWith(const std::vector<std::wstring>& paths, const std::wstring& tempFolder) {
        ASSERT_TRUE(ext_test::WaitForFile(install_.path() + L"done", kLauncherWaitMs)) << "the launcher never ran";
        const std::vector<std::string> args = launcherArguments();
        ASSERT_EQ(args.size(), 2u);
        EXPECT_EQ(args[0], Narrow(launcher()));
        EXPECT_TRUE(IsListFileIn(args[1], Narrow(tempFolder))) << args[1];
        std::string expected;
        for (const std::wstring& path : paths) expected += Narrow(path) + "\n";
        EXPECT_EQ(win_test::ReadWholeFile(install_.path() + L"list.txt"), expected);
    }

    win::ScopedCom com_;
    COwnerWindow owner_;
    CTempFolder install_{L"qln ext install"};
    CTempFolder temp_{L"qln tmp"};
    // Made before SetUp points TMP into temp_, so that its path has no blank.
    CTempFolder plainTemp_{L"qln-tmp"};
    std::wstring savedTmp_;
    std::unique_ptr<CLoadedExtension> extension_;
};

// Longer than 255 characters, where a line buffer of fixed size would cut it.
// Wine's shell makes no item of a path this long, so only a hand-made list
// carries it.
std::wstring LongPath() {
    std::wstring path = L"C:\\Archive";
    for (int i = 0; i < 4; ++i) path += L"\\folder " + std::to_wstring(i) + L" " + std::wstring(70, L'a' + i);
    return path + L"\\last file.txt";
}

TEST_F(LaunchTest, TheLauncherGetsTheSelectionWholeInUtf8) {
    const std::vector<std::wstring> paths = {L"C:\\Photos\\plain.jpg", L"C:\\Photos\\Été 日本\\写真 é.jpg", LongPath(),
                                             L"D:\\😀 smile"};
    ASSERT_GT(paths[2].size(), 300u);
    ASSERT_EQ(plainTemp_.path().find(L' '), std::wstring::npos);
    for (const CTempFolder* tempFolder : {&temp_, &plainTemp_}) {
        SCOPED_TRACE(Narrow(tempFolder->path()));
        useTempFolder(tempFolder->path());
        ::DeleteFileW((install_.path() + L"done").c_str());
        CFakeDataObject data(DropAnswer::Paths, paths);
        const CLaunch launch = invoke(&data);
        EXPECT_EQ(launch.result, S_OK);
        EXPECT_TRUE(launch.boxes.empty());
        expectLaunchedWith(paths, tempFolder->path());
        EXPECT_EQ(data.references(), 1);
    }
}

TEST_F(LaunchTest, ASelectionFromTheShellKeepsItsOrder) {
    using CreateFromIdArray = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE, UINT, PCUIDLIST_RELATIVE_ARRAY, IDataObject**);
    const auto createDataObject = reinterpret_cast<CreateFromIdArray>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"shell32.dll"), MAKEINTRESOURCEA(83))));
    ASSERT_NE(createDataObject, nullptr);

    CTempFolder selected(L"qln selection");
    const std::vector<std::wstring> names = {L"zeta.txt", L"Été é.txt", L"日本 語.txt"};
    std::vector<std::wstring> paths;
    std::vector<PIDLIST_ABSOLUTE> items;
    for (const std::wstring& name : names) {
        paths.push_back(selected.path() + name);
        win::ScopedHandle file(::CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file);
        items.push_back(::ILCreateFromPathW(paths.back().c_str()));
        ASSERT_NE(items.back(), nullptr);
    }
    PIDLIST_ABSOLUTE folder = ::ILCreateFromPathW(selected.path().c_str());
    std::vector<PCUIDLIST_RELATIVE> children;
    for (const PIDLIST_ABSOLUTE item : items) children.push_back(::ILFindLastID(item));
    win::ComPtr<IDataObject> data;
    ASSERT_EQ(createDataObject(folder, static_cast<UINT>(children.size()), children.data(), data.out()), S_OK);

    const CLaunch launch = invoke(data.get());
    EXPECT_EQ(launch.result, S_OK);
    expectLaunchedWith(paths, temp_.path());

    for (const PIDLIST_ABSOLUTE item : items) ::ILFree(item);
    ::ILFree(folder);
}

TEST_F(LaunchTest, WithoutALauncherTheListFileGoesAgainAndTheUserIsTold) {
    ASSERT_TRUE(::DeleteFileW(launcher().c_str()));
    CFakeDataObject data(DropAnswer::Paths, {L"C:\\a.txt"});
    const CLaunch launch = invoke(&data);
    EXPECT_EQ(launch.result, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    ASSERT_EQ(launch.boxes.size(), 1u);
    EXPECT_EQ(launch.boxes[0].caption, L"Error");
    EXPECT_EQ(launch.boxes[0].text, L"Unable to start " + launcher());
    EXPECT_EQ(launch.boxes[0].owner, owner_.hwnd());
    EXPECT_EQ(temp_.entries(), std::vector<std::wstring>{}) << "no list file is left behind";
    EXPECT_TRUE(invoke(&data, CMIC_MASK_FLAG_NO_UI).boxes.empty()) << "the caller asked for no message";
}

TEST_F(LaunchTest, AListFileThatCannotBeCreatedIsReportedToTheInvokingWindow) {
    const std::wstring missing = temp_.path() + L"missing\\";
    useTempFolder(missing);
    CFakeDataObject data(DropAnswer::Paths, {L"C:\\a.txt"});

    const CLaunch shown = invoke(&data);
    EXPECT_TRUE(FAILED(shown.result));
    ASSERT_EQ(shown.boxes.size(), 1u);
    EXPECT_EQ(shown.boxes[0].caption, L"Error");
    const std::string text = Narrow(shown.boxes[0].text);
    const std::string prefix = "Unable to open ";
    EXPECT_TRUE(text.rfind(prefix, 0) == 0 && IsListFileIn(text.substr(prefix.size()), Narrow(missing))) << text;
    EXPECT_EQ(shown.boxes[0].owner, owner_.hwnd());

    const CLaunch quiet = invoke(&data, CMIC_MASK_FLAG_NO_UI);
    EXPECT_EQ(quiet.result, shown.result);
    EXPECT_TRUE(quiet.boxes.empty()) << "the caller asked for no message";
    EXPECT_FALSE(launcherRan());
}

TEST_F(LaunchTest, NoFileListMeansNothingHappens) {
    const struct {
        const char* name;
        DropAnswer answer;
        std::vector<std::wstring> paths;
    } cases[] = {
        {"no CF_HDROP", DropAnswer::NoFileList, {}},
        {"an empty list", DropAnswer::Paths, {}},
        {"another medium", DropAnswer::WrongMedium, {}},
        {"no memory in the medium", DropAnswer::NullMemory, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFakeDataObject data(c.answer, c.paths);
        const CLaunch launch = invoke(&data);
        EXPECT_EQ(launch.result, S_OK);
        EXPECT_TRUE(launch.boxes.empty());
        EXPECT_EQ(data.dataRequests(), 1);
        EXPECT_EQ(data.references(), 1);
        EXPECT_EQ(temp_.entries(), std::vector<std::wstring>{});
    }
    EXPECT_EQ(invoke(nullptr).result, S_OK) << "never initialised";
    EXPECT_EQ(temp_.entries(), std::vector<std::wstring>{});
    EXPECT_FALSE(launcherRan());
}

// A preset's entry starts the launcher with "/preset", the name as typed
// (quotes, backslashes and all), then the list file.
TEST_F(LaunchTest, APresetsEntryNamesItsPresetToTheLauncher) {
    const std::wstring names[] = {L"Plain", L"Two words \"quoted\" \\ end\\", L"Été 日本"};
    ext_test::CKeptPresets kept(std::wstring(names[0]) + L"\n" + names[1] + L"\n" + names[2] + L"\n");
    for (UINT i = 0; i < 3; ++i) {
        SCOPED_TRACE(Narrow(names[i]));
        ::DeleteFileW((install_.path() + L"done").c_str());
        CFakeDataObject data(DropAnswer::Paths, {L"C:\\Photos\\a.jpg"});
        const CLaunch launch = invoke(&data, 0, 1 + i);
        ASSERT_EQ(launch.result, S_OK);
        ASSERT_TRUE(ext_test::WaitForFile(install_.path() + L"done", kLauncherWaitMs)) << "the launcher never ran";
        const std::vector<std::string> args = launcherArguments();
        ASSERT_EQ(args.size(), 4u);
        EXPECT_EQ(args[1], "/preset");
        EXPECT_EQ(args[2], Narrow(names[i]));
        EXPECT_TRUE(IsListFileIn(args[3], Narrow(temp_.path()))) << args[3];
        EXPECT_EQ(win_test::ReadWholeFile(install_.path() + L"list.txt"), "C:\\Photos\\a.jpg\n");
    }
    CFakeDataObject data(DropAnswer::Paths, {L"C:\\Photos\\a.jpg"});
    EXPECT_EQ(invoke(&data, 0, 4).result, E_INVALIDARG) << "no fourth preset";
}

}  // namespace
