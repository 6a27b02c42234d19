// "Rename from tags" over files whose tags Debian's mutagen wrote
// (scripts/make-tag-fixtures.sh): every tag format, widths, missing tags,
// and tags that hold what no name may.
#include <gtest/gtest.h>

#include "operations/Tags.h"
#include "platform/FileSystem.h"
#include "tests/support/Compute.h"

namespace {

const std::string kTags = std::string(QLN_FIXTURE_DIR) + "/tags";


TEST(RenameFromTags, EveryTagFormatThroughATemplate) {
    struct Case {
        const char* file;
        const char* pattern;
        const char* name;  // the new name; the old one when a tag is missing
    };
    const Case cases[] = {
        {"id3v22.mp3", "{track:2} {artist} - {title}", "04 Django Reinhardt - Nuages.mp3"},
        {"id3v23-utf16.mp3", "{artist} - {album} ({year})", "Sigur Rós - Takk... (2005).mp3"},
        {"id3v23-latin1.mp3", "{artist} - {title} [{disc}]", "Édith Piaf - La Vie en rose [2].mp3"},
        {"id3v1-only.mp3", "{year} {album}", "1970 Paranoid.mp3"},
        // "AC/DC": the slash cannot stand in a name and shows as "_".
        {"id3v24-utf8.mp3", "{artist} - {title}", "AC_DC - Hells Bells.mp3"},
        {"flac-vorbis-comment.flac", "{track:3}. {title} ({genre})", "007. Touch Too Much (Hard Rock).flac"},
        {"ogg-vorbis.ogg", "{artist}{{{title}}}", "Björk{Jóga}.ogg"},
        {"ogg-vorbis.ogg", "{title}", "Jóga.ogg"},
        {"id3v22.mp3", "{artist}", "Django Reinhardt.mp3"},
        {"opus.opus", "{track}-{title}", "13-Contact.opus"},
        {"m4a-ilst.m4a", "{{{track:2}}} {title}", "{08} Whole Lotta Rosie.m4a"},
        // A tag the template needs is missing: the name stays.
        {"id3v23-latin1.mp3", "{track} {title}", "id3v23-latin1.mp3"},
        {"no-tags.mp3", "{artist}", "no-tags.mp3"},
    };
    for (const auto& c : cases) {
        CRenameFromTagsExecute op(CRunOptions{.scope = 1}, c.pattern);
        ASSERT_TRUE(op.ok()) << c.pattern << ": " << op.error();
        const CFileDescriptor fd(kTags, c.file, 1);
        EXPECT_EQ(testing_support::CPass(op, platform::RealFileSystem())(fd)->name(), c.name) << c.file;
    }
}

TEST(RenameFromTags, TheTemplateAndWhatIsMissingAreSaid) {
    const std::pair<const char*, const char*> wrong[] = {
        {"{artist", "The \"{\" at character 1 is not closed"},
        {"x}", "A \"}\" without its \"{\" at character 2"},
        {"{composer}", "{composer} is no field"},
        {"{title:2}", "{title:2}: only {track:N} and {disc:N} take a width"},
    };
    for (const auto& [pattern, error] : wrong) {
        const CRenameFromTagsExecute op(CRunOptions{}, pattern);
        EXPECT_FALSE(op.ok()) << pattern;
        EXPECT_EQ(op.error().rfind(error, 0), 0u) << pattern << ": " << op.error();
    }
    // Two files without a track, one asked for twice (a screen's rows
    // first): counted once each.
    CRenameFromTagsExecute op(CRunOptions{.scope = 1}, "{track} {title}");
    const CFileDescriptor a(kTags, "id3v23-latin1.mp3", 1), b(kTags, "no-tags.mp3", 1);
    platform::IFileSystem& fs = platform::RealFileSystem();
    (void)op.Compute(a, {0, fs});
    (void)op.Compute(a, {0, fs});
    (void)op.Compute(b, {1, fs});
    EXPECT_EQ(op.Problem(), "2 files keep their names for a missing tag (\"id3v23-latin1.mp3\" has no track).");
}

}  // namespace
