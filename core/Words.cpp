#include "core/Words.h"

const char* StatusWord(CRowStatus status) {
    switch (status) {
        case CRowStatus::kRenamed:
            return "rename";
        case CRowStatus::kUnchanged:
            return "unchanged";
        case CRowStatus::kDuplicate:
            return "duplicate";
        case CRowStatus::kExists:
            return "name taken";
        case CRowStatus::kInvalidName:
            return "invalid name";
        case CRowStatus::kTooLong:
            return "too long";
        case CRowStatus::kLeftOut:
            return "left out";
    }
    return "";
}

std::string GroupedNumber(size_t n) {
    std::string digits = std::to_string(n);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

std::string Count(size_t n, const char* one, const char* many) {
    return GroupedNumber(n) + " " + (n == 1 ? one : many);
}
