#pragma once

// The extension's class id. The installer registers the text form; the
// module compares requests with the binary form. Both name the same class.

#include <guiddef.h>

/// The class id as registry keys spell it.
#define QLN_EXT_CLSID_TEXT "{B7678F46-9BA3-499C-9934-6ACD2719B5DC}"

/// The class id that DllGetClassObject answers.
inline constexpr GUID kQlnExtClsid = {0xB7678F46, 0x9BA3, 0x499C, {0x99, 0x34, 0x6A, 0xCD, 0x27, 0x19, 0xB5, 0xDC}};
