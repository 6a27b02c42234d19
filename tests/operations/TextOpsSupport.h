#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/Execute.h"
#include "platform/Text.h"

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
    auto out = op.compute(fd);
    EXPECT_EQ(fd.name(), name);
    EXPECT_TRUE(text::isValid(out->name()) || !text::isValid(name)) << out->name();
    return out->name();
}

}  // namespace textops
