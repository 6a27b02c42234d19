#include "platform/NameRules.h"

namespace platform {

const NameRules& SystemNameRules() {
    static const NameRules rules = PosixNameRules();
    return rules;
}

}  // namespace platform
