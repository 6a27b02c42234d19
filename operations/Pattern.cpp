#include "operations/Pattern.h"

#include <pcre2.h>

#include <algorithm>

#include "core/Words.h"
#include "platform/Text.h"

namespace {

// Bounds on one match: a pattern that backtracks without end over a name
// stops there instead of holding up the preview. A file name is short: a
// sound pattern needs a tiny part of this.
constexpr uint32_t kMatchLimit = 200000;
constexpr uint32_t kDepthLimit = 10000;

}  // namespace

struct CPattern::Code {
    pcre2_code* code = nullptr;
    pcre2_match_context* context = nullptr;
    ~Code() {
        pcre2_match_context_free(context);
        pcre2_code_free(code);
    }
};

CPattern::CPattern(const std::string& pattern, bool ignoreCase) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    const uint32_t options = PCRE2_UTF | PCRE2_UCP | (ignoreCase ? PCRE2_CASELESS : 0u);
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error,
                                     &offset, nullptr);
    if (!code) {
        PCRE2_UCHAR text[256];
        pcre2_get_error_message(error, text, sizeof text);
        error_ = reinterpret_cast<const char*>(text);
        // The offset counts bytes; a person counts characters.
        errorPosition_ = text::CharCount(std::string_view(pattern).substr(0, std::min<size_t>(offset, pattern.size()))) + 1;
        return;
    }
    code_ = std::make_unique<Code>();
    code_->code = code;
    code_->context = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(code_->context, kMatchLimit);
    pcre2_set_depth_limit(code_->context, kDepthLimit);
}

CPattern::~CPattern() = default;

CPattern::Result CPattern::Replace(const std::string& text, const std::string& replacement, bool all,
                                   std::string& out) const {
    if (!code_) return Result::kNoMatch;
    const uint32_t options = PCRE2_SUBSTITUTE_OVERFLOW_LENGTH | PCRE2_SUBSTITUTE_UNSET_EMPTY |
                             (all ? PCRE2_SUBSTITUTE_GLOBAL : 0u);
    out.resize(text.size() + replacement.size() + 64);
    for (int attempt = 0; attempt < 2; ++attempt) {
        PCRE2_SIZE length = out.size();
        const int rc = pcre2_substitute(code_->code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0,
                                        options, nullptr, code_->context,
                                        reinterpret_cast<PCRE2_SPTR>(replacement.data()), replacement.size(),
                                        reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
        if (rc == PCRE2_ERROR_NOMEMORY) {
            out.resize(length);  // the length it needs
            continue;
        }
        if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT || rc == PCRE2_ERROR_HEAPLIMIT)
            return Result::kTooMuchWork;
        if (rc < 0) return Result::kBadReplacement;
        out.resize(length);
        return rc == 0 ? Result::kNoMatch : Result::kReplaced;
    }
    return Result::kBadReplacement;
}

CReplaceByPatternExecute::CReplaceByPatternExecute(const CRunOptions& options, const std::string& pattern,
                                                   const std::string& replacement, bool ignoreCase, bool all)
    : CExecute(options), pattern_(pattern, ignoreCase), replacement_(replacement), all_(all) {}

std::unique_ptr<CFileDescriptor> CReplaceByPatternExecute::Compute(const CFileDescriptor& fd,
                                                                   const CNameContext& context) {
    if (context.position == 0) tooMuchWork_ = badReplacement_ = 0;  // a new pass
    std::string out;
    switch (pattern_.Replace(fd.part(), replacement_, all_, out)) {
        case CPattern::Result::kReplaced:
            return WithPart(fd, out);
        case CPattern::Result::kTooMuchWork:
            ++tooMuchWork_;
            break;
        case CPattern::Result::kBadReplacement:
            ++badReplacement_;
            break;
        case CPattern::Result::kNoMatch:
            break;
    }
    return std::make_unique<CFileDescriptor>(fd);
}

std::string CReplaceByPatternExecute::Problem() const {
    if (tooMuchWork_)
        return "The pattern took too much work on " + Count(tooMuchWork_, "name", "names") +
               ", which keep their names: make it match in fewer ways.";
    if (badReplacement_)
        return "The replacement cannot be made (a group it names is not in the pattern?): " +
               Count(badReplacement_, "name keeps its name", "names keep their names") + ".";
    return {};
}
