// libFuzzer target for the date-taken reader, every format at once: the
// reader tells them apart by their first bytes. Built and run by
// scripts/fuzz-date-taken.sh, outside the CMake test build.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "core/DateTaken.h"
#include "platform/Time.h"

namespace {

bool SameClock(const std::tm& a, const std::tm& b) {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday && a.tm_hour == b.tm_hour &&
           a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CDateTaken d = ScanDateTaken(data, size);
    if (d.found != (d.source != CDateTaken::Source::kNone)) std::abort();
    if (!d.found) {
        if (d.hasOffset || d.utcInstant || d.instant != 0) std::abort();
        return 0;
    }
    // Whatever the file held, only a real calendar time comes out.
    if (!platform::IsValidCalendarTime(d.wallClock)) std::abort();
    if (d.hasOffset && (d.offsetMinutes < -18 * 60 || d.offsetMinutes > 18 * 60)) std::abort();
    if (!d.hasOffset && !d.utcInstant && d.instant != 0) std::abort();
    if (d.utcInstant) {
        std::tm local;
        if (!platform::ToLocalTime(d.instant, local) || !SameClock(local, d.wallClock)) std::abort();
    } else if (d.hasOffset) {
        // The clock as written, moved by its offset, is the instant.
        std::tm utc;
        const char* zone = std::getenv("TZ");
        if (zone && zone[0] == 'U' && zone[1] == 'T' && zone[2] == 'C' && zone[3] == '\0' &&
            (!platform::ToLocalTime(d.instant + d.offsetMinutes * 60, utc) || !SameClock(utc, d.wallClock)))
            std::abort();
    }
    return 0;
}
