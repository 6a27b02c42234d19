// The info wizard inside this process, so that its fonts and its pixels can
// be read: driven from a second thread while RunWizard runs on this one.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <olectl.h>
#include <prsht.h>
#include <shellapi.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "launcher/Wizard.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Wide.h"
#include "tests/launcher/LauncherTestSupport.h"
#include "tests/launcher/WizardDriver.h"

using namespace launcher_test;
using launcher::WizardEnd;

namespace {

constexpr int kPicture = 1001;
constexpr int kText = 1002;

// Message boxes of this process, closed and remembered as they come.
class CBoxCloser {
public:
    CBoxCloser()
        : thread_([this] {
              while (!stop_) {
                  for (const HWND window : TopLevelWindows(::GetCurrentProcessId())) {
                      const std::wstring caption = Text(window);
                      if (caption.rfind(L"Error", 0) != 0) continue;
                      seen_.push_back(caption + L" | " + BoxText(window));
                      ::SendMessageW(window, WM_COMMAND, IDOK, 0);
                      WaitUntil([&] { return !::IsWindowVisible(window); }, 2000);
                  }
                  ::Sleep(20);
              }
          }) {}
    ~CBoxCloser() { Stop(); }
    std::vector<std::wstring> Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return seen_;
    }
    size_t count() const { return seen_.size(); }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::wstring> seen_;
    std::thread thread_;
};

// RunWizard on this thread while `script` works the sheet from another.
// Whatever is still open a while after the script is done (or after
// `timeoutMs` when the wizard never showed) is closed, and the test fails,
// so that no test hangs.
WizardEnd DriveWizard(const std::function<void(const CWizard&)>& script, DWORD timeoutMs = 20000) {
    std::atomic<bool> returned{false};
    std::thread driver([&] {
        HWND sheet = nullptr;
        WaitUntil(
            [&] {
                for (const HWND window : TopLevelWindows(::GetCurrentProcessId()))
                    if (Text(window) == L"Quorlin Info") sheet = window;
                return sheet != nullptr || returned;
            },
            timeoutMs);
        if (!sheet) {
            ADD_FAILURE() << "the wizard did not show";
        } else {
            script(CWizard(sheet));
        }
        const DWORD start = ::GetTickCount();
        bool late = false;
        while (!returned) {
            if (!late && ::GetTickCount() - start > 5000) {
                ADD_FAILURE() << "the wizard was still open after the script";
                late = true;
            }
            if (late) {
                for (const HWND window : TopLevelWindows(::GetCurrentProcessId())) {
                    if (Text(window) == L"Quorlin Info") {
                        ::PostMessageW(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                    } else {
                        ::PostMessageW(window, WM_COMMAND, IDOK, 0);
                    }
                }
            }
            ::Sleep(100);
        }
    });
    const WizardEnd end = launcher::RunWizard();
    returned = true;
    driver.join();
    return end;
}

// A folder with a module called Qln (the stand-in library) loaded from it,
// and the pictures of `pages` (1 .. 5) beside it: where the wizard looks.
class CPictureFolder {
public:
    explicit CPictureFolder(std::vector<int> pages = {1, 2, 3, 4, 5}) {
        EXPECT_TRUE(::CopyFileW(StandInLibrary().c_str(), (folder_ / L"Qln.dll").c_str(), FALSE));
        for (const int page : pages) {
            const std::wstring name = L"wizard" + std::to_wstring(page) + L".jpg";
            EXPECT_TRUE(::CopyFileW((ResourcesFolder() + name).c_str(), (folder_ / name).c_str(), FALSE))
                << platform::Narrow(ResourcesFolder() + name);
        }
        module_ = ::LoadLibraryW((folder_ / L"Qln.dll").c_str());
        EXPECT_TRUE(module_);
        EXPECT_EQ(::GetModuleHandleW(L"Qln"), module_);
    }
    ~CPictureFolder() {
        if (module_) ::FreeLibrary(module_);
    }
    CPictureFolder(const CPictureFolder&) = delete;
    CPictureFolder& operator=(const CPictureFolder&) = delete;
    const CFolder& folder() const { return folder_; }

private:
    CFolder folder_{L"qln-wizard-pictures"};
    HMODULE module_ = nullptr;
};

TEST(Wizard, FivePagesInOrderWithTheirTextsAndButtons) {
    CPictureFolder pictures;
    CBoxCloser boxes;
    const WizardEnd end = DriveWizard([](const CWizard& wizard) {
        EXPECT_EQ(Text(wizard.sheet()), L"Quorlin Info");
        EXPECT_FALSE(::GetDlgItem(wizard.sheet(), 0x3021) && ::IsWindowVisible(::GetDlgItem(wizard.sheet(), 0x3021)))
            << "no Apply button";
        for (int i = 0; i < 5; ++i) {
            if (i > 0) {
                ASSERT_TRUE(wizard.Go(PSBTN_NEXT, i)) << "page " << i + 1;
            }
            EXPECT_EQ(wizard.index(), i);
            EXPECT_EQ(wizard.text(), kExpectedPages[i].text) << "page " << i + 1;
            EXPECT_TRUE(wizard.ShowsButtons(kExpectedPages[i].buttons)) << "page " << i + 1;
            EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(wizard.sheet(), IDCANCEL)));
        }
        wizard.Press(PSBTN_CANCEL);
    });
    EXPECT_EQ(end, WizardEnd::Cancelled);
    EXPECT_EQ(boxes.Stop(), std::vector<std::wstring>{}) << "every picture was there";
}

