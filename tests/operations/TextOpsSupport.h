#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/Execute.h"
#include "platform/Text.h"
#include "tests/support/Compute.h"

namespace textops {

/// An operation with common arguments that compute does not look at.
template <typename Op, typename... Args>
Op Make(Args&&... args) {
    return Op(CRunOptions{}, std::forward<Args>(args)...);
}

/// The new name of `name` (under `scope`), checking on the way that compute
/// left its argument alone.
inline std::string Apply(CExecute& op, const std::string& name, int scope = 0) {
    const CFileDescriptor fd("dir", name, scope);
    auto out = testing_support::CPass(op)(fd);
    EXPECT_EQ(fd.name(), name);
    EXPECT_TRUE(text::IsValid(out->name()) || !text::IsValid(name)) << out->name();
    return out->name();
}

}  // namespace textops
