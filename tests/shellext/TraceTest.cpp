#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Scoped.h"
#include "tests/shellext/ExtensionTestSupport.h"

// Every entry point of the extension writes its trace line to the debugger.
// The probe makes one call of each kind; this test is its debugger and
// collects what the probe's OutputDebugStringA sent, byte for byte.

namespace {

constexpr DWORD kProbeTimeoutMs = 30000;

// Runs `commandLine` as a debugged process and returns its debug strings;
// `exitCode` gets its exit code, or -1 when it had to be ended.
std::vector<std::string> DebugStringsOf(std::wstring commandLine, int& exitCode) {
    std::vector<std::string> lines;
    exitCode = -1;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                          nullptr, &startup, &process)) {
        ADD_FAILURE() << "cannot start the probe: " << ::GetLastError();
        return lines;
    }
    win::ScopedHandle processHandle(process.hProcess);
    win::ScopedHandle threadHandle(process.hThread);
    const DWORD start = ::GetTickCount();
    for (bool running = true; running;) {
        DEBUG_EVENT event{};
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed > kProbeTimeoutMs || !::WaitForDebugEvent(&event, kProbeTimeoutMs - elapsed)) {
            ADD_FAILURE() << "the probe did not finish";
            ::TerminateProcess(process.hProcess, 1);
            ::DebugActiveProcessStop(process.dwProcessId);
            return lines;
        }
        DWORD continueStatus = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile) ::CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile) ::CloseHandle(event.u.LoadDll.hFile);
                break;
            case OUTPUT_DEBUG_STRING_EVENT: {
                const OUTPUT_DEBUG_STRING_INFO& info = event.u.DebugString;
                std::string text(info.nDebugStringLength, '\0');
                SIZE_T read = 0;
                ::ReadProcessMemory(process.hProcess, info.lpDebugStringData, text.data(), text.size(), &read);
                text.resize(read);
                if (!text.empty() && text.back() == '\0') text.pop_back();
                lines.push_back(info.fUnicode ? "<wide string>" : text);
                break;
            }
            case EXCEPTION_DEBUG_EVENT:
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    continueStatus = DBG_EXCEPTION_NOT_HANDLED;
                }
                break;
            case EXIT_PROCESS_DEBUG_EVENT:
                exitCode = static_cast<int>(event.u.ExitProcess.dwExitCode);
                running = false;
                break;
            default:
                break;
        }
        ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    }
    return lines;
}

TEST(Trace, EveryEntryPointWritesItsLine) {
    const std::vector<std::string> expected = {
        "In DLLMain, DLL_PROCESS_ATTACH\r\n",
        "In DLLCanUnloadNow\r\n",
        "In DllGetClassObject\r\n",
        "CShellExtClassFactory::CShellExtClassFactory()\r\n",
        "CShellExtClassFactory::QueryInterface()\r\n",
        "CShellExtClassFactory::CreateInstance()\r\n",
        "CShellExt::CShellExt()\r\n",
        "CShellExt::QueryInterface()==>IID_IShellExtInit\r\n",
        "CShellExt::AddRef()\r\n",
        "CShellExt::QueryInterface()==>IID_IContextMenu\r\n",
        "CShellExt::AddRef()\r\n",
        "CShellExt::QueryInterface()==>IID_IShellExtInit\r\n",
        "CShellExt::AddRef()\r\n",
        "CShellExt::Release()\r\n",
        "CShellExt::QueryInterface()==>Unknown Interface!\r\n",
        "CShellExt::Initialize()\r\n",
        "CShellExt::QueryContextMenu()\r\n",
        "CMF_NORMAL...\r\n",
        "CShellExt::QueryContextMenu()\r\n",
        "CMF_VERBSONLY...\r\n",
        "CShellExt::QueryContextMenu()\r\n",
        "CMF_EXPLORE...\r\n",
        "CShellExt::QueryContextMenu()\r\n",
        "CMF_DEFAULTONLY...\r\n",
        "CShellExt::QueryContextMenu()\r\n",
        "CMF_default...\r\n",
        "uFlags==>8\r\n",
        "CShellExt::QueryContextMenu()\r\n",
        "CMF_default...\r\n",
        "uFlags==>-2147483640\r\n",
        "CShellExt::GetCommandString()\r\n",
        "CShellExt::InvokeCommand()\r\n",
        "CShellExt::DoGAKMenu1()\r\n",
        "CShellExt::InvokeCommand()\r\n",
        "CShellExt::Release()\r\n",
        "CShellExt::Release()\r\n",
        "In DLLCanUnloadNow\r\n",
        "In DLLMain, DLL_PROCESS_DETACH\r\n",
    };
    int exitCode = 0;
    const std::vector<std::string> lines = DebugStringsOf(
        L"\"" + ext_test::WindowsPath(QLN_TRACE_PROBE) + L"\" \"" + ext_test::BuiltDll() + L"\"", exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(lines, expected);
}

}  // namespace
