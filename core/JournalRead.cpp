// Reading journals: the records of a journal as far as they are whole, and
// whether it may be trusted at all.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unordered_map>

#include "core/Journal.h"
#include "core/JournalRecords.h"
#include "platform/FileSystem.h"
#include "platform/Time.h"

namespace {

// True when `folder` is `base` or lies below it.
bool Within(const std::string& folder, const std::string& base) {
    if (folder.compare(0, base.size(), base) != 0) return false;
    return folder.size() == base.size() || base.back() == platform::kPathSeparator ||
           folder[base.size()] == platform::kPathSeparator;
}

// Why a journal read whole may still not be trusted: an undo renames in the
// folders it names, so they must be full paths, within the place that the
// journal says it ran in, which every message shows.
std::string UntrustedFolders(const CJournalRun& run) {
    for (const auto& folder : run.folders)
        if (!platform::IsAbsolutePath(folder))
            return "it names a folder that is not a full path, \"" + folder + "\": remove it";
    const std::string& where = run.header.where;
    if (where.empty()) return {};
    // The place is the one item the run was given, or the folder that held
    // all it was given: the items' folders lie at or below its folder.
    const auto sep = where.find_last_of(platform::kPathSeparator);
    const std::string base = sep == std::string::npos ? where : sep == 0 ? where.substr(0, 1) : where.substr(0, sep);
    for (const auto& folder : run.folders)
        if (!Within(folder, base) && !Within(folder, where))
            return "it names a folder outside \"" + where + "\", where it says it ran: \"" + folder +
                   "\": remove it";
    return {};
}

}  // namespace

std::string CJournalRun::OldPath(const CJournalItem& item) const {
    return folders[item.folder] + platform::kPathSeparator + item.oldName;
}

std::string CJournalRun::NewPath(const CJournalItem& item) const {
    return folders[item.folder] + platform::kPathSeparator + item.newName;
}

