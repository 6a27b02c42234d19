#include <gtest/gtest.h>

#include <string>

#include "tests/installer/SetupDriver.h"

// The setup program for every user (/ALLUSERS): Program Files and HKLM,
// where Wine's COM looks classes up, so the shell's way of creating the
// extension can be followed here.

namespace {

using namespace setup_test;

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring FirstLine(const std::string& output) {
    std::wstring line = Widen(output.substr(0, output.find('\n')));
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    return line;
}

class AllUsersSetup : public SetupTest {
protected:
    const Layout mode_ = AllUsersLayout();
};

TEST_F(AllUsersSetup, RegistersForEveryUserSoThatTheShellCanCreateTheExtension) {
    ASSERT_TRUE(Succeeded(Install(L"/S /ALLUSERS")));
    ExpectInstalled(mode_, mode_.installDir);

    const RunResult probe = RunToEnd(L"\"" + WindowsPath(QLN_COM_PROBE) + L"\"");
    ASSERT_TRUE(Succeeded(probe)) << probe.output;
    EXPECT_TRUE(SamePath(FirstLine(probe.output), mode_.installDir + L"\\QlnExt.dll"))
        << "the object came from " << probe.output;

    ASSERT_TRUE(Succeeded(Uninstall(Hive::LocalMachine)));
    EXPECT_FALSE(Exists(mode_.installDir));
    // Unregistered: the class cannot be created any more.
    EXPECT_FALSE(Succeeded(RunToEnd(L"\"" + WindowsPath(QLN_COM_PROBE) + L"\"")));
    ExpectNothingLeft();
}

TEST_F(AllUsersSetup, UninstallerStartedFromItsFolderRemovesTheAllUsersInstallOnly) {
    const Layout perUser = PerUserLayout();
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    ASSERT_TRUE(Succeeded(Install(L"/S /ALLUSERS")));
    ASSERT_TRUE(Exists(mode_.installDir + L"\\Uninstall.exe"));

    // Without /ALLUSERS: it finds its mode from where it is.
    ASSERT_TRUE(Succeeded(RunToEnd(L"\"" + mode_.installDir + L"\\Uninstall.exe\" /S")));
    EXPECT_FALSE(Exists(mode_.installDir));
    EXPECT_EQ(AppsEntryValue(Hive::LocalMachine, L"DisplayName"), L"");
    ExpectInstalled(perUser, perUser.installDir);

    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    ExpectNothingLeft();
}

}  // namespace