TEST(Wizard, BackAndNext) {
    CPictureFolder pictures;
    DriveWizard([](const CWizard& wizard) {
        const int walk[] = {1, 2, 1, 0, 1, 2, 3, 4, 3};
        int at = 0;
        for (const int next : walk) {
            ASSERT_TRUE(wizard.Go(next > at ? PSBTN_NEXT : PSBTN_BACK, next)) << "to page " << next + 1;
            EXPECT_EQ(wizard.text(), kExpectedPages[next].text);
            at = next;
        }
        wizard.Press(PSBTN_CANCEL);
    });
}

TEST(Wizard, TheTextIsABoldFormOfThePagesFont) {
    CPictureFolder pictures;
    DriveWizard([](const CWizard& wizard) {
        for (int i = 0; i < 5; ++i) {
            if (i > 0) {
                ASSERT_TRUE(wizard.Go(PSBTN_NEXT, i));
            }
            LOGFONTW text{};
            LOGFONTW page{};
            ASSERT_TRUE(
                ::GetObjectW(reinterpret_cast<HFONT>(::SendDlgItemMessageW(wizard.page(), kText, WM_GETFONT, 0, 0)),
                             sizeof text, &text));
            ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(wizard.page(), WM_GETFONT, 0, 0)),
                                     sizeof page, &page));
            EXPECT_EQ(text.lfWeight, 700) << "page " << i + 1;
            EXPECT_LT(page.lfWeight, 700);
            // Everything else as the page's own font.
            EXPECT_EQ(std::wstring(text.lfFaceName), std::wstring(page.lfFaceName));
            EXPECT_EQ(text.lfHeight, page.lfHeight);
            EXPECT_EQ(text.lfItalic, page.lfItalic);
            EXPECT_EQ(text.lfCharSet, page.lfCharSet);
            EXPECT_EQ(text.lfPitchAndFamily, page.lfPitchAndFamily);
        }
        wizard.Press(PSBTN_CANCEL);
    });
}

// The picture as the system's loader decodes it, drawn at its own size.
class CDecodedPicture {
public:
    CDecodedPicture(const std::wstring& path, HDC like) {
        const HANDLE file =
            ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        const DWORD size = ::GetFileSize(file, nullptr);
        const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
        DWORD read = 0;
        {
            win::ScopedGlobalLock lock(memory);
            ::ReadFile(file, lock.data(), size, &read, nullptr);
        }
        ::CloseHandle(file);
        win::ComPtr<IStream> stream;
        win::ComPtr<IPicture> picture;
        if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.out())) ||
            FAILED(::OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture, picture.outVoid())))
            return;
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        picture->get_Width(&w);
        picture->get_Height(&h);
        width = ::MulDiv(w, ::GetDeviceCaps(like, LOGPIXELSX), 2540);
        height = ::MulDiv(h, ::GetDeviceCaps(like, LOGPIXELSY), 2540);
        dc_ = ::CreateCompatibleDC(like);
        bitmap_.reset(::CreateCompatibleBitmap(like, width, height));
        old_ = ::SelectObject(dc_, bitmap_.get());
        picture->Render(dc_, 0, 0, width, height, 0, h, w, -h, nullptr);
    }
    ~CDecodedPicture() {
        if (dc_) {
            ::SelectObject(dc_, old_);
            ::DeleteDC(dc_);
        }
    }
    CDecodedPicture(const CDecodedPicture&) = delete;
    CDecodedPicture& operator=(const CDecodedPicture&) = delete;
    bool ok() const { return dc_ && width > 0 && height > 0; }
    COLORREF at(int x, int y) const { return ::GetPixel(dc_, x, y); }
    int width = 0;
    int height = 0;

