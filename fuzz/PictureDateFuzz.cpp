// libFuzzer target for the JPEG/EXIF scanner and the date text parser. Built
// and run by scripts/fuzz.sh, outside the CMake test build.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

#include "core/PictureDate.h"
#include "platform/Time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CPictureScan scan = ScanPicture(data, size);
    if (scan.dateTime.size() > 19) std::abort();

    std::tm local;
    if (ParsePictureDate(scan.dateTime, local) && !platform::IsValidCalendarTime(local)) std::abort();
    // The text parser on its own, with whatever the input holds.
    const std::string text(reinterpret_cast<const char*>(data), std::min<size_t>(size, 40));
    if (ParsePictureDate(text, local) && !platform::IsValidCalendarTime(local)) std::abort();
    return 0;
}
