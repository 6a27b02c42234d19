#include "operations/Tags.h"

#include <array>
#include <cctype>

#include "core/MusicTags.h"
#include "core/PictureInfo.h"
#include "platform/FileSystem.h"
#include "platform/NameRules.h"

namespace {

constexpr std::array<const char*, 7> kFields = {"artist", "album", "title", "track", "disc", "year", "genre"};

const std::string* FieldOf(const CMusicTags& tags, const std::string& field) {
    if (field == "artist") return &tags.artist;
    if (field == "album") return &tags.album;
    if (field == "title") return &tags.title;
    if (field == "track") return &tags.track;
    if (field == "disc") return &tags.disc;
    if (field == "year") return &tags.year;
    if (field == "genre") return &tags.genre;
    return nullptr;
}

// The tags of the file, read once per descriptor: a preview asks again on
// every keystroke.
const CMusicTags& TagsOf(const CFileDescriptor& fd, platform::IFileSystem& fs) {
    auto& info = fd.pictureInfo();
    if (!info) info = std::make_unique<CPictureInfo>();
    if (!info->tags) {
        info->tags = std::make_unique<CMusicTags>();
        platform::Attributes attrs;
        uint32_t error = 0;
        if (fs.GetAttributes(fd.path(), attrs) == platform::kErrorSuccess && !attrs.isFolder())
            if (const auto in = fs.OpenRead(fd.path(), error)) *info->tags = ReadMusicTags(*in, attrs.size);
    }
    return *info->tags;
}

// A tag's text as a piece of a name: what cannot stand in a name on this
// system ("/" anywhere, ":" and its kin on Windows, control characters)
// becomes "_", so nothing is cut away unseen.
void AppendSafe(std::string& out, const std::string& text) {
    const platform::NameRules& rules = platform::SystemNameRules();
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        const bool suspect = u < 0x20 || (u < 0x80 && !std::isalnum(u) && c != ' ' && c != '.' && c != '-' && c != '_');
        if (suspect && (u < 0x20 || c == '/' || c == platform::kPathSeparator ||
                        rules.check(std::string(1, c) + "x") != platform::kErrorSuccess))
            out += '_';
        else
            out += c;
    }
}

}  // namespace

const char* CRenameFromTagsExecute::FieldList() {
    return "{artist} {album} {title} {track} {track:2} {disc} {year} {genre}";
}

CRenameFromTagsExecute::CRenameFromTagsExecute(const CRunOptions& options, const std::string& pattern)
    : CExecute(options) {
    std::string text;
    for (size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if ((c == '{' || c == '}') && i + 1 < pattern.size() && pattern[i + 1] == c) {
            text += c;
            i += 2;
            continue;
        }
        if (c == '}') {
            error_ = "A \"}\" without its \"{\" at character " + std::to_string(i + 1);
            return;
        }
        if (c != '{') {
            text += c;
            ++i;
            continue;
        }
        const size_t end = pattern.find('}', i);
        if (end == std::string::npos) {
            error_ = "The \"{\" at character " + std::to_string(i + 1) + " is not closed";
            return;
        }
        std::string field = pattern.substr(i + 1, end - i - 1);
        int width = 0;
        if (const size_t colon = field.find(':'); colon != std::string::npos) {
            const std::string digits = field.substr(colon + 1);
            field.resize(colon);
            if (digits.empty() || digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos ||
                (field != "track" && field != "disc")) {
                error_ = "{" + pattern.substr(i + 1, end - i - 1) + "}: only {track:N} and {disc:N} take a width";
                return;
            }
            width = std::stoi(digits);
        }
        bool known = false;
        for (const char* f : kFields) known = known || field == f;
        if (!known) {
            error_ = "{" + field + "} is no field; the fields are " + FieldList();
            return;
        }
        if (!text.empty()) pieces_.push_back({std::move(text), {}, 0});
        text.clear();
        pieces_.push_back({{}, std::move(field), width});
        i = end + 1;
    }
    if (!text.empty()) pieces_.push_back({std::move(text), {}, 0});
}

std::unique_ptr<CFileDescriptor> CRenameFromTagsExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    if (!ok() || pieces_.empty()) return std::make_unique<CFileDescriptor>(fd);
    const CMusicTags& tags = TagsOf(context.OnDisk(fd), context.fileSystem);
    std::string part;
    for (const Piece& piece : pieces_) {
        if (piece.field.empty()) {
            part += piece.text;
            continue;
        }
        const std::string& value = *FieldOf(tags, piece.field);
        if (value.empty()) {
            if (context.position >= untaggedAt_.size()) untaggedAt_.resize(context.position + 1);
            if (!untaggedAt_[context.position]) {
                untaggedAt_[context.position] = true;
                if (untagged_++ == 0) example_ = "\"" + fd.name() + "\" has no " + piece.field;
            }
            return std::make_unique<CFileDescriptor>(fd);
        }
        if (static_cast<int>(value.size()) < piece.width) part.append(piece.width - value.size(), '0');
        AppendSafe(part, value);
    }
    return WithPart(fd, part);
}

std::string CRenameFromTagsExecute::Problem() const {
    if (!error_.empty()) return error_;
    if (untagged_ == 0) return {};
    return untagged_ == 1 ? "1 file keeps its name: " + example_ + "."
                          : std::to_string(untagged_) + " files keep their names for a missing tag (" + example_ + ").";
}
