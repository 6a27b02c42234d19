#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "core/Chain.h"
#include "operations/AddInsert.h"
#include "operations/Alpha.h"
#include "operations/Case.h"
#include "operations/Numbers.h"
#include "operations/Pattern.h"
#include "operations/Remove.h"
#include "operations/Replace.h"
#include "tests/support/Compute.h"

namespace {

using Steps = std::vector<std::unique_ptr<CExecute>>;

CRunOptions Scope(int scope) {
    CRunOptions o;
    o.scope = scope;
    return o;
}

// What the person would get by running each step over the whole selection,
// one run after another, each in the same order.
std::vector<std::string> OneAfterAnother(const Steps& steps, std::vector<std::string> names) {
    for (const auto& step : steps) {
        testing_support::CPass pass(*step);
        for (auto& name : names) name = pass(CFileDescriptor("dir", name, step->options().scope))->name();
    }
    return names;
}

std::vector<std::string> InOnePass(CChain& chain, const std::vector<std::string>& names, int scope) {
    testing_support::CPass pass(chain);
    std::vector<std::string> out;
    for (const auto& name : names) {
        auto renamed = pass(CFileDescriptor("dir", name, scope));
        EXPECT_EQ(renamed->scope(), scope) << "a taken name is numbered in the run's scope";
        out.push_back(renamed->name());
    }
    return out;
}

TEST(Chain, GivesTheNamesOfItsStepsRunOneAfterAnother) {
    struct Case {
        const char* what;
        std::function<Steps()> steps;
        std::vector<std::string> names;
        std::vector<std::string> expected;
    };
    auto steps = [](auto... s) {
        Steps v;
        (v.push_back(std::unique_ptr<CExecute>(s)), ...);
        return v;
    };
    const Case cases[] = {
        {"numbering after a replace, each step counting the items",
         [&] {
             return steps(new CReplaceAnywhereExecute(Scope(1), "IMG_", "Photo ", 0, 0),
                          new CAddNumberAtEndExecute(Scope(1), "1", "1", "3"));
         },
         {"IMG_a.jpg", "IMG_b.jpg", "c.png"},
         {"Photo a001.jpg", "Photo b002.jpg", "c003.png"}},
        {"two counters, one per step",
         [&] {
             return steps(new CAddNumberAtBeginningExecute(Scope(1), "10", "-2", "2"),
                          new CAddAlphaAtEndExecute(Scope(1), "a", "1", "1", 1));
         },
         {"x", "y", "z"},
         {"10xA", "08yB", "06zC"}},
        {"a scope change between steps",
         [&] {
             return steps(new CUppercaseExecute(Scope(3)), new CAddAtBeginningExecute(Scope(0), "new-"),
                          new CReplaceByPatternExecute(Scope(1), "(\\w+)-(\\w+)", "$2_$1", false, true));
         },
         {"file.txt", "notes.md", "README"},
         {"file_new.TXT", "notes_new.MD", "README_new"}},
        {"a duplicate made by one step and numbered away by the next",
         [&] {
             return steps(new CRemoveAtEndExecute(Scope(1), "2"), new CAddNumberAtEndExecute(Scope(1), "1", "1", "1"));
         },
         {"cat_1.jpg", "cat_2.jpg"},
         {"cat1.jpg", "cat2.jpg"}},
    };
    for (const auto& c : cases) {
        CChain chain(c.steps());
        const auto stepwise = OneAfterAnother(c.steps(), c.names);
        EXPECT_EQ(stepwise, c.expected) << c.what;
        EXPECT_EQ(InOnePass(chain, c.names, c.steps().front()->options().scope), stepwise) << c.what;
        // A second pass over the same chain counts from the start again.
        EXPECT_EQ(InOnePass(chain, c.names, c.steps().front()->options().scope), stepwise) << c.what;
    }
}

TEST(Chain, RunsWithItsFirstStepsChoicesAndTellsItsStepsProblems) {
    Steps s;
    s.push_back(std::make_unique<CLowercaseExecute>(Scope(2)));
    s.push_back(std::make_unique<CReplaceByPatternExecute>(Scope(0), "^(x+)+$", "z", false, true));
    CChain chain(std::move(s));
    EXPECT_EQ(chain.options().scope, 2);
    EXPECT_FALSE(chain.OffersEveryItem());
    testing_support::CPass pass(chain);
    (void)pass(CFileDescriptor("dir", std::string(40, 'x') + "!", 2));
    EXPECT_NE(chain.Problem().find("too much work"), std::string::npos);
}

}  // namespace
