#pragma once

#include <string>
#include <vector>

#include "core/Execute.h"

/// "Rename from tags": the name part made from a template of plain text and
/// fields of the file's music tags: {artist}, {album}, {title}, {track},
/// {disc}, {year}, {genre}, and {track:2} (or {disc:3}) for a number with
/// zeros in front to that width. "{{" and "}}" stand for the braces. A
/// file without a tag the template needs keeps its name, and Problem says
/// which and how many; a character that cannot stand in a name ("/" in an
/// artist) becomes "_".
class CRenameFromTagsExecute : public CExecute {
public:
    CRenameFromTagsExecute(const CRunOptions& options, const std::string& pattern);

    /// False when the template is not one: an unknown field, a brace left
    /// open; error() says where.
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
    std::string Problem() const override;

    /// The fields a template may use, as the panel lists them.
    static const char* FieldList();

private:
    struct Piece {
        std::string text;  ///< plain text, when field is empty
        std::string field;
        int width = 0;
    };
    std::vector<Piece> pieces_;
    std::string error_;
    // The files that kept their names for a missing tag, by their place in
    // the pass (a preview may ask twice for the rows on screen), and the
    // first of them with the tag it lacks.
    std::vector<bool> untaggedAt_;
    size_t untagged_ = 0;
    std::string example_;
};
