#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace testing_support {

namespace stdfs = std::filesystem;

/// UTF-8 text to a path, and back, the same on both platforms (the narrow
/// path constructor would use the ANSI code page on Windows).
inline stdfs::path U8(const std::string& s) { return stdfs::path(std::u8string(s.begin(), s.end())); }
inline std::string FromPath(const stdfs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

/// A fresh folder under the system's temporary folder, removed with all its
/// contents on destruction.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        std::mt19937_64 gen(rd());
        for (;;) {
            path_ = stdfs::temp_directory_path() / ("qln-test-" + std::to_string(gen()));
            std::error_code ec;
            if (stdfs::create_directory(path_, ec)) break;
        }
    }
    ~TempDir() {
        std::error_code ec;
        stdfs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The folder as a UTF-8 path string with the platform's separator.
    std::string str() const { return FromPath(path_); }
    /// `relative` (with '/' between components) inside the folder.
    std::string operator/(const std::string& relative) const {
        std::string out = str();
        std::string rel = relative;
        for (char& c : rel)
            if (c == '/') c = platform::kPathSeparator;
        return out + platform::kPathSeparator + rel;
    }

    /// Creates a file with `contents`, creating folders on the way.
    void File(const std::string& relative, const std::string& contents = "") const {
        const stdfs::path p = U8(*this / relative);
        stdfs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << contents;
    }
    void Folder(const std::string& relative) const { stdfs::create_directories(U8(*this / relative)); }

    /// Every entry below the folder as "relative/path" (folders end in '/')
    /// mapped to the contents of files; the full picture a test compares so
    /// that nothing is lost or overwritten unnoticed.
    std::set<std::string> Snapshot() const {
        std::set<std::string> out;
        for (const auto& e : stdfs::recursive_directory_iterator(path_)) {
            // Lexically: a link is named as itself, not as what it leads to.
            std::string rel = FromPath(e.path().lexically_relative(path_).generic_u8string());
            if (e.is_directory()) {
                out.insert(rel + "/");
            } else {
                std::ifstream in(e.path(), std::ios::binary);
                out.insert(rel + "=" + std::string(std::istreambuf_iterator<char>(in), {}));
            }
        }
        return out;
    }

    std::string Read(const std::string& relative) const {
        std::ifstream in(U8(*this / relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists(const std::string& relative) const { return stdfs::exists(U8(*this / relative)); }

private:
    stdfs::path path_;
};

}  // namespace testing_support