std::string JournalTimeText(int64_t time) {
    std::tm t{};
    if (!platform::ToLocalTime(time, t)) return "at an unknown time";
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

std::string JournalRunText(const CJournalRun& run) {
    std::string out =
        run.header.kind == CJournalHeader::kUndo ? "undo of " + run.header.what : "\"" + run.header.what + "\"";
    if (!run.header.where.empty()) out += " in " + run.header.where;
    return out + ", started " + JournalTimeText(run.header.time);
}

namespace {

// Reads the records of one journal into its run, one after another, and
// says after each whether the journal is still sound.
class CJournalReader {
public:
    CJournalReader(CJournalRun& run, bool withItems) : run_(run), withItems_(withItems) {}

    /// Takes one record's body; false when it is not sound (nothing after
    /// it is trusted).
    bool Take(std::string_view body) {
        journal::FieldReader f(body);
        const uint8_t type = f.U8();
        if (!run_.readable && type != journal::kBegin) return false;
        switch (type) {
            case journal::kBegin:
                return Begin(f);
            case journal::kFolder: {
                const uint32_t id = f.U32();
                const std::string_view path = f.Text();
                if (!f.done() || id != run_.folders.size()) return false;
                run_.folders.emplace_back(path);
                return true;
            }
            case journal::kIntent:
                return Intent(f);
            case journal::kNotDone: {
                const uint32_t index = f.U32();
                f.U32();
                const auto it = seen_.find(index);
                if (!f.done() || it == seen_.end()) return false;
                it->second.notDone = true;
                return true;
            }
            case journal::kSettled: {
                const uint32_t index = f.U32();
                if (!f.done()) return false;
                settled_ = std::max<int64_t>(settled_, index);
                return true;
            }
            case journal::kEnd:
                run_.stopped = f.U8() != 0;
                run_.ended = f.done();
                return run_.ended;
            default:
                return false;
        }
    }

    /// What each item ended as, once every record is read.
    void Finish() {
        for (auto& item : run_.items) {
            if (seen_[item.index].notDone)
                item.state = CItemState::kNotRenamed;
            else if (static_cast<int64_t>(item.index) <= settled_)
                item.state = CItemState::kRenamed;
            else
                item.state = run_.ended ? CItemState::kNotRenamed : CItemState::kUnsure;
            if (item.state == CItemState::kRenamed) ++run_.renamed;
            if (item.state == CItemState::kUnsure) ++run_.unsure;
        }
        std::stable_sort(run_.items.begin(), run_.items.end(),
                         [](const CJournalItem& a, const CJournalItem& b) { return a.index < b.index; });
        if (!withItems_) {
            run_.items.clear();
            run_.items.shrink_to_fit();
        }
    }

private:
    bool Begin(journal::FieldReader& f) {
        if (run_.readable) return false;
        const uint8_t kind = f.U8();
        run_.header.kind = kind == CJournalHeader::kUndo ? CJournalHeader::kUndo : CJournalHeader::kRun;
        run_.header.time = f.I64();
        run_.header.what = f.Text();
        run_.header.where = f.Text();
        run_.header.undone = f.Text();
        run_.readable = f.done() && kind <= CJournalHeader::kUndo;
        return run_.readable;
    }

    bool Intent(journal::FieldReader& f) {
        CJournalItem item;
        item.index = f.U32();
        item.folder = f.U32();
        const uint8_t flags = f.U8();
        const std::string_view oldName = f.Text();
        const std::string_view newName = f.Text();
        if (!f.done() || item.folder >= run_.folders.size()) return false;
        item.isFolder = (flags & journal::kFlagFolder) != 0;
        if (withItems_) {
            item.oldName = oldName;
            item.newName = newName;
        }
        auto [it, added] = seen_.emplace(item.index, Seen{run_.items.size()});
        if (added) {
            run_.items.push_back(std::move(item));
        } else {
            // Another name tried for the same item: the last counts.
            run_.items[it->second.at] = std::move(item);
            it->second.notDone = false;
        }
        return true;
    }

    struct Seen {
        size_t at;  // into run.items
        bool notDone = false;
    };
    CJournalRun& run_;
    bool withItems_;
    std::unordered_map<uint32_t, Seen> seen_;
    int64_t settled_ = -1;
};

}  // namespace

void ParseJournal(std::string_view data, CJournalRun& run, bool withItems) {
    run.header = {};
    run.folders.clear();
    run.items.clear();
    run.renamed = run.unsure = 0;
    run.ended = run.stopped = run.readable = run.whole = false;
    run.refusal.clear();

    journal::RecordReader reader(data);
    CJournalReader records(run, withItems);
    bool sound = true;
    std::string_view body;
    while (sound && !run.ended && reader.Next(body)) sound = records.Take(body);
    run.whole = sound && run.readable && reader.atEnd();
    records.Finish();
}

uint32_t ReadJournal(platform::IFileSystem& fs, const std::string& path, CJournalRun& run, bool withItems) {
    uint32_t code = platform::kErrorSuccess;
    uint64_t size = 0;
    auto stream = fs.OpenPrivate(path, size, code);
    if (!stream) {
        run = CJournalRun();
        run.path = path;
        run.refusal = PrivateRefusal(code);
        if (run.refusal.empty()) return code ? code : platform::kErrorFileNotFound;
        return platform::kErrorSuccess;
    }
    // No more than its size when it was opened: a journal still being
    // written is read as far as it was then.
    std::string data(static_cast<size_t>(size), '\0');
    data.resize(stream->Read(data.data(), data.size()));
    ParseJournal(data, run, withItems);
    run.path = path;
    if (run.readable) run.refusal = UntrustedFolders(run);
    return platform::kErrorSuccess;
}

std::string PrivateRefusal(uint32_t code) {
    switch (code) {
        case platform::kErrorNotOwner:
            return "it belongs to another user: remove it, or make it yours (chown)";
        case platform::kErrorOpenToOthers:
            return "other users may write to it: make it yours alone (chmod go-w)";
        case platform::kErrorNotRegularFile:
            return "it is not a regular file but a link, a folder, a device or a pipe: remove it";
        default:
            return {};
    }
}

