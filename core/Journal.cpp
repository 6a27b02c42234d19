#include "core/Journal.h"

#include <algorithm>
#include <charconv>

#include "core/JournalRecords.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kPrefix = "run-";
// The highest number a journal's name can carry and still be read.
constexpr uint64_t kLargestNumber = 999999999999999999ULL;
constexpr std::string_view kSuffix = ".qlj";
// Two programs may start runs at once: each takes the next free number.
constexpr int kNameAttempts = 100;

// The number of the journal named `name`, or false for another file.
bool JournalNumber(std::string_view name, uint64_t& number) {
    if (name.size() <= kPrefix.size() + kSuffix.size() || name.substr(0, kPrefix.size()) != kPrefix ||
        name.substr(name.size() - kSuffix.size()) != kSuffix)
        return false;
    const std::string_view digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    if (digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string_view::npos) return false;
    return std::from_chars(digits.data(), digits.data() + digits.size(), number).ec == std::errc();
}

std::string JournalName(uint64_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 10) digits.insert(0, 10 - digits.size(), '0');
    return std::string(kPrefix) + digits + std::string(kSuffix);
}

std::string Join(const std::string& folder, std::string_view name) {
    std::string out = folder;
    if (out.empty() || out.back() != platform::kPathSeparator) out += platform::kPathSeparator;
    return out.append(name);
}

struct Listed {
    uint64_t number;
    std::string name;
};

// The journals of `folder`, newest first; `taken` takes the number of every
// entry named like a journal, a folder's too, so that a new journal's name is
// free.
uint32_t ListNumbered(platform::IFileSystem& fs, const std::string& folder, std::vector<Listed>& out,
                      std::vector<uint64_t>* taken = nullptr) {
    out.clear();
    const uint32_t code = fs.ListFolderEntries(folder, [&](const std::string& name, platform::EntryKind kind) {
        uint64_t number = 0;
        if (!JournalNumber(name, number)) return;
        if (taken) taken->push_back(number);
        if (kind != platform::EntryKind::kFolder && kind != platform::EntryKind::kFolderLink)
            out.push_back({number, name});
    });
    std::sort(out.begin(), out.end(), [](const Listed& a, const Listed& b) { return a.number > b.number; });
    return code;
}

// The number for a new journal: above every other, so that it lists as the
// newest. An entry that someone named with the highest number a name can
// carry leaves no number above it; the new journal then takes the first free
// one below, which the readers still take, instead of one they cannot read.
uint64_t NextNumber(std::vector<uint64_t> taken) {
    std::sort(taken.begin(), taken.end(), std::greater<>());
    for (size_t i = 0; i < taken.size(); ++i)
        if (taken[i] < kLargestNumber && (i == 0 || taken[i - 1] != taken[i] + 1)) return taken[i] + 1;
    return 1;
}

// The first record of a journal, for pruning: its kind and what it undid.
bool ReadHeader(platform::IFileSystem& fs, const std::string& path, CJournalHeader& header) {
    uint64_t size = 0;
    uint32_t code = 0;
    auto stream = fs.OpenPrivate(path, size, code);
    if (!stream) return false;
    std::string data(static_cast<size_t>(std::min<uint64_t>(size, journal::kMagic.size() + 8)), '\0');
    data.resize(stream->Read(data.data(), data.size()));
    journal::RecordReader probe(data);
    if (!probe.validMagic() || data.size() < journal::kMagic.size() + 8) return false;
    const auto* length = reinterpret_cast<const unsigned char*>(data.data() + journal::kMagic.size());
    const uint64_t body = length[0] | length[1] << 8 | length[2] << 16 | static_cast<uint64_t>(length[3]) << 24;
    if (body > journal::kMaxBody || body > size - data.size()) return false;
    const size_t head = data.size();
    data.resize(head + body);
    data.resize(head + stream->Read(data.data() + head, body));
    CJournalRun run;
    ParseJournal(data, run, false);
    if (!run.readable) return false;
    header = std::move(run.header);
    return true;
}

// True when the journal at `path` ends with its end record.
bool EndedJournal(platform::IFileSystem& fs, const std::string& path) {
    uint64_t size = 0;
    uint32_t code = 0;
    auto stream = fs.OpenPrivate(path, size, code);
    if (!stream) return false;
    std::string data(static_cast<size_t>(size), '\0');
    data.resize(stream->Read(data.data(), data.size()));
    return journal::EndsWhole(data);
}

}  // namespace

CRunJournal::CRunJournal(platform::IFileSystem& fs, std::string folder, CJournalHeader header)
    : fs_(fs), folder_(std::move(folder)), kind_(header.kind) {
    pending_.assign(journal::kMagic);
    journal::RecordWriter w(pending_);
    w.Start(journal::kBegin);
    w.U8(header.kind);
    w.I64(header.time);
    w.Text(header.what);
    w.Text(header.where);
    w.Text(header.undone);
    w.Finish();
}

CRunJournal::~CRunJournal() = default;

uint32_t CRunJournal::FolderId(const std::string& folder) {
    // The items of a folder come one after another: one comparison each.
    if (lastFolder_ && *lastFolder_ == folder) return lastFolderId_;
    auto [it, added] = folderIds_.emplace(folder, static_cast<uint32_t>(folderIds_.size()));
    if (added) {
        journal::RecordWriter w(pending_);
        w.Start(journal::kFolder);
        w.U32(it->second);
        w.Text(folder);
        w.Finish();
    }
    lastFolder_ = &it->first;
    lastFolderId_ = it->second;
    return it->second;
}