private:
    HDC dc_ = nullptr;
    win::ScopedGdiObject bitmap_;
    HGDIOBJ old_ = nullptr;
};

bool Near(COLORREF a, COLORREF b) {
    auto close = [](int x, int y) { return x - y <= 6 && y - x <= 6; };
    return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) && close(GetBValue(a), GetBValue(b));
}

// The page's picture is drawn centred on the placeholder, which is hidden:
// pixels read from the page are the picture's own at the same place.
TEST(Wizard, EachPageDrawsItsPictureCentredOnThePlaceholder) {
    CPictureFolder pictures;
    DriveWizard([&](const CWizard& wizard) {
        for (int i = 0; i < 5; ++i) {
            if (i > 0) {
                ASSERT_TRUE(wizard.Go(PSBTN_NEXT, i));
            }
            const HWND page = wizard.page();
            const HWND placeholder = ::GetDlgItem(page, kPicture);
            EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(placeholder); })) << "hidden on the first paint";
            RECT box{};
            ::GetWindowRect(placeholder, &box);
            ::MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&box), 2);
            const HDC dc = ::GetDC(page);
            const CDecodedPicture picture(pictures.folder() / (L"wizard" + std::to_wstring(i + 1) + L".jpg"), dc);
            ASSERT_TRUE(picture.ok());
            const int left = box.left + (box.right - box.left - picture.width) / 2;
            const int top = box.top + (box.bottom - box.top - picture.height) / 2;
            RECT client{};
            ::GetClientRect(page, &client);
            EXPECT_GE(left, 0);
            EXPECT_LE(left + picture.width, client.right) << "the picture fits the page";
            EXPECT_LE(top + picture.height, client.bottom);
            int same = 0;
            int points = 0;
            // The pixels are read until they match: the page may still be
            // painting.
            WaitUntil(
                [&] {
                    same = points = 0;
                    for (int y = 1; y < 8; ++y)
                        for (int x = 1; x < 8; ++x) {
                            const int px = picture.width * x / 8;
                            const int py = picture.height * y / 8;
                            ++points;
                            if (Near(::GetPixel(dc, left + px, top + py), picture.at(px, py))) ++same;
                        }
                    return same == points;
                },
                5000);
            EXPECT_EQ(same, points) << "page " << i + 1;
            ::ReleaseDC(page, dc);
        }
        wizard.Press(PSBTN_CANCEL);
    });
}

// Each page reports its own missing picture when it is first shown, and only
// then: going back and forth again shows no more messages.
TEST(Wizard, AMissingPictureIsReportedOncePerPageShown) {
    CPictureFolder pictures({1, 3, 5});
    CBoxCloser boxes;
    DriveWizard([&](const CWizard& wizard) {
        ASSERT_TRUE(wizard.Go(PSBTN_NEXT, 1));
        EXPECT_TRUE(WaitUntil([&] { return boxes.count() == 1; }));
        ASSERT_TRUE(wizard.Go(PSBTN_BACK, 0));
        ASSERT_TRUE(wizard.Go(PSBTN_NEXT, 1));
        ASSERT_TRUE(wizard.Go(PSBTN_NEXT, 2));
        ASSERT_TRUE(wizard.Go(PSBTN_NEXT, 3));
        EXPECT_TRUE(WaitUntil([&] { return boxes.count() == 2; }));
        ASSERT_TRUE(wizard.Go(PSBTN_BACK, 2));
        ASSERT_TRUE(wizard.Go(PSBTN_NEXT, 3));
        ::Sleep(300);
        wizard.Press(PSBTN_CANCEL);
    });
    wchar_t message[512] = {};
    ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND,
                     MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), message, 512, nullptr);
    std::wstring reason = message;
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    EXPECT_EQ(boxes.Stop(), (std::vector<std::wstring>{
                                L"Error opening file: " + (pictures.folder() / L"wizard2.jpg") + L" | " + reason,
                                L"Error opening file: " + (pictures.folder() / L"wizard4.jpg") + L" | " + reason,
                            }));
}

