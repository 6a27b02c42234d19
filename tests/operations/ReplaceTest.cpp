#include <gtest/gtest.h>

#include "operations/Replace.h"
#include "tests/operations/TextOpsSupport.h"

namespace {

using textops::Apply;
using textops::Make;

TEST(Replace, AtBeginningAndEnd) {
    struct Case {
        const char* part;
        const char* find;
        const char* replacement;
        int ignoreCase;
        const char* begin;
        const char* end;
    };
    const Case cases[] = {
        {"IMG_001", "img", "pic", 1, "pic_001", "IMG_001"},
        {"IMG_001", "img", "pic", 0, "IMG_001", "IMG_001"},
        {"img_img", "img", "", 0, "_img", "img_"},
        {"ab", "abc", "x", 0, "ab", "ab"},  // find longer than the part
        {"abc", "", "x", 0, "abc", "abc"},  // an empty find text finds nothing
        {"éclair", "É", "E", 1, "Eclair", "éclair"},
        {"CAFÉ", "é", "e", 1, "CAFÉ", "CAFe"},
        {"Été", "été", "summer", 1, "summer", "summer"},
        {"日本語", "語", "go", 0, "日本語", "日本go"},
    };
    for (const auto& c : cases) {
        auto begin = Make<CReplaceAtBeginningExecute>(std::string(c.find), std::string(c.replacement), c.ignoreCase);
        auto end = Make<CReplaceAtEndExecute>(std::string(c.find), std::string(c.replacement), c.ignoreCase);
        EXPECT_EQ(Apply(begin, c.part), c.begin) << c.part << " / " << c.find;
        EXPECT_EQ(Apply(end, c.part), c.end) << c.part << " / " << c.find;
    }
}

TEST(Replace, Anywhere) {
    struct Case {
        const char* part;
        const char* find;
        const char* replacement;
        int occurrence;
        int ignoreCase;
        const char* result;
    };
    const Case cases[] = {
        {"banana", "a", "aa", 0, 0, "baanaanaa"},  // brought-in text is not searched again
        {"abab", "ab", "abab", 0, 0, "abababab"},
        {"aaaa", "aa", "b", 0, 0, "bb"},
        {"BaNana", "AN", "x", 1, 1, "Bxana"},
        {"BaNana", "AN", "x", 1, 0, "BaNana"},
        {"bananana", "na", "x", 7, 0, "banaxna"},    // 2nd to last
        {"bananana", "na", "x", 10, 0, "bananana"},  // 5th to last: only three
        {"bananana", "na", "x", 6, 0, "bananax"},
        {"bananana", "na", "x", 2, 0, "banaxna"},
        {"bananana", "na", "x", 3, 0, "bananax"},
        {"bananana", "na", "x", 4, 0, "bananana"},
        {"aaa", "aa", "x", 6, 0, "xa"},         // the last match of those found from the start
        {"aaa", "aa", "x", 7, 0, "aaa"},        // from the end there is one only
        {"banana", "a", "x", 11, 0, "banana"},  // outside the list
        {"banana", "a", "x", -1, 0, "banana"},
        {"banana", "", "x", 0, 0, "banana"},
        {"ab", "abc", "x", 0, 0, "ab"},
        {"Été à Paris, ÉTÉ", "été", "X", 0, 1, "X à Paris, X"},
        {"Café CAFÉ café", "é", "e", 0, 1, "Cafe CAFe cafe"},  // kept text keeps its case
        {"Café CAFÉ café", "é", "e", 8, 1, "Cafe CAFÉ café"},  // 3rd to last
        {"Ärger ÄRGER", "är", "ar", 6, 1, "Ärger arGER"},
        {"日本日本", "日本", "に", 6, 0, "日本に"},
    };
    for (const auto& c : cases) {
        auto op =
            Make<CReplaceAnywhereExecute>(std::string(c.find), std::string(c.replacement), c.occurrence, c.ignoreCase);
        EXPECT_EQ(Apply(op, c.part), c.result) << c.part << " / " << c.find << " #" << c.occurrence;
    }
}

TEST(Replace, Characters) {
    struct Triple {
        const char* find;
        const char* replacement;
        int ignoreCase;
    };
    struct Case {
        const char* part;
        Triple t1, t2, t3;
        const char* result;
    };
    const Triple none{"", "", 0};
    const Case cases[] = {
        {"my_file-name", {"_-", " ", 0}, none, none, "my file name"},
        {"my_file-name", {"_-", "", 0}, none, none, "myfilename"},
        {"abc", {"a", "1", 0}, {"ab", "2", 0}, {"abc", "3", 0}, "123"},  // the first set holding it wins
        {"aAbB", {"a", "x", 1}, {"b", "y", 0}, none, "xxyB"},
        {"élève", {"éè", "e", 0}, none, none, "eleve"},
        {"ã", {"é", "e", 0}, none, none, "ã"},  // characters, not bytes: é and ã share a lead byte
        {"éÉe", {"É", "X", 1}, none, none, "XXe"},
        {"日本語", {"日語", "*", 0}, none, none, "*本*"},
        {"a.b", {"", "x", 0}, none, none, "a.b"},  // an empty set matches nothing
        {"a\377b", {"\xFF", "?", 0}, none, none, "a?b"},
    };
    for (const auto& c : cases) {
        auto op =
            Make<CReplaceCharactersExecute>(std::string(c.t1.find), std::string(c.t1.replacement), c.t1.ignoreCase,
                                            std::string(c.t2.find), std::string(c.t2.replacement), c.t2.ignoreCase,
                                            std::string(c.t3.find), std::string(c.t3.replacement), c.t3.ignoreCase);
        EXPECT_EQ(Apply(op, c.part), c.result) << c.part;
    }
}

TEST(Replace, Extensions) {
    struct Case {
        const char* name;
        int scope;
        const char* find;
        const char* replacement;
        int ignoreCase;
        const char* result;
    };
    const Case cases[] = {
        {"photo.JPEG", 0, "jpeg", "jpg", 1, "photo.jpg"},
        {"photo.JPEG", 0, "jpeg", "jpg", 0, "photo.JPEG"},
        {"photo.jpeg.bak", 0, "jpeg", "jpg", 1, "photo.jpeg.bak"},
        {"jpeg", 0, "jpeg", "jpg", 1, "jpeg"},
        {"photo.jpegx", 0, "jpeg", "jpg", 0, "photo.jpegx"},
        {"archive.tar.gz", 1, "tar", "cpio", 0, "archive.cpio.gz"},  // the part decides what the last dot is
        {"Ébauche.ÉTÉ", 0, "été", "ete", 1, "Ébauche.ete"},
    };
    for (const auto& c : cases) {
        auto op = Make<CReplaceExtensionsExecute>(std::string(c.find), std::string(c.replacement), c.ignoreCase);
        EXPECT_EQ(Apply(op, c.name, c.scope), c.result) << c.name;
    }
}

}  // namespace
