#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Prompts.h"

namespace testing_support {

/// Prompts that answer from a script and record every request as it was
/// shown. A prompt the script does not expect fails the test and skips.
class ScriptedPrompts final : public IPrompts {
public:
    enum Kind { kConfirm, kDuplicate, kIllegal, kTooLong, kError };

    struct Step {
        Kind kind;
        int answer;
        /// The text the user types into New name before answering.
        std::optional<std::string> edit;
        /// Runs before the answer is given (to change the world mid-run).
        std::function<void()> before;
    };

    struct Request {
        Kind kind;
        CNameRequest name;   ///< name prompts
        CErrorReport error;  ///< the error prompt
        int answer = 0;
    };

    /// Appends one expected prompt and its answer.
    ScriptedPrompts& Then(Kind kind, int answer, std::optional<std::string> edit = {},
                          std::function<void()> before = {}) {
        steps_.push_back({kind, answer, std::move(edit), std::move(before)});
        return *this;
    }
    /// The answer to every prompt of `kind` once the script holds no step for it.
    ScriptedPrompts& Otherwise(Kind kind, int answer) {
        otherwise_[kind] = answer;
        return *this;
    }

    /// True when every scripted step has been used.
    bool Done() const { return steps_.empty(); }
    int Count(Kind kind) const {
        int n = 0;
        for (const auto& r : requests)
            if (r.kind == kind) ++n;
        return n;
    }
    const Request* First(Kind kind) const {
        for (const auto& r : requests)
            if (r.kind == kind) return &r;
        return nullptr;
    }

    int Confirm(CNameRequest& request) override { return AnswerName(kConfirm, request); }
    int Duplicate(CNameRequest& request) override { return AnswerName(kDuplicate, request); }
    int Illegal(CNameRequest& request) override { return AnswerName(kIllegal, request); }
    int TooLong(CNameRequest& request) override { return AnswerName(kTooLong, request); }
    int DefaultError(CErrorReport& report) override {
        Request r{kError, {}, report};
        r.answer = Next(kError, nullptr);
        requests.push_back(r);
        return r.answer;
    }

    std::vector<Request> requests;

private:
    int AnswerName(Kind kind, CNameRequest& request) {
        Request r{kind, request, {}};
        r.answer = Next(kind, &request);
        requests.push_back(r);
        return r.answer;
    }

    int Next(Kind kind, CNameRequest* request) {
        if (!steps_.empty() && steps_.front().kind == kind) {
            Step step = std::move(steps_.front());
            steps_.pop_front();
            if (step.before) step.before();
            if (step.edit && request) request->newName = *step.edit;
            return step.answer;
        }
        const auto it = otherwise_.find(kind);
        if (it != otherwise_.end()) return it->second;
        ADD_FAILURE() << "unexpected prompt of kind " << kind
                      << " (next scripted: " << (steps_.empty() ? -1 : static_cast<int>(steps_.front().kind)) << ")";
        return kAnswerSkip;
    }

    std::deque<Step> steps_;
    std::map<Kind, int> otherwise_;
};

}  // namespace testing_support