// With no module called Qln loaded, the pictures are looked for beside the
// program (this test program's folder has none).
TEST(Wizard, WithoutTheLibraryThePicturesComeFromTheProgramsFolder) {
    ASSERT_FALSE(::GetModuleHandleW(L"Qln"));
    CBoxCloser boxes;
    DriveWizard([&](const CWizard& wizard) {
        EXPECT_TRUE(WaitUntil([&] { return boxes.count() == 1; }));
        wizard.Press(PSBTN_CANCEL);
    });
    const auto seen = boxes.Stop();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].substr(0, seen[0].find(L" | ")), L"Error opening file: " + ProgramFolder() + L"wizard1.jpg");
}

TEST(Wizard, HowItEnds) {
    CPictureFolder pictures;
    struct Case {
        const char* name;
        std::function<void(const CWizard&)> script;
        WizardEnd end;
    };
    const Case cases[] = {
        {"Finish on the last page",
         [](const CWizard& w) {
             for (int i = 1; i < 5; ++i) ASSERT_TRUE(w.Go(PSBTN_NEXT, i));
             w.Press(PSBTN_FINISH);
         },
         WizardEnd::Finished},
        {"Cancel on the first page", [](const CWizard& w) { w.Press(PSBTN_CANCEL); }, WizardEnd::Cancelled},
        {"Cancel on the last page",
         [](const CWizard& w) {
             for (int i = 1; i < 5; ++i) ASSERT_TRUE(w.Go(PSBTN_NEXT, i));
             w.Press(PSBTN_CANCEL);
         },
         WizardEnd::Cancelled},
        {"the close box",
         [](const CWizard& w) {
             ASSERT_TRUE(w.Go(PSBTN_NEXT, 1));
             ::PostMessageW(w.sheet(), WM_SYSCOMMAND, SC_CLOSE, 0);
         },
         WizardEnd::Cancelled},
        {"Escape", [](const CWizard& w) { ::PostMessageW(w.sheet(), WM_COMMAND, IDCANCEL, 0); }, WizardEnd::Cancelled},
    };
    for (const auto& c : cases) EXPECT_EQ(DriveWizard(c.script), c.end) << c.name;
}

// What Finish asks of the shell, as a stand-in for ShellExecuteW records it.
struct CShellRequest {
    int calls = 0;
    HWND owner = reinterpret_cast<HWND>(-1);
    std::wstring verb, file;
    bool parameters = true, folder = true;
    INT show = -1;
};
CShellRequest g_request;

HINSTANCE WINAPI RecordShellRequest(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                                    INT show) {
    g_request = {g_request.calls + 1, owner, verb ? verb : L"<null>", file ? file : L"<null>", parameters != nullptr,
                 folder != nullptr,   show};
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

HINSTANCE WINAPI RefuseShellRequest(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT) {
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
}

TEST(Wizard, FinishAsksTheShellToExplore) {
    g_request = {};
    EXPECT_TRUE(launcher::OpenExplorer(RecordShellRequest));
    EXPECT_EQ(g_request.calls, 1);
    EXPECT_EQ(g_request.owner, nullptr);
    EXPECT_EQ(g_request.verb, L"explore");
    EXPECT_EQ(g_request.file, L"");
    EXPECT_FALSE(g_request.parameters);
    EXPECT_FALSE(g_request.folder);
    EXPECT_EQ(g_request.show, SW_SHOWNORMAL);
    EXPECT_FALSE(launcher::OpenExplorer(RefuseShellRequest)) << "the shell's failure is not taken for success";
}

}  // namespace
