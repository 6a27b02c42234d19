// What the journal asks of the real file system: a new file that replaces
// nothing, appends in order, removal of files only, and the state folder
// where the platform's rules put it, made when missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;
namespace stdfs = std::filesystem;

platform::IFileSystem& Fs() {
    return platform::RealFileSystem();
}

// Sets an environment variable for one test, and puts it back after.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~ScopedVariable() { Set(old_); }

private:
    void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
        _putenv_s(name_.c_str(), value ? value->c_str() : "");
#else
        if (value)
            setenv(name_.c_str(), value->c_str(), 1);
        else
            unsetenv(name_.c_str());
#endif
    }
    std::string name_;
    std::optional<std::string> old_;
};

TEST(JournalFileSystem, ANewFileReplacesNothing) {
    TempDir dir;
    dir.File("taken", "keep");
    dir.Folder("folder");
#ifndef _WIN32
    // A link planted under the name is not written through either.
    stdfs::create_symlink(testing_support::U8(dir / "target"), testing_support::U8(dir / "link"));
#endif
    const Snap before = dir.Snapshot();
    for (const char* name : {"taken", "folder", "link"}) {
#ifdef _WIN32
        if (std::string(name) == "link") continue;
#endif
        uint32_t error = 0;
        EXPECT_EQ(Fs().CreateAppend(dir / name, error), nullptr) << name;
        EXPECT_EQ(error, platform::kErrorAlreadyExists) << name;
    }
    EXPECT_EQ(dir.Snapshot(), before);
    EXPECT_FALSE(dir.Exists("target"));
}

TEST(JournalFileSystem, AppendsGoToTheEndInOrder) {
    TempDir dir;
    uint32_t error = 1;
    auto stream = Fs().CreateAppend(dir / "j", error);
    ASSERT_TRUE(stream);
    EXPECT_EQ(error, 0u);
    EXPECT_TRUE(dir.Exists("j"));
    EXPECT_EQ(stream->Append("one ", 4), 0u);
    EXPECT_EQ(stream->Flush(), 0u);
    EXPECT_EQ(stream->Append("two", 3), 0u);
    EXPECT_EQ(stream->Append("", 0), 0u);
    EXPECT_EQ(stream->Flush(), 0u);
    stream.reset();
    EXPECT_EQ(dir.Read("j"), "one two");
}

TEST(JournalFileSystem, RemovesFilesOnly) {
    TempDir dir;
    dir.File("file", "f");
    dir.File("folder/inside", "i");
    EXPECT_EQ(Fs().RemoveFile(dir / "file"), 0u);
    EXPECT_NE(Fs().RemoveFile(dir / "folder"), 0u);
    EXPECT_NE(Fs().RemoveFile(dir / "missing"), 0u);
    EXPECT_EQ(dir.Snapshot(), (Snap{"folder/", "folder/inside=i"}));
}

#ifdef _WIN32
TEST(JournalFileSystem, TheStateFolderIsUnderLocalAppData) {
    TempDir home;
    const ScopedVariable local("LOCALAPPDATA", home / "deeper");
    std::string folder;
    ASSERT_EQ(platform::StateFolder(folder), 0u);
    EXPECT_EQ(folder, home / "deeper/Quorlin");
    EXPECT_EQ(home.Snapshot(), (Snap{"deeper/", "deeper/Quorlin/"}));
}
#else
TEST(JournalFileSystem, TheStateFolderFollowsTheXdgRules) {
    struct Case {
        const char* label;
        std::optional<std::string> xdg;  // relative to the temporary home when it starts with '.'
        std::string expected;             // relative to the temporary home
    };
    const Case cases[] = {
        {"XDG_STATE_HOME set", "/state/here", "state/here/quorlin"},
        {"with a separator at its end", "/state/", "state/quorlin"},
        {"not set", std::nullopt, "home/.local/state/quorlin"},
        {"relative: ignored", "relative/state", "home/.local/state/quorlin"},
        {"empty: ignored", "", "home/.local/state/quorlin"},
    };
    for (const auto& c : cases) {
        TempDir root;
        const ScopedVariable home("HOME", root / "home");
        const ScopedVariable xdg("XDG_STATE_HOME", c.xdg && !c.xdg->empty() && c.xdg->front() == '/'
                                                       ? std::optional<std::string>(root.str() + *c.xdg)
                                                       : c.xdg);
        std::string folder;
        ASSERT_EQ(platform::StateFolder(folder), 0u) << c.label;
        EXPECT_EQ(folder, root / c.expected) << c.label;
        EXPECT_TRUE(stdfs::is_directory(folder)) << c.label;
        EXPECT_EQ(stdfs::status(folder).permissions() & stdfs::perms::all, stdfs::perms::owner_all) << c.label;
        // Asked again, the same folder, as it is.
        std::string again;
        EXPECT_EQ(platform::StateFolder(again), 0u);
        EXPECT_EQ(again, folder);
    }
}

TEST(JournalFileSystem, AFileWhereTheStateFolderBelongsIsNamed) {
    TempDir root;
    root.File("quorlin", "not a folder");
    const ScopedVariable xdg("XDG_STATE_HOME", root.str());
    std::string folder;
    EXPECT_EQ(platform::StateFolder(folder), platform::kErrorAlreadyExists);
    EXPECT_EQ(folder, root / "quorlin");
    EXPECT_EQ(root.Read("quorlin"), "not a folder");
}
#endif

}  // namespace
