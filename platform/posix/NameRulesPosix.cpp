#include "platform/NameRules.h"

namespace platform {

const NameRules& nameRules() {
    static const NameRules rules = posixNameRules();
    return rules;
}

}  // namespace platform
