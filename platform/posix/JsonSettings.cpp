#include "platform/posix/JsonSettings.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>

namespace platform {

namespace {

using nlohmann::json;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A user who keeps the settings file as a symbolic link into a dotfiles folder
// expects the link to stay; the rename must then replace the link's target.
std::string ResolveLink(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::unique_ptr<char, decltype(&::free)> real(::realpath(path.c_str(), nullptr), &::free);
    return real ? std::string(real.get()) : path;
}

bool MakeFolders(const std::string& folder) {
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::string parent = folderOf(folder);
    if (parent != folder && !MakeFolders(parent)) return false;
    // Settings are private to the user, like the registry hive.
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// Reads the whole file; false with errno set when it cannot be read (ENOENT
// when it is not there).
bool ReadWhole(const std::string& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    out.clear();
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            errno = err;
            return false;
        }
        out.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool IsBlank(const std::string& s) {
    return s.find_first_not_of(" \t\r\n") == std::string::npos;
}

enum class Parsed { kMissing, kObject, kUnreadable, kCorrupt };

// What is on disk now: the object, or why there is none.
Parsed ParseFile(const std::string& path, json& out) {
    std::string contents;
    if (!ReadWhole(path, contents)) return errno == ENOENT ? Parsed::kMissing : Parsed::kUnreadable;
    if (IsBlank(contents)) {
        out = json::object();
        return Parsed::kObject;
    }
    out = json::parse(contents, nullptr, /*allow_exceptions=*/false);
    if (out.is_discarded() || !out.is_object()) return Parsed::kCorrupt;
    return Parsed::kObject;
}

// Moves an unreadable file out of the way under a name that is not taken yet,
// so that neither it nor an earlier one is lost: the user may want to repair it.
std::string KeepAside(const std::string& path) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    struct tm local;
    ::localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    for (int i = 0; i < 1000; ++i) {
        std::string aside = path + ".corrupt-" + stamp;
        if (i > 0) aside += "-" + std::to_string(i);
        // A hard link fails on an existing name, so nothing is replaced.
        if (::link(path.c_str(), aside.c_str()) == 0) {
            ::unlink(path.c_str());
            return aside;
        }
        if (errno == EEXIST) continue;
        // File systems without hard links: check, then rename.
        struct stat st;
        if (::lstat(aside.c_str(), &st) == 0) continue;
        if (::rename(path.c_str(), aside.c_str()) == 0) return aside;
        return {};
    }
    return {};
}

}  // namespace

CJsonSettings::CJsonSettings(std::string filePath, std::string subKey)
    : path_(ResolveLink(filePath)), subKey_(std::move(subKey)) {
    json root;
    switch (ParseFile(path_, root)) {
        case Parsed::kCorrupt:
            keptAside_ = KeepAside(path_);
            break;
        case Parsed::kObject: {
            const auto key = root.find(subKey_);
            if (key == root.end() || !key->is_object()) break;
            for (const auto& [name, value] : key->items()) {
                if (value.is_string()) {
                    values_[name] = value.get<std::string>();
                } else if (value.is_number_integer()) {
                    const auto n = value.get<int64_t>();
                    if (n >= INT32_MIN && n <= INT32_MAX) values_[name] = static_cast<int32_t>(n);
                }
                // Other kinds (added by hand) are not ours to read; the merge
                // on save leaves them where they are.
            }
            break;
        }
        case Parsed::kMissing:
        case Parsed::kUnreadable:
            break;
    }
}

CJsonSettings::~CJsonSettings() {
    if (!unsaved_.empty()) save();
}

std::optional<int32_t> CJsonSettings::ReadNumber(const std::string& name) {
    const auto it = values_.find(name);
    if (it == values_.end() || !std::holds_alternative<int32_t>(it->second)) return std::nullopt;
    return std::get<int32_t>(it->second);
}

std::optional<std::string> CJsonSettings::ReadText(const std::string& name) {
    const auto it = values_.find(name);
    if (it == values_.end() || !std::holds_alternative<std::string>(it->second)) return std::nullopt;
    return std::get<std::string>(it->second);
}

bool CJsonSettings::WriteNumber(const std::string& name, int32_t value) {
    values_[name] = value;
    unsaved_.insert(name);
    return true;
}

bool CJsonSettings::WriteText(const std::string& name, const std::string& value) {
    values_[name] = value;
    unsaved_.insert(name);
    return true;
}

void CJsonSettings::Flush() {
    if (!unsaved_.empty()) save();
}

bool CJsonSettings::save() {
    // Nothing may escape: this also runs from the destructor.
    try {
        const std::string folder = folderOf(path_);
        if (!MakeFolders(folder)) {
            lastErrno_ = errno;
            return false;
        }
        json root;
        switch (ParseFile(path_, root)) {
            case Parsed::kMissing:
                root = json::object();
                break;
            case Parsed::kObject:
                break;
            case Parsed::kCorrupt:
                // Damaged since we read it: keep it for the user, start afresh.
                if (keptAside_.empty()) keptAside_ = KeepAside(path_);
                root = json::object();
                break;
            case Parsed::kUnreadable:
                // Replacing a file we cannot read would lose whatever it holds.
                lastErrno_ = errno;
                return false;
        }
        json& key = root[subKey_];
        if (!key.is_object()) key = json::object();
        for (const auto& name : unsaved_) {
            const auto& value = values_.at(name);
            if (std::holds_alternative<int32_t>(value))
                key[name] = std::get<int32_t>(value);
            else
                key[name] = std::get<std::string>(value);
        }
        // Texts that are not valid UTF-8 are written with replacement
        // characters rather than failing the whole save.
        const std::string data = root.dump(2, ' ', false, json::error_handler_t::replace) + "\n";

        std::string temporary = path_ + ".tmp-XXXXXX";
        const int fd = ::mkstemp(temporary.data());
        if (fd < 0) {
            lastErrno_ = errno;
            return false;
        }
        if (!WriteAll(fd, data) || ::fsync(fd) != 0) {
            lastErrno_ = errno;
            ::close(fd);
            ::unlink(temporary.c_str());
            return false;
        }
        if (::close(fd) != 0) {
            lastErrno_ = errno;
            ::unlink(temporary.c_str());
            return false;
        }
        temporaryWritten(temporary);
        if (::rename(temporary.c_str(), path_.c_str()) != 0) {
            lastErrno_ = errno;
            ::unlink(temporary.c_str());
            return false;
        }
        // Make the rename itself durable.
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        unsaved_.clear();
        lastErrno_ = 0;
        return true;
    } catch (const std::exception&) {
        lastErrno_ = ENOMEM;
        return false;
    }
}

std::string SettingsLocation(const std::string& subKey, const std::string& location) {
    (void)subKey;  // one file holds every sub key
    if (!location.empty()) return location;
    if (const char* env = std::getenv(kSettingsLocationVariable); env && *env) return env;
    // Relative values of XDG_CONFIG_HOME are invalid and to be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
        return std::string(xdg) + "/quorlin/settings.json";
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env) {
        home = env;
    } else if (const struct passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    if (home.empty()) return {};
    return home + "/.config/quorlin/settings.json";
}

std::unique_ptr<ISettingsBackend> OpenSettings(const std::string& subKey, const std::string& location) {
    const std::string path = SettingsLocation(subKey, location);
    if (path.empty()) return nullptr;
    return std::make_unique<CJsonSettings>(path, subKey);
}

}  // namespace platform