void CRunJournal::Intend(uint32_t item, const std::string& folder, std::string_view oldName,
                         std::string_view newName, bool isFolder) {
    if (failed()) return;
    if (static_cast<int64_t>(item) > lastIntended_) {
        lastIntended_ = item;
        ++intended_;
    }
    const uint32_t folderId = FolderId(folder);
    journal::RecordWriter w(pending_);
    w.Start(journal::kIntent);
    w.U32(item);
    w.U32(folderId);
    w.U8(isFolder ? journal::kFlagFolder : 0);
    w.Text(oldName);
    w.Text(newName);
    w.Finish();
    intentsWaiting_ = true;
}

void CRunJournal::NotDone(uint32_t item, uint32_t code) {
    if (failed()) return;
    ++notDone_;
    journal::RecordWriter w(pending_);
    w.Start(journal::kNotDone);
    w.U32(item);
    w.U32(code);
    w.Finish();
}

void CRunJournal::Settled(uint32_t item) {
    settled_ = std::max<int64_t>(settled_, item);
}

bool CRunJournal::Secure() {
    if (failed()) return false;
    if (!intentsWaiting_) return true;
    if (!stream_ && !Make()) return false;
    return Write();
}

bool CRunJournal::End(bool stopped) {
    if (failed()) return false;
    if (ended_) return true;
    ended_ = true;
    // A run that announced no rename leaves no journal.
    if (!stream_ && !intentsWaiting_) return true;
    if (!stream_ && !Make()) return false;
    journal::RecordWriter w(pending_);
    if (settled_ > settledWritten_) {
        w.Start(journal::kSettled);
        w.U32(static_cast<uint32_t>(settled_));
        w.Finish();
        settledWritten_ = settled_;
    }
    w.Start(journal::kEnd);
    w.U8(stopped ? 1 : 0);
    w.Finish();
    const bool ok = Write();
    stream_.reset();
    // Nor does one whose every announced rename ended undone; should the
    // removal fail, it is ended whole, with nothing to take back.
    if (ok && notDone_ == intended_) (void)fs_.RemoveFile(path_);
    return ok;
}

bool CRunJournal::Make() {
    std::string folder;
    error_ = JournalFolder(folder_, folder);
    if (error_) {
        path_ = folder;
        return false;
    }
    std::vector<Listed> listed;
    std::vector<uint64_t> taken;
    error_ = ListNumbered(fs_, folder, listed, &taken);
    if (error_) {
        path_ = folder;
        return false;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        // Another program may have made the same name meanwhile.
        const uint64_t number = NextNumber(taken);
        taken.push_back(number);
        path_ = Join(folder, JournalName(number));
        stream_ = fs_.CreateAppend(path_, error_);
        if (stream_ || error_ != platform::kErrorAlreadyExists) break;
    }
    if (!stream_) {
        if (!error_) error_ = platform::kErrorAlreadyExists;
        return false;
    }
    std::vector<std::string> older;
    for (const auto& l : listed) older.push_back(Join(folder, l.name));
    Prune(older);
    return true;
}

// The oldest go once a new one is there; one that cannot be removed now goes
// with a later run. Runs and undos are counted apart, so that taking runs
// back never pushes out a run that could still be taken back. Only a journal
// whose run is over goes: one without its end is of a run still going, or
// of one cut short, which only its undo may settle; that one goes once a
// kept undo took it back. What is not ours (another user's, no journal at
// all) is never touched.
void CRunJournal::Prune(const std::vector<std::string>& older) {
    size_t counts[2] = {0, 0};
    ++counts[kind_ == CJournalHeader::kUndo ? 1 : 0];  // this journal
    std::vector<std::string> candidates;
    std::vector<std::string> undone;
    for (const auto& path : older) {
        CJournalHeader header;
        if (!ReadHeader(fs_, path, header)) continue;
        if (header.kind == CJournalHeader::kUndo && !header.undone.empty()) undone.push_back(header.undone);
        if (++counts[header.kind == CJournalHeader::kUndo ? 1 : 0] > kJournalsKept) candidates.push_back(path);
    }
    for (const auto& path : candidates) {
        const auto sep = path.find_last_of(platform::kPathSeparator);
        const std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
        const bool takenBack = std::find(undone.begin(), undone.end(), name) != undone.end();
        if (takenBack || EndedJournal(fs_, path)) (void)fs_.RemoveFile(path);
    }
}

bool CRunJournal::Write() {
    if (settled_ > settledWritten_) {
        journal::RecordWriter w(pending_);
        w.Start(journal::kSettled);
        w.U32(static_cast<uint32_t>(settled_));
        w.Finish();
        settledWritten_ = settled_;
    }
    error_ = stream_->Append(pending_.data(), pending_.size());
    if (!error_) error_ = stream_->Flush();
    if (error_) {
        stream_.reset();
        return false;
    }
    pending_.clear();
    intentsWaiting_ = false;
    wrote_ = true;
    return true;
}

uint32_t JournalFolder(const std::string& folder, std::string& out) {
    if (!folder.empty()) {
        out = folder;
        return platform::kErrorSuccess;
    }
    return platform::StateFolder(out);
}

uint32_t ListJournals(platform::IFileSystem& fs, const std::string& folder, std::vector<std::string>& out) {
    std::vector<Listed> listed;
    const uint32_t code = ListNumbered(fs, folder, listed);
    out.clear();
    for (const auto& l : listed) out.push_back(Join(folder, l.name));
    return code;
}
